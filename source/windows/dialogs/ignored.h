#pragma once
#include "windows/toolkit/window.h"

// The muted-people window: an empty window of its type, the least its callers need.
class Ignored : public Window {
public:
    explicit Ignored(Core* core);
};
