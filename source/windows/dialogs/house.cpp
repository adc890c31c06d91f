#include "windows/dialogs/house.h"

#include "windows/toolkit/windowtypes.h"

House::House(Core* core) : Window(core) { typeId = WindowType::House; }
