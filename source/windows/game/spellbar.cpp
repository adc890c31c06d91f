#include "windows/game/spellbar.h"

#include "core.h"
#include "windows/toolkit/windowtypes.h"

Spellbar::Spellbar(Core* core) : Window(core) { typeId = WindowType::Spellbar; }

Spell* Spellbar::SpellAt(uint32_t slotOnPage) const {
    const uint32_t slot = page * SlotsPerPage + slotOnPage;
    for (const SpellBarEntry& entry : core->spellPairs)
        if (entry.slot == slot) return core->FindSpell(uint16_t(entry.value));
    return nullptr;
}

void Spellbar::OpenSpellbook(uint8_t slot) { spellbookSlot = slot; }

void Spellbar::AssignSlot(Spell* spell) {
    if (!spell) ++slotsCleared;
}
