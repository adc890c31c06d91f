#pragma once
#include <cstdint>

#include "windows/toolkit/panellist.h"

// The friends list panel window: only the scroll range that Core::ToggleFoe updates, the least
// its callers need.
class Friendlist : public Panellist {
public:
    explicit Friendlist(Core* core, Window* owner = nullptr);
    // 13 pixels a row plus 4; every friend record is a row here.
    void UpdateScroll();
};
