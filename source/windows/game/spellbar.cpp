#include "windows/game/spellbar.h"

#include "core.h"
#include "windows/toolkit/windowtypes.h"

namespace {

// The bar is centred on its x + 244; placed 23 pixels into the console, or 53 (199 with the left
// column shown) above the bottom in the wide layout.
constexpr int32_t HalfBar = 244, ConsoleInset = 23, WideBottom = 53, WideBottomBesidePanel = 199;

}  // namespace

Spellbar::Spellbar(Core* core, Window* owner) : Panellist(core, owner) {
    Build();
    typeId = WindowType::Spellbar;
}

void Spellbar::Place(int32_t screenWidth, int32_t screenHeight) {
    if (panel) {
        Panellist::Place(screenWidth, screenHeight);
        return;
    }
    if (core->options.widescreen) {
        if (core->options.panel) {
            y = screenHeight - WideBottomBesidePanel;
        } else {
            x = screenWidth / 2 - HalfBar;
            y = screenHeight - WideBottom;
        }
    } else if (owner) {
        x = owner->x + (screenWidth - 2 * owner->x) / 2 - HalfBar;
        y = owner->y + ConsoleInset;
    }
}

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
