#pragma once
#include "windows/toolkit/window.h"

// The add-a-friend popup: an empty window of its type, the least its callers need.
class Friendpop : public Window {
public:
    explicit Friendpop(Core* core);
};
