#pragma once
#include "windows/toolkit/window.h"

// The guild-invite popup: an empty window of its type, the least its callers need.
class Guildpop : public Window {
public:
    explicit Guildpop(Core* core);
};
