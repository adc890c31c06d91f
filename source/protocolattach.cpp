// Entering the game: the server's op 16 and the item records it carries.
#include <array>

#include "core.h"
#include "protocol.h"
#include "windows/game/equipment.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint8_t EquipmentSlots = Equipment::SlotCount;

}  // namespace

// Fields: the player's creature id, then one item record per equipment slot, a shape id of 0
// for an empty one. A game the server had ended is taken up again as it stands; a recording
// changes nothing.
void Protocol::attach() {
    const uint32_t id = inBuffer.GetU32();
    std::array<ItemRecord, EquipmentSlots> equipment{};
    for (ItemRecord& slot : equipment) {
        slot.shapeId = inBuffer.GetU16();
        if (inBuffer.Failed()) return;
        if (slot.shapeId != 0 && !ReadItemRest(slot)) {
            FailFatally("attach: unknown shape id. (item)");
            return;
        }
    }
    if (inBuffer.Failed()) return;
    if (core->gameHalted) {
        core->RemoveWindow(core->FindWindow(WindowType::Crash));
        core->gameHalted = 0;
    } else if (!core->recording) {
        mapReceived = 0;
        core->EnterGame();
    }
    if (core->recording) return;
    playerId = id;
    auto* worn = dynamic_cast<Equipment*>(core->equipmentWindow);
    if (!worn) return;
    for (uint8_t slot = 0; slot < EquipmentSlots; ++slot) {
        if (equipment[slot].shapeId != 0) worn->ReplaceSlot(NewItem(equipment[slot]), slot);
        else delete worn->ClearSlot(slot);
    }
}
