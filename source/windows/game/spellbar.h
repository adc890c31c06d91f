#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

class Spell;

// The ability bar: its current page of 12 slots and the ability of each, the least its callers
// need.
class Spellbar : public Window {
public:
    static constexpr uint32_t SlotsPerPage = 12;

    explicit Spellbar(Core* core);
    // The ability in a slot of the current page, or null.
    Spell* SpellAt(uint32_t slotOnPage) const;

    uint32_t page = 0;
};
