#include "windows/dialogs/friendpop.h"

#include "windows/toolkit/windowtypes.h"

Friendpop::Friendpop(Core* core) : Window(core) { typeId = WindowType::Friendpop; }
