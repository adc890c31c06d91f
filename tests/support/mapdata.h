#pragma once
// The world-map data the tools write for the tests (VELTOR_TESTDATA/maps, see
// tools/datagen/mapcases.py), and a fixture that runs a map driver on it.
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "creature.h"
#include "mapdriver.h"
#include "support/spritedata.h"
#include "support/startup.h"
#include "world.h"

#define MAP_TESTDATA VELTOR_TESTDATA "/maps"

using MapKey = std::array<uint8_t, 16>;

std::vector<uint8_t> ReadBytes(const std::string& path);
MapKey KeyFromHex(const std::string& hex);
// The keys of the sample atlas's maps, by map id (from atlas.txt).
std::map<uint16_t, MapKey> SampleMapKeys();
MapSelection Selection(uint16_t mapId, const MapKey& key, int32_t page, int32_t part, uint16_t x,
                       uint16_t y);

// A started Core with a player in a world whose light reveals, and a map driver made on demand
// from the data files the test puts in data/.
class MapDriverTest : public StartedCore {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the driver: it reads data/Veltor.maps and data/Veltor.game.
    MapDriver& Start();
    // Selects page 0, part 0 of the world map at a world tile, then moves there, as the map
    // selection message does.
    bool SelectWorld(uint16_t x, uint16_t y);
    // A position update on the current map's page 0, part 0.
    bool Move(uint16_t x, uint16_t y);
    // The mask cell of a world tile.
    uint8_t MaskAt(int32_t x, int32_t y) const;
    // The text of the message box window the driver opened, or "" when none is open.
    std::string ShownMessage() const;

    std::unique_ptr<World> world;      // the world's weather holds the light value
    std::unique_ptr<Creature> player;  // drawn from the sample sprites, kept while the test runs
    Shapes* startedShapes = nullptr;
    std::unique_ptr<MapDriver> driver;
    MapKey worldKey{};
};
