#pragma once
#include "windows/toolkit/window.h"

// The guild invitations window: an empty window of its type, the least its callers need.
class Guildinvite : public Window {
public:
    explicit Guildinvite(Core* core);
};
