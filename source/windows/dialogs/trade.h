#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

class Font;
class Item;

// A trade with another player: the player's own offer (the server's container 255) above, the
// partner's (254) below, and whether each side has accepted. Any change of either offer makes
// both sides accept again. The server owns the trade and ends it.
class Trade : public Window {
public:
    static constexpr uint8_t Cells = 24;

    Trade(Core* core, std::string partner);
    ~Trade() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseDown(int32_t mx, int32_t my) override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    // Cancels the trade: Enter, "cancel" and the close button.
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;

    // The own offer's entry at a slot, or null.
    Item* GetItem(uint8_t slot) const;
    // The server's changes of the own offer (A) and the partner's (B).
    void InsertItemA(Item* item, uint8_t slot);
    void InsertItemB(Item* item, uint8_t slot);
    void RemoveItemA(uint8_t slot);
    void RemoveItemB(uint8_t slot);
    void ReplaceItemA(Item* item, uint8_t slot);
    void ReplaceItemB(Item* item, uint8_t slot);
    // The own cell under a screen point, or 255.
    uint8_t OwnSlotAt(int32_t px, int32_t py) const;
    uint8_t PartnerSlotAt(int32_t px, int32_t py) const;

    std::string partner;
    std::vector<Item*> own;
    std::vector<Item*> partnerOffer;
    uint8_t ownAccepted = 0;
    uint8_t partnerAccepted = 0;
    Font* countFont = nullptr;

private:
    void Insert(std::vector<Item*>& offer, Item* item, uint8_t slot);
    void Remove(std::vector<Item*>& offer, uint8_t slot);
    void Replace(std::vector<Item*>& offer, Item* item, uint8_t slot);
    void PaintContent();
    void DrawOffer(const std::vector<Item*>& offer, int32_t top, bool animated, int32_t originX,
                   int32_t originY);
};
