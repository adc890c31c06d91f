#pragma once
#include "windows/toolkit/window.h"

// The noble-account store window: an empty window of its type, the least its callers need.
class Store : public Window {
public:
    explicit Store(Core* core);
};
