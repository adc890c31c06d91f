#include "windows/front/settings.h"

#include "windows/toolkit/windowtypes.h"

Settings::Settings(Core* core) : Window(core) { typeId = WindowType::Settings; }
