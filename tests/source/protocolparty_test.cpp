// The party messages (176 to 185) with the party list window and the Party channel, and the whole
// friend list (202).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "support/chatconsole.h"
#include "support/gamemessages.h"
#include "support/hexbytes.h"
#include "windows/game/action.h"
#include "windows/game/console.h"
#include "windows/game/friendlist.h"
#include "windows/game/partylist.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/windowtypes.h"

namespace {

std::string U32(uint32_t value) {
    const uint8_t bytes[] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                             uint8_t(value >> 24)};
    return ToHex(bytes, 4);
}

std::string Str(const std::string& text) {
    const uint8_t size = uint8_t(text.size());
    return ToHex(&size, 1) + ToHex(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// A member record of ops 178 and 183: id, health, mana, name.
std::string Member(uint32_t id, const std::string& name, const std::string& values = "6464") {
    return U32(id) + values + Str(name);
}

class PartyMessages : public GameMessages {
protected:
    static constexpr uint32_t Bob = 7, Carl = 8, Dan = 9;

    void SetUp() override {
        GameMessages::SetUp();
        player->name = "Hero";
        console = OpenConsole(core.get());
    }

    std::string Started(std::vector<std::string> members) {
        std::string hex = "b2";
        const uint8_t count = uint8_t(members.size());
        hex += ToHex(&count, 1);
        for (const std::string& member : members) hex += member;
        return hex;
    }
    // The texts of the Party channel's lines after its welcome line, without their colour.
    std::vector<std::string> PartyLines() const {
        std::vector<std::string> lines;
        Channel* party = console->FindChannel(ChannelId::Party);
        if (!party) return lines;
        for (size_t i = 1; i < party->rawLines.size(); ++i)
            lines.push_back(party->rawLines[i].substr(5));
        return lines;
    }
    Partylist* List() const {
        auto* list = dynamic_cast<Partylist*>(core->FindWindow(WindowType::Partylist));
        return list && list->state == 1 ? list : nullptr;
    }

    Console* console = nullptr;
};

TEST_F(PartyMessages, AStartedPartyNamesTheOtherMembers) {
    struct Case {
        std::vector<std::string> members;
        std::string text;
    };
    const std::string me = Member(PlayerId, "Hero");
    for (const Case& c :
         std::vector<Case>{{{me, Member(Bob, "Bob")}, "You've started a party with Bob."},
                           {{me, Member(Bob, "Bob"), Member(Carl, "Carl")},
                            "You've joined the party of Bob and Carl."},
                           {{me, Member(Bob, "Bob"), Member(Carl, "Carl"), Member(Dan, "Dan")},
                            "You've joined the party of Bob, Carl and Dan."},
                           {{}, "You've joined the party of ."}}) {
        core->ClearParty();
        ASSERT_TRUE(Deliver(Started(c.members)));
        EXPECT_EQ(PartyLines().back(), c.text);
        EXPECT_NE(List(), nullptr);
        EXPECT_EQ(core->party.size(), c.members.size());
    }
    // One window all along, in the right column.
    int lists = 0;
    for (const Window* window : core->windows) lists += window->typeId == WindowType::Partylist;
    EXPECT_EQ(lists, 1);
    EXPECT_EQ(static_cast<Window*>(List()->panel), core->rightPanel);
}

TEST_F(PartyMessages, AMemberListedTwiceKeepsOneRecord) {
    ASSERT_TRUE(Deliver(Started(
        {Member(PlayerId, "Hero"), Member(Bob, "Bob", "0a0b"), Member(Bob, "Bob", "1415")})));
    ASSERT_EQ(core->party.size(), 2u);
    EXPECT_EQ(core->party[1].first, 0x14);
    EXPECT_EQ(core->party[0].leader, 1);
    ASSERT_TRUE(Deliver("b7" + Member(Bob, "Bob", "3232")));
    EXPECT_EQ(core->party.size(), 2u);
    EXPECT_EQ(PartyLines().back(), "Bob has joined the party.");
}

TEST_F(PartyMessages, LeaderInvitationsLeavingAndDeaths) {
    ASSERT_TRUE(
        Deliver(Started({Member(Bob, "Bob"), Member(PlayerId, "Hero"), Member(Carl, "Carl")})));
    ClearNotifications();
    // The player does not lead: only the channel line.
    ASSERT_TRUE(Deliver("b5" + U32(44) + Str("Zed")));
    EXPECT_EQ(PartyLines().back(), "Zed is invited to join the party.");
    EXPECT_TRUE(Notifications().empty());

    ASSERT_TRUE(Deliver("b4" + U32(PlayerId)));
    EXPECT_EQ(PartyLines().back(), "Hero is now the party leader.");
    EXPECT_EQ(Notifications(), std::vector<std::string>{"0:You are now the party leader."});
    EXPECT_TRUE(core->IsPartyLeaderSelf());

    const size_t lines = PartyLines().size();
    ASSERT_TRUE(Deliver("b8" + U32(12345)));
    EXPECT_EQ(PartyLines().size(), lines);

    ASSERT_TRUE(Deliver("b9" + U32(Carl) + "0000"));
    EXPECT_EQ(PartyLines().back(), "Carl is dead.");
    EXPECT_EQ(console->FindChannel(ChannelId::Party)->rawLines.back().substr(0, 5),
              MakeColorCode(224, 96, 96, 224));
    // A dead member's leaving is not told.
    ASSERT_TRUE(Deliver("b8" + U32(Carl)));
    EXPECT_EQ(PartyLines().back(), "Carl is dead.");
    ASSERT_TRUE(Deliver("b8" + U32(Bob)));
    EXPECT_EQ(PartyLines().back(), "Bob has left the party.");

    ASSERT_TRUE(Deliver("b3"));
    EXPECT_EQ(PartyLines().back(), "The party has been disbanded.");
    EXPECT_EQ(List(), nullptr);
    EXPECT_TRUE(core->party.empty());
}

TEST_F(PartyMessages, WithoutTheGameScreenOnlyTheListsChange) {
    core->consoleWindow = nullptr;
    core->rightPanel = nullptr;
    ASSERT_TRUE(Deliver(Started({Member(PlayerId, "Hero"), Member(Bob, "Bob")})));
    EXPECT_EQ(core->party.size(), 2u);
    EXPECT_EQ(List(), nullptr);
    ASSERT_TRUE(Deliver("b4" + U32(Bob) + "b9" + U32(Bob) + "0000" + "b3"));
    EXPECT_TRUE(core->party.empty());
}

TEST_F(PartyMessages, AnInvitationsMenuAnswersWithTheInvitersId) {
    ASSERT_TRUE(Deliver("b0" + U32(Bob) + Str("Bob")));
    auto* menu = dynamic_cast<Action*>(core->windows.back());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->entries[0].label, "Accept & join");
    connection->SentSinceLastCall();
    menu->Execute(0);
    EXPECT_EQ(connection->SentSinceLastCall(),
              (std::vector<std::vector<uint8_t>>{{169, uint8_t(Bob), 0, 0, 0}}));
}

TEST_F(PartyMessages, ThePartyListDrawsItsBarsAndLeavesWhenClosed) {
    ASSERT_TRUE(Deliver(Started({Member(Bob, "Bob", "64c8"), Member(PlayerId, "Hero"),
                                 Member(Carl, "Carl"), Member(Dan, "Dan"), Member(44, "Eve")})));
    Partylist* list = List();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->width, 156);
    EXPECT_EQ(list->BarWidth(100), 59);
    EXPECT_EQ(list->BarWidth(200), 118);
    EXPECT_EQ(list->BarWidth(255), 118);
    list->Paint();
    EXPECT_EQ(list->scrollTotal, 164);
    EXPECT_EQ(list->RowAt(40, 23), Partylist::NoRow);
    EXPECT_EQ(list->RowAt(40, 24 + 32), 1);

    // A non-leader's menu on another member holds only the private message.
    list->OnRightClick(list->x + 40, list->y + 24 + 5);
    auto* menu = dynamic_cast<Action*>(core->windows.back());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->context, Bob);
    ASSERT_EQ(menu->entries.size(), 1u);
    EXPECT_EQ(menu->entries[0].code, 30u);

    connection->SentSinceLastCall();
    list->OnCommand(list->FindButton(ButtonId::Close));
    EXPECT_EQ(connection->SentSinceLastCall(), std::vector<std::vector<uint8_t>>{{173}});
    EXPECT_EQ(List(), nullptr);
}

TEST_F(PartyMessages, TheFriendListIsSortedByBytesAndMarksFoes) {
    core->foes = {"bob"};
    auto* list = static_cast<Friendlist*>(core->AddWindow(new Friendlist(core.get())));
    std::string hex = "ca 00 04";
    for (const char* name : {"alice", "Bob", "bob", "Alice"})
        hex += U32(uint32_t(name[0])) + "01" + "02" + Str("note") + Str(name);
    ASSERT_TRUE(Deliver(hex));
    std::vector<std::string> names;
    for (const FriendRecord& person : core->friends) names.push_back(person.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Alice", "Bob", "alice", "bob"}));
    EXPECT_EQ(core->friends[3].foe, 1);
    EXPECT_EQ(core->friends[1].foe, 0);
    EXPECT_EQ(core->friends[0].text, "note");
    EXPECT_EQ(core->friends[0].second, 2);
    // The open list shows the new people at once.
    EXPECT_EQ(list->rows.size(), 4u);
    EXPECT_EQ(list->scrollTotal, 4 * 13 + 4);

    ASSERT_TRUE(Deliver("ca 00 00"));
    EXPECT_TRUE(core->friends.empty());
    EXPECT_TRUE(list->rows.empty());
}

}  // namespace
