#pragma once
#include "windows/toolkit/window.h"

// The character window: an empty window of its type, the least its callers need.
class Character : public Window {
public:
    explicit Character(Core* core);
};
