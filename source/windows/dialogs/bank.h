#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/toolkit/itemgrid.h"
#include "windows/toolkit/window.h"

class Font;
class Item;

// The player's bank while standing at one: the balance, 40 storage slots numbered down each
// column, and the mailbox slot whose item the "mailbox" button takes out. The server owns the
// contents and changes single slots as its container 250.
class Bank : public Window {
public:
    static constexpr uint8_t StorageSlots = 40, MailboxSlot = 40, SlotCount = 41;

    Bank(Core* core, std::string title);
    ~Bank() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseDown(int32_t mx, int32_t my) override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnRightClick(int32_t mx, int32_t my) override;
    // The player's close: the server is told, the split window closes too.
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;

    // The item in a slot, or null when empty or past the end.
    Item* GetItem(uint8_t slot) const;
    // The server's changes; a slot past the mailbox ends the connection and the item is freed.
    void InsertItem(Item* item, uint8_t slot);
    void RemoveItem(uint8_t slot);
    void ReplaceItem(Item* item, uint8_t slot);
    // The storage slot under a screen point, or 255.
    uint8_t SlotAt(int32_t px, int32_t py) const;

    std::vector<ItemGrid::SlotRect> slotRects;
    std::vector<Item*> slots;
    uint8_t mailbox = 0;
    Font* countFont = nullptr;

private:
    // False for a slot past the mailbox, after freeing the item that cannot be stored.
    bool CheckSlot(uint8_t slot, const char* operation, Item* unstored);
    void Hold(uint8_t slot, Item* item);
    void PaintContent();
};
