#pragma once
#include "windows/toolkit/window.h"

// The settings window: an empty window of its type, the least the main screen needs.
class Settings : public Window {
public:
    explicit Settings(Core* core);
};
