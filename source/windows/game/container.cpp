#include "windows/game/container.h"

#include "windows/toolkit/windowtypes.h"

Container::Container(Core* core, uint8_t number, uint8_t slotCount)
    : Panellist(core), slotCount(slotCount) {
    typeId = WindowType::Container;
    windowId = number;
}

std::string Container::Serialize() {
    return Panellist::Serialize() + "," + std::to_string(slotCount);
}
