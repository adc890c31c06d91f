// Requests of the game state from the player's abilities and the game dialogs: attributes,
// casting, the ability bar, the outfit, map markers, brewing, crafting, bank, house, shop, the
// server's questions and the crash notice.
#include "core.h"
#include "creature.h"
#include "protocol.h"
#include "shape.h"

// --- Abilities and character --------------------------------------------------------------------

void Protocol::SendRaiseAttribute(uint8_t attribute) { Send(18, attribute); }
void Protocol::SendAbilitiesRequest() { Send(71); }

void Protocol::SendCastSelf(uint8_t spell) { Send(208, uint8_t(spell + 1)); }

void Protocol::SendCastCreature(uint8_t spell, uint32_t creatureId) {
    Send(209, uint8_t(spell + 1), creatureId);
}

void Protocol::SendCastTile(uint8_t spell, int32_t x, int32_t y, int32_t z) {
    if (const auto at = OffsetFromPlayer(x, y, z))
        Send(210, uint8_t(spell + 1), at->dx, at->dy, at->dz);
}

void Protocol::SendCastArmed(uint8_t spell) { Send(215, uint8_t(spell + 1)); }

void Protocol::SendSpellbarSlot(uint8_t slot, uint16_t abilityId) {
    Send(216, uint8_t(slot + 1), abilityId);
}

void Protocol::SendOutfit(uint16_t shapeId, uint32_t colours) {
    const Shape* shape = core->GetShape(shapeId);
    Send(218, shapeId,
         shape && shape->hasPaletteId ? std::optional<uint32_t>(colours) : std::nullopt);
}

// --- Windows and answers ------------------------------------------------------------------------

void Protocol::SendMarkerAdd(uint16_t markerId, uint16_t x, uint16_t y, uint8_t icon,
                             const std::string& text) {
    Send(72, markerId, x, y, icon, text);
}

void Protocol::SendMarkerRemove(uint8_t markerId) { Send(73, markerId); }
void Protocol::SendBrew() { Send(92); }
void Protocol::SendBrewClose() { Send(93); }
void Protocol::SendBankClose() { Send(145); }

void Protocol::SendHouseInviteeAdd(uint32_t houseId, const std::string& name) {
    Send(146, houseId, name);
}
void Protocol::SendHouseInviteeRemove(uint32_t houseId, const std::string& name) {
    Send(148, houseId, name);
}
void Protocol::SendHouseBid(uint32_t houseId, uint32_t bid) { Send(155, houseId, bid); }
void Protocol::SendRentalClose() { Send(156); }
void Protocol::SendCraft() { Send(212); }
void Protocol::SendCraftClose() { Send(213); }

void Protocol::SendShopSell(uint16_t shapeId, uint32_t entryIndex, uint32_t count) {
    Send(219, shapeId, Varint{entryIndex}, Varint{count});
}

void Protocol::SendShopClose() { Send(220); }
void Protocol::SendConfirmYes() { Send(221); }
void Protocol::SendConfirmNo() { Send(222); }

// Nothing is sent while the game is halted, but this request answers the halt: it goes out with
// the halt lifted for that moment only.
void Protocol::SendCrashProceed() {
    const uint8_t halted = core->gameHalted;
    core->gameHalted = 0;
    Send(248);
    core->gameHalted = halted;
}
