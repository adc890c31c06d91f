#include "windows/front/avatars.h"

#include "windows/toolkit/windowtypes.h"

Avatars::Avatars(Core* core) : Window(core) { typeId = WindowType::Avatars; }

void Avatars::DeleteSelected() { ++deletions; }
void Avatars::RestoreSelected() { ++restorations; }
void Avatars::Close() { state = 3; }
