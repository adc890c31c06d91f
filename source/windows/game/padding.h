#pragma once
#include "windows/toolkit/window.h"

// The frame around the game field: keeps the field's viewport, the least its callers need.
class Padding : public Window {
public:
    Padding(Core* core, Window* owner);
    // Draws the field's image over the field; the world's overlay pass calls it.
    void BlitField();

    WindowRect fieldRect{};
};
