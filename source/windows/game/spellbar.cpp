#include "windows/game/spellbar.h"

#include "windows/toolkit/windowtypes.h"

Spellbar::Spellbar(Core* core) : Window(core) { typeId = WindowType::Spellbar; }

void Spellbar::OpenSpellbook(uint8_t slot) { spellbookSlot = slot; }

void Spellbar::AssignSlot(Spell* spell) {
    if (!spell) ++slotsCleared;
}
