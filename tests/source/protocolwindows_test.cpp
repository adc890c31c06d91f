// The menus the server opens: a trade request and a party invitation each put a kept, centred
// menu with their two answers high on the client, with a notification line. The bank balance,
// the noble days and the loss of the house reach the status panel. A quest update selects the
// quest for the next journal and lights the journal button unless its count goes on.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core.h"
#include "font.h"
#include "notification.h"
#include "support/gamemessages.h"
#include "support/packbytes.h"
#include "support/spritedata.h"
#include "support/startup.h"
#include "windows/game/action.h"
#include "windows/game/paneltop.h"
#include "world.h"

namespace {

class ServerMenus : public GameMessages {
protected:
    Action* NewMenu(size_t windowsBefore) const {
        return core->windows.size() > windowsBefore ? dynamic_cast<Action*>(core->windows.back())
                                                    : nullptr;
    }

    bool Notified(const std::string& text) const {
        for (const Notification::Place& place : core->world->notification->places)
            if (place.current.text == text || place.waiting.text == text) return true;
        return false;
    }

    static std::vector<std::string> Rows(const Action& menu) {
        std::vector<std::string> rows;
        for (const Action::Entry& entry : menu.entries)
            rows.push_back(std::to_string(entry.code) + " " + entry.label);
        return rows;
    }

    static std::string Bullet() { return MakeColorCode(192, 192, 192, 192) + " \x95 "; }

    // Placed as a centred menu at (400, 150) of the 800 x 600 client.
    static void ExpectKeptAndCentred(const Action& menu) {
        EXPECT_EQ(menu.keepOpen, 1);
        EXPECT_EQ(menu.centred, 1);
        EXPECT_EQ(menu.x, 400 - menu.width / 2);
        EXPECT_EQ(menu.y, 150 - menu.height / 2);
        EXPECT_EQ(menu.height, 89);
    }
};

TEST_F(ServerMenus, ATradeRequestOpensItsMenu) {
    const size_t before = core->windows.size();
    ASSERT_TRUE(Deliver("5b 05000000"));
    Action* menu = NewMenu(before);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(core->activeWindow, menu);
    EXPECT_EQ(menu->title, "Rat" + Bullet() + MakeColorCode(170, 224, 170, 224) + "Trade");
    EXPECT_EQ(menu->context, RatId);
    EXPECT_EQ(Rows(*menu), (std::vector<std::string>{"180 Start trading", "181 Reject trade"}));
    ExpectKeptAndCentred(*menu);
    EXPECT_TRUE(Notified("Rat wants to trade with you."));
}

TEST_F(ServerMenus, ATradeRequestFromAnUnknownCreatureOpensNothing) {
    const size_t before = core->windows.size();
    ASSERT_TRUE(Deliver("5b 63000000"));
    EXPECT_EQ(NewMenu(before), nullptr);
    EXPECT_FALSE(Notified(" wants to trade with you."));
}

TEST_F(ServerMenus, APartyInvitationOpensItsMenuAndKeepsTheInvitation) {
    const size_t before = core->windows.size();
    ASSERT_TRUE(Deliver("b0 07000000 03426f62"));
    Action* menu = NewMenu(before);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title, "Bob" + Bullet() + MakeColorCode(128, 245, 128, 192) + "Party");
    EXPECT_EQ(menu->context, 7u);
    EXPECT_EQ(Rows(*menu),
              (std::vector<std::string>{"170 Accept & join", "171 Reject invitation"}));
    ExpectKeptAndCentred(*menu);
    EXPECT_TRUE(Notified("Bob invites you to a party."));
    ASSERT_EQ(core->partyInvites.size(), 1u);
    EXPECT_EQ(core->partyInvites[0].id, 7u);
    EXPECT_EQ(core->partyInvites[0].name, "Bob");

    // Withdrawn, the invitation goes and its menu stays.
    ASSERT_TRUE(Deliver("b1 07000000"));
    EXPECT_TRUE(core->partyInvites.empty());
    EXPECT_EQ(menu->state, 1u);
}

using HouseMessages = GameMessages;

TEST_F(HouseMessages, TheBankTheNobleDaysAndTheLostHouseReachTheStatusPanel) {
    core->options.mhouse = 1;
    core->nobleDaysLeft = 30;
    core->hasHouse = 1;
    core->houseInfo.rent = 1000;
    core->houseInfo.daysToDue = 3;
    auto* panel = new Paneltop(core.get(), nullptr);
    core->paneltopWindow = core->AddWindow(panel);
    ASSERT_EQ(panel->houseWarning, 1);  // nothing in the bank yet

    ASSERT_TRUE(Deliver("94 e8030000"));  // 1000 copper coins
    EXPECT_EQ(core->bankBalance, 1000u);
    EXPECT_EQ(panel->houseWarning, 0);

    ASSERT_TRUE(Deliver("e1 02000000"));  // 2 noble days, fewer than the 3 to the rent
    EXPECT_EQ(panel->houseWarning, 1);

    ASSERT_NE(panel->FindButton(Paneltop::HouseButton), nullptr);
    core->nobleDaysLeft = 0;
    ASSERT_TRUE(Deliver("93 00000000"));
    EXPECT_EQ(core->hasHouse, 0);
    EXPECT_EQ(panel->FindButton(Paneltop::HouseButton), nullptr);
}

// The sample quests (tools/datagen/quests.py): 101 "The Miller's Grain" counts 5 sacks from
// stage 2 and is finished at stage 8; 102 "Wolves at the Gate" counts 6 wolves down from stage
// 1; 105 joins the record of 104 under their shared title.
constexpr uint16_t Miller = 101, Wolves = 102, Courier = 104, Harbour = 105;
constexpr uint32_t MillerValue = 0x3B9A41C7, WolvesValue = 0xC0FFEE11, CourierValue = 0xFFFFFFFF,
                   HarbourValue = 0x12345678;
const std::string MillerTitle = "The Miller's Grain", Elsewhere = "Wolves at the Gate";

class QuestUpdates : public GameMessages {
protected:
    void SetUp() override {
        GameMessages::SetUp();
        std::filesystem::create_directory("data");
        CopyDataFile(TestDataPath("quests/sample/Veltor.quests"), "Veltor.quests");
        core->LoadQuests();
        status = new Paneltop(core.get(), nullptr);
        core->paneltopWindow = core->AddWindow(status);
    }

    bool Update(uint16_t id, uint16_t stage, uint32_t value) {
        return Deliver(PackBytes().U8(199).U16(id).U16(stage).U32(value).bytes);
    }

    // The journal as the player left it: another filter and topic, nothing new.
    void LeaveJournal() {
        core->journalFilter = 3;
        core->journalSelection = Elsewhere;
        status->journalNew = 0;
    }

    TemporaryFolder folder;
    Paneltop* status = nullptr;
};

TEST_F(QuestUpdates, ANewQuestIsSelectedAndLightsTheJournal) {
    LeaveJournal();
    ASSERT_TRUE(Update(Miller, 1, MillerValue));
    ASSERT_EQ(core->quests.size(), 1u);
    EXPECT_EQ(core->quests[0].title, MillerTitle);
    EXPECT_EQ(core->journalFilter, 0u);
    EXPECT_EQ(core->journalSelection, MillerTitle);
    EXPECT_EQ(status->journalNew, 1);
}

TEST_F(QuestUpdates, OnlyACountThatGoesOnLeavesTheJournalButtonDark) {
    const struct Case {
        uint16_t id, from, to;
        uint32_t value;
        uint8_t lit;
    } cases[] = {
        {Miller, 3, 4, MillerValue, 0},  // 1 of 5 sacks, then 2
        {Wolves, 1, 2, WolvesValue, 0},  // counting down: 6 wolves left, then 5
        {Miller, 6, 7, MillerValue, 1},  // the fifth sack reaches the goal
        {Miller, 7, 8, MillerValue, 1},  // a step that was done already: the quest is finished
        {Miller, 1, 2, MillerValue, 1},  // the count starts: the step before counted nothing
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Update(c.id, c.from, c.value));
        LeaveJournal();
        ASSERT_TRUE(Update(c.id, c.to, c.value));
        EXPECT_EQ(status->journalNew, c.lit) << c.id << " at " << c.to;
        EXPECT_EQ(core->journalFilter, 0u) << c.id << " at " << c.to;
        EXPECT_EQ(core->journalSelection, core->FindQuest(c.id).title) << c.id << " at " << c.to;
    }
}

TEST_F(QuestUpdates, StageZeroEndsTheQuestAndMovesNoJournalSelection) {
    ASSERT_TRUE(Update(Miller, 3, MillerValue));
    LeaveJournal();
    ASSERT_TRUE(Update(Miller, 0, 0));
    EXPECT_TRUE(core->quests.empty());
    EXPECT_TRUE(core->questProgress.empty());
    EXPECT_EQ(core->journalFilter, 3u);
    EXPECT_EQ(core->journalSelection, Elsewhere);
    EXPECT_EQ(status->journalNew, 0);
}

TEST_F(QuestUpdates, AQuestInAnotherQuestsRecordLightsTheJournalButSelectsNothing) {
    ASSERT_TRUE(Update(Courier, 1, CourierValue));
    LeaveJournal();
    ASSERT_TRUE(Update(Harbour, 2, HarbourValue));
    ASSERT_EQ(core->quests.size(), 1u);
    EXPECT_EQ(core->quests[0].questIds, (std::vector<uint16_t>{Courier, Harbour}));
    EXPECT_EQ(core->journalSelection, Elsewhere);
    EXPECT_EQ(status->journalNew, 1);
}

}  // namespace
