#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

// The journal window: keeps its topic tab, the least its callers need.
class Questlog : public Window {
public:
    explicit Questlog(Core* core);
    // 0 all topics, then quests, treasures, discoveries, finished and unfinished.
    void SelectTab(uint32_t index);

    uint32_t tab = 0;
};
