#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "keynames.h"
#include "windows/toolkit/panellist.h"

class Item;

// One cell of the equipment grid: its place in the window, the picture of the empty slot in the
// skin and its slot byte.
struct EquipmentCell {
    int32_t x;
    int32_t y;
    uint8_t w;
    uint8_t h;
    int32_t iconX;
    int32_t iconY;
    uint8_t slot;
};

// What the player wears: 15 slots, 3 columns of 5 rows, a strip of the active status effects
// and, in the HUD layout, a health bar above the grid. It lives in a side column or beside the
// console, and owns the items of its slots.
class Equipment : public Panellist {
public:
    static constexpr uint8_t SlotCount = 15;
    static constexpr uint8_t NoSlot = 255;

    explicit Equipment(Core* core, Window* owner = nullptr);
    ~Equipment() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseDown(int32_t mx, int32_t my) override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnRightClick(int32_t mx, int32_t my) override;
    void OnHover(int32_t mx, int32_t my) override;
    // Without a column: the bottom right corner of the screen in the HUD layout, else the right
    // end of its owner (the console).
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    // The window has no buttons of its own.
    void OnCommand(Button* button) override;

    // Stores the item in an empty slot; an item it cannot store (a slot past the grid, a filled
    // slot's old item) is destroyed.
    void SetSlot(Item* item, uint8_t slot);
    // Takes the slot's item out and hands it to the caller (null for an empty or unknown slot).
    Item* ClearSlot(uint8_t slot);
    // Destroys the slot's item and stores the new one.
    void ReplaceSlot(Item* item, uint8_t slot);
    Item* ItemAt(uint8_t slot) const;
    // The slot under a screen point, 2 pixels of margin round each cell; NoSlot for none.
    uint8_t SlotAt(int32_t px, int32_t py) const;
    // The index into Core::statusEffects of the status icon under a screen point, or -1.
    int32_t StatusAt(int32_t px, int32_t py) const;
    // The filled width of the health bar for hp of maxHp.
    static int32_t HealthFill(int32_t hp, int32_t maxHp);

    std::vector<EquipmentCell> cells;
    std::vector<Item*> items;

private:
    static constexpr uint32_t ActionKeyCount = 3;

    bool HudLayout() const;
    int32_t Top() const;
    void PaintHealthBar();
    void PaintStatusStrip();
    void ShowTooltip(const std::string& text);

    // The labels of the last three slots: the names of the action keys' bindings.
    KeyNameCache actionKeyNames[ActionKeyCount];
};
