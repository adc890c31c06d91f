#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "item.h"
#include "mouse.h"
#include "protocol.h"
#include "screen.h"
#include "spell.h"
#include "support/chatconsole.h"
#include "support/creatureworld.h"
#include "support/fakeplatform.h"
#include "support/recordingconnection.h"
#include "tile.h"
#include "windows/game/action.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/game/field.h"
#include "windows/game/padding.h"
#include "world.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Requests = std::vector<Bytes>;
using Texts = std::vector<std::string>;

// Shape ids of the sample data (tools/datagen/sprites.py).
constexpr uint32_t Sword = 141, Backpack = 140, Key = 143, WalkMark = 405;
constexpr uint8_t East = 2, NorthEast = 1, SouthEast = 3;
constexpr uint8_t PingOpcode = 240;

// The game screen of an 800 x 600 client: the field (164, 6, 471, 372) shows tiles of 25
// pixels, the player's at the view's column 9, row 7. A stone floor lies around the player.
class FieldInput : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        core->screen = new Screen(core.get(), 800, 600, 32, 0);
        mouse = core->screen->mouse;
        console = OpenConsole(core.get());
        padding = static_cast<Padding*>(core->AddWindow(new Padding(core.get(), console)));
        field = padding->field;
        core->fieldWindow = field;
        core->consoleWindow = console;
        connection = std::make_unique<RecordingConnection>(core.get(), StateGame);
        FloorAround(100, 100, 6);
        player = SpawnPlayer({100, 100, 7}, "Hero");
        player->playerFlag = 1;
        world->RebuildView(8);
    }
    void TearDown() override {
        core->consoleWindow = nullptr;
        CreatureWorld::TearDown();
    }

    // The screen point at the middle of the tile dx, dy from the player's.
    static int32_t X(int32_t dx) { return 164 + (9 + dx) * 25 + 12; }
    static int32_t Y(int32_t dy) { return 6 + (7 + dy) * 25 + 12; }
    static LPARAM At(int32_t dx, int32_t dy) { return MAKELPARAM(X(dx), Y(dy)); }

    // A press and a release of the left button on a tile, as the mouse delivers them.
    void Click(int32_t dx, int32_t dy) {
        mouse->OnLeftDown(0, At(dx, dy));
        mouse->OnLeftUp(0, At(dx, dy));
    }
    // A right click on a tile, released `heldMs` after the press.
    void RightClick(int32_t dx, int32_t dy, uint64_t heldMs = 100) {
        mouse->OnRightDown(0, At(dx, dy));
        core->frameTimeMs += heldMs;
        mouse->OnRightUp(0, At(dx, dy));
    }
    Creature* OtherPlayer(Position at, const std::string& name) {
        Creature* other = Spawn(at, name);
        other->playerFlag = 1;
        return other;
    }
    Item* Put(uint16_t x, uint16_t y, uint32_t shapeId) {
        Tile* tile = world->GetTileXY(x, y, 7);
        Stack(tile, shapeId);
        return static_cast<Item*>(tile->things.back());
    }
    // The requests sent since the last call: a ping marks the end of them.
    Requests NewRequests() {
        connection->protocol->SendPing();
        Requests all;
        for (size_t wanted = consumed + 1;; wanted = all.size() + 1) {
            all = connection->SentPayloads(wanted);
            if (all.size() < wanted || all.back() == Bytes{PingOpcode}) break;
        }
        Requests fresh(all.begin() + long(consumed), all.end() - 1);
        consumed = all.size();
        return fresh;
    }
    std::vector<uint8_t> NewOpcodes() {
        std::vector<uint8_t> opcodes;
        for (const Bytes& request : NewRequests()) opcodes.push_back(request[0]);
        return opcodes;
    }

    FakePlatform fake;
    Mouse* mouse = nullptr;
    Console* console = nullptr;
    Padding* padding = nullptr;
    Field* field = nullptr;
    std::unique_ptr<RecordingConnection> connection;
    Creature* player = nullptr;
    size_t consumed = 0;
};

// --- Partner modes ------------------------------------------------------------------------------

TEST_F(FieldInput, TradeAndPartyPickAnotherPlayer) {
    Creature* ann = OtherPlayer({102, 100, 7}, "Ann");
    Spawn({100, 102, 7}, "Rat");
    core->AddPartyInvite(ann->id, "Ann");
    const struct {
        const char* name;
        InputMode mode;
        int32_t dx, dy;
        Texts notes;
        std::vector<uint8_t> sent;
    } cases[] = {
        {"trade on empty ground", InputTradeSelect, 3, 3, {"2:You did not select a player."}, {}},
        {"trade with a monster", InputTradeSelect, 0, 2, {"2:You did not select a player."}, {}},
        {"trade with oneself", InputTradeSelect, 0, 0, {"2:You cannot trade with yourself."}, {}},
        {"trade with a player", InputTradeSelect, 2, 0, {}, {88}},
        {"party with oneself",
         InputPartySelect,
         0,
         0,
         {"2:You cannot start party with yourself."},
         {}},
        {"party with an inviting player", InputPartySelect, 2, 0, {}, {169}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearNotifications();
        core->inputModes[c.mode] = 1;
        core->inputModes[InputDrop] = 1;
        Click(c.dx, c.dy);
        EXPECT_EQ(Notifications(), c.notes);
        EXPECT_EQ(NewOpcodes(), c.sent);
        EXPECT_EQ(core->inputModes[c.mode], 0);  // the mode is spent either way
        EXPECT_EQ(core->inputModes[InputDrop], 0);
    }
    core->RemovePartyInvite(ann->id);
    core->inputModes[InputPartySelect] = 1;
    Click(2, 0);
    const Requests sent = NewRequests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (Bytes{170, uint8_t(ann->id), 0, 0, 0}));
}

TEST_F(FieldInput, TheServersTargetModeTakesACreatureOrAThing) {
    Creature* rat = Spawn({101, 100, 7}, "Rat");
    core->inputModes[InputTarget] = 1;
    Click(1, 0);
    EXPECT_EQ(NewRequests(), (Requests{{135, uint8_t(rat->id), 0, 0, 0}}));

    Put(100, 101, Sword);
    core->inputModes[InputTarget] = 1;
    Click(0, 1);
    EXPECT_EQ(NewRequests(), (Requests{{133, 0, 1, 0, 1, Sword, 0}}));

    // Off the map: nothing to pick, and the use is called off.
    core->inputModes[InputTarget] = 1;
    Click(8, 0);
    EXPECT_EQ(NewOpcodes(), std::vector<uint8_t>{132});
    EXPECT_EQ(Notifications(), Texts{"2:Unable to pick a field thing."});
}

TEST_F(FieldInput, AnArmedAbilityIsCastAtTheCreatureOrTheTile) {
    Spell spell(core.get(), 7, 0, "Bolt", "", "", "");
    core->spells.push_back(&spell);
    Creature* rat = Spawn({101, 100, 7}, "Rat");
    auto arm = [&](uint8_t flags) {
        spell.SetFlags(flags);
        core->targetingSpell = &spell;
        core->barSlot = 4;
        core->inputModes[InputSpellTarget] = 1;
    };
    const uint8_t creatureTarget = 1 << 1, tileTarget = 1 << 2;

    arm(creatureTarget);
    Click(3, 3);
    EXPECT_EQ(Notifications(), Texts{"2:You need to select a creature."});
    EXPECT_EQ(core->targetingSpell, nullptr);
    EXPECT_EQ(core->inputModes[InputSpellTarget], 0);

    ClearNotifications();
    arm(creatureTarget | tileTarget);
    Click(1, 0);
    ASSERT_EQ(NewOpcodes(), std::vector<uint8_t>{209});
    arm(creatureTarget | tileTarget);
    Click(2, 1);  // no creature there: the tile
    EXPECT_EQ(NewOpcodes(), std::vector<uint8_t>{210});
    EXPECT_TRUE(Notifications().empty());

    arm(tileTarget);
    spell.cooldownStart = core->frameTimeMs;
    spell.cooldownTotal = 1000;
    Click(1, 0);
    EXPECT_EQ(Notifications(), Texts{"2:Please wait while cooling down."});
    EXPECT_TRUE(NewOpcodes().empty());
    (void)rat;
    core->spells.clear();
}

// --- Holding, dropping and looking --------------------------------------------------------------

TEST_F(FieldInput, APressHoldsTheThingUnderThePointer) {
    Item* sword = Put(101, 101, Sword);
    mouse->OnLeftDown(0, At(1, 1));
    EXPECT_EQ(core->dragTo, sword);
    EXPECT_EQ(core->useItemX, 101);
    EXPECT_EQ(core->useItemY, 101);
    EXPECT_EQ(core->useItemZ, 7);
    EXPECT_EQ(core->useItemIndex, 1);
    EXPECT_EQ(core->inputModes[InputDragArmed], 1);
}

TEST_F(FieldInput, ShiftClickOnAThingLooksAtIt) {
    Put(101, 101, Sword);
    FakePlatform::heldKeys = {VK_SHIFT};
    Click(1, 1);
    EXPECT_EQ(NewRequests(), (Requests{{163, 1, 1, 0, 1, Sword, 0}}));

    // Alt on a creature looks at the creature.
    Creature* ann = OtherPlayer({102, 100, 7}, "Ann");
    FakePlatform::heldKeys = {VK_MENU};
    Click(2, 0);
    EXPECT_EQ(NewRequests(), (Requests{{165, uint8_t(ann->id), 0, 0, 0}}));
}

TEST_F(FieldInput, CtrlAltOnAPlayerOpensOnePrivateChannel) {
    OtherPlayer({102, 100, 7}, "Ann");
    Chatbox* chat = console->mainChatbox;
    FakePlatform::heldKeys = {VK_CONTROL, VK_MENU};
    Click(2, 0);
    Click(2, 0);
    ASSERT_EQ(chat->channels.size(), 2u);
    ASSERT_NE(chat->FindChannelByName("Ann"), nullptr);
    EXPECT_EQ(chat->current, chat->FindChannelByName("Ann"));
    EXPECT_TRUE(NewOpcodes().empty());
}

TEST_F(FieldInput, SpaceMovesAThingThatCanBePickedUpToTheBag) {
    Put(101, 100, Sword);
    FakePlatform::heldKeys = {VK_SPACE};
    Click(1, 0);
    // A move from the field (one east, stack 1) to equipment slot 2.
    EXPECT_EQ(NewRequests(), (Requests{{112, 1, 0, 1, 0, 2, Sword, 0}}));
}

TEST_F(FieldInput, ADragDropsOnTheTileUnderThePointer) {
    Put(101, 100, Sword);
    mouse->OnLeftDown(0, At(1, 0));
    mouse->OnMove(MK_LBUTTON, At(2, 0));
    ASSERT_EQ(core->inputModes[InputDrop], 1);
    mouse->OnLeftUp(0, At(2, 0));
    EXPECT_EQ(core->dropX, 102);
    EXPECT_EQ(core->dropY, 100);
    EXPECT_EQ(core->dropZ, 7);
    EXPECT_EQ(NewOpcodes().size(), 1u);
    EXPECT_EQ(core->inputModes[InputDrop], 0);
}

// --- Walking and following ----------------------------------------------------------------------

TEST_F(FieldInput, AClickWalksRoundAWallAndMarksTheGoal) {
    core->interfaceItems.single[3] = new Item(core.get(), WalkMark, 0, 0, 0, 0, 1, ItemIdle);
    Stack(world->GetTileXY(102, 100, 7), SampleShape::Wall);
    Click(3, 0);
    EXPECT_EQ(player->path, (std::vector<uint8_t>{SouthEast, NorthEast, East}));
    EXPECT_TRUE(player->followingPath);
    EXPECT_EQ(player->goalPosition, (Position{103, 100, 7}));
    const Tile* goal = world->GetTileXY(103, 100, 7);
    EXPECT_EQ(static_cast<Item*>(goal->things.back())->shapeId, WalkMark);
    EXPECT_TRUE(NewOpcodes().empty());

    // The walk starts with the first step of the route.
    ASSERT_TRUE(player->AutoWalk());
    EXPECT_EQ(NewRequests(), (Requests{{32, East}}));
}

TEST_F(FieldInput, AClickOnACreatureApproachesItAndASecondStops) {
    Creature* ann = OtherPlayer({103, 100, 7}, "Ann");
    Creature* nameless = Spawn({100, 103, 7}, " ");
    core->targets.push_back(ann);
    Click(3, 0);
    EXPECT_EQ(core->followTarget, ann);
    EXPECT_TRUE(core->targets.empty());
    EXPECT_EQ(NewRequests(), (Requests{{51, 0, 0, 0, 0, 0}}));
    Click(3, 0);
    EXPECT_EQ(core->followTarget, nullptr);
    Click(0, 3);
    EXPECT_EQ(core->followTarget, nullptr);
    EXPECT_EQ(NewRequests(), (Requests{{165, uint8_t(nameless->id), 0, 0, 0}}));
}

TEST_F(FieldInput, NoWalkWhileSittingOrToAnotherFloorTwoAway) {
    Put(101, 100, Sword);
    player->seated = 1;
    Click(1, 0);
    EXPECT_FALSE(player->followingPath);
    EXPECT_EQ(NewOpcodes(), std::vector<uint8_t>{163});  // looks at the thing instead
}

// A field narrower than a pixel a tile shows no tiles: nothing is picked, held or walked to.
TEST_F(FieldInput, AFieldTooNarrowForTilesPicksNothing) {
    Put(101, 100, Sword);
    padding->fieldRect.w = 18;
    field->width = 18;
    mouse->OnLeftDown(0, MAKELPARAM(170, 100));
    EXPECT_EQ(core->dragTo, nullptr);
    mouse->OnLeftUp(0, MAKELPARAM(170, 100));
    mouse->OnRightDown(0, MAKELPARAM(170, 100));
    mouse->OnRightUp(0, MAKELPARAM(170, 100));
    EXPECT_EQ(Notifications(), Texts{"2:Unable to reach that tile."});
    EXPECT_TRUE(NewOpcodes().empty());
}

// --- Right click --------------------------------------------------------------------------------

TEST_F(FieldInput, ARightClickHeldHalfASecondDoesNothing) {
    RightClick(8, 0, 500);
    EXPECT_TRUE(Notifications().empty());
    RightClick(8, 0, 499);
    EXPECT_EQ(Notifications(), Texts{"2:Unable to reach that tile."});
}

TEST_F(FieldInput, ARightClickUsesOrOpensTheThingNextToThePlayer) {
    Put(101, 100, Sword);
    RightClick(1, 0);
    EXPECT_EQ(NewRequests(), (Requests{{49, 0, 1, 0, 1, Sword, 0}}));

    Put(100, 101, Backpack);
    RightClick(0, 1);
    EXPECT_EQ(NewRequests(), (Requests{{166, 0, 0, 1, 1, Backpack, 0}}));
    ASSERT_EQ(connection->protocol->pendingOpens.size(), 1u);
    EXPECT_EQ(connection->protocol->pendingOpens.back().kind, 255);
    EXPECT_EQ(connection->protocol->pendingOpens.back().x, X(0));

    // A thing used with another waits for its target.
    Item* key = Put(99, 100, Key);
    RightClick(-1, 0);
    EXPECT_EQ(core->dragTo, key);
    EXPECT_EQ(core->inputModes[InputUseWith], 1);
    EXPECT_TRUE(NewOpcodes().empty());

    // Far away nothing happens.
    Put(103, 103, Sword);
    RightClick(3, 3);
    EXPECT_TRUE(NewOpcodes().empty());
}

TEST_F(FieldInput, AModifierOpensTheMenuOfTheThing) {
    Put(101, 100, Sword);
    Put(100, 101, Backpack);
    Put(99, 100, Key);
    Put(103, 103, Sword);
    FakePlatform::heldKeys = {VK_SHIFT};
    const struct {
        const char* name;
        int32_t dx, dy;
        std::vector<Action::Entry> entries;
    } cases[] = {
        {"a thing to use", 1, 0, {{132, "Use", "RMB"}, {133, "Examine", ""}}},
        {"a container", 0, 1, {{131, "Open..", "RMB"}, {133, "Examine", ""}}},
        {"a thing used with another", -1, 0, {{130, "Use with..", "RMB"}, {133, "Examine", ""}}},
        {"far away", 3, 3, {{133, "Examine", ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RightClick(c.dx, c.dy);
        auto* menu = dynamic_cast<Action*>(core->windows.back());
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->entries.size(), c.entries.size());
        for (size_t i = 0; i < c.entries.size(); ++i) {
            EXPECT_EQ(menu->entries[i].code, c.entries[i].code) << i;
            EXPECT_EQ(menu->entries[i].label, c.entries[i].label) << i;
            EXPECT_EQ(menu->entries[i].hint, c.entries[i].hint) << i;
        }
        EXPECT_EQ(menu->x, X(c.dx));
        EXPECT_EQ(menu->y, Y(c.dy));
        EXPECT_EQ(core->useItemX, 100 + c.dx);
        core->RemoveWindow(menu);
    }
    EXPECT_TRUE(NewOpcodes().empty());
}

// On a creature the world's menu comes first; a thing next to the player adds its rows.
TEST_F(FieldInput, TheThingsRowsFollowTheWorldsCreatureMenu) {
    Put(101, 100, Sword);
    Spawn({101, 100, 7}, "Rat");
    FakePlatform::heldKeys = {VK_SHIFT};
    const size_t windows = core->windows.size();
    RightClick(1, 0);
    ASSERT_EQ(core->windows.size(), windows + 1);  // one menu
    auto* menu = dynamic_cast<Action*>(core->windows.back());
    ASSERT_NE(menu, nullptr);
    ASSERT_GE(menu->entries.size(), 3u);
    const size_t n = menu->entries.size();
    EXPECT_EQ(menu->entries[n - 3].label, "-");
    EXPECT_EQ(menu->entries[n - 2].label, "Use item");
    EXPECT_EQ(menu->entries[n - 2].hint, "");
    EXPECT_EQ(menu->entries[n - 1].label, "Examine item");
}

}  // namespace
