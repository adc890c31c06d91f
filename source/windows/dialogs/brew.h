#pragma once
#include <cstdint>
#include <vector>

#include "windows/toolkit/itemgrid.h"
#include "windows/toolkit/window.h"

class Font;
class Item;
class Protocol;

// What tells the brewing window from its twin, the crafting window.
struct BrewKind {
    const char* title;
    const char* actionCaption;
    const char* mainLabel;  // the main slot holds the bottle or the tool
    int32_t pictureSy, pictureHeight;
    uint32_t typeId;
    uint16_t container;  // the server's container number
    uint16_t itemX;      // the slot position of the held item
    void (Protocol::*sendAction)();
    void (Protocol::*sendClose)();
};

// The brewing window: a bottle and up to nine components, and the request to brew them. The
// server opens and closes it and reports its slots as container 251.
class Brew : public Window {
public:
    static constexpr uint8_t SlotCount = 10;
    static const BrewKind Brewing;

    explicit Brew(Core* core);
    ~Brew() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseDown(int32_t mx, int32_t my) override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    // The player's close: the server is told.
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;

    Item* GetItem(uint8_t slot) const;
    // The server's changes. An item for a slot of 10 or more is freed; a stored item frees the
    // one it replaces.
    void SetItem(Item* item, uint8_t slot);
    void RemoveItem(uint8_t slot);
    void ReplaceItem(Item* item, uint8_t slot);
    // The slot under a screen point, or 255.
    uint8_t SlotAt(int32_t px, int32_t py) const;

    const BrewKind& kind;
    Font* countFont = nullptr;
    std::vector<ItemGrid::SlotRect> slotRects;
    std::vector<Item*> slots;

protected:
    Brew(Core* core, const BrewKind& kind);

private:
    void PaintContent();
};

// The crafting window: the brewing window's twin with a tool, as container 252.
class Craft : public Brew {
public:
    static const BrewKind Crafting;
    explicit Craft(Core* core);
};
