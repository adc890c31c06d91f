// Requests of the game state about the map and its things: walking, turning, targets, pushing,
// sitting, using, moving, opening and looking at items.
#include "core.h"
#include "creature.h"
#include "mouse.h"
#include "protocol.h"
#include "screen.h"
#include "shape.h"

namespace {

// An offset a caller computed, as the wire holds it: modulo 256.
uint8_t Wrapped(int32_t offset) { return uint8_t(offset); }

}  // namespace

std::string FitText(const std::string& utf8) {
    if (utf8.size() <= 255) return utf8;
    size_t end = 255;
    while (end > 0 && (uint8_t(utf8[end]) & 0xC0) == 0x80) --end;
    return utf8.substr(0, end);
}

std::optional<TileOffset> Protocol::OffsetFromPlayer(int32_t x, int32_t y, int32_t z) const {
    const Creature* player = core->player;
    if (!player) return std::nullopt;
    const Position& at = player->position;
    return TileOffset{Wrapped(x - at.x), Wrapped(y - at.y), Wrapped(z - at.z)};
}

std::optional<Var15> Protocol::MoveCount(uint16_t shapeId) const {
    const Shape* shape = core->GetShape(shapeId);
    if (!shape || !shape->stackable) return std::nullopt;
    return Var15{core->moveCount};
}

void Protocol::AddPendingLook() {
    const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
    pendingLooks.push_back(mouse ? PendingLook{mouse->x, mouse->y} : PendingLook{0, 0});
}

// --- Movement, stance and targets ---------------------------------------------------------------

// The walk is recorded before it is sent, the other movement requests after; nothing happens on
// the connection in between, so both orders keep the recording's order of events.
void Protocol::SendWalk(uint8_t direction) {
    NetworkMessage message = MakeRequest(32, direction);
    RecordClientMessage(message);
    flush(message);
}

void Protocol::SendWalkRedirect(uint8_t direction) {
    NetworkMessage message = MakeRequest(33, direction);
    RecordClientMessage(message);
    flush(message);
}

void Protocol::SendTurn(uint8_t direction) {
    NetworkMessage message = MakeRequest(40, direction);
    RecordClientMessage(message);
    flush(message);
}

void Protocol::SendTarget(uint8_t mode, uint32_t creatureId) { Send(51, mode, creatureId); }

void Protocol::SendPushCreature(uint32_t creatureId, int32_t dx, int32_t dy, int32_t dz) {
    Send(121, creatureId, Wrapped(dx), Wrapped(dy), Wrapped(dz));
}

void Protocol::SendPushToCreature(uint32_t creatureId, uint32_t targetId) {
    Send(123, creatureId, targetId);
}

void Protocol::SendSit(bool sitDown) { Send(162, uint8_t(sitDown)); }

// --- Items: using, moving, opening --------------------------------------------------------------

void Protocol::SendMoveMapToMap(int32_t sourceDx, int32_t sourceDy, uint8_t stackIndex,
                                int32_t targetDx, int32_t targetDy, int32_t targetDz,
                                uint16_t shapeId) {
    // A thing dropped back onto its own tile does not move.
    if (Wrapped(sourceDx) == Wrapped(targetDx) && Wrapped(sourceDy) == Wrapped(targetDy) &&
        Wrapped(targetDz) == 0)
        return;
    Send(48, Wrapped(sourceDx), Wrapped(sourceDy), stackIndex, Wrapped(targetDx), Wrapped(targetDy),
         Wrapped(targetDz), shapeId, MoveCount(shapeId));
}

// Uses and opens on the map name no floor.
void Protocol::SendUseMapItem(int32_t x, int32_t y, uint8_t stackIndex, uint16_t shapeId) {
    if (const auto at = OffsetFromPlayer(x, y, 0))
        Send(49, uint8_t(0), at->dx, at->dy, stackIndex, shapeId);
}

void Protocol::SendUseMapOnMap(int32_t sourceDx, int32_t sourceDy, uint8_t stackIndex,
                               int32_t targetDx, int32_t targetDy, uint16_t usedShapeId,
                               uint16_t targetShapeId) {
    Send(50, Wrapped(sourceDx), Wrapped(sourceDy), stackIndex, Wrapped(targetDx), Wrapped(targetDy),
         usedShapeId, targetShapeId);
}

void Protocol::SendUseSlotItemOnCreature(uint8_t container, uint8_t slot, uint32_t creatureId,
                                         uint16_t shapeId) {
    Send(77, container, slot, creatureId, shapeId);
}

void Protocol::SendUseMapItemOnCreature(int32_t sourceDx, int32_t sourceDy, uint8_t stackIndex,
                                        uint32_t creatureId, uint16_t shapeId) {
    Send(78, Wrapped(sourceDx), Wrapped(sourceDy), stackIndex, creatureId, shapeId);
}

void Protocol::SendUseSlotItem(uint8_t container, uint8_t slot, uint16_t shapeId) {
    Send(80, uint8_t(0), container, slot, shapeId);
}

void Protocol::SendUseSlotOnSlot(uint8_t sourceContainer, uint8_t sourceSlot,
                                 uint8_t targetContainer, uint8_t targetSlot, uint16_t usedShapeId,
                                 uint16_t targetShapeId) {
    Send(81, sourceContainer, sourceSlot, targetContainer, targetSlot, usedShapeId, targetShapeId);
}

void Protocol::SendUseSlotOnMap(uint8_t sourceContainer, uint8_t sourceSlot, int32_t targetDx,
                                int32_t targetDy, uint16_t usedShapeId, uint16_t targetShapeId) {
    Send(82, sourceContainer, sourceSlot, Wrapped(targetDx), Wrapped(targetDy), usedShapeId,
         targetShapeId);
}

void Protocol::SendUseMapOnSlot(int32_t sourceDx, int32_t sourceDy, uint8_t stackIndex,
                                uint8_t targetContainer, uint8_t targetSlot, uint16_t usedShapeId,
                                uint16_t targetShapeId) {
    Send(83, Wrapped(sourceDx), Wrapped(sourceDy), stackIndex, targetContainer, targetSlot,
         usedShapeId, targetShapeId);
}

void Protocol::SendContainerClose(uint8_t container) { Send(84, container); }
void Protocol::SendContainerUp(uint8_t container) { Send(85, container); }
void Protocol::SendContainerStack(uint8_t container) { Send(86, container); }

void Protocol::SendMoveMapToSlot(int32_t sourceDx, int32_t sourceDy, uint8_t stackIndex,
                                 uint8_t targetContainer, uint8_t targetSlot, uint16_t shapeId) {
    Send(112, Wrapped(sourceDx), Wrapped(sourceDy), stackIndex, targetContainer, targetSlot,
         shapeId, MoveCount(shapeId));
}

void Protocol::SendMoveSlotToMap(uint8_t sourceContainer, uint8_t sourceSlot, int32_t targetDx,
                                 int32_t targetDy, int32_t targetDz, uint16_t shapeId) {
    Send(113, sourceContainer, sourceSlot, Wrapped(targetDx), Wrapped(targetDy), Wrapped(targetDz),
         shapeId, MoveCount(shapeId));
}

void Protocol::SendMoveSlotToSlot(uint8_t sourceContainer, uint8_t sourceSlot,
                                  uint8_t targetContainer, uint8_t targetSlot, uint16_t shapeId) {
    Send(114, sourceContainer, sourceSlot, targetContainer, targetSlot, shapeId,
         MoveCount(shapeId));
}

void Protocol::SendUseCancel() { Send(132); }

void Protocol::SendUseWithMap(int32_t x, int32_t y, int32_t z, uint8_t stackIndex,
                              uint16_t shapeId) {
    if (const auto at = OffsetFromPlayer(x, y, z))
        Send(133, at->dx, at->dy, at->dz, stackIndex, shapeId);
}

void Protocol::SendUseWithSlot(uint8_t container, uint8_t slot, uint16_t shapeId) {
    Send(134, container, slot, shapeId);
}

void Protocol::SendUseOnCreature(uint32_t creatureId) { Send(135, creatureId); }

void Protocol::SendOpenMapItem(int32_t x, int32_t y, uint8_t stackIndex, uint16_t shapeId) {
    if (const auto at = OffsetFromPlayer(x, y, 0))
        Send(166, uint8_t(0), at->dx, at->dy, stackIndex, shapeId);
}

void Protocol::SendOpenSlotItem(uint8_t container, uint8_t slot, uint16_t shapeId) {
    Send(167, uint8_t(0), container, slot, shapeId);
}

// --- Looking at things --------------------------------------------------------------------------

void Protocol::SendLookMapItem(int32_t x, int32_t y, int32_t z, uint8_t stackIndex,
                               uint16_t shapeId) {
    const auto at = OffsetFromPlayer(x, y, z);
    if (!at) return;
    Send(163, at->dx, at->dy, at->dz, stackIndex, shapeId);
    AddPendingLook();
}

void Protocol::SendLookSlotItem(uint8_t container, uint8_t slot, uint16_t shapeId) {
    Send(164, container, slot, shapeId);
    AddPendingLook();
}

void Protocol::SendLookCreature(uint32_t creatureId) {
    Send(165, creatureId);
    AddPendingLook();
}

void Protocol::SendLookShopItem(uint16_t shapeId, uint32_t entryIndex) {
    Send(217, shapeId, Varint{entryIndex});
    AddPendingLook();
}
