// The requests of the game state as they reach the server: every sender against the bytes of
// the shared request file (which the fake server's test decodes), the requests that send nothing,
// texts too long for the wire, the halted game, and the answers the senders leave pending.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "mouse.h"
#include "protocol.h"
#include "screen.h"
#include "support/chatconsole.h"
#include "support/hexbytes.h"
#include "support/recordingconnection.h"
#include "support/spritedata.h"
#include "support/testcore.h"
#include "windows/game/channel.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Sender = std::function<void(Protocol&)>;

struct Case {
    const char* name;
    Sender send;
};

// Shapes of the sample sprite data (tools/datagen/sprites.py).
const uint16_t Grass = 100, Coins = 130, Potion = 132, Backpack = 140, Sword = 141, Key = 143,
               Person = 200, UnknownShape = 4242;

// The calls that make the requests of tests/data/clientrequests.txt, with the player at
// (100, 200, 7) and a move count of 300.
const std::vector<Case> SharedCases = {
    {"walk_east", [](Protocol& p) { p.SendWalk(2); }},
    {"walk_redirect_south", [](Protocol& p) { p.SendWalkRedirect(4); }},
    {"turn_west", [](Protocol& p) { p.SendTurn(6); }},
    {"target_only", [](Protocol& p) { p.SendTarget(0, 0x01020304); }},
    {"target_none", [](Protocol& p) { p.SendTarget(0, 0); }},
    {"target_add", [](Protocol& p) { p.SendTarget(1, 0x01020304); }},
    {"target_remove", [](Protocol& p) { p.SendTarget(2, 0x01020304); }},
    {"push_creature", [](Protocol& p) { p.SendPushCreature(0x11223344, -2, -1, 0); }},
    {"push_to_creature", [](Protocol& p) { p.SendPushToCreature(5, 6); }},
    {"sit_down", [](Protocol& p) { p.SendSit(true); }},
    {"stand_up", [](Protocol& p) { p.SendSit(false); }},
    {"move_map_to_map_stack", [](Protocol& p) { p.SendMoveMapToMap(1, 0, 2, -1, 1, 0, Coins); }},
    {"move_map_to_map_single", [](Protocol& p) { p.SendMoveMapToMap(0, 1, 0, 1, 1, 1, Sword); }},
    {"move_to_own_tile_other_floor",
     [](Protocol& p) { p.SendMoveMapToMap(1, 1, 0, 1, 1, -1, Sword); }},
    {"move_map_to_slot", [](Protocol& p) { p.SendMoveMapToSlot(0, -1, 1, 1, 4, Coins); }},
    {"move_slot_to_map", [](Protocol& p) { p.SendMoveSlotToMap(1, 4, 1, 1, 0, Coins); }},
    {"move_slot_to_slot", [](Protocol& p) { p.SendMoveSlotToSlot(1, 4, 0, 5, Sword); }},
    {"move_slot_to_slot_huge",
     [](Protocol& p) {
         p.core->moveCount = 70000;  // past the 15-bit count, and past 16 bits
         p.SendMoveSlotToSlot(1, 4, 0, 5, Coins);
         p.core->moveCount = 300;
     }},
    {"use_map_item", [](Protocol& p) { p.SendUseMapItem(101, 199, 1, Sword); }},
    {"use_map_on_map", [](Protocol& p) { p.SendUseMapOnMap(0, -1, 2, 1, 0, Key, Grass); }},
    {"use_slot_item_on_creature",
     [](Protocol& p) { p.SendUseSlotItemOnCreature(3, 4, 0x0A0B0C0D, Potion); }},
    {"use_map_item_on_creature",
     [](Protocol& p) { p.SendUseMapItemOnCreature(-1, 0, 0, 7, Potion); }},
    {"use_slot_item", [](Protocol& p) { p.SendUseSlotItem(1, 2, Potion); }},
    {"use_slot_on_slot", [](Protocol& p) { p.SendUseSlotOnSlot(1, 2, 250, 3, Key, Backpack); }},
    {"use_slot_on_map", [](Protocol& p) { p.SendUseSlotOnMap(1, 0, -2, 1, Key, Grass); }},
    {"use_map_on_slot", [](Protocol& p) { p.SendUseMapOnSlot(1, 1, 0, 1, 5, Key, Backpack); }},
    {"container_close", [](Protocol& p) { p.SendContainerClose(7); }},
    {"container_up", [](Protocol& p) { p.SendContainerUp(7); }},
    {"container_stack", [](Protocol& p) { p.SendContainerStack(7); }},
    {"use_cancel", [](Protocol& p) { p.SendUseCancel(); }},
    {"use_with_map", [](Protocol& p) { p.SendUseWithMap(98, 201, 6, 2, Sword); }},
    {"use_with_slot", [](Protocol& p) { p.SendUseWithSlot(1, 3, Sword); }},
    {"use_on_creature", [](Protocol& p) { p.SendUseOnCreature(0x12345678); }},
    {"open_map_item", [](Protocol& p) { p.SendOpenMapItem(100, 201, 0, Backpack); }},
    {"open_slot_item", [](Protocol& p) { p.SendOpenSlotItem(1, 2, Backpack); }},
    {"look_map_item", [](Protocol& p) { p.SendLookMapItem(99, 198, 7, 3, Sword); }},
    {"look_slot_item", [](Protocol& p) { p.SendLookSlotItem(250, 1, Sword); }},
    {"look_creature", [](Protocol& p) { p.SendLookCreature(9); }},
    {"look_shop_item", [](Protocol& p) { p.SendLookShopItem(Coins, 200); }},
    {"raise_attribute", [](Protocol& p) { p.SendRaiseAttribute(2); }},
    {"abilities_request", [](Protocol& p) { p.SendAbilitiesRequest(); }},
    {"cast_self_first_spell", [](Protocol& p) { p.SendCastSelf(0); }},
    {"cast_creature", [](Protocol& p) { p.SendCastCreature(4, 0x55); }},
    {"cast_tile", [](Protocol& p) { p.SendCastTile(1, 101, 200, 7); }},
    {"cast_armed", [](Protocol& p) { p.SendCastArmed(2); }},
    // The ability bar's slot 5 of page 2.
    {"spellbar_slot_29", [](Protocol& p) { p.SendSpellbarSlot(29, 0x0102); }},
    {"outfit_coloured", [](Protocol& p) { p.SendOutfit(Person, 0x0A472C53); }},
    {"outfit_plain", [](Protocol& p) { p.SendOutfit(Grass, 0xFFFFFFFF); }},
    {"outfit_unknown_shape", [](Protocol& p) { p.SendOutfit(UnknownShape, 0xFFFFFFFF); }},
    {"talk_main", [](Protocol& p) { p.SendTalk(0, "hi"); }},
    {"talk_world", [](Protocol& p) { p.SendTalk(1, "hi"); }},
    {"talk_console", [](Protocol& p) { p.SendTalk(254, "heal"); }},
    {"talk_main_accented", [](Protocol& p) { p.SendTalk(0, "\xE9"); }},
    {"private_message", [](Protocol& p) { p.SendPrivateMessage("Bob", "yo"); }},
    {"typing_on", [](Protocol& p) { p.SendTyping(true); }},
    {"typing_off", [](Protocol& p) { p.SendTyping(false); }},
    {"open_channel", [](Protocol& p) { p.SendOpenChannel(3); }},
    {"close_channel_trade", [](Protocol& p) { p.SendCloseChannel(3); }},
    {"friend_add", [](Protocol& p) { p.SendFriendAdd("Ann", 0, ""); }},
    {"friend_remove", [](Protocol& p) { p.SendFriendRemove(0x21); }},
    {"trade_request", [](Protocol& p) { p.SendTradeRequest(0x31); }},
    {"trade_accept", [](Protocol& p) { p.SendTradeAccept(); }},
    {"trade_cancel", [](Protocol& p) { p.SendTradeCancel(); }},
    {"party_accept", [](Protocol& p) { p.SendPartyAccept(1); }},
    {"party_invite", [](Protocol& p) { p.SendPartyInvite(2); }},
    {"party_expel", [](Protocol& p) { p.SendPartyExpel(3); }},
    {"party_invite_name", [](Protocol& p) { p.SendPartyInviteName("Cy"); }},
    {"party_leave", [](Protocol& p) { p.SendPartyLeave(); }},
    {"party_leader", [](Protocol& p) { p.SendPartyLeader(4); }},
    {"party_reject", [](Protocol& p) { p.SendPartyReject(5); }},
    {"guild_found", [](Protocol& p) { p.SendGuildFound("Owls"); }},
    {"guild_found_close", [](Protocol& p) { p.SendGuildFoundClose(); }},
    {"guild_invite", [](Protocol& p) { p.SendGuildInvite("Bo"); }},
    {"guild_uninvite", [](Protocol& p) { p.SendGuildUninvite("Bo"); }},
    {"guild_join", [](Protocol& p) { p.SendGuildJoin(0x10); }},
    {"guild_reject", [](Protocol& p) { p.SendGuildReject(0x10); }},
    {"guild_patron", [](Protocol& p) { p.SendGuildMembership(0x10, 2); }},
    {"guild_kick", [](Protocol& p) { p.SendGuildKick("Bo"); }},
    {"guild_leadership", [](Protocol& p) { p.SendGuildLeadership("Bo"); }},
    {"marker_add", [](Protocol& p) { p.SendMarkerAdd(3, 1000, 2000, 5, "Camp"); }},
    {"marker_remove", [](Protocol& p) { p.SendMarkerRemove(3); }},
    {"brew", [](Protocol& p) { p.SendBrew(); }},
    {"brew_close", [](Protocol& p) { p.SendBrewClose(); }},
    {"bank_close", [](Protocol& p) { p.SendBankClose(); }},
    {"house_invitee_add", [](Protocol& p) { p.SendHouseInviteeAdd(0x0102, "Al"); }},
    {"house_invitee_remove", [](Protocol& p) { p.SendHouseInviteeRemove(0x0102, "Al"); }},
    {"house_bid", [](Protocol& p) { p.SendHouseBid(7, 5000); }},
    {"rental_close", [](Protocol& p) { p.SendRentalClose(); }},
    {"craft", [](Protocol& p) { p.SendCraft(); }},
    {"craft_close", [](Protocol& p) { p.SendCraftClose(); }},
    {"shop_sell", [](Protocol& p) { p.SendShopSell(Coins, 2, 300); }},
    {"shop_close", [](Protocol& p) { p.SendShopClose(); }},
    {"confirm_yes", [](Protocol& p) { p.SendConfirmYes(); }},
    {"confirm_no", [](Protocol& p) { p.SendConfirmNo(); }},
    {"crash_proceed", [](Protocol& p) { p.SendCrashProceed(); }},
};

// The payload of every request of the shared file, by name.
std::map<std::string, Bytes> SharedRequests() {
    std::map<std::string, Bytes> requests;
    for (const std::string& line : ReadLines(VELTOR_TEST_FILES "/clientrequests.txt")) {
        if (line.empty() || line[0] == '#') continue;
        const size_t end = line.find(' ');
        requests[line.substr(0, end)] = FromHex(line.substr(end));
    }
    return requests;
}

const Bytes Ping = {240};

class RequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        core = MakeTestCore();
        {
            InFolder sample(TestDataPath("sprites/sample"));
            core->shapes = new Shapes(core.get());
        }
        ASSERT_TRUE(core->GetShape(Coins)->stackable);
        ASSERT_FALSE(core->GetShape(Sword)->stackable);
        ASSERT_TRUE(core->GetShape(Person)->hasPaletteId);
        ASSERT_FALSE(core->GetShape(Grass)->hasPaletteId);
        connection = std::make_unique<RecordingConnection>(core.get(), StateGame);
        player = std::make_unique<Creature>(core.get(), 1, Person, 0, std::vector<Shape*>{},
                                            Position{100, 200, 7}, "Player", 100, 100, 0);
        core->player = player.get();
        core->moveCount = 300;
    }

    void TearDown() override {
        core->player = nullptr;
        player.reset();
        core.reset();
        connection.reset();
    }

    Protocol& Connection() { return *core->activeConnection; }

    // The payloads each call sent, in order. A ping after every call marks where its requests
    // end; requests after the last ping that arrived (the pings too may be held back) make one
    // more group.
    std::vector<std::vector<Bytes>> SentBy(const std::vector<Sender>& calls) {
        for (const Sender& call : calls) {
            call(Connection());
            Connection().SendPing();
        }
        const std::vector<Bytes> payloads = connection->SentPayloads(consumed + 2 * calls.size());
        std::vector<std::vector<Bytes>> sent(1);
        for (size_t i = consumed; i < payloads.size(); ++i) {
            if (payloads[i] == Ping) sent.emplace_back();
            else sent.back().push_back(payloads[i]);
        }
        if (sent.back().empty()) sent.pop_back();
        consumed = payloads.size();
        return sent;
    }

    std::vector<Bytes> SentBy(const Sender& call) {
        return SentBy(std::vector<Sender>{call}).at(0);
    }

    std::unique_ptr<Core> core;
    std::unique_ptr<Creature> player;
    std::unique_ptr<RecordingConnection> connection;
    size_t consumed = 0;  // payloads already handed out by SentBy
};

TEST_F(RequestTest, EveryRequestSendsTheBytesOfTheSharedFile) {
    const std::map<std::string, Bytes> expected = SharedRequests();
    std::set<std::string> names, fileNames;
    std::vector<Sender> calls;
    for (const Case& c : SharedCases) {
        names.insert(c.name);
        calls.push_back(c.send);
    }
    for (const auto& entry : expected) fileNames.insert(entry.first);
    ASSERT_EQ(names, fileNames);
    ASSERT_EQ(names.size(), SharedCases.size());
    const std::vector<std::vector<Bytes>> sent = SentBy(calls);
    ASSERT_EQ(sent.size(), SharedCases.size());
    for (size_t i = 0; i < SharedCases.size(); ++i) {
        SCOPED_TRACE(SharedCases[i].name);
        ASSERT_EQ(sent[i].size(), 1u);
        EXPECT_EQ(ToHex(sent[i][0]), ToHex(expected.at(SharedCases[i].name)));
    }
}

TEST_F(RequestTest, RequestsThatSendNothing) {
    const auto withoutPlayer = [](Sender send) {
        return [send](Protocol& p) {
            Creature* player = p.core->player;
            p.core->player = nullptr;
            send(p);
            p.core->player = player;
        };
    };
    const std::vector<Case> cases = {
        {"move onto its own tile",
         [](Protocol& p) { p.SendMoveMapToMap(1, -1, 0, 1, -1, 0, Coins); }},
        {"use a tile's thing",
         withoutPlayer([](Protocol& p) { p.SendUseMapItem(101, 199, 1, Sword); })},
        {"use with a tile",
         withoutPlayer([](Protocol& p) { p.SendUseWithMap(98, 201, 6, 2, Sword); })},
        {"open a tile's thing",
         withoutPlayer([](Protocol& p) { p.SendOpenMapItem(100, 201, 0, Backpack); })},
        {"look at a tile",
         withoutPlayer([](Protocol& p) { p.SendLookMapItem(99, 198, 7, 3, Sword); })},
        {"cast at a tile", withoutPlayer([](Protocol& p) { p.SendCastTile(1, 101, 200, 7); })},
        {"talk in a private conversation", [](Protocol& p) { p.SendTalk(255, "hi"); }},
        {"close Main", [](Protocol& p) { p.SendCloseChannel(0); }},
        {"close Report", [](Protocol& p) { p.SendCloseChannel(129); }},
        {"close Info", [](Protocol& p) { p.SendCloseChannel(240); }},
        {"close Console", [](Protocol& p) { p.SendCloseChannel(254); }},
        {"close a private conversation", [](Protocol& p) { p.SendCloseChannel(255); }},
    };
    std::vector<Sender> calls;
    for (const Case& c : cases) calls.push_back(c.send);
    const std::vector<std::vector<Bytes>> sent = SentBy(calls);
    ASSERT_EQ(sent.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) EXPECT_TRUE(sent[i].empty()) << cases[i].name;
    EXPECT_TRUE(Connection().pendingLooks.empty());
}

TEST_F(RequestTest, TextsLongerThanTheWireHoldsAreCutAfterAWholeCharacter) {
    const std::string accented(200, '\xE9');
    const struct {
        std::string text;
        std::string sent;
    } cases[] = {
        {std::string(255, 'a'), std::string(255, 'a')},
        {std::string(300, 'a'), std::string(255, 'a')},
        {accented, Latin1ToUtf8(accented.substr(0, 127))},
        {std::string(254, 'a') + "\xE9", std::string(254, 'a')},
    };
    for (const auto& c : cases) {
        const std::vector<Bytes> sent = SentBy([&](Protocol& p) { p.SendTalk(0, c.text); });
        ASSERT_EQ(sent.size(), 1u);
        Bytes expected = {60, uint8_t(c.sent.size())};
        expected.insert(expected.end(), c.sent.begin(), c.sent.end());
        EXPECT_EQ(ToHex(sent[0]), ToHex(expected)) << c.text.size() << " characters";
    }
}

TEST_F(RequestTest, WhileTheGameIsHaltedOnlyTheCrashAnswerGoesOut) {
    core->gameHalted = 1;
    const std::vector<std::vector<Bytes>> sent = SentBy({
        [](Protocol& p) { p.SendWalk(2); },
        [](Protocol& p) { p.SendTalk(0, "hi"); },
        [](Protocol& p) { p.SendCrashProceed(); },
        [](Protocol& p) { p.SendConfirmYes(); },
    });
    // The pings that mark the calls are held back as well: all requests arrive as one group.
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (std::vector<Bytes>{{248}}));
    EXPECT_EQ(core->gameHalted, 1);
}

TEST_F(RequestTest, LooksLeaveTheCursorPositionForTheirAnswersInOrder) {
    core->screen = new Screen(core.get(), 800, 600, 32, 0);
    Mouse& mouse = *core->screen->mouse;
    mouse.x = 10;
    mouse.y = 20;
    Connection().SendLookMapItem(99, 198, 7, 3, Sword);
    mouse.x = 30;
    mouse.y = 40;
    Connection().SendLookCreature(9);
    Connection().SendLookSlotItem(250, 1, Sword);
    mouse.x = 50;
    Connection().SendLookShopItem(Coins, 1);
    const std::deque<PendingLook>& looks = Connection().pendingLooks;
    ASSERT_EQ(looks.size(), 4u);
    const std::pair<int32_t, int32_t> expected[] = {{10, 20}, {30, 40}, {30, 40}, {50, 40}};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(std::make_pair(looks[i].x, looks[i].y), expected[i]) << i;
}

TEST_F(RequestTest, FriendRequestsLeaveNameGroupAndNoteForTheAnswer) {
    Connection().SendFriendAdd("Ann", 0, "");
    Connection().SendFriendAdd("Bo", 2, "from the bank");
    EXPECT_EQ(Connection().pendingFriends, (std::deque<std::string>{"Ann", "Bo"}));
    EXPECT_EQ(Connection().pendingFriendGroups, (std::deque<uint8_t>{0, 2}));
    EXPECT_EQ(Connection().pendingFriendNotes, (std::deque<std::string>{"", "from the bank"}));
}

TEST_F(RequestTest, LeavingThePartyIsToldInThePartyChannel) {
    core->party.push_back({7, "Ann", 0, 0, 1});
    const Sender leave = [](Protocol& p) { p.SendPartyLeave(); };
    EXPECT_EQ(SentBy(leave), (std::vector<Bytes>{{173}}));  // no console
    Console* console = OpenConsole(core.get());
    Channel* main = console->FindChannel(ChannelId::Main);
    ASSERT_NE(main, nullptr);
    const std::vector<std::string> mainLines = main->rawLines;
    EXPECT_EQ(SentBy(leave), (std::vector<Bytes>{{173}}));  // no party channel

    console->mainChatbox->OpenPartyChannel(ChannelId::Party);
    Channel* party = console->FindChannel(ChannelId::Party);
    ASSERT_NE(party, nullptr);
    EXPECT_EQ(party->tabMark, 0);
    EXPECT_EQ(SentBy(leave), (std::vector<Bytes>{{173}}));
    ASSERT_EQ(party->rawLines.size(), 2u);
    EXPECT_EQ(party->rawLines[1], MakeColorCode(170, 224, 170, 224) + "You've left the party.");
    EXPECT_EQ(party->tabMark, 1);
    EXPECT_EQ(main->rawLines, mainLines);
    EXPECT_EQ(core->party.size(), 1u);  // the server's party messages change the list
}

}  // namespace
