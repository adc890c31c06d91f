#pragma once
// One map cell of a layer: its stack of things (index 0 at the bottom), the creatures standing
// on it, and the ordered draw lists that decide in which order the images of the cell are
// painted. The tile owns its things.
#include <cstdint>
#include <vector>

#include "position.h"

// The side of a map cell in pixels.
constexpr int32_t TileSize = 32;

class Core;
class Creature;
class Item;
class ItemPart;
class Render;
class Thing;

// The cover classes the World's cover pass gives a tile; an image part drawn under class 2 shows
// only when it reaches beyond its own tile, under class 3 (a cell hidden under an upper floor)
// only when it reaches beyond two tiles.
enum CoverClass : uint8_t { CoverNone = 0, CoverEdge = 2, CoverHidden = 3 };

// A creature on a neighbouring tile whose pictures reach into this one: the neighbour cell of
// its 3 x 3 block (column and row 0..2, 1 being its own tile).
struct Overhang {
    Creature* creature;
    int32_t column;
    int32_t row;
};

class Tile {
public:
    Tile(Core* owner, uint16_t x, uint16_t y, uint8_t z);
    virtual ~Tile();
    Tile(const Tile&) = delete;
    Tile& operator=(const Tile&) = delete;

    Position GetPosition() const { return Position{x, y, z}; }

    // The stack. Indexes at or beyond the stack size are ignored.
    Thing* GetThing(uint8_t index) const;
    void AddThing(Thing* thing);
    void InsertThing(uint8_t index, Thing* thing);
    void RemoveThing(uint8_t index);
    // Takes the thing in every case: one for an index beyond the stack is deleted.
    void ReplaceThing(uint8_t index, Thing* thing);
    void ChangeThingSubId(uint8_t index, uint32_t subId);
    void ChangeThingCount(uint8_t index, uint32_t count);
    // The game field's drop, shown before the server answers.
    void AppendThing(Thing* thing);

    // Creatures standing on the tile and drawn from it this frame.
    void AddCreature(Creature* creature);
    void RemoveCreature(Creature* creature);
    void AddBetweenWalker(Creature* creature);
    void RemoveBetweenWalker(Creature* creature);
    void AddWalker(Creature* creature);
    void RemoveWalker(Creature* creature);
    void AddOverhang(Creature* creature, int32_t column, int32_t row);
    // Off the tile and out of the World, which deletes it.
    void DropCreature(Creature* creature);

    // Walkability and what the stack holds.
    bool IsBlockedFor(const Creature* creature) const;
    bool IsBlockedForPath(const Creature* creature, Position from, Position to) const;
    bool HasGround() const;
    bool HasFlaggedThing() const;
    bool HasBit15Thing() const;
    bool HasStairThing() const;
    Thing* GetTopBit15Thing() const;
    bool IsTopSeat() const;
    bool HasFloorKind2() const;
    bool HasBit13Thing() const;
    bool HasSolidThing() const;
    bool HasSolidNonBit6Thing() const;

    // Uses the lowest kind-4 thing (climbing): false when there is none.
    bool UseFlaggedThing();

    // Paints the tile with its top-left corner at (px, py) of the drawing origin.
    void Draw(int32_t px, int32_t py);
    void DrawDropPreview(int32_t px, int32_t py);

    std::vector<ItemPart*> groundParts;
    std::vector<Creature*> betweenWalkers;
    std::vector<ItemPart*> lowerParts;
    std::vector<Creature*> walkers;
    std::vector<Creature*> creatures;
    std::vector<ItemPart*> topParts;
    std::vector<Overhang> overhangs;
    std::vector<Thing*> things;  // owned; every thing is an Item
    Core* owner;
    Render* render;
    uint16_t x, y;
    uint8_t z;
    int32_t height = 0;
    int32_t sink = 0;
    uint8_t coverClass = 0;
    uint8_t groundSpeed = 100;
    uint8_t dirty = 0;

private:
    void FileParts(Item* item, bool dropPrediction);
    void RebuildStack();
    void RemoveThingObject(Thing* thing);
    void ReleaseThing(Thing* thing);
    void ExpireThings();
    void DrawParts(const std::vector<ItemPart*>& parts, int32_t px, int32_t py, bool highlight);
    bool ShowsDropPreview() const;
};
