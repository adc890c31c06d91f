#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "itemdescription.h"
#include "keynames.h"
#include "windows/toolkit/panellist.h"

class Spell;

// One slot of the ability bar: an ability of Core::spells (not owned), or an item named by its
// container window and slot.
struct BarEntry {
    uint8_t used = 0;
    Spell* ability = nullptr;
    uint8_t container = 0;
    uint8_t itemSlot = 0;
};

// The ability bar ("Abilities"): pages of 12 slots, shown as a strip of 12 cells or as a grid of
// 3 x 4 with a mana bar, in a side column or over the game field. F1 to F12 cast the slots of the
// page shown; the abilities book and the popup menu assign abilities to them.
class Spellbar : public Panellist {
public:
    static constexpr uint32_t SlotsPerPage = 12;
    static constexpr uint32_t MaxPages = 12;
    static constexpr uint8_t NoSlot = 255;

    explicit Spellbar(Core* core, Window* owner = nullptr);

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseDown(int32_t mx, int32_t my) override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnRightClick(int32_t mx, int32_t my) override;
    void OnHover(int32_t mx, int32_t my) override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    // 27 and 28 turn the page.
    void OnCommand(Button* button) override;
    // Fills the pages from Core::spellPairs, the server's list of bar slots and abilities.
    void OnOpen() override;

    // Casts, arms or toggles the ability of a slot of the current page; atCursor lets a targeted
    // ability go off at the pointer at once when the option autocast is on.
    void CastSlot(uint8_t slot, bool atCursor);
    // Gives the slot of Core::barSlot on the current page the ability; null clears it.
    virtual void AssignSlot(Spell* spell);
    // Opens the abilities book for a slot of the current page, or says there is nothing to
    // choose from.
    void OpenSpellbook(uint8_t slot);
    // The slot of the current page under a screen point, or NoSlot (the gaps hit nothing).
    uint8_t SlotAt(int32_t px, int32_t py) const;
    // The ability in a slot of the current page, or null.
    Spell* SpellAt(uint32_t slotOnPage) const;
    bool GridLayout() const;

    int32_t page = 0;
    int32_t pageCount = 1;
    std::array<std::array<BarEntry, SlotsPerPage>, MaxPages> pages{};
    // The slot whose abilities book was asked for last, -1 for none.
    int32_t spellbookSlot = -1;

private:
    // The top-left corner of a slot's cell picture, relative to the window.
    int32_t CellX(uint32_t slot) const;
    int32_t CellY(uint32_t slot) const;
    void PlaceButtons();
    void PaintManaBar();
    void DrawKeyLabel(uint32_t slot, int32_t cellX, int32_t cellY);
    void ShowTooltip(const std::string& title, const std::string& text,
                     std::vector<TextSegment> attributes = {});
    // Leaves the ability targeting mode and its drag, with the normal cursor.
    void CancelArmedTarget();

    // The labels of the bar's slots: the names of the F1 to F12 bindings.
    KeyNameCache keyNames[SlotsPerPage];
};
