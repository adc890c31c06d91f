#pragma once
#include "windows/toolkit/window.h"

class Padding;

// The game field window, kept in Core::fieldWindow; its frame is `padding`. The least its
// callers need.
class Field : public Window {
public:
    Field(Core* core, Padding* padding);

    Padding* padding;
};
