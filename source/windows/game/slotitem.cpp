#include "windows/game/slotitem.h"

#include "core.h"
#include "item.h"
#include "platform.h"
#include "protocol.h"
#include "shape.h"
#include "windows/game/action.h"
#include "windows/toolkit/panel.h"

namespace {

constexpr uint32_t UseWithCursor = 1;
constexpr uint8_t NoColumn = 0, RightColumn = 1, LeftColumn = 2;

}  // namespace

uint8_t OpenColumn(const Panel* panel) {
    if (!panel) return NoColumn;
    return panel->side == Panel::Right ? RightColumn : LeftColumn;
}

void HoldSlotItem(Core* core, SlotAddress address, Item* item) {
    core->useItemX = address.placeX;
    core->useItemY = address.container;
    core->useItemZ = address.slot;
    core->useItemIndex = address.slot;
    core->dragTo = item;
}

void RightClickSlotItem(Core* core, Window* owner, SlotAddress address, Item* item, int32_t mx,
                        int32_t my, uint8_t column) {
    const bool useWith = item->shape && item->shape->useWith;
    const bool opens = item->shape && item->shape->container;
    HoldSlotItem(core, address, item);
    if (AnyModifierHeld()) {
        auto* menu = new Action(core, owner, "", column);
        if (useWith) menu->AddEntryWithHint(ActionCode::UseWith, "Use with..", "RMB");
        else if (opens) menu->AddEntryWithHint(ActionCode::OpenItem, "Open..", "RMB");
        else menu->AddEntryWithHint(ActionCode::UseItem, "Use", "RMB");
        menu->AddEntry(ActionCode::ExamineItem, "Examine");
        menu->Open(mx, my);
        core->AddWindow(menu);
        return;
    }
    Protocol* connection = core->activeConnection;
    const uint16_t id = uint16_t(item->shapeId);
    if (useWith) {
        core->inputModes[InputUseWith] = core->inputModes[InputDrop] = 1;
        core->SetCursor(UseWithCursor);
    } else if (!connection) {
        return;
    } else if (opens) {
        connection->SendOpenSlotItem(address.container, address.slot, id);
        connection->pendingOpens.push_back({uint16_t(mx), uint16_t(my), column});
    } else {
        connection->SendUseSlotItem(address.container, address.slot, id);
    }
}
