#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "item.h"
#include "layer.h"
#include "shape.h"
#include "support/recordingconnection.h"
#include "support/recordingdriver.h"
#include "support/worlddata.h"
#include "tile.h"
#include "world.h"

namespace {

using namespace WorldShape;

constexpr Position Here{100, 100, 7};

// The drawing calls of the recording driver (images made on the way are left out).
std::vector<std::string> Drawn() {
    std::vector<std::string> drawn;
    for (const std::string& call : RecordingDriver::Take())
        if (call.rfind("Draw", 0) == 0) drawn.push_back(call);
    return drawn;
}

std::vector<int32_t> Elevations(const std::vector<ItemPart*>& parts) {
    std::vector<int32_t> elevations;
    for (const ItemPart* part : parts) elevations.push_back(part->elevation);
    return elevations;
}

std::vector<uint32_t> ShapeIds(const Tile& tile) {
    std::vector<uint32_t> ids;
    for (const Thing* thing : tile.things) ids.push_back(static_cast<const Item*>(thing)->shapeId);
    return ids;
}

TEST(LayerSlots, PositionsWrapRoundTheWindow) {
    const struct {
        int32_t x, y;
        uint32_t slot;
    } cases[] = {{0, 0, 0},    {1, 0, 23},      {0, 1, 1},          {26, 22, 620},
                 {27, 23, 0},  {100, 100, 445}, {127, 100, 445},    {100, 123, 445},
                 {-1, 0, 598}, {0, -1, 22},     {65535, 65535, 146}};
    for (const auto& c : cases) EXPECT_EQ(SlotIndex(c.x, c.y), c.slot) << c.x << "," << c.y;
}

TEST(LayerSlots, TheViewWindowCoversEverySlotOnce) {
    std::set<uint32_t> slots;
    int32_t cells = 0;
    ForEachViewCell(Here, [&](const ViewCell& cell) {
        ++cells;
        slots.insert(cell.slot);
        EXPECT_EQ(cell.x, Here.x - CentreColumn + cell.column);
        EXPECT_EQ(cell.y, Here.y - CentreRow + cell.row);
    });
    EXPECT_EQ(cells, LayerSlotCount);
    EXPECT_EQ(slots.size(), size_t(LayerSlotCount));

    // Near the map's edge the cells off the map are left out.
    cells = 0;
    ForEachViewCell(Position{3, 2, 7}, [&](const ViewCell& cell) {
        ++cells;
        EXPECT_EQ(cell.x, 3 - CentreColumn + cell.column);
    });
    EXPECT_EQ(cells, (27 - 8) * (23 - 7));
}

class TileTest : public WorldData {};

TEST_F(TileTest, CreatingATileInAnOccupiedSlotReplacesTheOther) {
    Layer* layer = world->GetLayer(7);
    Tile* first = layer->CreateTile(100, 100);
    core->hoverTile = first;
    Tile* second = layer->CreateTile(127, 100);
    EXPECT_EQ(layer->GetTile(100, 100), nullptr);
    EXPECT_EQ(layer->GetSlot(100, 100), second);
    EXPECT_EQ(layer->GetTile(127, 100), second);
    EXPECT_EQ(core->hoverTile, nullptr);  // the Core never points at a deleted tile

    Tile* third = layer->CreateTile(127, 123);
    EXPECT_EQ(layer->GetTile(127, 100), nullptr);
    EXPECT_EQ(layer->GetSlot(100, 100), third);
    EXPECT_EQ(third->z, 7);
}

TEST_F(TileTest, DeletingAndMarkingActOnTheSlotWhateverItsPosition) {
    Layer* layer = world->GetLayer(7);
    Tile* tile = layer->CreateTile(100, 100);
    layer->MarkTileDirty(127, 123);
    EXPECT_EQ(tile->dirty, 1);
    layer->DeleteTile(154, 77);
    EXPECT_EQ(layer->GetSlot(100, 100), nullptr);
    layer->MarkTileDirty(100, 100);  // an empty slot: nothing to mark
}

TEST_F(TileTest, StackIndexesBeyondTheTopAreIgnored) {
    Tile* tile = MakeTile(Here, {Ground, Box});
    EXPECT_NE(tile->GetThing(1), nullptr);
    EXPECT_EQ(tile->GetThing(2), nullptr);
    EXPECT_EQ(tile->GetThing(255), nullptr);
    tile->RemoveThing(2);
    tile->ChangeThingCount(200, 5);
    tile->ChangeThingSubId(2, 5);
    EXPECT_EQ(ShapeIds(*tile), (std::vector<uint32_t>{Ground, Box}));
}

TEST_F(TileTest, GroundSpeedComesFromTheFirstThing) {
    Tile* tile = world->CreateTile(Here);
    EXPECT_EQ(tile->groundSpeed, 100);
    tile->AddThing(MakeThing(Ground, Here));
    EXPECT_EQ(tile->groundSpeed, 150);
    tile->AddThing(MakeThing(SlowGround, Here));
    EXPECT_EQ(tile->groundSpeed, 150);
    tile->RemoveThing(1);
    tile->RemoveThing(0);
    EXPECT_EQ(tile->groundSpeed, 100);
    tile->AddThing(MakeThing(SlowGround, Here));
    EXPECT_EQ(tile->groundSpeed, 70);
}

TEST_F(TileTest, StackedThingsLiftTheOnesAboveByAtMost24Pixels) {
    Tile* tile = MakeTile(Here, {});
    for (int i = 0; i < 30; ++i) tile->AddThing(MakeThing(Box, Here));
    EXPECT_EQ(tile->height, 300);
    std::vector<int32_t> expected = {0, 10, 20};
    expected.resize(30, 24);
    EXPECT_EQ(Elevations(tile->groundParts), expected);
}

TEST_F(TileTest, PartsAreFiledInDrawingOrder) {
    Tile* tile = MakeTile(Here, {Ground, Tree, Wall, Box, Tree, Seat});
    auto owners = [](const std::vector<ItemPart*>& parts) {
        std::vector<uint32_t> ids;
        for (const ItemPart* part : parts) ids.push_back(part->item->shapeId);
        return ids;
    };
    // Everything goes on the ground until the first wall; from then on into the lower list.
    EXPECT_EQ(owners(tile->groundParts), (std::vector<uint32_t>{Ground, Tree}));
    EXPECT_EQ(owners(tile->lowerParts), (std::vector<uint32_t>{Wall, Box, Tree, Seat}));
    // A seat's upper part goes under the others' upper parts.
    EXPECT_EQ(owners(tile->topParts), (std::vector<uint32_t>{Seat, Tree, Tree}));
    // A seat's parts are lifted like lower parts; other upper parts are not.
    EXPECT_EQ(tile->topParts[0]->elevation, 10);
    EXPECT_EQ(tile->topParts[2]->elevation, 0);
    EXPECT_EQ(tile->lowerParts.back()->elevation, 10);
}

TEST_F(TileTest, OnASinkingStackThingsThatCannotBePickedUpStayOnTheFloor) {
    Tile* tile = MakeTile(Here, {Ground, Box, Sinker, Wall, Box});
    EXPECT_EQ(tile->sink, 4);
    EXPECT_EQ(Elevations(tile->groundParts), (std::vector<int32_t>{0, 0, 10}));
    EXPECT_EQ(Elevations(tile->lowerParts), (std::vector<int32_t>{0, 10}));  // the wall, the box
}

TEST_F(TileTest, RemovingBelowTheTopFilesTheStackAgain) {
    Tile* tile = MakeTile(Here, {Ground, SlowGround, Box, Box, Box});
    EXPECT_EQ(Elevations(tile->groundParts), (std::vector<int32_t>{0, 0, 0, 10, 20}));
    tile->RemoveThing(0);
    EXPECT_EQ(tile->groundSpeed, 70);  // the new bottom's speed
    tile->RemoveThing(1);
    EXPECT_EQ(Elevations(tile->groundParts), (std::vector<int32_t>{0, 0, 10}));
    EXPECT_EQ(tile->height, 20);
}

TEST_F(TileTest, RemovingTheTopLeavesTheOthersAsTheyAre) {
    Tile* tile = MakeTile(Here, {Box, Sinker});
    // A predicted drop is lifted by the stack and not put on the floor by the sink.
    tile->AppendThing(MakeThing(Stair, Here));
    EXPECT_EQ(tile->groundParts.back()->elevation, 10);
    tile->AddThing(MakeThing(Box, Here));
    tile->RemoveThing(3);
    EXPECT_EQ(tile->groundParts[2]->elevation, 10);
    // Filing the stack again puts it down.
    tile->RemoveThing(0);
    EXPECT_EQ(Elevations(tile->groundParts), (std::vector<int32_t>{0, 0}));
}

TEST_F(TileTest, InsertingAndReplacingKeepTheStackOrder) {
    Tile* tile = MakeTile(Here, {Ground, Box});
    tile->InsertThing(9, MakeThing(Tree, Here));
    tile->InsertThing(0, MakeThing(SlowGround, Here));
    EXPECT_EQ(ShapeIds(*tile), (std::vector<uint32_t>{SlowGround, Ground, Box, Tree}));
    EXPECT_EQ(tile->groundSpeed, 70);
    tile->ReplaceThing(2, MakeThing(Wall, Here));
    EXPECT_EQ(ShapeIds(*tile), (std::vector<uint32_t>{SlowGround, Ground, Wall, Tree}));
    EXPECT_EQ(tile->height, 0);

    // A replacement for a place beyond the stack is dropped, and its images with it.
    Shape* stair = core->GetShape(Stair);
    tile->ReplaceThing(4, MakeThing(Stair, Here));
    EXPECT_EQ(ShapeIds(*tile), (std::vector<uint32_t>{SlowGround, Ground, Wall, Tree}));
    EXPECT_TRUE(stair->colorCounts.empty());
}

TEST_F(TileTest, ANewSeatTurnsWhoeverSitsOnIt) {
    Tile* tile = MakeTile(Here, {Ground, Box});
    Creature* sitting = MakeCreature(1, Here);
    Creature* standing = MakeCreature(2, Here);
    sitting->SetSitting(1);
    sitting->direction = standing->direction = 4;
    tile->ReplaceThing(1, MakeThing(Seat, Here));
    EXPECT_EQ(sitting->direction, 2u);  // the seat faces east
    EXPECT_EQ(standing->direction, 4u);
    sitting->direction = 6;
    tile->ReplaceThing(1, MakeThing(Throne, Here));  // a seat that keeps the direction
    EXPECT_EQ(sitting->direction, 6u);
}

TEST_F(TileTest, ChangingCountAndColourRebuildsTheThing) {
    Tile* tile = MakeTile(Here, {Ground, Box});
    Item* box = static_cast<Item*>(tile->GetThing(1));
    core->hoverPart = box->parts[0].get();
    tile->ChangeThingCount(1, 7);
    EXPECT_EQ(box->count, 7u);
    EXPECT_EQ(core->hoverPart, nullptr);
    tile->ChangeThingSubId(1, 0x05102840);
    EXPECT_EQ(box->subId, 0x05102840u);
    ASSERT_EQ(tile->groundParts.size(), 2u);
    EXPECT_EQ(tile->groundParts[1], box->parts[0].get());
    EXPECT_EQ(tile->groundParts[1]->elevation, 0);
}

TEST_F(TileTest, RemovedThingsLeaveTheCoreAndTheLightSources) {
    Tile* tile = MakeTile(Here, {Ground, Lamp, Box});
    Thing* lamp = tile->GetThing(1);
    ASSERT_EQ(world->lightSources, std::vector<Thing*>{lamp});
    Item* box = static_cast<Item*>(tile->GetThing(2));
    core->dragTo = lamp;
    core->hoverPart = box->parts[0].get();
    tile->RemoveThing(2);
    EXPECT_EQ(core->hoverPart, nullptr);
    EXPECT_EQ(core->dragTo, lamp);
    tile->RemoveThing(1);
    EXPECT_EQ(core->dragTo, nullptr);
    EXPECT_TRUE(world->lightSources.empty());

    MakeTile(Position{101, 100, 7}, {Lamp});
    EXPECT_EQ(world->lightSources.size(), 1u);
    world->GetLayer(7)->DeleteTile(101, 100);
    EXPECT_TRUE(world->lightSources.empty());
}

TEST_F(TileTest, WhatTheStackHolds) {
    const struct {
        uint32_t shape;
        bool ground, flagged, bit15, stair, topSeat, floorKind2, bit13, solid, solidNonBit6;
    } cases[] = {
        // shape       ground flagged bit15  stair  seat   kind2  bit13  solid  nonBit6
        {Ground, true, false, false, false, false, false, false, true, true},
        {Water, true, false, false, false, false, false, false, true, true},
        {Wall, false, false, false, false, false, false, true, true, true},
        {Stair, false, true, false, true, false, false, false, false, false},
        {Hole, false, false, true, true, false, false, false, false, false},
        {Seat, false, false, false, false, true, false, false, false, false},
        {FloorKind2, false, false, false, false, false, true, false, false, false},
        {Glass, true, false, false, false, false, false, false, true, false},
        {Partition, false, false, false, false, false, false, false, false, false},
        {Box, false, false, false, false, false, false, false, false, false},
    };
    for (const auto& c : cases) {
        Tile* tile = MakeTile(Here, {c.shape});
        EXPECT_EQ(tile->HasGround(), c.ground) << c.shape;
        EXPECT_EQ(tile->HasFlaggedThing(), c.flagged) << c.shape;
        EXPECT_EQ(tile->HasBit15Thing(), c.bit15) << c.shape;
        EXPECT_EQ(tile->GetTopBit15Thing() != nullptr, c.bit15) << c.shape;
        EXPECT_EQ(tile->HasStairThing(), c.stair) << c.shape;
        EXPECT_EQ(tile->IsTopSeat(), c.topSeat) << c.shape;
        EXPECT_EQ(tile->HasFloorKind2(), c.floorKind2) << c.shape;
        EXPECT_EQ(tile->HasBit13Thing(), c.bit13) << c.shape;
        EXPECT_EQ(tile->HasSolidThing(), c.solid) << c.shape;
        EXPECT_EQ(tile->HasSolidNonBit6Thing(), c.solidNonBit6) << c.shape;
    }
}

TEST_F(TileTest, SeatsAndHolesAreFoundFromTheTop) {
    Tile* tile = MakeTile(Here, {Ground, Hole, Box, Hole, Seat});
    EXPECT_TRUE(tile->IsTopSeat());
    EXPECT_EQ(tile->GetTopBit15Thing(), tile->GetThing(3));
    tile->AddThing(MakeThing(Box, Here));
    EXPECT_FALSE(tile->IsTopSeat());
    // Effects count as neither solid nor sheltering.
    Tile* flash = MakeTile(Position{101, 100, 7}, {});
    flash->AddThing(MakeThing(Wall, Here, ItemEffect));
    EXPECT_FALSE(flash->HasSolidThing());
    EXPECT_FALSE(flash->HasSolidNonBit6Thing());
}

TEST_F(TileTest, WhoMayWalkOntoATile) {
    Creature* walker = MakeCreature(1, Position{99, 100, 7});
    Tile* ground = MakeTile(Here, {Ground});
    EXPECT_FALSE(ground->IsBlockedFor(walker));
    Creature* other = MakeCreature(2, Here);
    EXPECT_TRUE(ground->IsBlockedFor(walker));  // walkable ground, but someone stands there
    EXPECT_FALSE(ground->IsBlockedFor(other));
    EXPECT_TRUE(MakeTile(Position{101, 100, 7}, {})->IsBlockedFor(walker));  // no ground
    EXPECT_TRUE(MakeTile(Position{102, 100, 7}, {Box})->IsBlockedFor(walker));
    EXPECT_TRUE(MakeTile(Position{103, 100, 7}, {Water})->IsBlockedFor(walker));
    EXPECT_TRUE(MakeTile(Position{104, 100, 7}, {Ground, Wall})->IsBlockedFor(walker));
    EXPECT_FALSE(MakeTile(Position{105, 100, 7}, {Ground, Box})->IsBlockedFor(walker));
}

TEST_F(TileTest, AnAvoidedTileBlocksAPathOnlyBetweenItsEnds) {
    Creature* walker = MakeCreature(1, Position{90, 90, 7});
    Tile* tile = MakeTile(Here, {Avoided});
    const Position start{90, 90, 7}, elsewhere{95, 95, 7};
    EXPECT_FALSE(tile->IsBlockedFor(walker));
    EXPECT_TRUE(tile->IsBlockedForPath(walker, start, elsewhere));
    EXPECT_FALSE(tile->IsBlockedForPath(walker, start, Here));
    EXPECT_FALSE(tile->IsBlockedForPath(walker, Here, elsewhere));
    EXPECT_TRUE(
        tile->IsBlockedForPath(walker, start, Position{100, 100, 6}));  // floors compared too
}

TEST_F(TileTest, CreatureListsLoseOneEntryEach) {
    Tile* tile = world->CreateTile(Here);
    Creature* creature = MakeCreature(1, Position{99, 100, 7});
    tile->AddCreature(creature);
    tile->AddCreature(creature);
    tile->AddBetweenWalker(creature);
    tile->AddWalker(creature);
    tile->RemoveCreature(creature);
    EXPECT_EQ(tile->creatures.size(), 1u);
    EXPECT_TRUE(tile->betweenWalkers.empty());
    EXPECT_TRUE(tile->walkers.empty());
}

TEST_F(TileTest, DroppingACreatureTakesItOutOfTheWorld) {
    Creature* player = MakeCreature(1, Here, "Me");
    Creature* other = MakeCreature(2, Here);
    core->player = player;
    core->hoverCreature = other;
    core->targets = {other, player};
    Tile* tile = world->GetTileXY(Here.x, Here.y, Here.z);
    tile->DropCreature(other);
    EXPECT_EQ(tile->creatures, std::vector<Creature*>{player});
    EXPECT_EQ(world->creatures, std::vector<Creature*>{player});
    EXPECT_EQ(core->hoverCreature, nullptr);
    EXPECT_EQ(core->targets, std::vector<Creature*>{player});
    EXPECT_EQ(world->GetCreature(2), nullptr);
    tile->DropCreature(player);
    EXPECT_EQ(core->player, nullptr);
    EXPECT_TRUE(core->targets.empty());
}

TEST_F(TileTest, UsingTheClimbableThingSendsItsStackIndex) {
    EXPECT_FALSE(MakeTile(Position{101, 100, 7}, {Ground, Box})->UseFlaggedThing());
    Tile* tile = MakeTile(Here, {Ground, Stair, Stair});
    EXPECT_TRUE(tile->UseFlaggedThing());  // without a connection nothing is sent
    core->player = MakeCreature(1, Position{99, 100, 7});
    RecordingConnection connection(core);
    EXPECT_TRUE(tile->UseFlaggedThing());
    EXPECT_EQ(connection.SentOpcodes(1), std::vector<uint8_t>{49});
}

class TileDrawing : public WorldData {
protected:
    void SetUp() override {
        WorldData::SetUp();
        RecordingDriver::Install();
    }
};

TEST_F(TileDrawing, PaintsGroundLowerAndUpperPartsInOrder) {
    Tile* tile = MakeTile(Here, {Ground, Wall, Box, Tree});
    Drawn();
    tile->Draw(64, 32);
    // The ground; the 32 x 64 wall; the movable box one pixel up and left; the trunk lifted by
    // the box's 10 pixels; the 64 x 64 canopy over everything.
    EXPECT_EQ(Drawn(), (std::vector<std::string>{"DrawImage(64,32,img:0)", "DrawImage(64,0,img:0)",
                                                 "DrawImage(63,31,img:0)", "DrawImage(54,22,img:0)",
                                                 "DrawImage(32,0,img:0)"}));
}

TEST_F(TileDrawing, TheThingUnderThePointerIsOutlinedWhenItCanBeMoved) {
    Tile* tile = MakeTile(Here, {Ground, Box});
    Item* box = static_cast<Item*>(tile->GetThing(1));
    core->hoverPart = box->parts[0].get();
    Drawn();
    tile->Draw(0, 0);
    const std::vector<std::string> drawn = Drawn();
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[1], "DrawImage(-1,-1,img:0)");
    // The outline is one pixel larger on each side, drawn one pixel up and left of the image.
    EXPECT_EQ(drawn[2], "DrawImageTinted(-2,-2,0x78E0E0E0,img:0)");

    core->hoverPart =
        static_cast<Item*>(tile->GetThing(0))->parts[0].get();  // the ground stays put
    tile->Draw(0, 0);
    EXPECT_EQ(Drawn().size(), 2u);
}

TEST_F(TileDrawing, CoverClassHidesImagesThatStayInTheirTile) {
    Tile* tile = MakeTile(Here, {Ground, Wall});
    tile->coverClass = CoverEdge;
    Drawn();
    tile->Draw(0, 0);
    EXPECT_EQ(Drawn(), std::vector<std::string>{"DrawImage(0,-32,img:0)"});
}

TEST_F(TileDrawing, FinishedAnimationsLeaveOrMakeWayForTheirSuccessor) {
    Tile* tile = MakeTile(Here, {Ground});
    tile->AddThing(MakeThing(Flash, Here, ItemEffect));
    tile->AddThing(MakeThing(Door, Here, ItemEnter));
    Thing* door = tile->GetThing(2);
    core->frameTimeMs = Start + 150;  // the door's enter animation is at its last keyframe
    tile->Draw(0, 0);
    ASSERT_EQ(ShapeIds(*tile), (std::vector<uint32_t>{Ground, Flash, Door}));
    EXPECT_NE(tile->GetThing(2), door);
    EXPECT_EQ(static_cast<Item*>(tile->GetThing(2))->kind, uint32_t(ItemIdle));
    core->frameTimeMs = Start + 200;  // the flash has played its two keyframes
    tile->Draw(0, 0);
    EXPECT_EQ(ShapeIds(*tile), (std::vector<uint32_t>{Ground, Door}));
}

TEST_F(TileDrawing, SuccessorTakesThePlaceOfItsThingAfterAnEarlierRemoval) {
    Tile* tile = MakeTile(Here, {Ground});
    tile->AddThing(MakeThing(Flash, Here, ItemEffect));
    tile->AddThing(MakeThing(Door, Here, ItemEnter));
    core->frameTimeMs = Start + 200;  // both run out in the same frame
    tile->Draw(0, 0);
    ASSERT_EQ(ShapeIds(*tile), (std::vector<uint32_t>{Ground, Door}));
    EXPECT_EQ(static_cast<Item*>(tile->GetThing(1))->kind, uint32_t(ItemIdle));
}

TEST_F(TileDrawing, OverhangsAreDrawnOnceAndForgotten) {
    Tile* tile = MakeTile(Here, {Ground});
    Creature* creature = MakeCreature(1, Position{99, 100, 7});
    tile->AddOverhang(creature, 2, 1);
    tile->Draw(0, 0);
    EXPECT_TRUE(tile->overhangs.empty());
}

class DropPreview : public TileDrawing {
protected:
    void SetUp() override {
        TileDrawing::SetUp();
        source = MakeTile(Position{90, 90, 7}, {Ground});
        source->AddThing(MakeThing(Box, Position{90, 90, 7}, ItemIdle, 5));
        target = MakeTile(Here, {Ground, Box});
        core->dragTo = source->GetThing(1);
        core->useItemX = 90;
        core->useItemY = 90;
        core->hoverTile = target;
        core->inputModes[InputDrop] = 1;
        Drawn();
    }
    void TearDown() override {
        platform.keyState = keyState;
        TileDrawing::TearDown();
    }
    std::vector<std::string> Previews() {
        target->DrawDropPreview(0, 0);
        return Drawn();
    }

    Tile* source = nullptr;
    Tile* target = nullptr;
    int16_t (*keyState)(int) = platform.keyState;  // the fake platform's
};

TEST_F(DropPreview, ShowsTheDraggedThingLiftedByTheStack) {
    // The box's image, one pixel up and left, lifted by the target's 10 pixels.
    EXPECT_EQ(Previews(), std::vector<std::string>{"DrawImageTinted(-11,-11,0x60FFFFFF,img:0)"});
    EXPECT_EQ(static_cast<Item*>(core->dragTo)->parts[0]->elevation, 0);  // put back
}

TEST_F(DropPreview, OnlyOverAFreeGroundTileOtherThanTheSource) {
    core->inputModes[InputUseWith] = 1;
    EXPECT_TRUE(Previews().empty());
    core->inputModes[InputUseWith] = 0;
    core->inputModes[InputDrop] = 0;
    EXPECT_TRUE(Previews().empty());
    core->inputModes[InputDrop] = 1;
    core->hoverTile = source;
    EXPECT_TRUE(Previews().empty());
    core->hoverTile = target;
    target->InsertThing(0, MakeThing(Water, Here));
    EXPECT_TRUE(Previews().empty());
    target->RemoveThing(0);
    target->AddThing(MakeThing(NoDrop, Here));
    EXPECT_TRUE(Previews().empty());
    target->RemoveThing(2);
    core->useItemX = Here.x;
    core->useItemY = Here.y;
    EXPECT_TRUE(Previews().empty());
}

TEST_F(DropPreview, ShiftShowsASinglePiece) {
    platform.keyState = [](int key) -> int16_t { return key == VK_SHIFT ? int16_t(0x8000) : 0; };
    const Shape* box = core->GetShape(Box);
    EXPECT_EQ(Previews(), std::vector<std::string>{"DrawImageTinted(-11,-11,0x60FFFFFF,img:0)"});
    EXPECT_EQ(box->colorCounts.at(0), 2u);  // the piece was let go again
}

}  // namespace
