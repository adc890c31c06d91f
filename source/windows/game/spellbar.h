#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

class Spell;

// The ability bar: keeps the slot whose abilities book was asked for and whether a slot was
// cleared, the least its callers need.
class Spellbar : public Window {
public:
    explicit Spellbar(Core* core);
    // Opens the abilities book for the entry of a slot of the current page.
    void OpenSpellbook(uint8_t slot);
    // Gives the slot of Core::barSlot the ability; null clears it.
    void AssignSlot(Spell* spell);

    int32_t spellbookSlot = -1;  // none asked for
    uint32_t slotsCleared = 0;
};
