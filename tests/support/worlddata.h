#pragma once
// A started Core with a World over the test shapes of the world cases (tools/datagen/
// worldcases.py), and helpers that build things, tiles and creatures on it.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "item.h"
#include "position.h"
#include "support/spritedata.h"

class Creature;
class Tile;
class World;

// Shape ids of the world cases.
namespace WorldShape {
constexpr uint32_t Ground = 2000, SlowGround = 2001, Water = 2002, Wall = 2003, Box = 2004;
constexpr uint32_t Stair = 2005, Hole = 2006, Avoided = 2007, Seat = 2008, Sinker = 2009;
constexpr uint32_t FloorKind2 = 2010, Glass = 2011, Partition = 2012, Lamp = 2013, Tree = 2014;
constexpr uint32_t NoDrop = 2015, Flash = 2016, Door = 2017, Throne = 2018, Roof = 2019;
constexpr uint32_t Walker = 2020;
}  // namespace WorldShape

// The player's tile in the picking and drawing cases, and a field 608 pixels wide at (10, 20), so
// that a tile is 32 pixels (34 with `elastic`).
namespace FieldCase {
constexpr Position Here{100, 100, 7};
constexpr int32_t FieldX = 10, FieldY = 20, FieldWidth = 608, FieldHeight = 448;

inline Position At(int32_t dx, int32_t dy, uint8_t z = Here.z) {
    return Position{uint16_t(Here.x + dx), uint16_t(Here.y + dy), z};
}

// A point of the screen inside the tile dx, dy from the player's, at (inX, inY) of its 32 pixels.
inline int32_t ScreenX(int32_t dx, int32_t inX = 16) { return FieldX + (dx + 9) * 32 + inX; }
inline int32_t ScreenY(int32_t dy, int32_t inY = 16) { return FieldY + (dy + 7) * 32 + inY; }
}  // namespace FieldCase

class WorldData : public SpriteData {
protected:
    static constexpr uint64_t Start = 1000000;

    void SetUp() override;
    void TearDown() override;

    // A thing of a shape at a position, not yet on a tile.
    Item* MakeThing(uint32_t shapeId, Position at, uint32_t kind = ItemIdle, uint32_t count = 1);
    // A new tile at the position holding things of these shapes, bottom first.
    Tile* MakeTile(Position at, std::initializer_list<uint32_t> shapeIds);
    // A creature of the world standing on the tile of its position (created when missing).
    Creature* MakeCreature(uint32_t id, Position at, const std::string& name = "Someone");

    std::unique_ptr<Shapes> shapes;
    Shapes* startUpShapes = nullptr;
    World* world = nullptr;
};
