#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "core.h"
#include "creature.h"
#include "support/worlddata.h"
#include "tile.h"
#include "world.h"

namespace {

using namespace WorldShape;
using Steps = std::vector<uint8_t>;

constexpr uint8_t North = 0, NorthEast = 1, East = 2, SouthEast = 3, South = 4;
constexpr Position Here{100, 100, 7};

Position Offset(int32_t dx, int32_t dy, uint8_t z = Here.z) {
    return Position{uint16_t(Here.x + dx), uint16_t(Here.y + dy), z};
}

// --- The search alone -----------------------------------------------------------------------

PathGrid Blocked(std::initializer_list<std::pair<int32_t, int32_t>> cells) {
    PathGrid grid{};
    for (const auto& [x, y] : cells) grid[size_t(y + PathRows * x)] = 1;
    return grid;
}

TEST(FindPath, FollowsTheNeighbourOrderAndTheHeap) {
    const struct {
        const char* name;
        PathGrid blocked;
        uint16_t goalX, goalY;
        Steps steps;  // last step first
    } cases[] = {
        {"one step east", Blocked({}), 11, 8, {East}},
        {"goal is the start", Blocked({}), 10, 8, {}},
        {"a straight line", Blocked({}), 10, 5, {North, North, North}},
        // The corner past a blocked cell may be cut.
        {"diagonal past a blocked cell", Blocked({{11, 8}}), 11, 9, {SouthEast}},
        // Round a wall two east: north-east and south-east wait with the same priority as the
        // ways round the south; the heap gives the northern one first.
        {"round a wall", Blocked({{12, 8}}), 13, 8, {SouthEast, NorthEast, East}},
        // Two cells waiting in the open list are reached again by shorter ways and replaced;
        // the order the replacement leaves the heap in picks this route among equal ones.
        {"a waiting cell reached better",
         Blocked({{12, 10}}),
         13,
         11,
         {East, SouthEast, South, SouthEast}},
        {"walled in",
         Blocked({{9, 7}, {10, 7}, {11, 7}, {9, 8}, {11, 8}, {9, 9}, {10, 9}, {11, 9}}),
         12,
         8,
         {}},
        {"goal blocked", Blocked({{12, 8}}), 12, 8, {}},
        {"goal off the grid", Blocked({}), 65535, 8, {}},
        {"goal below the grid", Blocked({}), 10, 28, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(World::FindPath(c.blocked, PathStartX, PathStartY, c.goalX, c.goalY), c.steps)
            << c.name;
}

// --- Walking the world -----------------------------------------------------------------------

class WalkTo : public WorldData {
protected:
    void SetUp() override {
        WorldData::SetUp();
        player = MakeCreature(1, Here, "Me");
        core->player = player;
        player->path = Untouched;
    }
    void TearDown() override {
        core->followTarget = nullptr;
        WorldData::TearDown();
    }
    // Ground on every tile within `radius` of the player that has none yet.
    void GroundAround(int32_t radius) {
        for (int32_t dx = -radius; dx <= radius; ++dx)
            for (int32_t dy = -radius; dy <= radius; ++dy) {
                Tile* tile = world->GetTileXY(Offset(dx, dy).x, Offset(dx, dy).y, Here.z);
                if (!tile) tile = world->CreateTile(Offset(dx, dy));
                if (tile->things.empty()) tile->AddThing(MakeThing(Ground, Offset(dx, dy)));
            }
    }

    const Steps Untouched{North, North, North, North};
    Creature* player = nullptr;
};

TEST_F(WalkTo, OneStepEast) {
    GroundAround(3);
    EXPECT_TRUE(world->WalkTo(player, Offset(1, 0)));
    EXPECT_EQ(player->path, Steps{East});
}

TEST_F(WalkTo, NoRouteLeavesThePathAlone) {
    MakeTile(Offset(2, 0), {Ground, Wall});
    MakeTile(Offset(0, 3), {Ground, Box, Water});
    GroundAround(3);
    const struct {
        const char* name;
        Position goal;
    } cases[] = {
        {"the own tile", Here},
        {"a wall", Offset(2, 0)},
        {"ground that blocks", Offset(0, 3)},
        {"a tile without ground", Offset(5, 0)},
        {"eleven tiles west", Offset(-11, 0)},
        {"twenty-two tiles east", Offset(22, 0)},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(world->WalkTo(player, c.goal)) << c.name;
        EXPECT_EQ(player->path, Untouched) << c.name;
    }
}

TEST_F(WalkTo, GoesRoundAWall) {
    MakeTile(Offset(2, 0), {Ground, Wall});
    GroundAround(4);
    EXPECT_TRUE(world->WalkTo(player, Offset(3, 0)));
    // East, then north-east past the wall, then south-east onto the goal.
    EXPECT_EQ(player->path, (Steps{SouthEast, NorthEast, East}));
}

TEST_F(WalkTo, OtherCreaturesBlockTheirTiles) {
    GroundAround(3);
    MakeCreature(2, Offset(1, 0));
    EXPECT_TRUE(world->WalkTo(player, Offset(2, 0)));
    EXPECT_EQ(player->path, (Steps{SouthEast, NorthEast}));
}

// A corridor east: the player's tile, an avoided tile, then two of ground; no other tiles.
class WalkCorridor : public WalkTo {
protected:
    void SetUp() override {
        WalkTo::SetUp();
        world->GetTileXY(Here.x, Here.y, Here.z)->AddThing(MakeThing(Ground, Here));
        MakeTile(Offset(1, 0), {Avoided});
        MakeTile(Offset(2, 0), {Ground});
        MakeTile(Offset(3, 0), {Ground});
    }
};

TEST_F(WalkCorridor, AvoidedTilesBlockUnlessTheyAreTheGoal) {
    EXPECT_FALSE(world->WalkTo(player, Offset(3, 0)));
    EXPECT_EQ(player->path, Untouched);
    EXPECT_TRUE(world->WalkTo(player, Offset(1, 0)));
    EXPECT_EQ(player->path, Steps{East});
}

TEST_F(WalkCorridor, AvoidedTilesCanBePassedWhileFollowing) {
    core->followTarget = MakeCreature(2, Offset(3, 5));  // somewhere off the corridor
    EXPECT_TRUE(world->WalkTo(player, Offset(3, 0)));
    EXPECT_EQ(player->path, (Steps{East, East, East}));
}

TEST_F(WalkCorridor, TheFollowedCreaturesTileIsFree) {
    Creature* followed = MakeCreature(2, Offset(3, 0));
    core->followTarget = followed;
    EXPECT_TRUE(world->WalkTo(player, Offset(3, 0)));
    EXPECT_EQ(player->path, (Steps{East, East, East}));

    // Where the server has it counts even when the tile holds nothing to walk on.
    player->path = Untouched;
    MakeTile(Offset(4, 0), {Water});
    followed->serverPosition = Offset(4, 0);
    EXPECT_TRUE(world->WalkTo(player, Offset(4, 0)));
    EXPECT_EQ(player->path, (Steps{East, East, East, East}));
}

TEST_F(WalkTo, ABlockedGoalOverAFloorChangeStaysReachable) {
    GroundAround(3);
    // The goal one floor down lies under the blocked tile two east; what leads down to it lies
    // one tile south-east of it, on its floor.
    world->GetTileXY(Offset(2, 0).x, Offset(2, 0).y, 7)->AddThing(MakeThing(Wall, Offset(2, 0)));
    const Position below = Offset(2, 0, 6);
    EXPECT_FALSE(world->WalkTo(player, below));
    EXPECT_EQ(player->path, Untouched);

    for (uint32_t leadsDown : {Stair, Hole}) {
        player->path = Untouched;
        MakeTile(Offset(3, 1, 6), {Ground, leadsDown});
        EXPECT_TRUE(world->WalkTo(player, below)) << leadsDown;
        EXPECT_EQ(player->path, (Steps{East, East})) << leadsDown;
    }
    // Under the goal itself it does not count.
    player->path = Untouched;
    MakeTile(Offset(3, 1, 6), {Ground});
    MakeTile(below, {Ground, Stair});
    EXPECT_FALSE(world->WalkTo(player, below));
}

}  // namespace
