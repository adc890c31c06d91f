#pragma once
#include <cstdint>

#include "windows/toolkit/panellist.h"

class Spell;

// The ability bar panel window: its current page of 12 slots and the ability of each, the slot
// whose abilities book was asked for and whether a slot was cleared, the least its callers need.
class Spellbar : public Panellist {
public:
    static constexpr uint32_t SlotsPerPage = 12;

    explicit Spellbar(Core* core, Window* owner = nullptr);
    // Without a column: centred over the console, or near the bottom in the wide layout.
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    // The ability in a slot of the current page, or null.
    Spell* SpellAt(uint32_t slotOnPage) const;
    // Opens the abilities book for the entry of a slot of the current page.
    void OpenSpellbook(uint8_t slot);
    // Gives the slot of Core::barSlot the ability; null clears it.
    virtual void AssignSlot(Spell* spell);

    uint32_t page = 0;
    int32_t spellbookSlot = -1;  // none asked for
    uint32_t slotsCleared = 0;
};
