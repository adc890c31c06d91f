#pragma once
#include <cstdint>
#include <vector>

#include "windows/toolkit/window.h"

class Panellist;

// A side column of the game screen: the windows it stacks, the least its callers need. The
// windows belong to Core's window list.
class Panel : public Window {
public:
    static constexpr int32_t Left = 1;
    static constexpr int32_t Right = 2;

    // Side Left is the left column (type 12), Right the right one (type 10).
    Panel(Core* core, Window* owner, int32_t side);

    // The stacked windows, then those pinned to the bottom, each marked with which it is.
    std::vector<Panellist*> AllWindows();

    std::vector<Panellist*> normal;
    std::vector<Panellist*> bottom;
    int32_t side;
};
