#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "item.h"
#include "spell.h"
#include "support/fakeplatform.h"
#include "support/recordingconnection.h"
#include "support/worlddata.h"
#include "tile.h"
#include "windows/dialogs/look.h"
#include "windows/game/action.h"
#include "windows/game/field.h"
#include "windows/toolkit/window.h"
#include "world.h"

namespace {

using namespace WorldShape;
using Requests = std::vector<std::vector<uint8_t>>;

using namespace FieldCase;

class WorldPick : public WorldData {
protected:
    void SetUp() override {
        WorldData::SetUp();
        field = std::make_unique<Field>(core, nullptr);
        field->x = FieldX;
        field->y = FieldY;
        field->width = FieldWidth;
        field->height = FieldHeight;
        core->fieldWindow = field.get();
        player = MakeCreature(1, Here, "Me");
        core->player = player;
    }
    void TearDown() override {
        core->fieldWindow = nullptr;
        core->options.elastic = 0;
        core->dragFrom = nullptr;
        WorldData::TearDown();
    }
    Position TileOf(const Tile* tile) const { return tile->GetPosition(); }

    std::unique_ptr<Field> field;
    Creature* player = nullptr;
};

// --- Creatures ---------------------------------------------------------------------------------

// A creature three tiles east of the player is drawn 8 pixels up and left of its tile: its box
// runs from (386, 236) to (418, 268).
TEST_F(WorldPick, ACreaturesBoxIncludesItsEdges) {
    Creature* rat = MakeCreature(2, At(3, 0), "Rat");
    const struct {
        int32_t x, y;
        bool hit;
    } cases[] = {
        {386, 236, true},  {418, 268, true},  {418, 236, true},  {386, 268, true},
        {385, 250, false}, {419, 250, false}, {400, 235, false}, {400, 269, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(world->PickCreature(c.x, c.y, true), c.hit ? rat : nullptr) << c.x << "," << c.y;
}

TEST_F(WorldPick, WalkOffsetAndElevationMoveTheBox) {
    Creature* rat = MakeCreature(2, At(3, 0), "Rat");
    rat->offsetX = -16;  // half-way in from the east
    EXPECT_EQ(world->PickCreature(370, 236, true), rat);
    EXPECT_EQ(world->PickCreature(369, 236, true), nullptr);
    rat->offsetX = 0;
    rat->elevation = 8;  // drawn a quarter tile further up and left
    EXPECT_EQ(world->PickCreature(378, 228, true), rat);
    EXPECT_EQ(world->PickCreature(377, 228, true), nullptr);
    EXPECT_EQ(world->PickCreature(378, 227, true), nullptr);
}

TEST_F(WorldPick, OverlappingCreaturesGiveTheFirstAdded) {
    Creature* first = MakeCreature(2, At(3, 0), "First");
    Creature* second = MakeCreature(3, At(3, 0), "Second");
    Creature* passing = MakeCreature(4, At(4, 0), "Passing");
    passing->offsetX = -32;  // drawn over the same tile
    EXPECT_EQ(world->PickCreature(400, 250, true), first);
    first->hidden = 1;
    EXPECT_EQ(world->PickCreature(400, 250, true), second);
    second->hidden = 1;
    EXPECT_EQ(world->PickCreature(400, 250, true), passing);
    passing->hidden = 1;
    EXPECT_EQ(world->PickCreature(400, 250, true), nullptr);
}

TEST_F(WorldPick, ThePlayerIsPickedAtTheViewCentre) {
    player->offsetX = 20;  // walking: the view moves with it
    EXPECT_EQ(world->PickCreature(ScreenX(0, 0), ScreenY(0, 0), true), player);
    EXPECT_EQ(world->PickCreature(ScreenX(0, 32), ScreenY(0, 32), true), player);
    EXPECT_EQ(world->PickCreature(ScreenX(0, 33), ScreenY(0, 16), true), nullptr);
}

// A roof tile three east on the floor above is drawn over the floor below: picking off the
// player's floor finds what stands there.
TEST_F(WorldPick, OffThePlayersFloorTheFloorShownCounts) {
    for (int32_t dx = -1; dx <= 4; ++dx) MakeTile(At(dx, 0), {Ground});
    MakeTile(At(3, 0, 8), {Roof, Box});
    Creature* below = MakeCreature(2, At(3, 0), "Below");
    Creature* above = MakeCreature(3, At(3, 0, 8), "Above");
    world->RebuildView(8);
    EXPECT_EQ(world->visibleFloor[SlotIndex(Here.x + 3, Here.y)], 8);
    EXPECT_EQ(world->visibleFloor[SlotIndex(Here.x + 2, Here.y)], 7);
    EXPECT_EQ(world->visibleFloor[SlotIndex(Here.x + 2, Here.y + 5)], 7);  // nothing there

    EXPECT_EQ(world->PickCreature(400, 250, true), below);
    EXPECT_EQ(world->PickCreature(400, 250, false), above);

    Tile* shown = world->PickThing(ScreenX(3), ScreenY(0), false, false);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(TileOf(shown), At(3, 0, 8));
    EXPECT_EQ(core->pickStack, 1);
    Tile* own = world->PickThing(ScreenX(3), ScreenY(0), false, true);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(TileOf(own), At(3, 0));
}

// --- Things ------------------------------------------------------------------------------------

TEST_F(WorldPick, TheTopmostPickableThingOfTheTile) {
    Tile* tile = MakeTile(At(1, 1), {Ground, Box, Glass});
    ASSERT_EQ(world->PickThing(ScreenX(1), ScreenY(1), false, true), tile);
    EXPECT_EQ(core->dragFrom, tile->things[1]);  // glass is passed over
    EXPECT_EQ(core->pickStack, 1);

    static_cast<Item*>(tile->things[1])->expired = 1;  // an effect no longer shown
    ASSERT_EQ(world->PickThing(ScreenX(1), ScreenY(1), false, true), tile);
    EXPECT_EQ(core->pickStack, 0);

    MakeTile(At(2, 1), {Glass});
    EXPECT_EQ(world->PickThing(ScreenX(2), ScreenY(1), true, true), nullptr);
    EXPECT_EQ(core->dragFrom, nullptr);
}

// The clicked tile holds a box on the ground; on the tile south-east of it, three boxes are
// stacked so that the top one is drawn 20 pixels up and left, the one below it 10.
class WorldPickAround : public WorldPick {
protected:
    void SetUp() override {
        WorldPick::SetUp();
        clicked = MakeTile(At(1, 1), {Ground, Box});
        southEast = MakeTile(At(2, 2), {Ground, Box, Box, Box});
        MakeTile(At(2, 1), {Ground});
        MakeTile(At(1, 2), {Ground});
    }
    // The tile and stack index picked at (inX, inY) of the clicked tile, "-" for none.
    std::string Picked(int32_t inX, int32_t inY, bool lookAround = true) {
        const Tile* tile = world->PickThing(ScreenX(1, inX), ScreenY(1, inY), lookAround, true);
        if (!tile) return "-";
        EXPECT_EQ(core->dragFrom, tile->things[core->pickStack]);
        return std::to_string(tile->x - Here.x) + "," + std::to_string(tile->y - Here.y) + ":" +
               std::to_string(core->pickStack);
    }

    Tile* clicked = nullptr;
    Tile* southEast = nullptr;
};

TEST_F(WorldPickAround, ATallThingSouthEastIsPickedFirst) {
    ASSERT_EQ(southEast->things[3]->shape->height, 10);
    const struct {
        int32_t inX, inY;
        std::string picked;
    } cases[] = {
        {20, 20, "2,2:3"},
        {10, 10, "2,2:3"},
        {31, 31, "2,2:3"},
        // Out of the top box's reach; the one below reaches only 10 pixels.
        {9, 10, "1,1:1"},
        {10, 9, "1,1:1"},
        {4, 4, "1,1:1"},
        {25, 20, "2,2:3"},
        {29, 20, "2,2:3"},
    };
    for (const auto& c : cases) EXPECT_EQ(Picked(c.inX, c.inY), c.picked) << c.inX << "," << c.inY;
    // Without looking around only the clicked tile counts.
    EXPECT_EQ(Picked(20, 20, false), "1,1:1");
}

TEST_F(WorldPickAround, AThingDrawnUpAndLeftLeavesTheRestOfItsTile) {
    clicked->AddThing(MakeThing(Box, At(1, 1)));  // drawn 10 pixels up and left
    southEast->RemoveThing(3);
    southEast->RemoveThing(2);
    const struct {
        int32_t inX, inY;
        std::string picked;
    } cases[] = {
        {5, 5, "1,1:2"}, {20, 20, "1,1:2"}, {21, 20, "1,1:1"}, {20, 21, "1,1:1"}, {30, 5, "1,1:1"},
    };
    for (const auto& c : cases) EXPECT_EQ(Picked(c.inX, c.inY), c.picked) << c.inX << "," << c.inY;
}

TEST_F(WorldPickAround, AClimbableThingReachesFromEverySide) {
    MakeTile(At(2, 1), {Ground, Box, Stair});  // the stair is drawn 10 pixels up and left
    EXPECT_EQ(Picked(0, 0), "2,1:2");
    EXPECT_EQ(Picked(31, 31), "2,2:3");  // the south-east tile still comes first
}

TEST_F(WorldPick, TheElasticViewMovesTilesAndBoxesByHalfATile) {
    for (int32_t dx = -1; dx <= 1; ++dx)
        for (int32_t dy = -1; dy <= 1; ++dy) MakeTile(At(dx, dy), {Ground});
    Creature* rat = MakeCreature(2, At(3, 0), "Rat");
    const struct {
        bool elastic;
        int32_t x, y;
        Position tile;
    } cases[] = {
        // 32-pixel tiles from the field's corner: the player's tile starts at (298, 244).
        {false, 298, 244, Here},
        {false, 297, 244, At(-1, 0)},
        {false, 298, 243, At(0, -1)},
        // 34-pixel tiles from half a tile up and left of the corner: it starts at (299, 241).
        {true, 299, 241, Here},
        // Where column 9 would start unshifted is half a tile into the player's tile.
        {true, FieldX + 9 * 34, FieldY + 7 * 34, Here},
        {true, 298, 241, At(-1, 0)},
        {true, 299, 240, At(0, -1)},
        {true, 332, 274, Here},
        {true, 333, 274, At(1, 0)},
    };
    for (const auto& c : cases) {
        core->options.elastic = c.elastic;
        const Tile* tile = world->PickThing(c.x, c.y, true, true);
        ASSERT_NE(tile, nullptr) << c.x << "," << c.y;
        EXPECT_EQ(TileOf(tile), c.tile) << c.elastic << " " << c.x << "," << c.y;
    }
    core->options.elastic = 1;
    EXPECT_EQ(world->PickCreature(392, 232, true), rat);
    EXPECT_EQ(world->PickCreature(391, 232, true), nullptr);
    EXPECT_EQ(world->PickCreature(392, 231, true), nullptr);
}

TEST_F(WorldPick, NothingIsPickedWithoutThePlayerOrATileSize) {
    Tile* tile = MakeTile(At(1, 0), {Ground, Box});
    MakeCreature(2, At(3, 0), "Rat");
    ASSERT_EQ(world->PickThing(ScreenX(1), ScreenY(0), true, true), tile);
    ASSERT_EQ(core->dragFrom, tile->things[1]);
    const auto nothing = [&](const char* why) {
        core->dragFrom = tile->things[1];
        EXPECT_EQ(world->PickThing(ScreenX(1), ScreenY(0), true, true), nullptr) << why;
        EXPECT_EQ(core->dragFrom, nullptr) << why;
        EXPECT_EQ(world->PickCreature(400, 250, true), nullptr) << why;
        EXPECT_EQ(world->PickCreature(400, 250, false), nullptr) << why;
        EXPECT_FALSE(world->OnFieldRightClick(400, 250)) << why;
    };
    field->width = 12;  // no pixel a tile
    nothing("a field too narrow");
    field->width = FieldWidth;
    core->fieldWindow = nullptr;
    nothing("no field window");
    core->fieldWindow = field.get();
    core->player = nullptr;
    nothing("no player");
}

// --- Clicks on creatures ------------------------------------------------------------------------

TEST_F(WorldPick, RightClickOnTheCurrentTargetLetsGoOfIt) {
    RecordingConnection connection(core);
    Creature* rat = MakeCreature(2, At(3, 0), "Rat");
    core->SelectTarget(0, rat);
    EXPECT_FALSE(world->OnFieldRightClick(400, 250));  // no menu without a modifier key
    EXPECT_EQ(connection.SentPayloads(1), (Requests{{51, 0, 0, 0, 0, 0}}));
    EXPECT_TRUE(core->targets.empty());
}

TEST_F(WorldPick, RightClickOpensTheMenuOfWhatIsUnderIt) {
    FakePlatform::heldKeys = {VK_SHIFT};
    Creature* rat = MakeCreature(2, At(3, 0), "Rat");
    MakeCreature(3, At(5, 0), "Hidden")->hidden = 1;
    MakeCreature(4, At(7, 0, 6), "Below");
    const size_t before = core->windows.size();
    const auto menuTitle = [&]() -> std::string {
        if (core->windows.size() == before) return "-";
        auto* menu = dynamic_cast<Action*>(core->windows.back());
        const std::string title = menu ? menu->title : "?";
        core->RemoveWindow(core->windows.back());
        return title;
    };
    EXPECT_TRUE(world->OnFieldRightClick(400, 250));
    EXPECT_EQ(menuTitle(), rat->name);
    EXPECT_TRUE(world->OnFieldRightClick(ScreenX(0), ScreenY(0)));
    EXPECT_EQ(menuTitle(), "Me");
    EXPECT_FALSE(world->OnFieldRightClick(ScreenX(5), ScreenY(0)));  // hidden
    EXPECT_EQ(menuTitle(), "-");
    EXPECT_FALSE(world->OnFieldRightClick(ScreenX(7), ScreenY(0)));  // on another floor
    EXPECT_EQ(menuTitle(), "-");
    EXPECT_FALSE(world->OnFieldRightClick(ScreenX(1), ScreenY(3)));
    EXPECT_EQ(menuTitle(), "-");
}

class TalkHint : public WorldPick {
protected:
    void SetUp() override {
        WorldPick::SetUp();
        connection = std::make_unique<RecordingConnection>(core);
        rat = MakeCreature(2, At(1, 0), "Rat");
        bat = MakeCreature(3, At(2, 0), "Bat");
        wolf = MakeCreature(4, At(3, 0), "Wolf");
    }
    // The requests sent since the last call.
    Requests Sent(size_t expected) {
        Requests all = connection->SentPayloads(seen + expected);
        Requests fresh(all.begin() + long(std::min(seen, all.size())), all.end());
        seen = all.size();
        return fresh;
    }
    void LearnTwoTargets(bool usable) {
        auto* spell = new Spell(core, 30, 0, "Second target", "", "", "");
        spell->usable = usable;
        core->spells.push_back(spell);
    }

    std::unique_ptr<RecordingConnection> connection;
    size_t seen = 0;
    Creature* rat = nullptr;
    Creature* bat = nullptr;
    Creature* wolf = nullptr;
};

TEST_F(TalkHint, OneTargetWithoutTheAbility) {
    world->ShowTalkHint(5, 6, player, rat);
    EXPECT_EQ(Sent(1), (Requests{{51, 0, 2, 0, 0, 0}}));
    EXPECT_EQ(core->targets, std::vector<Creature*>{rat});
    world->ShowTalkHint(5, 6, player, bat);
    EXPECT_EQ(Sent(1), (Requests{{51, 0, 3, 0, 0, 0}}));
    EXPECT_EQ(core->targets, std::vector<Creature*>{bat});
    world->ShowTalkHint(5, 6, player, bat);
    EXPECT_EQ(Sent(1), (Requests{{51, 0, 0, 0, 0, 0}}));
    EXPECT_TRUE(core->targets.empty());

    LearnTwoTargets(false);  // known but not usable
    world->ShowTalkHint(5, 6, player, rat);
    world->ShowTalkHint(5, 6, player, bat);
    EXPECT_EQ(Sent(2), (Requests{{51, 0, 2, 0, 0, 0}, {51, 0, 3, 0, 0, 0}}));
    EXPECT_EQ(core->targets, std::vector<Creature*>{bat});
}

TEST_F(TalkHint, TwoTargetsWithTheAbility) {
    LearnTwoTargets(true);
    world->ShowTalkHint(5, 6, player, rat);
    world->ShowTalkHint(5, 6, player, bat);
    EXPECT_EQ(Sent(2), (Requests{{51, 1, 2, 0, 0, 0}, {51, 1, 3, 0, 0, 0}}));
    EXPECT_EQ(core->targets, (std::vector<Creature*>{rat, bat}));
    // A third lets go of the first.
    world->ShowTalkHint(5, 6, player, wolf);
    EXPECT_EQ(Sent(2), (Requests{{51, 2, 2, 0, 0, 0}, {51, 1, 4, 0, 0, 0}}));
    EXPECT_EQ(core->targets, (std::vector<Creature*>{bat, wolf}));
    // A target clicked again is let go of alone.
    world->ShowTalkHint(5, 6, player, wolf);
    EXPECT_EQ(Sent(1), (Requests{{51, 2, 4, 0, 0, 0}}));
    EXPECT_EQ(core->targets, std::vector<Creature*>{bat});
}

TEST_F(TalkHint, UntargetableCreaturesAreLeftAlone) {
    rat->notTargetable = 1;
    world->ShowTalkHint(5, 6, player, rat);
    core->SelectTarget(0, bat);
    bat->notTargetable = 1;
    world->ShowTalkHint(5, 6, player, bat);
    EXPECT_TRUE(Sent(0).empty());
    EXPECT_EQ(core->targets, std::vector<Creature*>{bat});
}

TEST_F(TalkHint, ACreatureToTalkToShowsHowToSpeak) {
    const size_t before = core->windows.size();
    rat->talk = 1;
    rat->name = "Guard";
    world->ShowTalkHint(5, 6, player, rat);
    ASSERT_EQ(core->windows.size(), before + 1);
    auto* hint = dynamic_cast<Look*>(core->windows.back());
    ASSERT_NE(hint, nullptr);
    const std::string grey = MakeColorCode(224, 224, 224, 224);
    const std::string green = MakeColorCode(128, 245, 128, 192);
    EXPECT_EQ(hint->title, grey + "Talk to " + green + "Guard" + grey +
                               " by typing a message such as " + green + "Hi!");
    EXPECT_EQ(hint->text, "");
    EXPECT_EQ(hint->x, 5);
    EXPECT_EQ(hint->y, 6);
    EXPECT_TRUE(core->targets.empty());

    // Without a name nothing shows.
    for (const char* name : {"", " "}) {
        rat->name = name;
        world->ShowTalkHint(5, 6, player, rat);
        EXPECT_EQ(core->windows.size(), before + 1) << "'" << name << "'";
    }
    EXPECT_TRUE(Sent(0).empty());
}

}  // namespace
