// The container windows as the server's container numbers find them.
#include <vector>

#include "core.h"
#include "windows/game/container.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/windowtypes.h"

Container* Core::FindContainerWindow(uint8_t index) {
    for (Window* window : windows) {
        if (window->typeId != WindowType::Container || window->state == 3) continue;
        auto* container = dynamic_cast<Container*>(window);
        if (container && container->containerIndex == index) return container;
    }
    return nullptr;
}

void Core::CloseContainerWindows() {
    std::vector<Container*> restored;
    for (Window* window : windows)
        if (auto* container = dynamic_cast<Container*>(window))
            if (container->restored && container->state == 1) restored.push_back(container);
    for (Container* container : restored) {
        if (container->panel) container->panel->Close(container, false);
        else container->state = 2;
    }
}
