#include "windows/dialogs/partypop.h"

#include "windows/toolkit/windowtypes.h"

Partypop::Partypop(Core* core) : Window(core) { typeId = WindowType::Partypop; }
