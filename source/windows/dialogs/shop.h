#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

#include "item.h"

class Font;

// An entry of a shop's lists: an item with its stock or amount, its price and its name.
class ShopEntry : public Item {
public:
    using Item::Item;
    std::string name;
};

// The question of a sale of `count` items for `total` copper coins, with the coins the player
// receives when the total reaches a silver coin.
std::string SaleQuestion(uint32_t count, uint64_t total);
// The Info line of a sale: "You've sold an apple for 5 copper coins.".
std::string SoldLine(const std::string& name, uint32_t count, uint64_t total);

// The window of a merchant: the goods it sells above, the player's items it buys below. A shop
// named a guild of learning sells abilities, learned by dragging them into the inventory. Every
// sale and purchase is a request; the server keeps both lists current.
class Shop : public Window {
public:
    // Takes over the items of both lists.
    Shop(Core* core, std::string name, std::vector<ShopEntry*> goods,
         std::vector<ShopEntry*> offer);
    ~Shop() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseDown(int32_t mx, int32_t my) override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnRightClick(int32_t mx, int32_t my) override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    // The player's close: the split window closes and the server is told.
    void Close() override;

    // Columns and rows of both grids for the current lists, and the window's size.
    void ComputeLayout();
    // The goods entry at a slot, or null past the end.
    ShopEntry* GetItem(uint8_t slot) const;
    ShopEntry* GetOffer(uint8_t slot) const;
    // The goods list as the server's container 253 changes it; the layout stays.
    void InsertItem(ShopEntry* item, uint8_t slot);
    void RemoveItem(uint8_t slot);
    void ReplaceItem(ShopEntry* item, uint8_t slot);
    void UpdateItem(uint8_t slot, uint16_t stock, uint32_t price);
    // An offer entry from the server: replaces the one at the slot; an amount of 0 removes it.
    void SetOfferItem(ShopEntry* item, uint8_t slot);
    // Asks whether to sell the held offer entry in the count chosen.
    void AskSellConfirmation();
    // The yes of that question: sells the held offer entry, while it is still the item asked
    // about; false when nothing was sold.
    bool ConfirmSell(const Item* asked);
    // Sells one or all of the held offer entry without asking.
    void SellSelected(uint8_t all);
    bool IsAbilityLearned(const ShopEntry* item) const;
    // The slot under a screen point, or 255; it may lie past the list's end.
    uint8_t GoodsSlotAt(int32_t px, int32_t py) const;
    uint8_t OfferSlotAt(int32_t px, int32_t py) const;

    std::vector<ShopEntry*> goods;
    std::vector<ShopEntry*> offer;
    int32_t goodsRows = 1, goodsCells = 0, offerRows = 0, offerCells = 0, columns = 6;
    Font* smallFont = nullptr;
    uint8_t learnMode = 0;

private:
    // The stack whose count the split window asks for when an offer entry is sold.
    std::unique_ptr<Item> countRecord;

    int32_t GridTop() const;
    int32_t OfferTop() const;
    void SetHeight();
    void PaintContent();
    void DrawGoodsItem(ShopEntry* item, int32_t cellX, int32_t cellY);
    void DrawOverlay();
    void DrawHovered();
    void Refuse(const std::string& text);
    void PickUp(uint16_t row, uint8_t slot, ShopEntry* item);
};
