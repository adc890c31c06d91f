#include "windows/dialogs/character.h"

#include "windows/toolkit/windowtypes.h"

Character::Character(Core* core) : Window(core) { typeId = WindowType::Character; }
