#pragma once
#include "windows/toolkit/window.h"

// The attribute window: an empty window of its type, the least its callers need.
class Attribute : public Window {
public:
    explicit Attribute(Core* core);
};
