#pragma once
#include "windows/toolkit/window.h"

// The world-map window: a view that does not follow the map driver yet, the least its callers
// need.
class Map : public Window {
public:
    // Recomputes the view from the map driver's selection.
    void UpdateView();
};
