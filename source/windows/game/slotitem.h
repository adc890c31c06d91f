#pragma once
// What the container and equipment windows share for an item in one of their slots: picking it
// up, and the right click's direct action or its menu.
#include <cstdint>

class Core;
class Item;
class Panel;
class Window;

// A slot as the server's requests name it: container 0 is the equipment.
struct SlotAddress {
    uint16_t placeX;  // Core's held-position x: ItemPlace::ContainerSlot or EquipmentSlot
    uint8_t container;
    uint8_t slot;
};

// The column a container opened from a window of this column goes to: 1 right, 2 left, 0 none.
uint8_t OpenColumn(const Panel* panel);
// The item becomes Core's held thing at the slot.
void HoldSlotItem(Core* core, SlotAddress address, Item* item);
// The right click on a slot's item: with Alt, Ctrl or Shift the menu of its use and "Examine",
// else the use itself (use-with mode, opening into `column`, or the plain use).
void RightClickSlotItem(Core* core, Window* owner, SlotAddress address, Item* item, int32_t mx,
                        int32_t my, uint8_t column);
