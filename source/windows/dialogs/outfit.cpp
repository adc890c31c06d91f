#include "windows/dialogs/outfit.h"

#include "windows/toolkit/windowtypes.h"

Outfit::Outfit(Core* core) : Window(core) { typeId = WindowType::Outfit; }
