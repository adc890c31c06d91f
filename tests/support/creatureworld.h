#pragma once
// A game world for creature tests: a test Core with the generator's sample shapes, a World with
// stone floor tiles on demand, creatures of the sample person, and a frame clock to step.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core.h"
#include "position.h"

class Creature;
class Tile;
class World;

// Shape ids of the generated sample data (tools/datagen/sprites.py).
namespace SampleShape {
constexpr uint32_t Grass = 100, StoneFloor = 103, Water = 102, Wall = 110, Chair = 150,
                   Ladder = 151;
constexpr uint32_t Torch = 152, Person = 200, Sparkle = 300, TargetRing = 400;
constexpr uint8_t StoneSpeed = 160;  // the ground speed of the stone floor
}  // namespace SampleShape

class CreatureWorld : public ::testing::Test {
protected:
    // The frame clock's value at the start of every test.
    static constexpr uint64_t Start = 1000000;

    void SetUp() override;
    void TearDown() override;

    // A tile with a stone floor (or another thing) at the bottom; the tile if there is one.
    Tile* Floor(uint16_t x, uint16_t y, uint8_t z = 7, uint32_t shapeId = SampleShape::StoneFloor);
    // Stone floor on every tile of the square of the given radius around (x, y).
    void FloorAround(uint16_t x, uint16_t y, int32_t radius, uint8_t z = 7);
    // Puts a thing on top of a tile's stack.
    void Stack(Tile* tile, uint32_t shapeId);
    // A creature of the sample person as the server's creature reader makes it: in the world and
    // on its tile.
    Creature* Spawn(Position at, const std::string& name = "Rat", uint16_t speed = 125);
    // The same creature made the player's.
    Creature* SpawnPlayer(Position at, const std::string& name = "Hero", uint16_t speed = 125);
    // Sets the frame clock to Start + ms.
    void At(uint64_t ms);
    // Sets the clock and runs every creature's walk update, as a frame does.
    void Frame(uint64_t ms);
    void SetStatus(uint8_t index, bool active);
    // The lines the notification places hold (each place's shown line, then its waiting one), as
    // "kind:text".
    std::vector<std::string> Notifications() const;
    // Empties every notification place.
    void ClearNotifications();

    std::unique_ptr<Core> core;
    World* world = nullptr;
    uint32_t nextId = 1;
};
