#include "windows/dialogs/store.h"

#include "windows/toolkit/windowtypes.h"

Store::Store(Core* core) : Window(core) { typeId = WindowType::Store; }
