#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "driver/gfxdriver.h"
#include "effectlist.h"
#include "layer.h"
#include "motions.h"
#include "support/recordingconnection.h"
#include "support/recordingdriver.h"
#include "support/worlddata.h"
#include "throws.h"
#include "tile.h"
#include "weather.h"
#include "windows/game/action.h"
#include "world.h"

namespace {

using namespace WorldShape;

constexpr Position Here{100, 100, 7};

std::vector<int32_t> Floors(const World& world) {
    std::vector<int32_t> floors;
    for (const Layer* layer : world.layers) floors.push_back(layer->z);
    return floors;
}

// Frames and images drawn through the recording driver, each image with the drawing origin in
// force when it was drawn.
std::vector<std::string> drawnOrigins;
GfxDrawImageFn recordDrawImage = nullptr;

void LogDrawing() {
    RecordingDriver::Install();
    drawnOrigins.clear();
    recordDrawImage = GfxDriver::DrawImage;
    GfxDriver::DrawImage = [](float x, float y, GfxImage* image) {
        drawnOrigins.push_back(std::to_string(int(gfxState.originX)) + "," +
                               std::to_string(int(gfxState.originY)));
        recordDrawImage(x, y, image);
    };
}

std::vector<std::string> Logged() {
    std::vector<std::string> logged;
    size_t image = 0;
    for (const std::string& call : RecordingDriver::Take()) {
        if (call.rfind("DrawImage(", 0) == 0)
            logged.push_back(call + " at " + drawnOrigins.at(image++));
        else if (call.rfind("BeginFrame", 0) == 0 || call.rfind("EndFrame", 0) == 0)
            logged.push_back(call);
    }
    drawnOrigins.clear();
    return logged;
}

class WorldTest : public WorldData {
protected:
    // The player's creature, standing on the tile of its position.
    Creature* MakePlayer(Position at = Here) {
        core->player = MakeCreature(1, at, "Me");
        return core->player;
    }
    // Fills the view window about the player's position on a floor with things of a shape.
    void Cover(uint8_t z, uint32_t shapeId) {
        ForEachViewCell(Here, [&](const ViewCell& cell) {
            MakeTile(Position{cell.x, cell.y, z}, {shapeId});
        });
    }
    uint8_t CoverAt(int32_t x, int32_t y) const { return world->cover[SlotIndex(x, y)]; }
    uint8_t CoverClassAt(uint16_t x, uint16_t y, uint8_t z) {
        return world->GetTileXY(x, y, z)->coverClass;
    }
    // Remakes the World as entering the game with the floor fades on makes it.
    void UseFloorFades() {
        world->DetachCreatures();
        delete world;
        core->options.layers = 1;
        world = core->world = new World(core);
    }
};

TEST_F(WorldTest, FloorsAreCreatedOnDemandInOrder) {
    Layer* seven = world->GetLayer(7);
    for (uint8_t z : {5, 9, 6, 7, 0}) world->GetLayer(z);
    EXPECT_EQ(Floors(*world), (std::vector<int32_t>{0, 5, 6, 7, 9}));
    EXPECT_EQ(world->GetLayer(7), seven);
    EXPECT_EQ(world->FindLayer(8), nullptr);
    EXPECT_EQ(world->layers.size(), 5u);
}

TEST_F(WorldTest, TileLookupsGoThroughTheFloor) {
    Tile* tile = world->CreateTile(Here);
    EXPECT_EQ(world->GetTile(Here.Packed(), 7), tile);
    EXPECT_EQ(world->GetTileXY(100, 100, 7), tile);
    EXPECT_EQ(world->GetTile(Here.Packed(), 6), nullptr);
    EXPECT_EQ(Floors(*world), (std::vector<int32_t>{6, 7}));
    // The tile a creature registered on is found even when its slot's position was replaced.
    const Position wrapped{127, 100, 7};
    EXPECT_EQ(world->GetTile(wrapped.Packed(), 7), nullptr);
    EXPECT_EQ(world->GetTileIfExists(wrapped.Packed(), 7), tile);
    EXPECT_EQ(world->GetTileIfExists(Position{100, 101, 7}.Packed(), 7), nullptr);
}

TEST_F(WorldTest, WithoutAPlayerTheViewKeepsEverythingUpToTheCeiling) {
    MakeTile(Here, {Ground});
    MakeTile(Position{100, 100, 8}, {Roof});
    world->RebuildView(9);
    EXPECT_EQ(world->ceiling, 10);
    EXPECT_TRUE(std::all_of(std::begin(world->cover), std::end(world->cover),
                            [](uint8_t v) { return v == 10; }));
    EXPECT_TRUE(std::all_of(std::begin(world->occlusion), std::end(world->occlusion),
                            [](uint8_t v) { return v == 0; }));
    world->RebuildView(255);
    EXPECT_EQ(world->ceiling, 255);  // the highest floor the tables hold, not 0
}

TEST_F(WorldTest, APlayerWithoutFloorsHidesNothing) {
    core->player = new Creature(core, 1, Walker, 0, {}, Here, "Me", 100, 100, 0);
    world->AddCreature(core->player);
    world->RebuildView(7);
    EXPECT_EQ(world->drawFloor, 0);
    EXPECT_TRUE(world->layers.empty());
    EXPECT_EQ(world->visibleLayers, 0u);
}

TEST_F(WorldTest, ARoofOverThePlayerCoversTheCellsConnectedToIt) {
    MakePlayer();
    for (uint16_t x = 98; x <= 104; ++x) MakeTile(Position{x, 100, 7}, {Ground});
    for (uint16_t x : {100, 101, 102}) MakeTile(Position{x, 100, 8}, {Roof});
    MakeTile(Position{110, 105, 8}, {Roof});  // another roof, not joined to this one
    world->RebuildView(9);
    EXPECT_EQ(world->roofFloor[SlotIndex(100, 100)], 8);
    for (int32_t x : {100, 101, 102}) EXPECT_EQ(CoverAt(x, 100), 8) << x;
    for (int32_t x : {99, 103}) EXPECT_EQ(CoverAt(x, 100), 10) << x;
    EXPECT_EQ(CoverAt(110, 105), 10);
    EXPECT_EQ(world->viewTop, 7);
}

TEST_F(WorldTest, ARoofNorthWestOfThePlayerCountsToo) {
    MakePlayer();
    MakeTile(Position{99, 99, 9}, {Roof});
    world->RebuildView(9);
    EXPECT_EQ(CoverAt(99, 99), 9);
    EXPECT_EQ(CoverAt(100, 100), 10);
}

TEST_F(WorldTest, FloorsAboveWithoutARoofRaiseTheViewTop) {
    MakePlayer();
    MakeTile(Position{105, 100, 8}, {Roof});
    MakeTile(Position{105, 100, 12}, {Roof});
    world->RebuildView(9);
    EXPECT_EQ(world->viewTop, 8);  // floor 12 is above the ceiling
    world->RebuildView(20);
    EXPECT_EQ(world->viewTop, 12);
}

TEST_F(WorldTest, AFloorKindTwoBesideThePlayerRoofsTheCellBeyond) {
    MakePlayer();
    MakeTile(Position{101, 100, 7}, {FloorKind2});
    MakeTile(Position{102, 100, 8}, {Roof});
    MakeTile(Position{103, 100, 8}, {Roof});
    world->RebuildView(9);
    EXPECT_EQ(world->roofFloor[SlotIndex(102, 100)], 8);
    EXPECT_EQ(CoverAt(102, 100), 8);
    EXPECT_EQ(CoverAt(103, 100), 8);
    EXPECT_EQ(world->viewTop, 7);
}

TEST_F(WorldTest, CoverClassesFollowTheClosedFloorsAbove) {
    MakePlayer();
    for (Position at : {Position{101, 101, 7}, Position{105, 105, 7}, Position{113, 100, 7},
                        Position{112, 100, 7}})
        MakeTile(at, {Ground});
    MakeTile(Position{101, 101, 8}, {Roof});
    for (Position at : {Position{104, 104, 8}, Position{104, 105, 8}, Position{105, 104, 8},
                        Position{105, 105, 8}})
        MakeTile(at, {Roof});
    world->RebuildView(9);
    EXPECT_EQ(world->occlusion[SlotIndex(101, 101)], 8);
    EXPECT_EQ(CoverClassAt(101, 101, 8), CoverNone);
    EXPECT_EQ(CoverClassAt(101, 101, 7), CoverEdge);    // open to the north-west
    EXPECT_EQ(CoverClassAt(105, 105, 7), CoverHidden);  // closed on all three sides
    EXPECT_EQ(CoverClassAt(112, 100, 7), CoverNone);
    EXPECT_EQ(CoverClassAt(113, 100, 7), CoverEdge);  // beyond the visible field

    world->showAll = 1;
    world->RebuildView(9);
    EXPECT_EQ(CoverClassAt(105, 105, 7), CoverNone);
    EXPECT_EQ(world->visibleLayers, uint32_t(world->layers.size()));
}

TEST_F(WorldTest, ACellUnderAClosedFloorIsHiddenOnlyWhenAllThreeNeighboursAreClosedToo) {
    MakePlayer();
    // Each tile lies under a roof, with roofs over its north-west, west and north neighbours
    // but the one named.
    enum Open { NorthWest, West, North, None };
    const struct {
        uint16_t x;
        Open open;
        uint8_t coverClass;
    } cases[] = {{102, NorthWest, CoverEdge},
                 {105, West, CoverEdge},
                 {108, North, CoverEdge},
                 {111, None, CoverHidden}};
    constexpr uint16_t y = 104;
    for (const auto& c : cases) {
        MakeTile(Position{c.x, y, 7}, {Ground});
        MakeTile(Position{c.x, y, 8}, {Roof});
        if (c.open != NorthWest) MakeTile(Position{uint16_t(c.x - 1), y - 1, 8}, {Roof});
        if (c.open != West) MakeTile(Position{uint16_t(c.x - 1), y, 8}, {Roof});
        if (c.open != North) MakeTile(Position{c.x, y - 1, 8}, {Roof});
    }
    world->RebuildView(9);
    for (const auto& c : cases) EXPECT_EQ(CoverClassAt(c.x, y, 7), c.coverClass) << c.x;
}

TEST_F(WorldTest, FloorsBelowTheClosedFloorOfTheInnerViewAreHidden) {
    MakePlayer();
    Cover(6, Roof);
    MakeTile(Position{100, 100, 5}, {Ground});
    world->RebuildView(9);
    EXPECT_EQ(world->drawFloor, 6);
    EXPECT_EQ(world->FindLayer(5)->hidden, 1);
    EXPECT_EQ(world->FindLayer(6)->hidden, 0);
    EXPECT_EQ(world->FindLayer(7)->hidden, 0);
    EXPECT_EQ(world->visibleLayers, 2u);

    // A hole in the floor shows the floors below it at once; closing it hides them again only
    // one rebuild later.
    world->GetLayer(6)->DeleteTile(100, 100);
    world->RebuildView(9);
    EXPECT_EQ(world->drawFloor, 0);
    EXPECT_EQ(world->FindLayer(5)->hidden, 0);
    MakeTile(Position{100, 100, 6}, {Roof});
    world->RebuildView(9);
    EXPECT_EQ(world->drawFloor, 0);
    EXPECT_EQ(world->solidFloor, 6);
    world->RebuildView(9);
    EXPECT_EQ(world->drawFloor, 6);
}

TEST_F(WorldTest, ALayerWithNothingUncoveredIsHidden) {
    MakePlayer();
    Layer* layer = world->GetLayer(5);
    layer->CreateTile(100, 100)->coverClass = CoverHidden;
    std::fill(std::begin(world->cover), std::end(world->cover), 5);
    layer->UpdateHidden(Here);
    EXPECT_EQ(layer->hidden, 1);  // every cell covered at its floor
    std::fill(std::begin(world->cover), std::end(world->cover), 6);
    layer->UpdateHidden(Here);
    EXPECT_EQ(layer->hidden, 1);  // the one tile is of class 3
    layer->CreateTile(101, 100);
    layer->UpdateHidden(Here);
    EXPECT_EQ(layer->hidden, 0);
}

TEST_F(WorldTest, LayersDrawTheirCellsInWindowOrder) {
    Layer* layer = world->GetLayer(7);
    MakeTile(Here, {Ground});
    MakeTile(Position{91, 93, 7}, {Ground});   // column 0, row 0
    MakeTile(Position{89, 100, 7}, {Ground});  // column -2, row 7
    std::fill(std::begin(world->cover), std::end(world->cover), 8);
    RecordingDriver::Install();
    layer->Draw(Here);
    EXPECT_EQ(RecordingDriver::Take(),
              (std::vector<std::string>{"DrawImage(0,0,img:0)", "DrawImage(-64,224,img:0)",
                                        "DrawImage(288,224,img:0)"}));
    // Cells whose reveal is fading in come from the fade image.
    world->revealedFlag = 1;
    std::fill(std::begin(world->revealedFrom), std::end(world->revealedFrom), 255);
    world->revealedFrom[SlotIndex(100, 100)] = 7;
    layer->Draw(Here);
    EXPECT_EQ(RecordingDriver::Take().size(), 2u);
    world->cover[SlotIndex(91, 93)] = 7;  // covered at this floor
    layer->DrawAll(Here);
    EXPECT_EQ(RecordingDriver::Take().size(), 3u);
    layer->hidden = 1;
    layer->Draw(Here);
    EXPECT_TRUE(RecordingDriver::Take().empty());
}

TEST_F(WorldTest, FloorFadesCompareTheCoverWithTheLastRebuild) {
    UseFloorFades();
    ASSERT_NE(world->fadeInTarget, nullptr);
    ASSERT_NE(world->fadeOutTarget, nullptr);
    Creature* player = MakePlayer();
    MakeTile(Here, {Ground});
    for (uint16_t x : {100, 101}) MakeTile(Position{x, 100, 8}, {Roof});
    world->RebuildView(9);
    EXPECT_EQ(world->revealedFlag, 0);  // the first rebuild makes no comparison
    EXPECT_EQ(world->coveredFlag, 0);
    EXPECT_EQ(world->viewJumped, 0);

    // Leaving the house: the roof cells are revealed.
    world->GetLayer(8)->DeleteTile(100, 100);
    core->frameTimeMs = Start + 5;
    LogDrawing();
    world->RebuildView(9);
    EXPECT_EQ(world->revealedFlag, 1);
    EXPECT_EQ(world->coveredFlag, 0);
    EXPECT_EQ(world->revealedFrom[SlotIndex(100, 100)], 8);
    EXPECT_EQ(world->revealedFrom[SlotIndex(101, 100)], 8);
    EXPECT_EQ(world->revealedFrom[SlotIndex(102, 100)], 255);
    EXPECT_EQ(world->fadeIn.start, Start + 5);
    // What is left of the roof is drawn into the fade-in image, a tile in from its corner.
    EXPECT_EQ(Logged(),
              (std::vector<std::string>{"BeginFrame(rt:0)", "DrawImage(320,224,img:0) at 32,32",
                                        "EndFrame()"}));

    // A step east under the roof again: the cells are covered and drawn into the fade-out image,
    // shifted back by the step.
    MakeTile(Position{100, 100, 8}, {Roof});
    player->position.x = 101;
    world->RebuildView(9);
    EXPECT_EQ(world->revealedFlag, 0);
    EXPECT_EQ(world->coveredFlag, 1);
    EXPECT_EQ(world->coveredFrom[SlotIndex(100, 100)], 8);
    EXPECT_EQ(world->coveredFrom[SlotIndex(101, 100)], 8);
    EXPECT_EQ(world->previousCentre, Here);
    EXPECT_EQ(world->viewCentre, player->position);
    EXPECT_EQ(Logged(),
              (std::vector<std::string>{"BeginFrame(rt:0)", "DrawImage(256,224,img:0) at 64,32",
                                        "DrawImage(288,224,img:0) at 64,32", "EndFrame()"}));
    EXPECT_EQ(gfxState.originX, 0);
}

TEST_F(WorldTest, ViewJumpsSkipTheFadeComparison) {
    UseFloorFades();
    MakePlayer();
    MakeTile(Position{100, 100, 8}, {Roof});
    world->RebuildView(9);
    world->GetLayer(8)->DeleteTile(100, 100);
    world->viewJumped = 1;
    world->RebuildView(9);
    EXPECT_EQ(world->revealedFlag, 0);
    EXPECT_EQ(world->viewJumped, 0);
}

TEST_F(WorldTest, SmoothRenderingMakesAndDeletesTheFadeImages) {
    EXPECT_EQ(world->fadeInTarget, nullptr);  // the option was off when the world was made
    world->SetSmoothRendering(true);
    EXPECT_NE(world->fadeInTarget, nullptr);
    EXPECT_NE(world->fadeOutTarget, nullptr);
    EXPECT_EQ(world->viewJumped, 1);
    world->SetSmoothRendering(false);
    EXPECT_EQ(world->fadeInTarget, nullptr);
    EXPECT_EQ(world->fadeOutTarget, nullptr);
    world->SetSmoothRendering(true);  // deleted with the world although the option is off
}

TEST_F(WorldTest, RainFallsWhereNoRoofShelters) {
    MakePlayer();
    Cover(7, Ground);
    for (uint16_t x = 98; x <= 102; ++x)
        for (uint16_t y = 98; y <= 102; ++y) MakeTile(Position{x, y, 8}, {Roof});
    world->RebuildView(9);
    EXPECT_EQ(world->skyMaskReady, 0);  // no rain, no mask
    world->weather->channels[Weather::RainChannel].current = 40;
    world->RebuildView(9);
    EXPECT_EQ(world->skyMaskReady, 1);
    for (Position at : {Here, Position{98, 98, 7}, Position{102, 100, 7}})
        EXPECT_FALSE(world->skyExposed[SlotIndex(at.x, at.y)]) << at.x << "," << at.y;
    for (Position at : {Position{97, 97, 7}, Position{103, 100, 7}, Position{110, 110, 7}})
        EXPECT_TRUE(world->skyExposed[SlotIndex(at.x, at.y)]) << at.x << "," << at.y;
}

TEST_F(WorldTest, ALoneShelteredCellFollowsItsNeighbours) {
    MakePlayer();
    Cover(7, Ground);
    MakeTile(Position{100, 100, 8}, {Roof});
    world->weather->channels[Weather::SnowChannel].current = 1;
    world->RebuildView(9);
    EXPECT_EQ(CoverAt(100, 100), 8);
    EXPECT_TRUE(world->skyExposed[SlotIndex(100, 100)]);
}

TEST_F(WorldTest, SideCoverRecordsGroundAndSolidThings) {
    MakePlayer();
    MakeTile(Position{102, 100, 7}, {Glass});
    MakeTile(Position{103, 100, 7}, {Wall});
    MakeTile(Position{104, 100, 7}, {Ground});
    world->RebuildView(9);
    const uint32_t glass = SlotIndex(102, 100), wall = SlotIndex(103, 100),
                   ground = SlotIndex(104, 100);
    EXPECT_EQ(world->sideCover[glass], 7);
    EXPECT_EQ(world->sideRoof[glass], 0);
    EXPECT_EQ(world->sideResult[glass], 0);
    EXPECT_EQ(world->sideCover[wall], 0);
    EXPECT_EQ(world->sideRoof[wall], 7);
    EXPECT_EQ(world->sideResult[ground], 7);
    EXPECT_EQ(world->shiftedTop[ground], 7);
}

TEST_F(WorldTest, LightLevelsAreReadInsideTheGridOnly) {
    world->lightGrid[2 * LightColumns + 2] = 0xFF3060C0;
    world->lightGrid[23 * LightColumns + 27] = 0xFFFFFFFF;
    const struct {
        int32_t x, y;
        uint32_t level;
    } cases[] = {{0, 0, 112},   {31, 31, 112},  {-1, -1, 112},   {-32, 0, 0},
                 {-96, 0, 0},   {0, -96, 0},    {831, 703, 255}, {832, 703, 0},
                 {831, 704, 0}, {100000, 0, 0}, {0, -100000, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(world->GetLightAt(c.x, c.y), c.level) << c.x << "," << c.y;
}

TEST_F(WorldTest, DetachingCreaturesEmptiesTheTilesAndTheCore) {
    Creature* player = MakePlayer();
    Creature* other = MakeCreature(2, Position{101, 100, 7});
    core->targets = {other};
    core->hoverCreature = other;
    core->followTarget = other;
    world->flaggedCreatures = {other};
    world->DetachCreatures();
    EXPECT_TRUE(world->creatures.empty());
    EXPECT_TRUE(world->flaggedCreatures.empty());
    EXPECT_TRUE(world->GetTileXY(100, 100, 7)->creatures.empty());
    EXPECT_TRUE(world->GetTileXY(101, 100, 7)->creatures.empty());
    EXPECT_EQ(core->player, nullptr);
    EXPECT_TRUE(core->targets.empty());
    EXPECT_EQ(core->hoverCreature, nullptr);
    EXPECT_EQ(core->followTarget, nullptr);
    (void)player;
}

TEST_F(WorldTest, TheFullMapResetEmptiesEffectsAndFloors) {
    world->motions->effects.push_back(new FieldEffect);
    world->throws->effects.push_back(new FieldEffect);
    MakeTile(Here, {Lamp});
    core->hoverTile = world->GetTileXY(100, 100, 7);
    world->ClearEffects();
    world->DetachCreatures();
    world->ClearLayers();
    EXPECT_TRUE(world->motions->effects.empty());
    EXPECT_TRUE(world->throws->effects.empty());
    EXPECT_TRUE(world->layers.empty());
    EXPECT_TRUE(world->lightSources.empty());
    EXPECT_EQ(core->hoverTile, nullptr);
}

TEST_F(WorldTest, DeletingTilesEmptiesEachSlotOnItsStampedFloor) {
    MakeTile(Here, {Ground});
    MakeTile(Position{100, 100, 8}, {Roof});
    MakeTile(Position{1, 1, 7}, {Ground});
    std::fill(std::begin(world->cellFloor), std::end(world->cellFloor), 9);
    world->cellFloor[SlotIndex(127, 123)] = 7;  // the slot of (100, 100)
    world->DeleteTiles();
    EXPECT_EQ(world->GetLayer(7)->GetSlot(100, 100), nullptr);
    EXPECT_NE(world->GetTileXY(100, 100, 8), nullptr);
    EXPECT_NE(world->GetTileXY(1, 1, 7), nullptr);
    EXPECT_EQ(Floors(*world), (std::vector<int32_t>{7, 8, 9}));
}

// --- Popup menus --------------------------------------------------------------------------------

// The modifier keys the menus test: Shift held while `shiftHeld` is set.
bool shiftHeld = false;
int16_t FakeKeys(int key) { return key == VK_SHIFT && shiftHeld ? int16_t(0x8000) : 0; }

class WorldMenus : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        keyState = platform.keyState;
        platform.keyState = FakeKeys;
        shiftHeld = false;
        player = MakePlayer();
        windowsBefore = core->windows.size();
    }
    void TearDown() override {
        platform.keyState = keyState;
        WorldTest::TearDown();
    }
    // The menu opened last, or null when none was opened.
    Action* OpenedMenu() {
        return core->windows.size() > windowsBefore ? dynamic_cast<Action*>(core->windows.back())
                                                    : nullptr;
    }
    static std::vector<std::string> Labels(const Action& menu) {
        std::vector<std::string> labels;
        for (const Action::Entry& entry : menu.entries)
            labels.push_back(std::to_string(entry.code) + " " + entry.label);
        return labels;
    }
    static std::string Hint(char r, char g, char b, char a, const std::string& text) {
        return std::string{'\0', r, g, b, a} + text;
    }

    int16_t (*keyState)(int) = nullptr;
    Creature* player = nullptr;
    size_t windowsBefore = 0;
};

TEST_F(WorldMenus, PlainClickOnTheOwnCreatureWithoutASeatDoesNothing) {
    MakeTile(Here, {Ground});
    RecordingConnection connection(core);
    EXPECT_FALSE(world->ShowSelfMenu(10, 20, player, Here));
    EXPECT_EQ(OpenedMenu(), nullptr);
    // Sitting down afterwards is the first request the server gets.
    world->GetTileXY(100, 100, 7)->AddThing(MakeThing(Seat, Here));
    player->direction = 2;
    EXPECT_TRUE(world->ShowSelfMenu(10, 20, player, Here));
    EXPECT_EQ(connection.SentOpcodes(1), std::vector<uint8_t>{162});
}

TEST_F(WorldMenus, PlainClickOnASeatSitsDownFacingIt) {
    MakeTile(Here, {Ground, Seat});
    EXPECT_TRUE(world->ShowSelfMenu(10, 20, player, Here));
    EXPECT_EQ(OpenedMenu(), nullptr);
    EXPECT_EQ(player->seated, 1);
    EXPECT_EQ(player->direction, 2u);
    EXPECT_EQ(player->sitReady, 0);
    EXPECT_FALSE(world->ShowSelfMenu(10, 20, player, Here));  // not ready again until reshaped

    player->sitReady = 1;
    player->moving = 1;
    EXPECT_FALSE(world->ShowSelfMenu(10, 20, player, Here));
}

TEST_F(WorldMenus, PlainClickOnASeatFacingElsewhereSendsOneTurnToIt) {
    using Requests = std::vector<std::vector<uint8_t>>;
    constexpr uint8_t Turn = 40, Sit = 162, North = 0, East = 2;  // the seat faces east
    MakeTile(Here, {Ground, Seat});
    RecordingConnection connection(core);
    player->direction = North;
    EXPECT_TRUE(world->ShowSelfMenu(10, 20, player, Here));
    EXPECT_EQ(connection.SentPayloads(2), (Requests{{Turn, East}, {Sit, 1}}));

    // Seated, facing away from the seat: standing up turns to it as well.
    player->direction = North;
    player->sitReady = 1;
    EXPECT_TRUE(world->ShowSelfMenu(10, 20, player, Here));
    EXPECT_EQ(connection.SentPayloads(4),
              (Requests{{Turn, East}, {Sit, 1}, {Turn, East}, {Sit, 0}}));
    EXPECT_EQ(player->seated, 0);
}

TEST_F(WorldMenus, SelfMenuShowsVocationAndLevel) {
    MakeTile(Here, {Ground});
    core->vocation = 3;
    core->playerLevel = 42;
    shiftHeld = true;
    EXPECT_TRUE(world->ShowSelfMenu(10, 20, player, Here));
    Action* menu = OpenedMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title, "Me");
    EXPECT_EQ(menu->x, 10);
    EXPECT_EQ(menu->y, 20);
    EXPECT_EQ(Labels(*menu),
              (std::vector<std::string>{"0 Sorcerer", "0 Level", "0 -", "100 View progression..",
                                        "101 Change outfit.."}));
    EXPECT_EQ(menu->entries[1].hint, Hint('\xFF', '\xFF', '\0', '\xC0', "42"));
}

TEST_F(WorldMenus, SelfMenuOffersTheSeat) {
    MakeTile(Here, {Ground, Seat});
    core->vocation = 11;
    core->nobleDaysLeft = 30;
    shiftHeld = true;
    world->ShowSelfMenu(0, 0, player, Here);
    Action* menu = OpenedMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Labels(*menu),
              (std::vector<std::string>{"0 Noble ", "0 Level", "0 -", "100 View progression..",
                                        "101 Change outfit..", "0 -", "103 Sit down"}));
    EXPECT_EQ(menu->entries.back().hint, Hint('\xE0', '\x80', '\x80', '\xC0', "RMB"));
    player->SetSitting(1);
    world->ShowSelfMenu(0, 0, player, Here);
    EXPECT_EQ(OpenedMenu()->entries.back().label, "Stand up");
}

TEST_F(WorldMenus, PlainClickOnAnotherCreatureOpensNoMenu) {
    Creature* monster = MakeCreature(2, Position{101, 100, 7}, "Rat");
    EXPECT_FALSE(world->ShowCreatureMenu(0, 0, player, monster));
    EXPECT_EQ(OpenedMenu(), nullptr);
}

TEST_F(WorldMenus, CreatureMenusByKind) {
    shiftHeld = true;
    Creature* monster = MakeCreature(2, Position{101, 100, 7}, "Rat");
    Creature* trader = MakeCreature(3, Position{102, 100, 7}, "Trader");
    trader->talk = 1;
    Creature* silent = MakeCreature(4, Position{103, 100, 7}, " ");
    silent->talk = 1;
    Creature* statue = MakeCreature(5, Position{104, 100, 7}, "Statue");
    statue->examineOnly = 1;
    const struct {
        Creature* creature;
        std::string title;
        std::vector<std::string> labels;
    } cases[] = {
        {monster, "Rat", {"110 Attack", "112 Examine"}},
        {trader, "Trader", {"117 Start talking..", "112 Examine"}},
        {silent, "", {"112 Examine"}},
        {statue, "", {"112 Examine"}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(world->ShowCreatureMenu(0, 0, player, c.creature));
        Action* menu = OpenedMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title, c.title);
        EXPECT_EQ(menu->context, c.creature->id);
        EXPECT_EQ(Labels(*menu), c.labels) << c.creature->name;
    }
    core->targets = {monster};
    world->ShowCreatureMenu(0, 0, player, monster);
    EXPECT_EQ(OpenedMenu()->entries[0].label, "Stop attacking");
    EXPECT_EQ(OpenedMenu()->entries[0].hint, Hint('\xE0', '\x80', '\x80', '\xC0', "RMB"));
}

TEST_F(WorldMenus, AnotherPlayerCanBeFollowedTradedWithAndInvited) {
    shiftHeld = true;
    Creature* friendly = MakeCreature(7, Position{101, 100, 7}, "Ally");
    friendly->playerFlag = 1;
    world->ShowCreatureMenu(0, 0, player, friendly);
    EXPECT_EQ(Labels(*OpenedMenu()),
              (std::vector<std::string>{"110 Attack", "111 Follow", "112 Examine", "0 -",
                                        "113 Trade with..", "114 Party with..",
                                        "116 Send message.."}));
    EXPECT_EQ(OpenedMenu()->entries[1].hint, Hint('\x80', '\xE0', '\x80', '\xC0', "LMB"));
    core->followTarget = friendly;
    core->AddPartyInvite(7, "Ally");
    world->ShowCreatureMenu(0, 0, player, friendly);
    const std::vector<std::string> labels = Labels(*OpenedMenu());
    EXPECT_EQ(labels[1], "111 Stop following");
    EXPECT_EQ(labels[5], "115 Accept invite..");
}

}  // namespace
