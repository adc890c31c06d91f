#include "windows/dialogs/guildinvite.h"

#include "windows/toolkit/windowtypes.h"

Guildinvite::Guildinvite(Core* core) : Window(core) { typeId = WindowType::Guildinvite; }
