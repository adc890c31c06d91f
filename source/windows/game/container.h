#pragma once
#include <cstdint>
#include <string>

#include "windows/toolkit/panellist.h"

// A container's window: its number and the slots it shows, the least its callers need.
class Container : public Panellist {
public:
    Container(Core* core, uint8_t number, uint8_t slotCount);

    // The panel window's entry followed by the slot count.
    std::string Serialize() override;
    // The server learns that the container is closed.
    void OnColumnClose() override;

    uint8_t slotCount;
};
