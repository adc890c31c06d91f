#pragma once
#include "windows/toolkit/window.h"

// The window that links an account to Steam: an empty window of its type, the least its callers
// need.
class Link : public Window {
public:
    explicit Link(Core* core);
};
