#include "windows/dialogs/ignored.h"

#include "windows/toolkit/windowtypes.h"

Ignored::Ignored(Core* core) : Window(core) { typeId = WindowType::Ignored; }
