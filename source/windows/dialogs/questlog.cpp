#include "windows/dialogs/questlog.h"

#include "windows/toolkit/windowtypes.h"

Questlog::Questlog(Core* core) : Window(core) { typeId = WindowType::Questlog; }

void Questlog::SelectTab(uint32_t index) { tab = index; }
