#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "item.h"
#include "itempart.h"
#include "mouse.h"
#include "screen.h"
#include "support/recordingdriver.h"
#include "support/worlddata.h"
#include "tile.h"
#include "weather.h"
#include "windows/game/field.h"
#include "windows/game/padding.h"
#include "world.h"

namespace {

using namespace WorldShape;
using Log = std::vector<std::string>;

using namespace FieldCase;

bool Starts(const std::string& call, const std::string& prefix) {
    return call.rfind(prefix, 0) == 0;
}

// The calls logged since the last take, without the driver objects made on first use.
Log Drawn() {
    Log log = RecordingDriver::Take();
    log.erase(std::remove_if(log.begin(), log.end(),
                             [](const std::string& call) { return Starts(call, "Create"); }),
              log.end());
    return log;
}

// The positions and alpha bytes of the calls of a tinted slot: slot(x,y,0xAARRGGBB,...).
std::vector<std::string> Tints(const Log& log, const std::string& slot) {
    std::vector<std::string> tints;
    for (const std::string& call : log) {
        if (!Starts(call, slot + "(")) continue;
        const size_t open = call.find('('), colour = call.find(",0x");
        const unsigned long value = std::stoul(call.substr(colour + 3), nullptr, 16);
        char alpha[3];
        std::snprintf(alpha, sizeof alpha, "%02lX", value >> 24);
        tints.push_back(call.substr(open + 1, colour - open - 1) + " " + alpha);
    }
    return tints;
}

size_t IndexOf(const Log& log, const std::string& call) {
    return size_t(std::find(log.begin(), log.end(), call) - log.begin());
}

class WorldDraw : public WorldData {
protected:
    void SetUp() override {
        WorldData::SetUp();
        // The frame makes and registers the field; the mouse is over the field inside the
        // frame's drawing area.
        padding = new Padding(core, nullptr);
        padding->drawArea = {FieldX, FieldY, FieldWidth, FieldHeight};
        field = padding->field;
        field->x = FieldX;
        field->y = FieldY;
        field->width = FieldWidth;
        field->height = FieldHeight;
        core->fieldWindow = field;
        MakeTile(Here, {Ground});  // creatures stand on ground, not 32 pixels lower
        player = MakeCreature(1, Here, "Me");
        core->player = player;
        std::copy(&core->interfaceItems.gridA[0][0], &core->interfaceItems.gridA[0][0] + 16,
                  &savedGrids[0][0][0]);
        std::copy(&core->interfaceItems.gridB[0][0], &core->interfaceItems.gridB[0][0] + 16,
                  &savedGrids[1][0][0]);
        RecordingDriver::Install();
    }
    void TearDown() override {
        core->fieldWindow = nullptr;
        core->RemoveWindow(field);
        delete padding;
        core->options.elastic = 0;
        core->options.layers = 0;
        core->testWalker.testing = 0;
        core->targets.clear();
        core->hoverCreature = nullptr;
        core->hoverPart = nullptr;
        core->hoverTile = nullptr;
        core->dragFrom = nullptr;
        std::copy(&savedGrids[0][0][0], &savedGrids[0][0][0] + 16,
                  &core->interfaceItems.gridA[0][0]);
        std::copy(&savedGrids[1][0][0], &savedGrids[1][0][0] + 16,
                  &core->interfaceItems.gridB[0][0]);
        WorldData::TearDown();
    }
    void MouseAt(int32_t x, int32_t y) {
        core->screen->mouse->x = x;
        core->screen->mouse->y = y;
    }
    // Remakes the World as entering the game with the floor fades on makes it, with the player
    // leaving a house: the roof over its tile and the next is revealed.
    void LeaveHouse() {
        world->DetachCreatures();
        delete world;
        core->options.layers = 1;
        world = core->world = new World(core);
        MakeTile(Here, {Ground});
        player = MakeCreature(1, Here, "Me");
        core->player = player;
        for (uint16_t x : {100, 101}) MakeTile(Position{x, 100, 8}, {Roof});
        world->RebuildView(9);
        world->GetLayer(8)->DeleteTile(100, 100);
        world->RebuildView(9);
        ASSERT_EQ(world->fadeIn.active, 1);
        Drawn();
    }
    Log DrawAt(uint64_t ms) {
        core->frameTimeMs = Start + ms;
        world->Draw();
        return Drawn();
    }
    // Puts this item in the rain grid (or the snow grid) at the player's tile, alone.
    void WeatherItem(bool snow, Item* item) {
        for (auto& row : snow ? core->interfaceItems.gridB : core->interfaceItems.gridA)
            std::fill(std::begin(row), std::end(row), nullptr);
        (snow ? core->interfaceItems.gridB : core->interfaceItems.gridA)[Here.x & 3][Here.y & 3] =
            item;
    }

    Padding* padding = nullptr;
    Field* field = nullptr;
    Creature* player = nullptr;
    Item* savedGrids[2][4][4] = {};  // the started Core's rain and snow grids
};

// --- Hover picking ------------------------------------------------------------------------------

TEST_F(WorldDraw, HoveringFindsTheCreatureUnderTheMouse) {
    MakeTile(At(3, 0), {Ground});
    Creature* rat = MakeCreature(2, At(3, 0), "Rat");
    MouseAt(400, 250);
    world->UpdateCreatures();
    EXPECT_EQ(core->hoverCreature, rat);
    rat->notTargetable = 1;
    world->UpdateCreatures();
    EXPECT_EQ(core->hoverCreature, nullptr);

    // The own creature only while a spell or a use waits for its target.
    MouseAt(ScreenX(0), ScreenY(0));
    world->UpdateCreatures();
    EXPECT_EQ(core->hoverCreature, nullptr);
    core->inputModes[InputUseWith] = 1;
    world->UpdateCreatures();
    core->inputModes[InputUseWith] = 0;
    EXPECT_EQ(core->hoverCreature, player);
}

TEST_F(WorldDraw, HoveringATileMarksItsMovableThing) {
    Tile* tile = MakeTile(At(2, 1), {Ground, Box});
    Tile* below = MakeTile(At(-2, 1, 6), {Ground, Box});
    world->RebuildView(9);
    MouseAt(ScreenX(2), ScreenY(1));
    world->UpdateCreatures();
    EXPECT_EQ(core->hoverTile, tile);
    ASSERT_EQ(core->dragFrom, tile->things.back());
    EXPECT_EQ(core->hoverPart, static_cast<Item*>(tile->things.back())->parts.front().get());

    MouseAt(ScreenX(-2), ScreenY(1));  // only the player's floor is hovered
    world->UpdateCreatures();
    EXPECT_EQ(core->dragFrom, below->things.back());
    EXPECT_EQ(core->hoverTile, nullptr);

    MouseAt(FieldX - 1, ScreenY(1));  // off the field: nothing
    world->UpdateCreatures();
    EXPECT_EQ(core->hoverPart, nullptr);
    EXPECT_EQ(core->hoverTile, nullptr);
}

TEST_F(WorldDraw, WithoutThePlayerNothingIsHoveredDrawnOrTicked) {
    Creature* rat = MakeCreature(2, At(3, 0), "Rat");
    MakeTile(At(1, 1), {Ground, Lamp});
    world->RebuildView(9);
    world->RemoveCreature(player);
    EXPECT_EQ(core->player, nullptr);
    MouseAt(400, 250);
    world->UpdateCreatures();
    EXPECT_EQ(core->hoverCreature, nullptr);
    EXPECT_EQ(world->PickCreature(400, 250, true), nullptr);
    EXPECT_EQ(world->PickThing(ScreenX(1), ScreenY(1), true, false), nullptr);
    Drawn();
    world->Draw();
    world->Tick(FieldX, FieldY, FieldWidth, FieldHeight);
    EXPECT_EQ(Drawn(), Log{});
    EXPECT_NE(rat, nullptr);
}

// --- Camera -------------------------------------------------------------------------------------

TEST_F(WorldDraw, TheElasticCameraFollowsTheWalkOffset) {
    core->options.elastic = 1;
    world->ResetView();
    player->stepSpeed = 100;
    player->groundSpeed = 100;  // a rate of 1 every 40 ms
    player->walking = 1;
    const struct {
        uint64_t ms;
        float offset;
        uint8_t walking;
        float scroll;
    } frames[] = {
        {20, 16, 1, 8},    // half the lag of 16 per 20 ms
        {40, 16, 1, 12},   // below 16 no speeding up
        {60, 16, 0, 15},   // standing near the player: 1.5 times
        {80, 0, 0, 7.5f},  // the player back on its tile
        {200, 64, 1, 16},  // a lag of 64 speeds up 16 times; never past 16
    };
    for (const auto& frame : frames) {
        core->frameTimeMs = Start + frame.ms;
        player->offsetX = frame.offset;
        player->walking = frame.walking;
        world->UpdateCamera();
        EXPECT_FLOAT_EQ(world->scrollX, frame.scroll) << frame.ms;
        EXPECT_FLOAT_EQ(world->cameraX, frame.scroll) << frame.ms;
        EXPECT_FLOAT_EQ(world->scrollY, 0) << frame.ms;
    }
    core->options.elastic = 0;  // the plain view does not move
    core->frameTimeMs = Start + 300;
    world->UpdateCamera();
    EXPECT_FLOAT_EQ(world->scrollX, 16);
}

TEST_F(WorldDraw, ResettingTheViewCentresTheCamera) {
    world->baseOffsetX = world->cameraY = world->scrollX = 5;
    world->cameraRate = 3;
    core->frameTimeMs = Start + 70;
    world->ResetView();
    EXPECT_EQ(world->baseOffsetX, 0);
    EXPECT_EQ(world->cameraY, 0);
    EXPECT_EQ(world->scrollX, 0);
    EXPECT_FLOAT_EQ(world->cameraRate, 0.4f);
    EXPECT_EQ(world->cameraUpdatedAt, Start + 70);
}

// --- The world image ----------------------------------------------------------------------------

// Floors in ascending order; the markers right after the player's floor, under the floors above.
TEST_F(WorldDraw, FloorsAreDrawnUpwardsWithTheMarkersOnThePlayersFloor) {
    MakeTile(At(-5, -5, 6), {Ground});
    MakeTile(At(-4, -4), {Ground});
    MakeTile(At(-3, -3, 8), {Ground});
    Creature* rat = MakeCreature(2, At(2, 0), "Rat");
    core->targets = {rat};
    world->RebuildView(9);
    DrawAt(0);  // the overlay's driver object takes its place from the second frame on
    const Log log = DrawAt(0);
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], "SetOverlayRect(ov:0,-64,-64,32,32)");
    EXPECT_TRUE(Starts(log[1], "UpdateOverlay(ov:0,0xFF000000,28,24,"));
    EXPECT_TRUE(Starts(log[1].substr(log[1].rfind(',')), ",112)")) << log[1];
    EXPECT_EQ(log[2], "ApplyOverlay(ov:0)");
    EXPECT_EQ(log.back(), "ApplyOverlay(null)");
    const size_t below = IndexOf(log, "DrawImage(128,64,img:0)");
    const size_t own = IndexOf(log, "DrawImage(160,96,img:0)");
    const size_t above = IndexOf(log, "DrawImage(192,128,img:0)");
    ASSERT_LT(above, log.size());
    EXPECT_LT(below, own);
    EXPECT_LT(own, above);
    // The target's marker: once in its tile (alpha 120, pulsing up by 31) and once over the floor.
    size_t marker = log.size();
    int32_t markers = 0;
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].find(",0x47E04040,") == std::string::npos) continue;
        marker = i;
        ++markers;
    }
    EXPECT_EQ(markers, 1);
    EXPECT_LT(own, marker);
    EXPECT_LT(marker, above);
}

TEST_F(WorldDraw, OneFloorAloneWhenNotAllAreDrawn) {
    MakeTile(At(-4, -4), {Ground});
    MakeTile(At(-3, -3, 8), {Ground});
    world->RebuildView(9);
    world->renderAllLayers = 0;
    world->renderLayer = 1;
    world->lightingEnabled = 0;
    const Log log = DrawAt(0);
    EXPECT_EQ(IndexOf(log, "DrawImage(160,96,img:0)"), log.size());
    EXPECT_LT(IndexOf(log, "DrawImage(192,128,img:0)"), log.size());
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& call) { return Starts(call, "ApplyOverlay"); }),
              0);
}

TEST_F(WorldDraw, TheTestWalkerAndANarrowFieldDrawNothing) {
    MakeTile(At(-4, -4), {Ground});
    world->RebuildView(9);
    core->testWalker.testing = 1;
    EXPECT_EQ(DrawAt(0), Log{});
    core->testWalker.testing = 0;
    field->width = 12;  // no pixel a tile
    EXPECT_EQ(DrawAt(0), Log{});
    world->Tick(FieldX, FieldY, 12, FieldHeight);
    EXPECT_EQ(Drawn(), Log{});
    EXPECT_EQ(world->PickCreature(ScreenX(0), ScreenY(0), true), nullptr);
}

// The fade-in image sits a tile up and left of the view; its alpha follows the cubic ease over
// 512 ms, and the last frame draws it opaque.
TEST_F(WorldDraw, TheRevealFadesWithACubicEase) {
    LeaveHouse();
    const struct {
        uint64_t ms;
        const char* alpha;
    } frames[] = {{0, "00"}, {128, "10"}, {256, "80"}, {384, "EF"}, {510, "FF"}};
    for (const auto& frame : frames)
        EXPECT_EQ(Tints(DrawAt(frame.ms), "DrawTargetTinted"),
                  std::vector<std::string>{std::string("-32,-32 ") + frame.alpha})
            << frame.ms;
    const Log last = DrawAt(512);
    EXPECT_LT(IndexOf(last, "DrawTarget(-32,-32,rt:0)"), last.size());
    EXPECT_EQ(world->fadeIn.active, 0);
    EXPECT_EQ(world->revealedFlag, 0);
    EXPECT_TRUE(Tints(DrawAt(600), "DrawTargetTinted").empty());
}

// The end of the fade rebuilds the view; inside a frame that waits for the frame's end.
TEST_F(WorldDraw, TheRebuildAtTheFadesEndWaitsForTheFrame) {
    LeaveHouse();
    MakeTile(Position{100, 100, 8}, {Roof});  // back under the roof: the rebuild will find it
    core->frameTimeMs = Start + 600;
    GFX_BeginFrame(nullptr);
    world->Draw();
    EXPECT_EQ(world->rebuildDeferred, 1);
    GFX_EndFrame();
    Log log = Drawn();
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& call) { return Starts(call, "BeginFrame"); }),
              1);
    world->RunAfterFrame();
    EXPECT_EQ(world->rebuildDeferred, 0);
    EXPECT_EQ(world->coveredFlag, 1);  // the new roof was found, its image drawn now
    log = Drawn();
    EXPECT_EQ(log.front(), "BeginFrame(rt:0)");
    world->RunAfterFrame();  // nothing left to do
    EXPECT_EQ(Drawn(), Log{});
}

TEST_F(WorldDraw, SmoothRenderingOffEndsTheFades) {
    LeaveHouse();
    world->SetSmoothRendering(false);
    EXPECT_EQ(world->fadeIn.active, 0);
    EXPECT_EQ(world->revealedFlag, 0);
    const Log log = DrawAt(100);
    EXPECT_TRUE(Tints(log, "DrawTargetTinted").empty());
    EXPECT_EQ(IndexOf(log, "DrawTarget(-32,-32,rt:0)"), log.size());
}

// Rain at its value; snow at twice its value (at most 180) in one layer, then blending into two
// layers half a tile apart.
TEST_F(WorldDraw, RainAndSnowFallOnOpenSkyWithTheirAlphas) {
    std::fill(std::begin(world->skyExposed), std::end(world->skyExposed), false);
    world->skyExposed[SlotIndex(Here.x, Here.y)] = true;
    world->lightingEnabled = 0;
    const std::unique_ptr<Item> drop(MakeThing(Box, Here));
    const struct {
        int32_t rain, snow;
        std::vector<std::string> tints;
    } cases[] = {
        {40, 0, {"288,224 28"}},
        {300, 0, {"288,224 FF"}},
        {0, 50, {"288,224 64"}},
        {0, 101, {"288,224 B4"}},
        {0, 102, {"288,224 B4", "288,224 00", "304,240 00"}},
        {0, 119, {"288,224 5A", "288,224 5A", "304,240 5A"}},
        {0, 140, {"288,224 B4", "304,240 B4"}},
        {0, -5, {}},
    };
    for (const auto& c : cases) {
        WeatherItem(false, c.rain > 0 ? drop.get() : nullptr);
        WeatherItem(true, c.snow > 0 ? drop.get() : nullptr);
        world->weather->channels[Weather::RainChannel].current = uint32_t(c.rain);
        world->weather->channels[Weather::SnowChannel].current = uint32_t(c.snow);
        EXPECT_EQ(Tints(DrawAt(0), "DrawImageTinted"), c.tints) << c.rain << "," << c.snow;
    }
}

// --- Over the field -----------------------------------------------------------------------------

TEST_F(WorldDraw, TheTickLaysTheLightOverTheFieldOnScreen) {
    core->options.names = 0;  // the started Core has no fonts
    world->Draw();            // as every frame: the world image first
    Drawn();
    world->Tick(FieldX, FieldY, FieldWidth, FieldHeight);
    Log log = Drawn();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "SetOverlayRect(ov:0,-54,-44,32,32)");
    EXPECT_EQ(log[1], "ApplyOverlay(ov:0)");
    EXPECT_LT(IndexOf(log, "ApplyOverlay(null)"), log.size());
    EXPECT_EQ(gfxState.originX, 0);

    core->options.elastic = 1;  // tiles of 34 pixels, the border two and a half of them
    world->Tick(FieldX, FieldY, FieldWidth, FieldHeight);
    log = Drawn();
    EXPECT_EQ(log[0], "SetOverlayRect(ov:0,-75,-65,34,34)");
}

// --- Creature lists -----------------------------------------------------------------------------

TEST_F(WorldDraw, TheFlaggedListKeepsItsTimer) {
    auto flagged = [&](uint32_t id) {
        auto* creature = new Creature(core, id, Walker, 0, {}, At(1, 1), "F", 100, 100, 0);
        creature->flagged = 1;
        world->AddCreature(creature);
        return creature;
    };
    MakeCreature(9, At(2, 2));  // not flagged: not listed
    EXPECT_TRUE(world->flaggedCreatures.empty());

    core->frameTimeMs = 10000;
    Creature* first = flagged(10);
    EXPECT_EQ(world->flaggedTimer.state, FlaggedTimer::Filled);
    EXPECT_EQ(world->flaggedTimer.time, 10000u);
    core->frameTimeMs = 10500;
    Creature* second = flagged(11);  // the list was not empty: the timer runs on
    EXPECT_EQ(world->flaggedTimer.time, 10000u);
    world->RemoveCreature(first);
    EXPECT_EQ(world->flaggedTimer.state, FlaggedTimer::Filled);
    world->RemoveCreature(second);
    EXPECT_EQ(world->flaggedCreatures, std::vector<Creature*>{});
    EXPECT_EQ(world->flaggedTimer.state, FlaggedTimer::Emptied);
    EXPECT_EQ(world->flaggedTimer.time, 15500u);

    const struct {
        uint64_t now;
        uint64_t time;
    } refills[] = {
        {15300, 15245},  // 200 ms before the emptied list's time: it resumes 255 ms earlier
        {15500, 15245},  // at the time itself
        {15100, 14100},  // 400 ms before: a second earlier than now
        {21000, 20000},  // after it
    };
    for (const auto& refill : refills) {
        world->flaggedTimer = FlaggedTimer{15500, FlaggedTimer::Emptied};
        core->frameTimeMs = refill.now;
        Creature* creature = flagged(12);
        EXPECT_EQ(world->flaggedTimer.state, FlaggedTimer::Filled) << refill.now;
        EXPECT_EQ(world->flaggedTimer.time, refill.time) << refill.now;
        world->RemoveCreature(creature);
    }

    // A shift leaves the creatures out of view behind, the flagged ones with them.
    Creature* leaving = flagged(13);
    EXPECT_EQ(world->flaggedCreatures.size(), 1u);
    world->Shift(At(40, 0));
    EXPECT_EQ(world->GetCreature(13), nullptr);
    EXPECT_TRUE(world->flaggedCreatures.empty());
    EXPECT_NE(leaving, nullptr);
}

}  // namespace
