// World messages: the tile stream, full areas, steps with their strips, floor changes, things on
// tiles and missiles.
#include <gtest/gtest.h>

#include "core.h"
#include "creature.h"
#include "item.h"
#include "protocol.h"
#include "support/gamemessages.h"
#include "support/hexbytes.h"
#include "throws.h"
#include "tile.h"
#include "world.h"

namespace {

const uint16_t AreaLeft = 0x8FF4, AreaTop = 0x8FF6;
const uint8_t AreaFloor = 128;
const int32_t AreaPositions = 24 * 20;

class WorldMessages : public GameMessages {
protected:
    // The bottom thing's shape of a tile, 0 for no tile.
    uint32_t ShapeAt(uint16_t x, uint16_t y, uint8_t z) {
        Tile* tile = world->GetTileXY(x, y, z);
        if (!tile) return 0;
        return tile->things.empty() ? 1 : static_cast<Item*>(tile->things[0])->shapeId;
    }
    // One position holding a thing of the shape (two bytes, low first), then a run over the
    // rest of `positions`.
    static std::string ThingThenRun(const std::string& shape, int32_t positions) {
        return shape + " ff fe" + VarStop(uint32_t(positions - 2));
    }
};

TEST_F(WorldMessages, RunLeavesItsPositionAndTheNextThreeEmpty) {
    ASSERT_TRUE(Deliver("30 00000000 00 00 00 6400 fe83 6400ff fe" + VarStop(AreaPositions - 6)));
    for (uint16_t x = AreaLeft; x < AreaLeft + 4; ++x)
        EXPECT_EQ(ShapeAt(x, AreaTop, AreaFloor), 0u) << x;
    EXPECT_EQ(ShapeAt(AreaLeft + 4, AreaTop, AreaFloor), 100u);
    EXPECT_EQ(world->cellFloor[SlotIndex(AreaLeft + 4, AreaTop)], AreaFloor);
}

TEST_F(WorldMessages, RunGoesOnIntoTheNextFloor) {
    // One floor up: the run of 480 covers the rest of floor 128 and the first position of 129.
    ASSERT_TRUE(Deliver("30 00000000 00 01 00 6400 fe" + VarStop(AreaPositions) + "6500ff fe" +
                        VarStop(AreaPositions - 3)));
    EXPECT_EQ(ShapeAt(AreaLeft, AreaTop, AreaFloor + 1), 0u);
    EXPECT_EQ(ShapeAt(AreaLeft + 1, AreaTop, AreaFloor + 1), 101u);
    EXPECT_EQ(world->cellFloor[SlotIndex(AreaLeft + 1, AreaTop)], AreaFloor + 1);
}

TEST_F(WorldMessages, FullAreaReadsItsFloorsUpThenDown) {
    const std::string floor = "ff fe" + VarStop(AreaPositions - 2);
    ASSERT_TRUE(
        Deliver("30 00000000 00 01 01 6400 6400" + floor + "6500" + floor + "6600" + floor));
    EXPECT_EQ(ShapeAt(AreaLeft, AreaTop, AreaFloor), 100u);
    EXPECT_EQ(ShapeAt(AreaLeft, AreaTop, AreaFloor + 1), 101u);
    EXPECT_EQ(ShapeAt(AreaLeft, AreaTop, AreaFloor - 1), 102u);
    EXPECT_EQ(protocol->mapReceived, 1);
    EXPECT_EQ(protocol->topFloor, AreaFloor + 1);
}

TEST_F(WorldMessages, OffsetByteMovesTheArea) {
    ASSERT_TRUE(Deliver("30 01000000 21 00 00 00 6400 " + ThingThenRun("6400", AreaPositions)));
    EXPECT_EQ(ShapeAt(0x8FF5, 0x8FF8, AreaFloor), 100u);
    EXPECT_EQ(ShapeAt(AreaLeft, AreaTop, AreaFloor), 0u);
}

TEST_F(WorldMessages, SecondFullAreaEmptiesTheWorldFirst) {
    const std::string area = "30 00000000 00 00 00 6400 " + ThingThenRun("6400", AreaPositions);
    core->SelectTarget(0, rat);
    core->followTarget = rat;
    ASSERT_TRUE(Deliver(area));
    ASSERT_EQ(world->creatures.size(), 2u);
    ASSERT_TRUE(Deliver(area));
    EXPECT_TRUE(world->creatures.empty());
    EXPECT_EQ(core->player, nullptr);
    EXPECT_TRUE(core->targets.empty());
    EXPECT_EQ(core->followTarget, nullptr);
    EXPECT_EQ(ShapeAt(AreaLeft, AreaTop, AreaFloor), 100u);
}

TEST_F(WorldMessages, FloorsPastTheEndsEndTheConnection) {
    EXPECT_FALSE(Deliver("30 00000000 00 80 00 6400"));
    EXPECT_EQ(DisconnectText(), "map_full: floors out of range.");
    Reconnect();
    player->serverPosition.z = 0;
    EXPECT_FALSE(Deliver("71 00 00 00 0000 fe" + VarStop(43)));
    EXPECT_EQ(DisconnectText(), "world_transition: floors out of range.");
    Reconnect();
    player->serverPosition.z = 3;
    EXPECT_FALSE(Deliver("6f 00 04 fe" + VarStop(480)));
    EXPECT_EQ(DisconnectText(), "world_modify: floors out of range.");
}

TEST_F(WorldMessages, NorthEastStepReadsTheTopRowThenTheRightColumnOnEachFloor) {
    const std::string strips = ThingThenRun("6400", 24) + ThingThenRun("6500", 19);
    ASSERT_TRUE(Deliver("38 01 00 01 00 0000 " + strips + strips));
    // The new centre is (101, 99): the view's top-left tile is (90, 90).
    for (uint8_t z : {PlayerZ, uint8_t(PlayerZ + 1)}) {
        EXPECT_EQ(ShapeAt(90, 90, z), 100u);
        EXPECT_EQ(ShapeAt(113, 90, z), 0u);
        EXPECT_EQ(ShapeAt(113, 91, z), 101u);
    }
    EXPECT_EQ(player->serverPosition, (Position{101, 99, PlayerZ}));
}

struct FloorChange {
    int op;
    Position after;
};

void PrintTo(const FloorChange& c, std::ostream* out) { *out << "op " << c.op; }

class FloorChanges : public WorldMessages, public ::testing::WithParamInterface<FloorChange> {};

TEST_P(FloorChanges, MoveDiagonallyToTheNextFloor) {
    ASSERT_TRUE(Deliver(ToHex({uint8_t(GetParam().op)}) + "00 00 00 0000 fe" + VarStop(42)));
    EXPECT_EQ(player->serverPosition, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Protocol, FloorChanges,
                         ::testing::Values(FloorChange{112, Position{99, 99, 8}},
                                           FloorChange{113, Position{101, 101, 6}}));

TEST_F(WorldMessages, UnknownStepDirectionEndsTheConnection) {
    EXPECT_FALSE(Deliver("38 09"));
    EXPECT_EQ(DisconnectText(), "unknown direction in world transition");
}

TEST_F(WorldMessages, StepLeavesTheCreaturesOutOfViewBehind) {
    Creature* behind = Spawn(Position{PlayerX - 11, PlayerY, PlayerZ});
    core->SelectTarget(0, behind);
    core->followTarget = behind;
    ASSERT_TRUE(Deliver("38 02 00 00 00 0000 fe" + VarStop(20)));
    EXPECT_EQ(world->creatures, (std::vector<Creature*>{player, rat}));
    EXPECT_TRUE(core->targets.empty());
    EXPECT_EQ(core->followTarget, nullptr);
}

TEST_F(WorldMessages, MessagesThatNeedThePlayerAreFatalWithoutIt) {
    core->player = nullptr;
    const struct {
        const char* message;
        const char* text;
    } cases[] = {
        {"3a 0000 02", "world_move_force: unknown creature"},
        {"49 00 00 02 00 00 64 c800 00000000", "throw effect: no reference position"},
        {"6f 00 00", "world_modify: unknown creature"},
    };
    for (const auto& c : cases) {
        Reconnect();
        Deliver(c.message);
        EXPECT_EQ(fatalText, c.text);
        fatalText.clear();
    }
}

struct FatalStream {
    const char* stream;
    const char* text;
};

void PrintTo(const FatalStream& c, std::ostream* out) { *out << c.stream; }

class FatalStreams : public WorldMessages, public ::testing::WithParamInterface<FatalStream> {};

TEST_P(FatalStreams, EndTheProgram) {
    Deliver(std::string("30 00000000 00 00 00 6400 ") + GetParam().stream);
    EXPECT_EQ(fatalText, GetParam().text);
    EXPECT_EQ(exitCode, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Protocol, FatalStreams,
    ::testing::Values(FatalStream{"fa", "read_tile: failed to read the world data."},
                      FatalStream{"fb", "read_tile: failed to read the world data."},
                      FatalStream{"0100", "read_item: unknown shape id. (item)"}));

TEST_F(WorldMessages, CreatureMarkerMakesTheTile) {
    ASSERT_TRUE(
        Deliver("30 00000000 00 00 00 6400 fc 09000000 c800 00000000 64 6400 00 00 ff ff fe" +
                VarStop(AreaPositions - 2)));
    Tile* tile = world->GetTileXY(AreaLeft, AreaTop, AreaFloor);
    ASSERT_NE(tile, nullptr);
    ASSERT_EQ(tile->creatures.size(), 1u);
    EXPECT_EQ(tile->creatures[0]->id, 9u);
}

TEST_F(WorldMessages, ThingsOnMissingTilesWithoutPlayerOrWorld) {
    // Sub-id and count changes on a position without a tile are ignored.
    EXPECT_TRUE(Deliver("45 0a0000 00 01000000 46 0a0000 00 05"));
    const struct {
        const char* message;
        const char* text;
    } cases[] = {
        {"40 0a0000 00 6400", "shape_enter: unknown tile location for enter shape."},
        {"41 0a0000 00", "shape_leave: Unknown tile location for leave shape."},
        {"44 0a0000 00 6400", "reshape: unknown tile location for reshape shape."},
    };
    for (const auto& c : cases) {
        Reconnect();
        EXPECT_FALSE(Deliver(c.message));
        EXPECT_EQ(DisconnectText(), c.text);
    }
    core->player = nullptr;
    for (const auto& c : cases) {
        Reconnect();
        EXPECT_FALSE(Deliver(std::string(c.message).replace(3, 2, "00")));
        EXPECT_EQ(DisconnectText(), c.text);
    }
    Reconnect();
    EXPECT_FALSE(Deliver("48 000000 6400"));
    EXPECT_EQ(DisconnectText(), "world_effect: unknown tile location for the effect.");
}

TEST_F(WorldMessages, EffectMakesItsTile) {
    ASSERT_TRUE(Deliver("48 0a0000 6400"));
    EXPECT_EQ(ShapeAt(PlayerX + 10, PlayerY, PlayerZ), 100u);
}

struct Flight {
    const char* ends;  // from dx, from dy, to dx, to dy
    uint32_t direction;
};

void PrintTo(const Flight& c, std::ostream* out) { *out << c.ends; }

class Flights : public WorldMessages, public ::testing::WithParamInterface<Flight> {};

TEST_P(Flights, TakeTheShapeOfTheirDirection) {
    ASSERT_TRUE(Deliver(std::string("49 ") + GetParam().ends + " 00 64 c800 00000000"));
    ASSERT_EQ(world->throws->effects.size(), 1u);
    auto* missile = static_cast<Throw*>(world->throws->effects[0]);
    EXPECT_EQ(missile->item->shapeId, SampleShape::Person + 1 + GetParam().direction);
}

INSTANTIATE_TEST_SUITE_P(Protocol, Flights,
                         ::testing::Values(Flight{"02 00 ff 01", 6}, Flight{"00 00 02 01", 3},
                                           Flight{"00 00 02 00", 2}, Flight{"00 00 00 fd", 0},
                                           Flight{"00 00 01 fe", 1}, Flight{"00 00 fe ff", 7}));

TEST_F(WorldMessages, NothingFliesFromATileToItself) {
    ASSERT_TRUE(Deliver("49 01 01 01 01 00 64 c800 00000000"));
    EXPECT_TRUE(world->throws->effects.empty());
}

}  // namespace
