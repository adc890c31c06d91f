#pragma once
// Placeholder of the window that links an account to Steam until the front screens land.
#include "windows/toolkit/window.h"

class Link : public Window {
public:
    explicit Link(Core* core);
};
