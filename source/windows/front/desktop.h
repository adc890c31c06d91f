#pragma once
#include "windows/toolkit/window.h"

// The main screen: an empty window of its type, the least its callers need.
class Desktop : public Window {
public:
    explicit Desktop(Core* core);
};
