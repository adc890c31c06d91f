#include "windows/guide/help.h"

#include "windows/toolkit/windowtypes.h"

Help::Help(Core* core) : Window(core) { typeId = WindowType::Help; }

void Help::SetLanguage(uint32_t index) { language = index; }
