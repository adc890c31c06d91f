#include "windows/dialogs/shop.h"

#include "windows/toolkit/windowtypes.h"

Shop::Shop(Core* core) : Window(core) { typeId = WindowType::Shop; }

void Shop::ConfirmSell() { ++salesConfirmed; }
