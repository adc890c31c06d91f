#include "windows/dialogs/guild.h"

#include "windows/toolkit/windowtypes.h"

Guild::Guild(Core* core) : Window(core) { typeId = WindowType::Guild; }
