#pragma once
#include "windows/toolkit/window.h"

// The minimap panel: a view that does not move yet, the least its callers need.
class Panelmap : public Window {
public:
    void CenterOnPlayer();
};
