#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/toolkit/panellist.h"

class Item;
class Panel;

// The contents of a container the server opened: a grid of 40-pixel cells, 3 to a row. In a side
// column it is a panel window; without a column it is the short-lived loot window at the mouse.
// It owns its items; the index of an item in `items` is its slot.
class Container : public Panellist {
public:
    static constexpr int32_t MinimumHeight = 74;
    static constexpr uint8_t NoSlot = 255;

    // A window of the saved column layout: empty until the server opens its number.
    Container(Core* core, Panel* panel, uint8_t index, uint8_t slotCount);
    // A window the server opened; takes the items. A null panel makes the loot window.
    Container(Core* core, Panel* panel, uint8_t index, uint32_t iconShapeId, uint8_t hasParent,
              uint8_t slotCount, std::string title, std::vector<Item*> items);
    ~Container() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseDown(int32_t mx, int32_t my) override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnDoubleClick(int32_t mx, int32_t my) override;
    void OnRightClick(int32_t mx, int32_t my) override;
    void OnResize(int32_t mx, int32_t my) override;
    void OnWheel(int32_t mx, int32_t my, int32_t delta) override;
    void OnHover(int32_t mx, int32_t my) override;
    // 9 closes, 1 and 10 collapse and expand, 27 asks for the container holding this one.
    void OnCommand(Button* button) override;

    // The layout entry followed by the slot count.
    std::string Serialize() override;
    // The server learns that the container is closed.
    void OnColumnClose() override;

    // The server opened this number again: the items go, the rest is set anew. The caller adds
    // the new items.
    void Reopen(uint32_t newIconShapeId, uint8_t newHasParent, uint8_t newSlotCount,
                const std::string& newTitle);
    void AddItem(Item* item);
    // At the index, which may be the end; an item for a slot past the end is destroyed.
    void InsertItem(Item* item, uint8_t index);
    // Destroys the item at the index; a loot window keeps its size with keepSize.
    void DeleteItem(uint8_t index, bool keepSize);
    // Destroys the item at the index, if any, and puts the new one there (as InsertItem).
    void ReplaceItem(Item* item, uint8_t index);
    // Takes the item at the index out of the list and hands it to the caller (null past the end).
    Item* RemoveItemAt(uint8_t index);
    Item* ItemAt(uint8_t index) const;
    uint32_t CountSameType(const Item* item) const;
    // Places the loot window at the point and sizes it to its items.
    void SetGeometry(int32_t px, int32_t py);
    // Gives the window the content height: false when the height was too low and the window
    // closed.
    bool ApplyContentHeight(int32_t newHeight);
    // Shakes the loot window.
    void Highlight();
    // The slot under a screen point, or NoSlot.
    uint8_t SlotAt(int32_t px, int32_t py) const;

    uint8_t containerIndex;
    uint8_t slotCount;
    uint8_t openedSlotCount;
    uint8_t hasParent = 0;
    uint8_t floating = 0;
    int32_t contentHeight = 0;
    uint32_t iconShapeId = 0;
    std::vector<Item*> items;
    Item* icon = nullptr;
    uint64_t openedAt = 0;
    uint8_t flashActive = 0;
    uint64_t flashStart = 0;
    uint32_t flashDuration = 200;
    uint32_t flashSteps = 4;
    uint8_t restored = 0;

private:
    // Rows x 40 + 34 for the slot count.
    static int32_t HeightForSlots(uint32_t slots);
    void BuildIcon();
    void ApplyTitle();
    void ClearItems();
    // A panel window's slot count, content height and scroll total after its items changed.
    void FollowItemCount();
    // The loot window's size for its items; without items it fades out.
    void FitToItems();
    void CloseLoot();
    // The picked thing becomes the item at the slot.
    void Pick(uint8_t slot);
    void DropOn(uint8_t slot);
    void ClickItem(uint8_t slot);
    // The cell origin of a slot inside the surface (panel) or the window (loot).
    int32_t CellX(uint32_t slot) const;
    int32_t CellY(uint32_t slot) const;
    int32_t ScrollPosition() const;
    void PaintCells();
    void DrawHoverMark();
    void DrawLoot();
};
