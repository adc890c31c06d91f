#include "windows/dialogs/controlwindows.h"

#include <algorithm>
#include <vector>

#include "core.h"
#include "windows/toolkit/window.h"

namespace {

bool Holds(const std::vector<Window*>& windows, const Window* window) {
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

}  // namespace

void CloseLater(Core* core, Window* window) {
    if (!window) return;
    core->DetachWindow(window);
    core->closedWindows.push_back(window);
}

void ReleaseControl(Core* core, Window* control) {
    if (!control) return;
    if (Holds(core->windows, control)) core->RemoveWindow(control);
    else if (!Holds(core->closedWindows, control)) delete control;
}
