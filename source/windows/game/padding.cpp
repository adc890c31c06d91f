#include "windows/game/padding.h"

#include "windows/toolkit/windowtypes.h"

Padding::Padding(Core* core, Window* owner) : Window(core) {
    this->owner = owner;
    typeId = WindowType::Padding;
}

void Padding::BlitField() {}
