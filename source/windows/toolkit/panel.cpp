#include "windows/toolkit/panel.h"

#include "windows/toolkit/panellist.h"
#include "windows/toolkit/windowtypes.h"

Panel::Panel(Core* core, Window* owner, int32_t side) : Window(core), side(side) {
    this->owner = owner;
    typeId = side == Left ? WindowType::PanelLeft : WindowType::PanelRight;
}

std::vector<Panellist*> Panel::AllWindows() {
    std::vector<Panellist*> windows;
    for (Panellist* window : normal) {
        window->pinnedBottom = 0;
        windows.push_back(window);
    }
    for (Panellist* window : bottom) {
        window->pinnedBottom = 1;
        windows.push_back(window);
    }
    return windows;
}
