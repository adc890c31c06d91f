#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "creature.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "item.h"
#include "platform.h"
#include "render.h"
#include "shape.h"
#include "support/chatconsole.h"
#include "support/creatureworld.h"
#include "support/recordingconnection.h"
#include "support/recordingdriver.h"
#include "tile.h"
#include "windows/game/chatbox.h"
#include "world.h"

namespace {

using Log = std::vector<std::string>;
using namespace SampleShape;

constexpr int32_t East = 2, South = 4;
constexpr uint64_t StepMs = 1280;  // speed 125 on stone

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

std::string DrawImage(float x, float y, uint32_t user) {
    return "DrawImage(" + Number(x) + "," + Number(y) + ",img:" + std::to_string(user) + ")";
}

std::string DrawTinted(float x, float y, uint32_t colour, uint32_t user) {
    return "DrawImageTinted(" + Number(x) + "," + Number(y) + "," + Hex(colour) +
           ",img:" + std::to_string(user) + ")";
}

std::string Fill(float x, float y, float w, float h, uint32_t colour) {
    return "FillRect(" + Number(x) + "," + Number(y) + "," + Number(w) + "," + Number(h) + "," +
           Hex(colour) + ",0x3)";
}

// A glyph or skin part drawn tinted: position, source and colour.
struct PartDraw {
    float x, y, sx, sy, w, h;
    uint32_t colour, image;
};

std::vector<PartDraw> PartDraws(const Log& log, uint32_t image) {
    std::vector<PartDraw> draws;
    for (const std::string& line : log) {
        PartDraw d{};
        if (std::sscanf(line.c_str(), "DrawImagePartTinted(%g,%g,%g,%g,%g,%g,0x%X,img:%u)", &d.x,
                        &d.y, &d.sx, &d.sy, &d.w, &d.h, &d.colour, &d.image) == 8 &&
            d.image == image)
            draws.push_back(d);
    }
    return draws;
}

class CreatureDraw : public CreatureWorld {
protected:
    static constexpr uint32_t FontImage = 1, IconsImage = 9, SkinImage = 1000;

    void SetUp() override {
        CreatureWorld::SetUp();
        FloorAround(10, 10, 3);
        core->render->GetImage(9) = GFX_CreateImage(408, 12, nullptr, 0, 0, IconsImage);
        core->render->GetImage(1) = GFX_CreateImage(512, 512, nullptr, 0, 0, SkinImage);
        core->options.names = core->options.hudbars = core->options.hudstatus = 1;
        RecordingDriver::Install();
    }
    void TearDown() override {
        RecordingDriver::Take();
        CreatureWorld::TearDown();
    }
    // The image of a frame of the sample person, tagged so that the log names it.
    GfxImage* PersonImage(uint32_t direction, AnimationSlot slot, size_t keyframe,
                          uint32_t outfit = 0) {
        ShapeCell* cell = core->GetShape(Person + 1 + direction)
                              ->FindEntry(0)
                              ->slots[slot]
                              ->views[0]
                              ->cells[0]
                              .get();
        GfxImage* image = cell->layers[0]->keyframes.at(keyframe)->images.at(outfit);
        image->user = 500 + direction * 100 + slot * 10 + uint32_t(keyframe);
        return image;
    }
    Tile* TileAt(uint16_t x, uint16_t y) { return world->GetTile(Position{x, y, 7}.Packed(), 7); }
    static std::vector<std::string> Only(const Log& log, const std::string& prefix) {
        std::vector<std::string> kept;
        for (const std::string& line : log)
            if (line.rfind(prefix, 0) == 0) kept.push_back(line);
        return kept;
    }
};

TEST_F(CreatureDraw, AStepIsDrawnFromTheTileThatPaintsItLast) {
    const struct {
        int32_t direction;
        Position drawTile;
        bool between;
    } cases[] = {
        {0, {10, 10, 7}, false}, {1, {11, 10, 7}, true},  {2, {11, 10, 7}, false},
        {3, {11, 11, 7}, false}, {4, {10, 11, 7}, false}, {5, {10, 11, 7}, true},
        {6, {10, 10, 7}, false}, {7, {10, 10, 7}, false},
    };
    for (const auto& c : cases) {
        Creature* rat = Spawn({10, 10, 7});
        rat->Step(uint32_t(c.direction), 0, 0, 0, 0, 0);
        EXPECT_EQ(rat->drawPosition, c.drawTile) << c.direction;
        EXPECT_EQ(rat->between, c.between) << c.direction;
        Tile* tile = TileAt(c.drawTile.x, c.drawTile.y);
        const auto& list = c.between ? tile->betweenWalkers : tile->walkers;
        EXPECT_EQ(std::count(list.begin(), list.end(), rat), 1) << c.direction;
        Frame(StepMs * 2);
        EXPECT_EQ(std::count(list.begin(), list.end(), rat), 0) << c.direction;
        TileAt(rat->position.x, rat->position.y)->DropCreature(rat);
        At(0);
    }
}

TEST_F(CreatureDraw, AStandingBodyMeetsTheTilesBottomRightCorner) {
    Creature* rat = Spawn({10, 10, 7});
    GfxImage* idle = PersonImage(South, SlotIdle, 0);
    const int32_t w = GFX_ImageWidth(idle), h = GFX_ImageHeight(idle);
    RecordingDriver::Take();
    rat->Draw(100, 200);
    EXPECT_EQ(RecordingDriver::Take(), Log{DrawImage(float(132 - w), float(232 - h), idle->user)});

    // Seated: eight pixels higher and one more up and left, in the seated frame.
    GfxImage* seated = PersonImage(South, SlotSeated, 0);
    rat->SetSitting(1);
    rat->Draw(100, 200);
    EXPECT_EQ(RecordingDriver::Take(),
              Log{DrawImage(float(132 - w + 8 - 1), float(232 - h + 8 - 1), seated->user)});
}

TEST_F(CreatureDraw, StackHeightLiftsTheBodyAndAnEmptyTileLowersIt) {
    Creature* onChair = Spawn({10, 10, 7});
    Stack(TileAt(10, 10), Chair);  // height 6
    Creature* onNothing = Spawn({12, 15, 7});
    onChair->RegisterOverhangs();
    onNothing->RegisterOverhangs();
    EXPECT_FLOAT_EQ(onChair->elevation, 6);
    EXPECT_FLOAT_EQ(onNothing->elevation, -32);
    GfxImage* idle = PersonImage(South, SlotIdle, 0);
    const float x = float(132 - GFX_ImageWidth(idle)), y = float(232 - GFX_ImageHeight(idle));
    RecordingDriver::Take();
    onChair->Draw(100, 200);
    onNothing->Draw(100, 200);
    EXPECT_EQ(RecordingDriver::Take(),
              (Log{DrawImage(x - 6, y - 6, idle->user), DrawImage(x + 32, y + 32, idle->user)}));
}

TEST_F(CreatureDraw, TheLiftEasesOntoAHigherStack) {
    Stack(TileAt(11, 10), Chair);  // height 6
    Creature* rat = Spawn({10, 10, 7});
    rat->Step(East, 0, 0, 0, 0, 0);
    const struct {
        uint64_t ms;  // 40 ms a pixel
        float elevation;
    } cases[] = {{0, 0}, {12 * 40, 0}, {14 * 40, 1.5f}, {16 * 40, 3}, {20 * 40, 6}, {30 * 40, 6}};
    for (const auto& c : cases) {
        Frame(c.ms);
        rat->RegisterOverhangs();
        EXPECT_FLOAT_EQ(rat->elevation, c.elevation) << c.ms;
    }
}

TEST_F(CreatureDraw, AStackOnAThingOfUnknownShapeCarriesTheStep) {
    constexpr uint32_t UnknownShape = 60000;
    ASSERT_EQ(core->GetShape(UnknownShape), nullptr);
    Tile* target = world->CreateTile(Position{11, 10, 7});  // nothing one floor down
    Stack(target, UnknownShape);
    Stack(target, StoneFloor);
    Creature* rat = Spawn({10, 10, 7});
    rat->Step(East, 0, 0, 0, 0, 0);
    for (uint64_t ms : {0, 20 * 40, 32 * 40}) {
        Frame(ms);
        rat->RegisterOverhangs();
        EXPECT_FLOAT_EQ(rat->elevation, 0) << ms;  // not the -16 of a tile handing over below
    }
}

TEST_F(CreatureDraw, LightGoesToTheCellTheBodyIsIn) {
    Creature* standing = Spawn({11, 10, 7});
    Creature* east = Spawn({11, 11, 7});
    Creature* west = Spawn({11, 12, 7});
    east->Step(East, 0, 0, 0, 0, 0);
    west->Step(6, 0, 0, 0, 0, 0);
    Frame(20 * 40);  // 20 pixels on: past the middle of the cell, into the next one
    const struct {
        Creature* creature;
        Creature::LightSpot spot;
    } cases[] = {
        {standing, {13, 10, 16, 16}},  // the player's tile is cell (12, 10)
        {east, {14, 11, 4, 16}},
        {west, {12, 12, 28, 16}},
    };
    for (const auto& c : cases) {
        const Creature::LightSpot spot = c.creature->LightSpotAt(Position{10, 10, 7});
        EXPECT_EQ(spot.column, c.spot.column) << c.creature->position.y;
        EXPECT_EQ(spot.row, c.spot.row) << c.creature->position.y;
        EXPECT_EQ(spot.x, c.spot.x) << c.creature->position.y;
        EXPECT_EQ(spot.y, c.spot.y) << c.creature->position.y;
    }
    standing->sink = 3;
    EXPECT_EQ(standing->LightSpotAt(Position{10, 10, 7}).y, 19);
}

TEST_F(CreatureDraw, AWalkingBodyShowsTheWalkFrameAtItsOffset) {
    Creature* rat = Spawn({10, 10, 7});
    rat->Step(East, 0, 0, 0, 0, 0);
    Frame(StepMs / 2);  // 16 pixels: walk frame 1
    EXPECT_EQ(rat->walkFrame, 1);
    GfxImage* walk = PersonImage(East, SlotMove, 1);
    RecordingDriver::Take();
    rat->Draw(100, 200);  // drawn by the target tile, one tile east
    EXPECT_EQ(RecordingDriver::Take(),
              Log{DrawImage(float(100 - 32 + 16 + 32 - GFX_ImageWidth(walk)),
                            float(232 - GFX_ImageHeight(walk)), walk->user)});
}

TEST_F(CreatureDraw, SeeThroughCreaturesAreHiddenOrTinted) {
    Creature* player = SpawnPlayer({10, 10, 7});
    Creature* rat = Spawn({12, 12, 7});
    GfxImage* idle = PersonImage(South, SlotIdle, 0);
    const float x = float(132 - GFX_ImageWidth(idle)), y = float(232 - GFX_ImageHeight(idle));
    rat->translucent = 1;
    player->translucent = 1;
    RecordingDriver::Take();
    rat->Draw(100, 200);
    player->Draw(100, 200);
    EXPECT_EQ(RecordingDriver::Take(), Log{DrawTinted(x, y, 0x60E0E0E0, idle->user)});

    // Shown only as bright as the light around it.
    player->translucent = 0;
    player->lightOnly = 1;
    for (uint32_t& cell : world->lightGrid) cell = 0xFF808080;
    player->Draw(100, 200);
    EXPECT_EQ(RecordingDriver::Take(), Log{DrawTinted(x, y, 0x40FFFFFF, idle->user)});
    rat->hidden = 1;
    rat->translucent = 0;
    rat->Draw(100, 200);
    rat->DrawOverlay(100, 50, 0);
    EXPECT_TRUE(RecordingDriver::Take().empty());
}

TEST_F(CreatureDraw, BarsShowHealthAndManaAsFractionsOfForty) {
    Creature* rat = Spawn({10, 10, 7});
    RecordingDriver::Take();
    rat->DrawBars(100, 50, 1.0f, 0.0f);
    const uint32_t edge = 0xFF231913, corner = 0x80231913;
    EXPECT_EQ(RecordingDriver::Take(),
              (Log{Fill(80, 49, 40, 1, edge), Fill(80, 57, 40, 1, edge), Fill(79, 53, 42, 1, edge),
                   Fill(79, 50, 1, 7, edge), Fill(120, 50, 1, 7, edge),
                   Fill(80, 50, 40, 3, 0xFF401913), Fill(80, 54, 40, 3, 0xFF231940),
                   Fill(79, 49, 1, 1, corner), Fill(79, 57, 1, 1, corner),
                   Fill(120, 49, 1, 1, corner), Fill(120, 57, 1, 1, corner),
                   Fill(80, 50, 40, 1, 0xFFBA1A13), Fill(80, 51, 40, 1, 0xFFEA241B),
                   Fill(80, 52, 40, 1, 0xFF951813), Fill(80, 54, 0, 1, 0xFF5E3EF6),
                   Fill(80, 55, 0, 1, 0xFF8861FF), Fill(80, 56, 0, 1, 0xFF422ED8)}));
    rat->DrawBars(100, 50, 3.0f, -1.0f);  // never beyond the frame
    const Log clamped = RecordingDriver::Take();
    EXPECT_EQ(clamped[11], Fill(80, 50, 40, 1, 0xFFBA1A13));
    EXPECT_EQ(clamped[14], Fill(80, 54, 0, 1, 0xFF5E3EF6));
}

TEST_F(CreatureDraw, ThePlayersOverlayStacksBarsNameAndStatusIcons) {
    Creature* player = SpawnPlayer({10, 10, 7}, "Hero");
    core->hp = 50;
    core->maxHp = 100;
    RecordingDriver::Take();
    player->DrawOverlay(200, 100, 1);
    Log log = RecordingDriver::Take();
    EXPECT_EQ(Only(log, "FillRect(180,100,20,1,"),
              Log{Fill(180, 100, 20, 1, 0xFFBA1A13)});  // half health
    EXPECT_EQ(Only(log, "FillRect(180,104,0,1,"),
              Log{Fill(180, 104, 0, 1, 0xFF5E3EF6)});  // no mana maximum
    std::vector<PartDraw> name = PartDraws(log, FontImage);
    ASSERT_EQ(name.size(), 4u);
    EXPECT_FLOAT_EQ(name[0].y, 100 - 14);
    EXPECT_EQ(name[0].colour, player->healthColour);
    EXPECT_TRUE(PartDraws(log, IconsImage).empty());  // no status effect: no icons

    SetStatus(1, true);
    SetStatus(5, true);
    SetStatus(6, true);
    core->ToggleStatusShown(6);  // active but hidden
    player->DrawOverlay(200, 100, 1);
    std::vector<PartDraw> icons = PartDraws(RecordingDriver::Take(), IconsImage);
    ASSERT_EQ(icons.size(), 10u);
    const float left = 200 - 13, top = 100 - 14 - 15;
    const struct {
        float x, y;
        uint32_t colour;
    } expected[5] = {{left - 1, top, 0xFF000000},
                     {left + 1, top, 0xFF000000},
                     {left, top - 1, 0xFF000000},
                     {left, top + 1, 0xFF000000},
                     {left, top, 0xFFFFFFFF}};
    for (int i = 0; i < 5; ++i) {
        for (int icon = 0; icon < 2; ++icon) {
            const PartDraw& d = icons[size_t(icon * 5 + i)];
            EXPECT_FLOAT_EQ(d.x, expected[i].x + 14.0f * float(icon)) << i;
            EXPECT_FLOAT_EQ(d.y, expected[i].y) << i;
            EXPECT_EQ(d.colour, expected[i].colour) << i;
            EXPECT_FLOAT_EQ(d.sx, icon == 0 ? 0 : 48) << i;
            EXPECT_FLOAT_EQ(d.w, 12);
        }
    }

    // Without names and bars the icons sit two pixels above the point.
    core->options.names = core->options.hudbars = 0;
    player->DrawOverlay(200, 100, 1);
    log = RecordingDriver::Take();
    EXPECT_TRUE(PartDraws(log, FontImage).empty());
    EXPECT_FLOAT_EQ(PartDraws(log, IconsImage).at(4).y, 100 - 2 - 15);
}

TEST_F(CreatureDraw, NamesOfTheFirstPassAreHalfTransparent) {
    Creature* rat = Spawn({10, 10, 7}, "Rat");
    RecordingDriver::Take();
    rat->DrawOverlay(200, 100, 0);
    std::vector<PartDraw> name = PartDraws(RecordingDriver::Take(), FontImage);
    ASSERT_EQ(name.size(), 3u);
    EXPECT_FLOAT_EQ(name[0].y, 100);
    EXPECT_EQ(name[0].colour, 0x80FFFFFFu);
    // The console's speed display: speed and queued steps, a line higher.
    core->showSpeeds = 1;
    rat->Step(East, 0, 0, 0, 0, 0);
    RecordingDriver::Take();
    rat->DrawOverlay(200, 100, 0);
    name = PartDraws(RecordingDriver::Take(), FontImage);
    EXPECT_EQ(name.size(), std::string("Rat (125, 1)").size() - 2);  // spaces draw nothing
    EXPECT_FLOAT_EQ(name[0].y, 88);
}

TEST_F(CreatureDraw, OtherCreaturesShowPartyBarsAndTheTypingBubble) {
    Creature* friendly = Spawn({10, 10, 7}, "Ally");
    core->party.push_back({7, "Ally", 100, 200, 0});
    friendly->partyMember = 1;
    friendly->typing = 1;
    RecordingDriver::Take();
    friendly->DrawOverlay(200, 100, 1);
    const Log log = RecordingDriver::Take();
    EXPECT_EQ(Only(log, "FillRect(180,100,20,1,"), Log{Fill(180, 100, 20, 1, 0xFFBA1A13)});
    EXPECT_EQ(Only(log, "FillRect(180,104,40,1,"), Log{Fill(180, 104, 40, 1, 0xFF5E3EF6)});
    const std::vector<PartDraw> tail = PartDraws(log, SkinImage);
    EXPECT_TRUE(tail.empty());  // the bubble's tail is an untinted skin part
    EXPECT_EQ(Only(log, "DrawImagePart(").size(), 1u);
    EXPECT_NE(Only(log, "DrawImagePart(").front().find(",251,176,7,10,img:1000)"),
              std::string::npos);
    EXPECT_EQ(Only(log, "FillRect(").size(), 17u + 1 + 8 + 3);  // bars, inner bar, frame, dots
    const std::vector<PartDraw> name = PartDraws(log, FontImage);
    ASSERT_EQ(name.size(), 4u);
    EXPECT_FLOAT_EQ(name[0].y, 86);
    EXPECT_EQ(name[0].colour, friendly->healthColour);
}

TEST_F(CreatureDraw, MarkersPulseForTargetsAndStayStillForTheHovered) {
    Creature* rat = Spawn({10, 10, 7});
    GfxImage* idle = PersonImage(South, SlotIdle, 0);
    const int32_t w = GFX_ImageWidth(idle) + 2, h = GFX_ImageHeight(idle) + 2;
    RecordingDriver::Take();
    rat->DrawMarker(100, 200, 120);
    EXPECT_TRUE(RecordingDriver::Take().empty());  // neither target nor hovered
    EXPECT_TRUE(rat->markerImages.empty());

    core->hoverCreature = rat;
    rat->DrawMarker(100, 200, 120);
    Log log = Only(RecordingDriver::Take(), "DrawImageTinted(");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].substr(0, log[0].rfind(',')), "DrawImageTinted(" + std::to_string(133 - w) +
                                                       "," + std::to_string(233 - h) +
                                                       ",0x78E0E0E0");

    core->targets.push_back(rat);
    rat->selectedAt = Start;
    At(500);  // the top of the pulse: 120 + 31 + 32
    rat->DrawMarker(0xFFFF, 0xFFFF, 120);
    log = Only(RecordingDriver::Take(), "DrawImageTinted(");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].substr(0, log[0].rfind(',')), "DrawImageTinted(" + std::to_string(133 - w) +
                                                       "," + std::to_string(233 - h) +
                                                       ",0xB7E04040");
    At(1000);  // the bottom: 120 + 31
    rat->DrawMarker(100, 200, 120);
    log = Only(RecordingDriver::Take(), "DrawImageTinted(");
    EXPECT_NE(log.at(0).find(",0x97E04040,"), std::string::npos);

    // The targeting circle goes under a strong marker.
    core->options.circle = 1;
    Item ring(core.get(), TargetRing, 0, 0, 0, 0, 1, ItemIdle);
    core->interfaceItems.single[0] = &ring;
    rat->DrawMarker(100, 200, 200);
    log = RecordingDriver::Take();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].rfind(w <= 32 ? "DrawImage(96,196," : "DrawImage(100,200,", 0), 0u) << log[0];
    core->interfaceItems.single[0] = nullptr;

    // Neither any more: the outlines go.
    core->targets.clear();
    core->hoverCreature = nullptr;
    rat->DrawMarker(100, 200, 120);
    EXPECT_TRUE(rat->markerImages.empty());
}

TEST_F(CreatureDraw, OnlyOuterAttachedThingsReachIntoNeighbourTiles) {
    Creature* rat = Spawn({10, 10, 7});
    rat->AddToDirectionList(0, 0, new Item(core.get(), Sparkle, 0, 10, 10, 7, 1, ItemEffect));
    rat->RegisterOverhangs();
    for (uint16_t x = 9; x <= 11; ++x)
        for (uint16_t y = 9; y <= 11; ++y)
            EXPECT_TRUE(TileAt(x, y)->overhangs.empty()) << x << "," << y;

    auto* glow = new Item(core.get(), Sparkle, 0, 10, 10, 7, 1, ItemEffect);
    rat->AddToDirectionList(1, 0, glow);
    rat->RegisterOverhangs();
    const auto& overhangs = TileAt(11, 10)->overhangs;
    ASSERT_EQ(overhangs.size(), 1u);
    EXPECT_EQ(overhangs[0].creature, rat);
    EXPECT_EQ(overhangs[0].column, 2);
    EXPECT_EQ(overhangs[0].row, 1);

    // The neighbour tile draws the cell where the body would be from it.
    GfxImage* image = glow->parts.at(0)->keyframes.at(0).image;
    image->user = 77;
    RecordingDriver::Take();
    rat->DrawOverhangLower(2, 1, 132, 200, 1);
    EXPECT_EQ(RecordingDriver::Take(), Log{DrawImage(float(164 - GFX_ImageWidth(image)),
                                                     float(232 - GFX_ImageHeight(image)), 77)});
}

// Entries left on a tile that was not drawn go at the next world frame, or with their creature.
TEST_F(CreatureDraw, OverhangEntriesLastOneFrameAndLeaveWithTheirCreature) {
    Creature* rat = Spawn({10, 10, 7});
    Creature* bat = Spawn({12, 10, 7}, "Bat");
    rat->AddToDirectionList(1, 0, new Item(core.get(), Sparkle, 0, 10, 10, 7, 1, ItemEffect));
    bat->AddToDirectionList(-1, 0, new Item(core.get(), Sparkle, 0, 12, 10, 7, 1, ItemEffect));
    const auto& between = TileAt(11, 10)->overhangs;
    for (int frame = 0; frame < 3; ++frame) {
        world->UpdateCreatures();  // drops the last frame's entries and registers them anew
        ASSERT_EQ(between.size(), 2u) << frame;
    }

    world->RemoveCreature(rat);
    ASSERT_EQ(between.size(), 1u);
    EXPECT_EQ(between[0].creature, bat);
    EXPECT_EQ(between[0].column, 0);

    world->DetachCreatures();
    EXPECT_TRUE(between.empty());
}

TEST_F(CreatureDraw, AttachedEffectsGoOnceTheyHavePlayed) {
    Creature* rat = Spawn({10, 10, 7});
    rat->AddToDirectionList(0, 0, new Item(core.get(), Sparkle, 0, 10, 10, 7, 1, ItemEffect));
    rat->AddToDirectionList(-1, 1, new Item(core.get(), Sparkle, 0, 10, 10, 7, 1, ItemEffect));
    At(599);
    rat->Draw(100, 200);
    EXPECT_EQ(rat->attached[1][1].things.size(), 1u);
    At(600);  // three keyframes of 200 ms
    rat->Draw(100, 200);
    rat->Draw(100, 200);
    EXPECT_TRUE(rat->attached[1][1].things.empty());
    EXPECT_TRUE(rat->attached[1][1].lower.empty());
    EXPECT_EQ(rat->attached[0][2].things.size(), 1u);  // not drawn yet, so not expired
}

TEST_F(CreatureDraw, ThePlayersTypingMarkTimesOut) {
    RecordingConnection connection(core.get());
    Creature* player = SpawnPlayer({10, 10, 7});
    player->typing = 1;
    player->StampTime();
    At(9999);
    player->Draw(100, 200);
    EXPECT_TRUE(player->typing);
    At(10000);
    player->Draw(100, 200);
    EXPECT_FALSE(player->typing);
    EXPECT_EQ(connection.SentOpcodes(1), std::vector<uint8_t>{197});
}

TEST_F(CreatureDraw, ADrunkPlayerHiccupsNowAndThen) {
    OpenConsole(core.get());
    Channel* main = ChannelOf(core.get(), ChannelId::Main);
    ASSERT_NE(main, nullptr);
    const size_t welcome = main->rawLines.size();
    Creature* player = SpawnPlayer({10, 10, 7});
    SetStatus(9, true);
    platform.random = [] { return 10; };  // one in ten
    core->fpsFrames = 3;                  // only on the first frame of a second
    player->DrawOverlay(200, 100, 1);
    EXPECT_EQ(main->rawLines.size(), welcome);
    core->fpsFrames = 0;
    player->DrawOverlay(200, 100, 1);
    ASSERT_EQ(main->rawLines.size(), welcome + 1);
    EXPECT_EQ(main->rawLines.back(), MakeColorCode(255, 255, 255, 255) + player->name +
                                         MakeColorCode(224, 224, 224, 224) + ": *hiccup*");
    platform.random = [] { return 11; };
    player->DrawOverlay(200, 100, 1);
    EXPECT_EQ(main->rawLines.size(), welcome + 1);
}

}  // namespace
