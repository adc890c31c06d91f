#include "windows/front/desktop.h"

#include "windows/toolkit/windowtypes.h"

Desktop::Desktop(Core* core) : Window(core) { typeId = WindowType::Desktop; }
