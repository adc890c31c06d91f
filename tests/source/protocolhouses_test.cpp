// The house, rental and guild messages: what they leave in Core and which windows they open,
// reload, close or leave alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/dialogtest.h"
#include "windows/dialogs/guild.h"
#include "windows/dialogs/guildfound.h"
#include "windows/dialogs/house.h"
#include "windows/dialogs/rental.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"

namespace {

// Stands in for the status panel: counts its rebuilds.
class CountingPanel : public Window {
public:
    explicit CountingPanel(Core* core) : Window(core) {}
    void Refresh() override { ++refreshes; }
    int refreshes = 0;
};

class HouseAndGuildMessages : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        panel = new CountingPanel(core.get());
        core->paneltopWindow = core->AddWindow(panel);
    }

    // Op 146 with the guests given as (name, role).
    static std::string HouseInfoMessage(
        uint32_t secondsToDue, const std::vector<std::pair<std::string, uint32_t>>& guests) {
        std::string hex = "92" + U32(77) + U16(1) + U16(120) + U32(2500) + U32(secondsToDue) +
                          U32(uint32_t(guests.size())) + Str("Northport") + Str("Elm") +
                          Str("Lane 3");
        for (const auto& guest : guests) hex += Str(guest.first) + U32(guest.second);
        return hex;
    }
    // Op 227 sub 1 with own guilds of (id, members as (flags, name)) and invitations (id, name).
    static std::string GuildList(
        const std::vector<std::pair<uint16_t, std::vector<std::pair<uint8_t, std::string>>>>& own,
        const std::vector<std::pair<uint16_t, std::string>>& invitations) {
        std::string hex =
            "e301"
            "01" +
            ToHex(std::vector<uint8_t>{uint8_t(own.size())});
        for (const auto& guild : own) {
            hex += U16(guild.first) + Str("Wolves") + U32(9) + U16(uint16_t(guild.second.size()));
            for (const auto& member : guild.second)
                hex += ToHex(std::vector<uint8_t>{member.first}) + Str(member.second) + U32(1);
        }
        hex += ToHex(std::vector<uint8_t>{uint8_t(invitations.size())});
        for (const auto& invitation : invitations)
            hex += U16(invitation.first) + Str(invitation.second) + Str("Ann") + U32(3) + U32(4);
        return hex;
    }

    CountingPanel* panel = nullptr;
};

TEST_F(HouseAndGuildMessages, TheHouseInfoFillsTheRecordAndAnEmptyGuestListEmptiesIt) {
    core->pingAverage = 100;
    core->houseInfo.guests = {{"Old", 0}};
    ASSERT_TRUE(Deliver(HouseInfoMessage(172800, {})));
    const HouseInfo& house = core->houseInfo;
    EXPECT_EQ(core->hasHouse, 1);
    EXPECT_EQ(house.houseId, 77u);
    EXPECT_EQ(house.type, 1);
    EXPECT_EQ(house.size, 120);
    EXPECT_EQ(house.rent, 2500u);
    EXPECT_EQ(house.daysToDue, 2);
    EXPECT_EQ(house.receivedAt, FakePlatform::wallClock - 50);
    EXPECT_EQ(house.town, "Northport");
    EXPECT_EQ(house.nameFirst + " " + house.nameSecond, "Elm Lane 3");
    EXPECT_TRUE(house.guests.empty());
    EXPECT_EQ(panel->refreshes, 1);

    // 300 days read as the most a byte holds, not as 44.
    ASSERT_TRUE(Deliver(HouseInfoMessage(300 * 86400, {{"Bob", 1}})));
    EXPECT_EQ(core->houseInfo.daysToDue, 255);
    ASSERT_EQ(core->houseInfo.guests.size(), 1u);
    EXPECT_EQ(core->houseInfo.guests[0].role, 1u);

    ASSERT_TRUE(Deliver("93" + U32(0)));
    EXPECT_EQ(core->hasHouse, 0);
    EXPECT_EQ(panel->refreshes, 3);
}

TEST_F(HouseAndGuildMessages, AGuestCountPastTheMessageStopsAtItsEnd) {
    // A count of four billion guests with one present: nothing is reserved ahead, and the
    // cut-short message ends the connection rather than the program.
    const std::string hex = "92" + U32(77) + U16(1) + U16(120) + U32(2500) + U32(60) +
                            U32(0xFFFFFFFF) + Str("N") + Str("E") + Str("L") + Str("Bob") + U32(0);
    Deliver(hex);
    EXPECT_EQ(fatalText, "");
    EXPECT_EQ(core->hasHouse, 0);
}

TEST_F(HouseAndGuildMessages, TheOpenHouseWindowFollowsNewGuestsAndRemovesTheSelectedOne) {
    ASSERT_TRUE(Deliver(HouseInfoMessage(60, {{"Ann", 1}, {"Bob", 0}, {"Cid", 0}})));
    auto* house = Open(new House(core.get()));
    house->list->Select(1);  // Bob
    Sent();
    // The server sends the guests in another order: Bob stays selected.
    ASSERT_TRUE(Deliver(HouseInfoMessage(60, {{"Cid", 0}, {"Ann", 1}, {"Bob", 0}, {"Dan", 0}})));
    EXPECT_EQ(house->list->items, (std::vector<std::string>{"Cid", "Ann (owner)", "Bob", "Dan"}));
    EXPECT_EQ(house->list->selected, 2);
    house->RemoveInvitee();
    EXPECT_EQ(Sent(), (std::vector<std::string>{"94" + U32(77) + Str("Bob")}));
    EXPECT_EQ(house->list->items, (std::vector<std::string>{"Cid", "Ann (owner)", "Dan"}));

    // A guest renamed by the server is renamed in the rows too.
    ASSERT_TRUE(Deliver("77" + Str("Dan") + Str("Dave")));
    EXPECT_EQ(house->list->items, (std::vector<std::string>{"Cid", "Ann (owner)", "Dave"}));
    EXPECT_EQ(core->houseInfo.guests[2].name, "Dave");
}

TEST_F(HouseAndGuildMessages, TheRentalListOpensAWindowEachTimeAndTakesAuctionUpdates) {
    ASSERT_TRUE(Deliver("9a" + Str("") + U32(0)));
    auto* empty = dynamic_cast<Rental*>(core->FindWindow(WindowType::Rental));
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->houses.empty());
    EXPECT_EQ(empty->name, "Auction");

    const std::string house = U32(5) + U16(5) + U16(80) + U32(900) + U32(0) + U32(3600) +
                              Str("Northport") + Str("Elm") + Str("Lane 3") + Str("Nice.") +
                              Str("") + Str("");
    ASSERT_TRUE(Deliver("9a" + Str("Houses") + U32(1) + house));
    auto* rental = dynamic_cast<Rental*>(core->windows.back());
    ASSERT_NE(rental, nullptr);
    EXPECT_NE(rental, empty);
    ASSERT_EQ(rental->houses.size(), 1u);
    EXPECT_EQ(rental->houses[0].typeName, "Clanhall");
    EXPECT_EQ(rental->houses[0].rowText, "Elm Lane 3 (80sqm)");
    EXPECT_EQ(rental->houses[0].bidHolder, "-");

    // The server closes one list, without an answer.
    Sent();
    ASSERT_TRUE(Deliver("9c"));
    EXPECT_EQ(core->FindWindow(WindowType::Rental), rental);
    EXPECT_TRUE(Sent().empty());

    // Sold to Bob: the row is marked and the owner shown.
    ASSERT_TRUE(Deliver("9b" + U32(5) + U32(1) + U32(700) + U32(0) + Str("Bob")));
    EXPECT_EQ(rental->houses[0].owner, "Bob");
    EXPECT_EQ(rental->houses[0].hasOwner, 1);
    EXPECT_EQ(rental->houses[0].currentBid, 700u);
    EXPECT_TRUE(rental->list->marks[0]);
    // Another house's update changes nothing.
    ASSERT_TRUE(Deliver("9b" + U32(6) + U32(1) + U32(900) + U32(0) + Str("Cid")));
    EXPECT_EQ(rental->houses[0].owner, "Bob");
}

TEST_F(HouseAndGuildMessages, AnAuctionUpdateWithoutTheWindowIsReadWhole) {
    core->hasHouse = 1;
    ASSERT_TRUE(Deliver("9b" + U32(5) + U32(1) + U32(700) + U32(0) + Str("Bob") + "93" + U32(0)));
    EXPECT_EQ(core->hasHouse, 0);
    ASSERT_TRUE(Deliver("9d" + Str("You won.")));
    EXPECT_EQ(LastBox(), "Auction: You won.");
}

TEST_F(HouseAndGuildMessages, TheGuildListReloadsClosesAndRebuildsTheStatusPanel) {
    // A first list: the status panel rebuilds; a guild window open without a guild keeps its
    // (empty) rows.
    auto* early = Open(new Guild(core.get()));
    ASSERT_TRUE(Deliver(GuildList({{300, {{4, "Hero"}, {1, "Bob"}}}}, {})));
    EXPECT_EQ(panel->refreshes, 1);
    EXPECT_TRUE(early->list->items.empty());
    ASSERT_EQ(core->guilds.size(), 1u);
    EXPECT_EQ(core->guilds[0].id, 300u);
    EXPECT_EQ(core->guilds[0].flag, 1);
    core->RemoveWindow(early);

    // Non-empty to non-empty: the open window reloads, the panel stays.
    auto* guild = Open(new Guild(core.get()));
    ASSERT_TRUE(Deliver(GuildList({{300, {{4, "Hero"}, {1, "Bob"}, {0, "Cid"}}}}, {})));
    EXPECT_EQ(panel->refreshes, 1);
    EXPECT_EQ(guild->list->items,
              (std::vector<std::string>{"Hero (leader)", "Bob", "Cid (invited)"}));

    // A guild of no members stays.
    ASSERT_TRUE(Deliver(GuildList({{300, {}}}, {})));
    ASSERT_EQ(core->guilds.size(), 1u);
    EXPECT_TRUE(core->guilds[0].members.empty());

    // Empty: the window closes and the panel rebuilds.
    ASSERT_TRUE(Deliver(GuildList({}, {})));
    EXPECT_TRUE(core->guilds.empty());
    EXPECT_EQ(core->FindWindow(WindowType::Guild), nullptr);
    EXPECT_EQ(panel->refreshes, 2);
}

TEST_F(HouseAndGuildMessages, OnlyAnInvitationLeftClosesTheGuildWindow) {
    ASSERT_TRUE(Deliver(GuildList({{300, {{4, "Hero"}}}}, {})));
    Open(new Guild(core.get()));
    ASSERT_TRUE(Deliver(GuildList({}, {{12, "Bears"}})));
    ASSERT_EQ(core->guilds.size(), 1u);
    EXPECT_EQ(core->guilds[0].invitation, 1);
    EXPECT_EQ(core->guilds[0].id, 12u);
    ASSERT_EQ(core->guilds[0].members.size(), 1u);
    EXPECT_EQ(core->guilds[0].members[0].name, "Ann");
    EXPECT_EQ(core->FindWindow(WindowType::Guild), nullptr);
    EXPECT_EQ(panel->refreshes, 2);
}

TEST_F(HouseAndGuildMessages, TheFoundingWindowOpensOnceAndTheServerClosesItSilently) {
    ASSERT_TRUE(Deliver("e302"));
    Window* found = core->FindWindow(WindowType::Guildfound);
    ASSERT_NE(found, nullptr);
    ASSERT_TRUE(Deliver("e302"));
    size_t count = 0;
    for (Window* window : core->windows) count += window->typeId == WindowType::Guildfound;
    EXPECT_EQ(count, 1u);
    Sent();
    ASSERT_TRUE(Deliver("e303"));
    EXPECT_EQ(core->FindWindow(WindowType::Guildfound), nullptr);
    EXPECT_EQ(core->FindWindow(WindowType::Input), nullptr);
    EXPECT_TRUE(Sent().empty());
    // Other sub-operations do nothing.
    ASSERT_TRUE(Deliver("e309"));
}

}  // namespace
