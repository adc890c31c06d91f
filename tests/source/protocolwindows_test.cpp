// The menus the server opens: a trade request and a party invitation each put a kept, centred
// menu with their two answers high on the client, with a notification line. The bank balance,
// the noble days and the loss of the house reach the status panel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core.h"
#include "font.h"
#include "notification.h"
#include "support/gamemessages.h"
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

}  // namespace
