#pragma once
#include "windows/toolkit/window.h"

// The guild window: an empty window of its type, the least its callers need.
class Guild : public Window {
public:
    explicit Guild(Core* core);
};
