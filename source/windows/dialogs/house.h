#pragma once
#include "windows/toolkit/window.h"

// The own-house window: an empty window of its type, the least its callers need.
class House : public Window {
public:
    explicit House(Core* core);
};
