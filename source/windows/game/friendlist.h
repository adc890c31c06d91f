#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

// The friends list window: only the scroll range that Core::ToggleFoe updates, the least its
// callers need.
class Friendlist : public Window {
public:
    explicit Friendlist(Core* core);
    // 13 pixels a row plus 4; every friend record is a row here.
    void UpdateScroll();

    int32_t scrollTotal = 4;
};
