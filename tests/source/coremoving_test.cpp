#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "item.h"
#include "platform.h"
#include "protocol.h"
#include "shape.h"
#include "support/chatconsole.h"
#include "support/creatureworld.h"
#include "support/recordingconnection.h"
#include "tile.h"
#include "windows/game/channel.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

using Request = std::vector<uint8_t>;
using Requests = std::vector<Request>;
using Lines = std::vector<std::string>;
using namespace SampleShape;

constexpr uint16_t ContainerSlot = 0xFFFF;
const Request Marker{132};  // a use cancel sent after the case: everything before it was the case's

int16_t heldKeys[256];
int16_t HeldKey(int key) { return key >= 0 && key < 256 ? heldKeys[key] : 0; }

// The player stands at (10, 10, 7) on a floor of radius 3; a chair lies on (11, 10) above the
// floor (stack index 1).
class Moving : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        std::fill(std::begin(heldKeys), std::end(heldKeys), 0);
        platform.keyState = HeldKey;
        FloorAround(10, 10, 3);
        SpawnPlayer(Position{10, 10, 7});
        chair = core->GetShape(Chair);
        chair->flagBits8 = 1;  // movable
        chair->stackable = false;
        Stack(world->GetTileXY(11, 10, 7), Chair);
        connection = std::make_unique<RecordingConnection>(core.get());
    }

    void TearDown() override {
        slotItem.reset();  // before the Core its shapes belong to
        CreatureWorld::TearDown();
    }

    void Hold(int key) { heldKeys[key] = int16_t(0x8000); }
    void From(uint16_t x, uint16_t y, uint8_t z = 7, uint8_t index = 1) {
        core->useItemX = x, core->useItemY = y, core->useItemZ = z, core->useItemIndex = index;
    }
    void To(uint16_t x, uint16_t y, uint8_t z = 7) {
        core->dropX = x, core->dropY = y, core->dropZ = z;
    }
    // The requests sent since the last call.
    Requests Sent() {
        core->activeConnection->SendUseCancel();
        for (int tries = 0; tries < 20; ++tries) {
            const Requests all = connection->SentPayloads(consumed + 1);
            const auto marker =
                std::find(all.begin() + std::min(consumed, all.size()), all.end(), Marker);
            if (marker == all.end()) continue;
            Requests sent(all.begin() + consumed, marker);
            consumed = size_t(marker - all.begin()) + 1;
            return sent;
        }
        ADD_FAILURE() << "the marker request never arrived";
        return {};
    }
    // A stack item that is not on a tile (a slot's item).
    Item* SlotItem(uint32_t count) {
        slotItem = std::make_unique<Item>(core.get(), Chair, 0, 0, 0, 0, count, ItemIdle);
        return slotItem.get();
    }

    Shape* chair = nullptr;
    std::unique_ptr<RecordingConnection> connection;
    std::unique_ptr<Item> slotItem;
    size_t consumed = 0;
};

struct DropCase {
    const char* name;
    uint16_t fromX, fromY;
    uint16_t toX, toY;
    Requests sent;
    Lines lines;
};

TEST_F(Moving, DropFromTileChecksRangeAndSendsOffsets) {
    const DropCase cases[] = {
        {"next tile to another", 11, 10, 12, 11, {{48, 1, 0, 1, 2, 1, 0, Chair, 0}}, {}},
        {"diagonal neighbour", 11, 11, 9, 9, {{48, 1, 1, 1, 255, 255, 0, Chair, 0}}, {}},
        {"two steps away", 12, 10, 11, 10, {}, {"2:Too far away."}},
        {"into a container slot", 11, 10, ContainerSlot, 3, {{112, 1, 0, 1, 3, 7, Chair, 0}}, {}},
    };
    for (const DropCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.fromX != 11 || c.fromY != 10) Stack(world->GetTileXY(c.fromX, c.fromY, 7), Chair);
        ClearNotifications();
        From(c.fromX, c.fromY);
        To(c.toX, c.toY);
        core->DropThing();
        EXPECT_EQ(Sent(), c.sent);
        EXPECT_EQ(Notifications(), c.lines);
    }
}

TEST_F(Moving, DropOfAnEmptyStackIndexSendsNothing) {
    From(11, 10, 7, 5);
    To(12, 10);
    core->DropThing();
    EXPECT_EQ(Sent(), Requests{});
    EXPECT_EQ(Notifications(), Lines{});
}

TEST_F(Moving, SlotMovesSendTheContainerAndOffsets) {
    Item* item = SlotItem(1);
    From(ContainerSlot, 2, 4);
    To(ContainerSlot, 5, 6);
    core->MoveThing(item, true, false, 1);
    To(13, 8, 7);
    core->MoveThing(item, true, false, 2);
    EXPECT_EQ(Sent(), (Requests{{114, 2, 4, 5, 6, Chair, 0}, {113, 2, 4, 3, 254, 0, Chair, 0}}));
}

struct PushCase {
    const char* name;
    uint16_t fromX, toX, toY;
    bool blocked;   // the pushed creature is marked not pushable
    bool occupied;  // another creature stands on the drop tile
    Lines lines;
    uint8_t opcode;  // 0: nothing sent
};

TEST_F(Moving, PushChecksBothRangesAndTheTargetCreature) {
    chair->flagBits8 = 0;  // things that cannot be moved make a drag a push
    const PushCase cases[] = {
        {"to a free tile", 11, 12, 10, false, false, {}, 121},
        {"onto a creature", 11, 12, 10, false, true, {}, 123},
        {"three steps from the player",
         11,
         13,
         10,
         false,
         false,
         {"2:You cannot push that far."},
         0},
        {"from two steps away", 12, 11, 11, false, false, {"2:Too far away."}, 0},
        {"a creature that is not pushable", 11, 12, 10, true, false, {}, 0},
    };
    for (const PushCase& c : cases) {
        SCOPED_TRACE(c.name);
        ClearNotifications();
        Creature* rat = Spawn(Position{c.fromX, 9, 7});
        rat->notPushable = c.blocked;
        Creature* other = c.occupied ? Spawn(Position{c.toX, c.toY, 7}, "Bat") : nullptr;
        Stack(world->GetTileXY(c.fromX, 9, 7), Chair);
        From(c.fromX, 9);
        To(c.toX, c.toY);
        core->DropThing();
        const Requests sent = Sent();
        EXPECT_EQ(Notifications(), c.lines);
        if (c.opcode == 0) {
            EXPECT_EQ(sent, Requests{});
        } else {
            ASSERT_EQ(sent.size(), 1u);
            EXPECT_EQ(sent[0][0], c.opcode);
            EXPECT_EQ(sent[0][1], uint8_t(rat->id));
            const Request target(sent[0].begin() + 5, sent[0].end());
            const Request expected =
                other ? Request{uint8_t(other->id), 0, 0, 0} : Request{uint8_t(c.toX - 10), 0, 0};
            EXPECT_EQ(target, expected);
        }
        // Off their tiles too: a creature left in a tile's list would be found again.
        world->GetTileXY(c.fromX, 9, 7)->DropCreature(rat);
        if (other) world->GetTileXY(c.toX, c.toY, 7)->DropCreature(other);
    }
}

struct CountCase {
    const char* name;
    uint32_t stack;
    bool nosplit;
    int key;           // 0: none
    bool splitWindow;  // the split window takes over
    uint32_t moved;    // the count chosen otherwise
};

TEST_F(Moving, StackCountFollowsModifiersAndTheNoSplitOption) {
    const CountCase cases[] = {
        {"no key", 10, false, 0, true, 0},        {"no key, nosplit", 10, true, 0, false, 10},
        {"alt", 10, false, VK_MENU, false, 10},   {"ctrl, nosplit", 10, true, VK_CONTROL, true, 0},
        {"shift", 10, false, VK_SHIFT, false, 1}, {"shift, nosplit", 10, true, VK_SHIFT, false, 1},
        {"a single item", 1, false, 0, false, 1},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::fill(std::begin(heldKeys), std::end(heldKeys), 0);
        if (c.key) Hold(c.key);
        core->options.nosplit = c.nosplit;
        core->moveCount = c.stack == 1 ? 1 : 0;
        From(ContainerSlot, 2, 0);
        EXPECT_EQ(core->ChooseMoveCount(SlotItem(c.stack), true, 1), c.splitWindow);
        EXPECT_EQ(core->moveStackCount, c.stack);
        if (!c.splitWindow) {
            EXPECT_EQ(core->moveCount, c.moved);
        }
    }
}

TEST_F(Moving, AStackWaitingForTheSplitWindowSendsNothing) {
    From(ContainerSlot, 2, 0);
    To(12, 10);
    core->MoveThing(SlotItem(10), true, false, 2);
    EXPECT_EQ(Sent(), Requests{});
}

TEST_F(Moving, ShopMoveAsksBeforeBuyingAndKeepsTheShopStack) {
    chair->stackable = true;
    Item* item = SlotItem(3);
    item->value = 1500;  // copper for the stack of 3
    Hold(VK_MENU);
    From(ContainerSlot, 253, 0);
    To(ContainerSlot, 1, 0);
    item->amount = 3;
    core->MoveThing(item, true, false, 1);
    ASSERT_FALSE(core->windows.empty());
    auto* box = dynamic_cast<Sure*>(core->windows.back());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->name, "Buying");
    const std::string white{'\0', '\xff', '\xff', '\xff', '\xff'},
        grey{'\0', '\xe0', '\xe0', '\xe0', '\xe0'};
    EXPECT_EQ(box->text, "Do you want to buy these " + white + "3" + grey + " items for " + white +
                             "1,500 copper coins" + grey +
                             "?\nNote: value equals 1 gold coin and 5 silver coins");
    EXPECT_EQ(Sent(), Requests{});

    item->count = 1;  // as a server update of the slot would leave it
    core->MoveThing(item, false, true, 1);
    const Requests sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][0], 114);
    EXPECT_EQ(item->count, 3u);
}

struct BuyCase {
    const char* name;
    uint32_t moveCount, stackCount, value;
    uint8_t multiplier;
    std::string question;  // with the white and grey escapes written as [w] and [g]
};

TEST_F(Moving, BuyQuestionNamesCountPriceAndCoins) {
    const BuyCase cases[] = {
        {"one item", 1, 1, 1, 1, "Do you want to buy this item for [w]1 copper coin[g]?"},
        {"gold, silver and copper", 1, 1, 2345, 1,
         "Do you want to buy this item for [w]2,345 copper coins[g]?"
         "\nNote: value equals 2 gold coins, 3 silver coins and 45 copper coins"},
        {"gold and copper", 1, 1, 1001, 1,
         "Do you want to buy this item for [w]1,001 copper coins[g]?\nNote: value equals 1 gold coin and 1 copper coin"},
        {"repeated stacks", 2, 4, 1000000, 3,
         "Do you want to buy these [w]6[g] items for [w]1,500,000 copper coins[g]?"
         "\nNote: value equals 1500 gold coins\n\nThe stack amount can be capped due to space limitations."},
        {"an empty shop stack prices nothing", 1, 0, 500, 1,
         "Do you want to buy this item for [w]0 copper coins[g]?"},
    };
    const std::string white{'\0', '\xff', '\xff', '\xff', '\xff'},
        grey{'\0', '\xe0', '\xe0', '\xe0', '\xe0'};
    From(ContainerSlot, 253, 0);
    for (const BuyCase& c : cases) {
        SCOPED_TRACE(c.name);
        Item* item = SlotItem(1);
        item->value = c.value;
        core->moveCount = c.moveCount, core->moveStackCount = c.stackCount,
        core->moveMultiplier = c.multiplier;
        ASSERT_TRUE(core->ConfirmBuy(item, false, 1));
        std::string expected = c.question;
        for (size_t at; (at = expected.find("[w]")) != std::string::npos;)
            expected.replace(at, 3, white);
        for (size_t at; (at = expected.find("[g]")) != std::string::npos;)
            expected.replace(at, 3, grey);
        auto* box = dynamic_cast<Sure*>(core->windows.back());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text, expected);
        EXPECT_FALSE(core->ConfirmBuy(item, true, 1));
        core->DetachWindow(box);
        delete box;
    }
}

struct UseCase {
    const char* name;
    uint16_t fromX, fromY;
    uint16_t toX, toY;
    uint8_t opcode;
    Lines lines;
};

TEST_F(Moving, UseWithChecksRangeAndPlace) {
    const UseCase cases[] = {
        {"tile on tile", 11, 10, 12, 12, 50, {}},
        {"tile on slot", 11, 10, ContainerSlot, 1, 83, {}},
        {"tile out of range", 12, 10, 11, 10, 0, {"2:Out of range."}},
        {"nothing at the source", 13, 13, 11, 10, 0, {"2:Unable to locate the using item."}},
    };
    for (const UseCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.fromX == 12) Stack(world->GetTileXY(12, 10, 7), Chair);
        ClearNotifications();
        From(c.fromX, c.fromY);
        To(c.toX, c.toY);
        core->UseThing(Grass);
        const Requests sent = Sent();
        EXPECT_EQ(Notifications(), c.lines);
        Request opcodes;
        for (const Request& request : sent) opcodes.push_back(request[0]);
        EXPECT_EQ(opcodes, c.opcode ? Request{c.opcode} : Request{});
    }
}

TEST_F(Moving, DeathOfAPartyMemberIsToldInTheChat) {
    Console* console = OpenConsole(core.get());
    console->mainChatbox->OpenPartyChannel(ChannelId::Party);
    Channel* party = console->FindChannel(ChannelId::Party);
    ASSERT_NE(party, nullptr);
    party->Clear();
    core->party = {{core->player->id, "Hero", 1, 1, 1}, {77, "Ann", 1, 1, 0}};

    core->OnDeath(77, 0, 3);
    core->OnDeath(core->player->id, 0, 0);
    core->OnDeath(77, 2, 4);  // alive again: no line
    core->OnDeath(99, 0, 0);  // not in the party
    const std::string red = MakeColorCode(224, 96, 96, 224);
    EXPECT_EQ(party->rawLines,
              (std::vector<std::string>{red + "Ann is dead.", red + "You are dead."}));
    EXPECT_EQ(core->party[1].first, 2);
    EXPECT_EQ(core->party[1].second, 4);
}

// A window with no behaviour of its own.
struct PlainWindow : Window {
    explicit PlainWindow(Core* core) : Window(core) {}
};

TEST_F(Moving, TabCyclesTheInputsOfTheSameOwnerAndElseTheChatTabs) {
    Window* dialog = core->AddWindow(new PlainWindow(core.get()));
    Window* other = core->AddWindow(new PlainWindow(core.get()));
    auto input = [&](Window* owner) {
        Window* window = core->AddWindow(new PlainWindow(core.get()));
        window->typeId = WindowType::Input;
        window->owner = owner;
        return window;
    };
    Window* first = input(dialog);
    input(other);
    Window* second = input(dialog);
    core->focusedInput = first;
    core->FocusNextInput();
    EXPECT_EQ(core->focusedInput, second);
    core->FocusNextInput();
    EXPECT_EQ(core->focusedInput, first);
    core->FocusPreviousInput();
    EXPECT_EQ(core->focusedInput, second);

    auto* chat = new Chatbox(core.get(), nullptr, Chatbox::MainKind);
    core->chatBox = core->AddWindow(chat);
    chat->OpenChannel(0, "Main", 0);
    chat->OpenChannel(4, "NPC", 1);
    chat->OpenChannel(7, "Other", 1);
    core->focusedInput = input(chat);  // the only input of its owner
    core->FocusPreviousInput();
    EXPECT_EQ(chat->current, chat->FindChannel(7));
    core->FocusNextInput();
    core->FocusNextInput();
    EXPECT_EQ(chat->current, chat->FindChannel(4));
}

}  // namespace
