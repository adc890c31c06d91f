#pragma once
#include "windows/toolkit/window.h"

// The party-invite popup: an empty window of its type, the least its callers need.
class Partypop : public Window {
public:
    explicit Partypop(Core* core);
};
