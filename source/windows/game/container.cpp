#include "windows/game/container.h"

#include "core.h"
#include "protocol.h"
#include "windows/toolkit/windowtypes.h"

Container::Container(Core* core, uint8_t number, uint8_t slotCount)
    : Panellist(core), slotCount(slotCount) {
    Build();
    typeId = WindowType::Container;
    windowId = number;
}

std::string Container::Serialize() {
    return Panellist::Serialize() + "," + std::to_string(slotCount);
}

void Container::OnColumnClose() {
    if (core->activeConnection) core->activeConnection->SendContainerClose(windowId);
}
