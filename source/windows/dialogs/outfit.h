#pragma once
#include "windows/toolkit/window.h"

// The outfit window: an empty window of its type, the least its callers need.
class Outfit : public Window {
public:
    explicit Outfit(Core* core);
};
