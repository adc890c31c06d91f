#pragma once
// Every object shown that is not a creature: things on tiles, container, bank, shop and trade
// slots, equipment, effects, missiles, spell icons and the shared interface pictures. An item
// names its look by shape id and colour key (sub-id), picks its images from the shape record by
// count, animation kind and position, and keeps one part per image layer.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "itempart.h"
#include "thing.h"

class Font;
struct ShapeCell;

// Animation kinds: which slot of the range an item shows.
enum ItemKind : uint32_t {
    ItemIdle = 0,
    ItemEffect = 1,
    ItemMove = 2,
    ItemIcon = 3,
    ItemEnter = 4
};

// The slot labels: a count above 1, and the shop amount ("0" in light red, thousands as "K").
struct ItemLabel {
    std::string text;
    uint32_t colour;
};
std::string CountLabel(uint32_t count);
ItemLabel AmountLabel(uint16_t amount);

class Item : public Thing {
public:
    Item(Core* owner, uint32_t shapeId, uint32_t subId, uint16_t x, uint16_t y, uint8_t z,
         uint32_t count, uint32_t kind);
    Item(Core* owner, uint32_t shapeId, uint32_t subId, uint16_t x, uint16_t y, uint8_t z,
         uint32_t count, uint16_t amount, uint32_t value, uint32_t kind);
    ~Item() override;

    void SetKind(uint32_t kind);
    // Rebuilds the parts after a change of count (resolve 0) or of sub-id (resolve 1).
    void Refresh(uint8_t resolve);
    void SetExtra(uint16_t amount, uint32_t value);
    // A lasting effect finishes its current run and then expires.
    void SyncAnimation();

    void Draw(int32_t x, int32_t y);
    void DrawTinted(int32_t x, int32_t y, uint8_t alpha);
    void DrawIcon(int32_t x, int32_t y, Font* font);
    void DrawIconAmount(int32_t x, int32_t y, Font* font);
    void DrawCountText(int32_t x, int32_t y, Font* font);
    void DrawAmountText(int32_t x, int32_t y, Font* font);
    void DrawSlotOutline(int32_t x, int32_t y, uint8_t alpha);

    uint32_t shapeId;
    uint32_t subId;
    uint32_t count;
    uint16_t amount = 0;
    uint32_t value = 0;
    ShapeCell* cell = nullptr;
    uint8_t effect = 0;
    uint8_t expired = 0;
    uint8_t animated = 0;
    uint8_t looping = 0;
    uint8_t globalClock = 1;
    uint32_t kind = ItemIdle;
    int32_t successor = -1;
    uint64_t created;
    uint32_t width = 32, height = 32;
    uint8_t movable = 0;
    uint16_t x, y;
    uint8_t z;
    std::vector<std::unique_ptr<ItemPart>> parts;
    std::unique_ptr<ItemPart> outlinePart;

private:
    void BuildParts();
    void ClearParts();

    uint32_t appliedKey;  // the colour key counted on `shape`, released exactly once
};

// The shared interface items built at start-up from the sprite data's header list.
struct InterfaceItems {
    Item* single[4];  // the fourth may share the second's item
    Item* gridA[4][4];
    Item* gridB[4][4];
};
