#pragma once
#include "windows/toolkit/panellist.h"

// The equipment panel window: a plain panel window with its type id and its place beside the
// console, the least its callers need.
class Equipment : public Panellist {
public:
    explicit Equipment(Core* core, Window* owner = nullptr);
    // Without a column: the bottom right corner of the screen in the HUD layout, else the right
    // end of its owner (the console).
    void Place(int32_t screenWidth, int32_t screenHeight) override;
};
