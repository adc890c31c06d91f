#include "windows/dialogs/guildpop.h"

#include "windows/toolkit/windowtypes.h"

Guildpop::Guildpop(Core* core) : Window(core) { typeId = WindowType::Guildpop; }
