#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "creature.h"
#include "item.h"
#include "platform.h"
#include "shape.h"
#include "shapes.h"
#include "support/creatureworld.h"
#include "support/fakeplatform.h"
#include "support/recordingconnection.h"
#include "tile.h"
#include "world.h"

namespace {

using Request = std::vector<uint8_t>;
using Requests = std::vector<Request>;
using namespace SampleShape;

// Directions.
constexpr int32_t North = 0, East = 2, SouthEast = 3, South = 4, West = 6;

// Speed 125 on stone (ground speed 160): 40 ms a pixel, a straight step in 1280 ms.
constexpr uint64_t StepMs = 1280;
constexpr uint64_t MsPerPixel = 40;

const Request WalkEast{32, East};

class CreatureMove : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        FloorAround(10, 10, 3);
    }
    Tile* TileAt(uint16_t x, uint16_t y, uint8_t z = 7) {
        return world->GetTile(Position{x, y, z}.Packed(), z);
    }
    static bool Holds(const std::vector<Creature*>& list, const Creature* creature) {
        return std::find(list.begin(), list.end(), creature) != list.end();
    }
    // Random numbers the platform gives, in order; 1 once they run out.
    static void RandomSequence(std::vector<int> values) {
        static std::vector<int> queue;
        queue = std::move(values);
        platform.random = [] {
            if (queue.empty()) return 1;
            const int value = queue.front();
            queue.erase(queue.begin());
            return value;
        };
    }
};

TEST_F(CreatureMove, FacingFollowsTheStepDelta) {
    Creature* rat = Spawn({10, 10, 7});
    const struct {
        int32_t dx, dy;
        uint32_t direction;
    } cases[] = {{0, -1, 0}, {1, -1, 1},  {1, 0, 2}, {1, 1, 3},  {0, 1, 4},  {-1, 1, 5},
                 {-1, 0, 6}, {-1, -1, 7}, {0, 0, 4}, {5, -3, 1}, {-2, 0, 6}, {0, 9, 4}};
    for (const auto& c : cases) {
        rat->FaceStep(c.dx, c.dy);
        EXPECT_EQ(rat->direction, c.direction) << c.dx << "," << c.dy;
        EXPECT_EQ(rat->desiredDirection, c.direction) << c.dx << "," << c.dy;
    }
}

TEST_F(CreatureMove, HealthColourRunsFromRedThroughYellowToGreen) {
    Creature* rat = Spawn({10, 10, 7});
    const struct {
        uint8_t health;
        uint32_t colour;
    } cases[] = {{0, 0xFFB42828},   {50, 0xFFB45A28},  {99, 0xFFB4B228}, {100, 0xFFB4B428},
                 {150, 0xFF5AB428}, {200, 0xFF28B428}, {255, 0xFF28B428}};
    for (const auto& c : cases) {
        rat->SetHealth(c.health);
        EXPECT_EQ(rat->healthColour, c.colour) << int(c.health);
        EXPECT_EQ(rat->health, std::min(c.health, FullHealth));  // above 200 counts as 200
    }
}

TEST_F(CreatureMove, ANewCreatureStandsWhereTheServerPutsIt) {
    Creature* rat = Spawn({10, 11, 7}, "Rat", 50);
    EXPECT_EQ(rat->speed, 100);  // below 100 counts as 100
    for (Position p : {rat->position, rat->drawPosition, rat->targetPosition, rat->goalPosition})
        EXPECT_EQ(p, (Position{10, 11, 7}));
    EXPECT_EQ(rat->direction, 4u);
    EXPECT_EQ(rat->pendingDirection, NoDirection);
    EXPECT_TRUE(rat->moveable);
    EXPECT_FALSE(rat->walking);
    // The idle frames of its south-facing shape.
    Shape* south = core->GetShape(Person + 1 + South);
    EXPECT_EQ(rat->directionShapes[South], south);
    EXPECT_EQ(rat->frames, south->FindEntry(0)->slots[SlotIdle]->views[0]->cells[0].get());
    rat->SetSitting(1);
    EXPECT_EQ(rat->frames, south->FindEntry(0)->slots[SlotSeated]->views[0]->cells[0].get());
}

TEST_F(CreatureMove, AnUnknownShapeEndsTheProgram) {
    FakePlatform fake;
    FakePlatform::boxes.clear();
    EXPECT_THROW(Creature(core.get(), 9, 77777, 0, {}, Position{}, "Ghost", 100, 100, 0),
                 ProgramExit);
    ASSERT_EQ(FakePlatform::boxes.size(), 1u);
    EXPECT_EQ(FakePlatform::boxes[0].text, "Unknown shape id.");
}

TEST_F(CreatureMove, ACreatureWalksTheServersStepAcrossTheTile) {
    Creature* rat = Spawn({10, 10, 7});
    EXPECT_TRUE(rat->Step(East, 0, 0, 0, 0, 0));
    EXPECT_TRUE(rat->walking);
    EXPECT_FALSE(rat->moveable);
    EXPECT_EQ(rat->targetPosition, (Position{11, 10, 7}));
    // It stands on the target tile at once, and is drawn from it while it walks.
    EXPECT_FALSE(Holds(TileAt(10, 10)->creatures, rat));
    EXPECT_TRUE(Holds(TileAt(11, 10)->creatures, rat));
    EXPECT_TRUE(Holds(TileAt(11, 10)->walkers, rat));

    Frame(StepMs / 2);
    EXPECT_FLOAT_EQ(rat->offsetX, 16);
    EXPECT_FLOAT_EQ(rat->offsetY, 0);
    EXPECT_EQ(rat->position, (Position{10, 10, 7}));

    Frame(StepMs);
    EXPECT_EQ(rat->position, (Position{11, 10, 7}));
    EXPECT_EQ(rat->drawPosition, (Position{11, 10, 7}));
    EXPECT_FLOAT_EQ(rat->offsetX, 0);
    EXPECT_FALSE(rat->walking);
    EXPECT_TRUE(rat->serverSteps.empty());
    EXPECT_FALSE(Holds(TileAt(11, 10)->walkers, rat));
    Frame(StepMs + 20);
    EXPECT_FALSE(rat->moving);
}

TEST_F(CreatureMove, StepTimeFollowsSpeedGroundAndDiagonals) {
    Creature* fast = Spawn({10, 10, 7}, "Fast", 250);  // twice the speed: half the time
    Creature* diagonal = Spawn({8, 8, 7});
    Floor(9, 12, 7, Grass);  // ground speed 150
    Creature* onGrass = Spawn({9, 11, 7});
    fast->Step(East, 0, 0, 0, 0, 0);
    diagonal->Step(SouthEast, 0, 0, 0, 0, 0);
    onGrass->Step(South, 0, 0, 0, 0, 0);
    EXPECT_EQ(onGrass->groundSpeed, 150);

    Frame(StepMs / 2 - 1);
    EXPECT_TRUE(fast->walking);
    Frame(StepMs / 2);
    EXPECT_FALSE(fast->walking);
    // 11313 / 8000 of a straight step: 1810 ms.
    Frame(StepMs);
    EXPECT_NEAR(diagonal->offsetX, 1280.0 * 200 / 11313, 0.01);
    EXPECT_FLOAT_EQ(diagonal->offsetX, diagonal->offsetY);
    Frame(1810);
    EXPECT_TRUE(diagonal->walking);
    Frame(1811);
    EXPECT_FALSE(diagonal->walking);
    // 125 x 150 / 100: 42.67 ms a pixel.
    EXPECT_FALSE(onGrass->walking);
    EXPECT_EQ(onGrass->position, (Position{9, 12, 7}));
}

TEST_F(CreatureMove, AQueuedStepStartsWhereTheLastOneOverran) {
    Creature* rat = Spawn({10, 10, 7});
    rat->Step(East, 0, 0, 0, 0, 0);
    rat->Step(East, 0, 0, 0, 0, 0);
    EXPECT_EQ(rat->serverSteps.size(), 2u);
    Frame(StepMs + 100);
    EXPECT_EQ(rat->position, (Position{11, 10, 7}));
    EXPECT_EQ(rat->targetPosition, (Position{12, 10, 7}));
    EXPECT_EQ(rat->stepStart, Start + StepMs);
    Frame(StepMs + 100);
    EXPECT_FLOAT_EQ(rat->offsetX, 100.0f / MsPerPixel);
}

TEST_F(CreatureMove, AStepOutOfThePlayersViewRemovesTheCreature) {
    SpawnPlayer({10, 10, 7});
    Creature* staying = Spawn({22, 10, 7});
    Creature* leaving = Spawn({22, 11, 7});
    EXPECT_TRUE(staying->Step(West, 0, 0, 0, 0, 0));   // x + 11
    EXPECT_FALSE(leaving->Step(East, 0, 0, 0, 0, 0));  // x + 13
}

TEST_F(CreatureMove, AFloorChangeMovesTheCreatureAtOnce) {
    FloorAround(10, 10, 2, 6);
    Creature* rat = Spawn({10, 10, 7});
    rat->Step(East, -1, 0, 0, 0, 0);
    EXPECT_EQ(rat->position, (Position{11, 10, 6}));
    EXPECT_EQ(rat->serverPosition, (Position{11, 10, 6}));
    EXPECT_EQ(rat->previousFloorPosition, (Position{10, 10, 7}));
    EXPECT_FALSE(rat->walking);
    EXPECT_TRUE(Holds(TileAt(11, 10, 6)->creatures, rat));
    EXPECT_FALSE(Holds(TileAt(10, 10, 7)->creatures, rat));
}

TEST_F(CreatureMove, ThePlayerWalksAheadOfTheServer) {
    RecordingConnection connection(core.get());
    Creature* player = SpawnPlayer({10, 10, 7});
    player->Walk(East);
    EXPECT_EQ(connection.SentPayloads(1), Requests{WalkEast});
    EXPECT_TRUE(player->walking);
    // The player keeps its standing tile until the server confirms the step.
    EXPECT_TRUE(Holds(TileAt(10, 10)->creatures, player));
    EXPECT_TRUE(Holds(TileAt(11, 10)->walkers, player));

    Frame(StepMs / 2);
    EXPECT_FLOAT_EQ(player->offsetX, 16);
    EXPECT_TRUE(player->Step(East, 0, 0, 0, 0, 0));
    EXPECT_EQ(player->serverSteps.size(), 1u);
    EXPECT_EQ(player->serverPosition, (Position{11, 10, 7}));

    Frame(StepMs);
    EXPECT_EQ(player->position, (Position{11, 10, 7}));
    EXPECT_FLOAT_EQ(player->offsetX, 0);
    EXPECT_FLOAT_EQ(world->cameraX, 32);  // the camera takes over the step
    EXPECT_TRUE(player->moveable);
    EXPECT_FALSE(player->walking);
    EXPECT_TRUE(Holds(TileAt(11, 10)->creatures, player));
    EXPECT_FALSE(Holds(TileAt(10, 10)->creatures, player));
}

TEST_F(CreatureMove, ThePlayerWaitsAtTheStepsEndForTheServer) {
    RecordingConnection connection(core.get());
    Creature* player = SpawnPlayer({10, 10, 7});
    player->Walk(East);
    Frame(StepMs + 500);
    EXPECT_FLOAT_EQ(player->offsetX, 32);
    EXPECT_TRUE(player->walking);
    EXPECT_FALSE(player->moving);
    player->Step(East, 0, 0, 0, 0, 0);
    EXPECT_EQ(player->position, (Position{11, 10, 7}));
    EXPECT_FALSE(player->walking);
    EXPECT_TRUE(player->serverSteps.empty());
}

TEST_F(CreatureMove, KeysDuringAStepAreIgnoredQueuedOrReplacedByDistance) {
    RecordingConnection connection(core.get());
    Creature* player = SpawnPlayer({10, 10, 7});
    player->Walk(East);
    Frame(11 * MsPerPixel);
    player->Walk(South);  // 11 pixels: too early
    EXPECT_EQ(player->pendingDirection, NoDirection);
    Frame(12 * MsPerPixel);
    player->Walk(South);  // queued
    EXPECT_EQ(player->pendingDirection, uint32_t(South));
    Frame(23 * MsPerPixel);
    player->Walk(SouthEast);  // another key before 24 pixels replaces it
    EXPECT_EQ(player->pendingDirection, uint32_t(SouthEast));
    Frame(24 * MsPerPixel);
    player->Walk(North);  // too late to change
    EXPECT_EQ(player->pendingDirection, uint32_t(SouthEast));
    EXPECT_EQ(connection.SentPayloads(3), (Requests{WalkEast, {32, South}, {33, SouthEast}}));

    // The queued step begins as soon as the server's step is applied, without another request.
    player->Step(East, 0, 0, 0, 0, 0);
    Frame(StepMs);
    EXPECT_EQ(player->position, (Position{11, 10, 7}));
    EXPECT_EQ(player->targetPosition, (Position{12, 11, 7}));
    EXPECT_TRUE(player->walking);
    EXPECT_EQ(player->pendingDirection, NoDirection);
    EXPECT_EQ(connection.SentPayloads(3).size(), 3u);
}

TEST_F(CreatureMove, AQueuedStepOntoABlockedTileIsDropped) {
    RecordingConnection connection(core.get());
    Stack(TileAt(12, 10), Wall);
    Creature* player = SpawnPlayer({10, 10, 7});
    player->Walk(East);
    Frame(20 * MsPerPixel);
    player->Walk(East);
    EXPECT_EQ(player->pendingDirection, NoDirection);
    EXPECT_EQ(connection.SentPayloads(1), Requests{WalkEast});
}

TEST_F(CreatureMove, TwoQueuedServerStepsIgnoreWalkingKeys) {
    RecordingConnection connection(core.get());
    Creature* player = SpawnPlayer({10, 10, 7});
    player->Walk(East);
    player->Step(East, 0, 0, 0, 0, 0);
    player->Step(East, 0, 0, 0, 0, 0);
    Frame(20 * MsPerPixel);
    player->Walk(South);
    EXPECT_EQ(player->pendingDirection, NoDirection);
    EXPECT_EQ(connection.SentPayloads(1), Requests{WalkEast});
}

TEST_F(CreatureMove, RefusedWalksAndTurnsTellWhy) {
    RecordingConnection connection(core.get());
    Creature* player = SpawnPlayer({10, 10, 7});
    Stack(TileAt(11, 10), Wall);
    player->Walk(East);
    EXPECT_EQ(player->direction, uint32_t(East));
    EXPECT_FALSE(player->walking);
    Spawn({10, 11, 7});  // another creature blocks the tile too
    player->Walk(South);
    EXPECT_FALSE(player->walking);

    EXPECT_EQ(Notifications(), (std::vector<std::string>{"2:You cannot walk there."}));

    player->SetSitting(1);
    player->Walk(North);
    EXPECT_EQ(Notifications(), (std::vector<std::string>{"2:You cannot walk there.",
                                                         "2:You cannot walk while sitting."}));
    player->Turn(North);
    EXPECT_EQ(player->direction, uint32_t(South));
    // The newest refusal replaces the one waiting behind the shown line.
    EXPECT_EQ(Notifications(), (std::vector<std::string>{"2:You cannot walk there.",
                                                         "2:You cannot turn while sitting."}));
    // Only the turns went out.
    EXPECT_EQ(connection.SentPayloads(2), (Requests{{40, East}, {40, South}}));
}

TEST_F(CreatureMove, OffTheGroundOnlyAStairBelowCanBeWalkedTo) {
    RecordingConnection connection(core.get());
    Creature* player = SpawnPlayer({10, 10, 7});
    world->GetLayer(7)->DeleteTile(11, 10);
    world->GetLayer(7)->DeleteTile(9, 10);
    player->Walk(West);  // nothing there: only a turn
    EXPECT_FALSE(player->walking);
    Floor(12, 11, 6, Ladder);
    player->Walk(East);  // a ladder one floor down, one tile south-east
    EXPECT_TRUE(player->walking);
    EXPECT_EQ(connection.SentPayloads(2), (Requests{{40, West}, WalkEast}));
}

TEST_F(CreatureMove, ConstrainedMovementWaitsForTheServer) {
    RecordingConnection connection(core.get());
    SetStatus(29, true);
    Creature* player = SpawnPlayer({10, 10, 7});
    player->Walk(East);
    EXPECT_EQ(connection.SentPayloads(1), Requests{WalkEast});
    EXPECT_FALSE(player->walking);
    player->Step(East, 0, 0, 0, 0, 0);
    EXPECT_TRUE(player->walking);
    EXPECT_EQ(player->targetPosition, (Position{11, 10, 7}));
}

TEST_F(CreatureMove, ADrunkPlayerSometimesStaggersAndNeverChangesItsQueuedStep) {
    RecordingConnection connection(core.get());
    SetStatus(9, true);
    Creature* player = SpawnPlayer({10, 10, 7});
    RandomSequence({6, 3});  // one in six: west (2 x 3)
    player->Walk(East);
    EXPECT_EQ(player->targetPosition, (Position{9, 10, 7}));
    Frame(14 * MsPerPixel);
    RandomSequence({5});  // not this time
    player->Walk(South);
    EXPECT_EQ(player->pendingDirection, uint32_t(South));
    player->Walk(North);  // would replace it when sober
    EXPECT_EQ(player->pendingDirection, uint32_t(South));
    EXPECT_EQ(connection.SentPayloads(2), (Requests{{32, West}, {32, South}}));
}

TEST_F(CreatureMove, AFullCancelSnapsThePlayerBack) {
    Creature* player = SpawnPlayer({10, 10, 7}, "Devwalk");
    player->Walk(East);
    Frame(StepMs / 4);
    player->CancelWalk();
    EXPECT_EQ(player->position, (Position{10, 10, 7}));
    EXPECT_EQ(player->targetPosition, (Position{10, 10, 7}));
    EXPECT_EQ(player->drawPosition, (Position{10, 10, 7}));
    EXPECT_FLOAT_EQ(player->offsetX, 0);
    EXPECT_FLOAT_EQ(world->cameraX, -8);
    EXPECT_TRUE(player->moveable);
    EXPECT_FALSE(player->walking);
    EXPECT_FALSE(Holds(TileAt(11, 10)->walkers, player));
    Frame(StepMs);
    EXPECT_EQ(player->position, (Position{10, 10, 7}));

    // A refused queued step only forgets it; so does one refused while steps are queued.
    player->Walk(East);
    Frame(20 * MsPerPixel);
    player->Walk(East);
    player->Step(East, 0, 0, 0, 0, 0);
    player->CancelWalk();
    EXPECT_EQ(player->pendingDirection, NoDirection);
    EXPECT_TRUE(player->walking);
    Frame(StepMs * 2);
    player->CancelWalk();
    EXPECT_EQ(Notifications(), (std::vector<std::string>{"1:Self - cancel walk (full)",
                                                         "1:Self - cancel walk (small)"}));
}

TEST_F(CreatureMove, TurningTellsTheServerOnlyOfChanges) {
    RecordingConnection connection(core.get());
    Creature* player = SpawnPlayer({10, 10, 7});
    player->Turn(West);
    player->Turn(West);
    player->Turn(99);  // no direction: south
    player->SetDirection(North);
    player->SetDirection(North);
    EXPECT_EQ(player->direction, uint32_t(North));
    EXPECT_EQ(connection.SentPayloads(3), (Requests{{40, West}, {40, South}, {40, North}}));

    // While walking only the wish is kept, and the walk's end applies it.
    player->Walk(East);
    player->SetDirection(South);
    EXPECT_EQ(player->direction, uint32_t(East));
    EXPECT_EQ(player->desiredDirection, uint32_t(South));
    player->Step(East, 0, 0, 0, 0, 0);
    Frame(StepMs);
    EXPECT_EQ(player->direction, uint32_t(South));
    EXPECT_EQ(connection.SentPayloads(5),
              (Requests{{40, West}, {40, South}, {40, North}, WalkEast, {40, South}}));
}

TEST_F(CreatureMove, TheServersTurnWaitsForTheStepsEnd) {
    Creature* rat = Spawn({10, 10, 7});
    rat->FaceDelta(-3, 5);
    EXPECT_EQ(rat->direction, 6u);
    rat->FaceDelta(0, -1);
    EXPECT_EQ(rat->direction, 0u);
    rat->FaceDelta(0, 0);
    EXPECT_EQ(rat->direction, 0u);
    rat->Step(East, 0, 0, 0, 0, 0);
    rat->FaceDelta(0, 1);
    EXPECT_EQ(rat->direction, 2u);
    EXPECT_EQ(rat->desiredDirection, 4u);
}

TEST_F(CreatureMove, LightShapesAreCountedWhileCarried) {
    Shape* torch = core->GetShape(Torch);
    Creature* rat = Spawn({10, 10, 7});
    rat->SetLightShapes({torch, nullptr});
    EXPECT_EQ(torch->lightCounter, 1u);
    EXPECT_FALSE(torch->lights.front()->mask.empty());
    rat->SetLightShapes({});
    EXPECT_EQ(torch->lightCounter, 0u);
    EXPECT_TRUE(torch->lights.front()->mask.empty());
    {
        Creature carrier(core.get(), 50, Person, 0, {torch}, Position{12, 12, 7}, "Carrier", 100,
                         100, 0);
        EXPECT_EQ(torch->lightCounter, 1u);
    }
    EXPECT_EQ(torch->lightCounter, 0u);
}

TEST_F(CreatureMove, AReshapeKeepsImagesCountedOncePerLook) {
    Shape* south = core->GetShape(Person + 1 + South);
    const uint32_t first = 0x01020304, second = 0x05060708;
    {
        Creature rat(core.get(), 50, Person, first, {}, Position{12, 12, 7}, "Rat", 100, 100, 0);
        EXPECT_EQ(south->colorCounts.at(first), 1u);
        rat.Reshape(Person, second);
        EXPECT_EQ(south->colorCounts.count(first), 0u);
        EXPECT_EQ(south->colorCounts.at(second), 1u);
        EXPECT_EQ(rat.outfit, second);
    }
    EXPECT_EQ(south->colorCounts.count(second), 0u);
}

TEST_F(CreatureMove, AttachedThingsOutsideTheBlockAreRefused) {
    Creature* rat = Spawn({10, 10, 7});
    auto* sparkle = new Item(core.get(), Sparkle, 0, 10, 10, 7, 1, ItemEffect);
    rat->AddToDirectionList(0, 0, sparkle);
    EXPECT_EQ(rat->FindEffect(0, 0, sparkle), sparkle);
    EXPECT_EQ(rat->FindEffect(1, 0, sparkle), nullptr);
    rat->AddToDirectionList(2, 0, new Item(core.get(), Sparkle, 0, 10, 10, 7, 1, ItemEffect));
    rat->AddToDirectionList(0, -5, new Item(core.get(), Sparkle, 0, 10, 10, 7, 1, ItemEffect));
    size_t attached = 0;
    for (const auto& column : rat->attached)
        for (const AttachedCell& cell : column) attached += cell.things.size();
    EXPECT_EQ(attached, 1u);
    rat->RemoveFromDirectionList(0, 0, sparkle);
    EXPECT_TRUE(rat->attached[1][1].things.empty());
    EXPECT_TRUE(rat->attached[1][1].lower.empty());
}

TEST_F(CreatureMove, ThePlayerFollowsItsFollowTarget) {
    RecordingConnection connection(core.get());
    Creature* player = SpawnPlayer({10, 10, 7});
    Creature* rat = Spawn({13, 10, 7});
    core->followTarget = rat;
    player->Draw(100, 100);  // standing and free to move: it heads for the rat
    EXPECT_TRUE(player->walking);
    EXPECT_EQ(player->targetPosition, (Position{11, 10, 7}));
    EXPECT_EQ(connection.SentPayloads(1), Requests{WalkEast});

    // Beside it, it stays.
    player->Step(East, 0, 0, 0, 0, 0);
    player->Step(East, 0, 0, 0, 0, 0);
    Frame(StepMs);
    Frame(StepMs * 2);
    EXPECT_EQ(player->position, (Position{12, 10, 7}));
    EXPECT_FALSE(player->walking);
    EXPECT_EQ(connection.SentPayloads(1).size(), 1u);

    // Gone down where the player stands: the player climbs after it.
    Stack(TileAt(12, 10), Ladder);
    rat->Step(West, -1, 0, 0, 0, 0);
    EXPECT_EQ(rat->previousFloorPosition, (Position{13, 10, 7}));
    rat->previousFloorPosition = player->serverPosition;
    player->Draw(100, 100);
    const Requests sent = connection.SentPayloads(2);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].front(), 49);
}

TEST_F(CreatureMove, TheMouseWalkSwitchKeepsOnlyAStandingPlayerFromFollowing) {
    RecordingConnection connection(core.get());
    Creature* player = SpawnPlayer({10, 10, 7});
    core->followTarget = Spawn({14, 10, 7});
    core->mouseWalkOff = 1;
    player->Draw(100, 100);
    EXPECT_FALSE(player->walking);
    EXPECT_TRUE(connection.SentPayloads().empty());

    // A step the server moves it ends in following all the same.
    player->Step(East, 0, 0, 0, 0, 0);
    Frame(StepMs);
    EXPECT_EQ(player->position, (Position{11, 10, 7}));
    EXPECT_TRUE(player->walking);
    EXPECT_EQ(connection.SentPayloads(1), Requests{WalkEast});
}

TEST_F(CreatureMove, AStepMarkedInterceptedRemembersWhereTheCreatureWas) {
    const struct {
        uint32_t flags;
        bool moving, forcedSpeed, intercepted;
    } cases[] = {
        {0x00010000, true, false, true},   {0x00FF0000, true, false, true},
        {0xFF00FFFF, true, false, false},  // the other bytes do not mark it
        {0x00010000, false, false, false}, {0x00010000, true, true, false},
    };
    for (const auto& c : cases) {
        Creature* rat = Spawn({10, 10, 7});
        if (c.moving) rat->Step(East, 0, 0, 0, 0, 0);
        rat->forcedSpeedOn = c.forcedSpeed;
        rat->Step(East, 0, 0, 0, c.flags, 0);
        EXPECT_EQ(rat->intercepted, c.intercepted) << std::hex << c.flags << " " << c.moving;
        if (c.intercepted) {
            EXPECT_EQ(rat->interceptedAt, (Position{10, 10, 7}));
        }
    }
}

TEST_F(CreatureMove, TheDebugDumpNamesTheMovementState) {
    Creature* rat = Spawn({10, 10, 7});
    std::ostringstream out;
    rat->DebugDump(out);
    EXPECT_EQ(
        out.str(),
        "moveable: 1, moving_to: 0, moving: 0, queue: 0, mem_dir: 255 - Moving  ; height: 0; dx: 0, dy: 0; "
        "camera: x: 0, y: 0");
}

}  // namespace
