// The friends list: its rows (online people first), the foe title, clicks on a row, below the
// rows and on the player's own row, and the person menu's codes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "font.h"
#include "protocolstate.h"
#include "support/chatconsole.h"
#include "support/creatureworld.h"
#include "support/recordingconnection.h"
#include "windows/dialogs/look.h"
#include "windows/game/action.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/game/friendlist.h"
#include "windows/toolkit/windowtypes.h"

namespace {

class FriendlistTest : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        connection = std::make_unique<RecordingConnection>(core.get(), StateGame);
        SpawnPlayer({10, 10, 7}, "Hero");
        console = OpenConsole(core.get());
        core->friends = {{11, 0, "Ann", 0, "", 0},
                         {12, 1, "Bob", 0, "", 0},
                         {13, 2, "Cid", 0, "", 1},
                         {14, 1, "Hero", 0, "", 0}};
        list = static_cast<Friendlist*>(core->AddWindow(new Friendlist(core.get())));
        list->Paint();
        connection->SentSinceLastCall();
    }
    void TearDown() override {
        connection.reset();
        CreatureWorld::TearDown();
    }

    std::vector<std::string> RowNames() const {
        std::vector<std::string> names;
        for (const FriendRecord& row : list->rows) names.push_back(row.name);
        return names;
    }
    // The point of the row, 20 pixels in from the list's left edge.
    int32_t RowX() const { return list->x + 20; }
    int32_t RowY(int32_t row) const { return list->y + 24 + 13 * row + 2; }
    Window* NewWindow(size_t before) const {
        return core->windows.size() > before ? core->windows.back() : nullptr;
    }

    std::unique_ptr<RecordingConnection> connection;
    Console* console = nullptr;
    Friendlist* list = nullptr;
};

TEST_F(FriendlistTest, OnlinePeopleComeFirstAndOfflineOnesMayBeHidden) {
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"Bob", "Cid", "Hero", "Ann"}));
    EXPECT_EQ(list->scrollTotal, 4 * 13 + 4);
    EXPECT_EQ(list->name, "Friends & Foes");

    core->options.ofriends = 1;
    for (FriendRecord& person : core->friends) person.state = 0;
    core->friends[2].foe = 0;
    list->UpdateScroll();
    list->Refresh();
    list->Paint();
    EXPECT_TRUE(list->rows.empty());
    EXPECT_EQ(list->scrollTotal, 4);
    EXPECT_EQ(list->name, "Friends");
}

TEST_F(FriendlistTest, APointAboveTheFirstRowIsNoRow) {
    EXPECT_EQ(list->RowAt(20, 23), Friendlist::NoRow);
    EXPECT_EQ(list->RowAt(20, 24), 0);
    EXPECT_EQ(list->RowAt(20, 37), 1);
    EXPECT_EQ(list->RowAt(3, 30), Friendlist::NoRow);
    const size_t before = core->windows.size();
    list->OnMouseUp(RowX(), list->y + 23);
    list->OnRightClick(RowX(), list->y + 23);
    EXPECT_EQ(core->windows.size(), before);
}

TEST_F(FriendlistTest, LeftClicksOpenAPrivatePageOnceOrTellWhoIsOffline) {
    Chatbox* box = console->mainChatbox;
    const size_t pages = box->channels.size();
    list->OnMouseUp(RowX(), RowY(0));
    ASSERT_NE(box->FindChannelByName("Bob"), nullptr);
    EXPECT_EQ(box->current, box->FindChannelByName("Bob"));
    box->SelectChannel(box->FindChannel(ChannelId::Main));
    list->OnMouseUp(RowX(), RowY(0));
    EXPECT_EQ(box->channels.size(), pages + 1);
    EXPECT_EQ(box->current, box->FindChannelByName("Bob"));

    // The player's own row does nothing, left or right.
    size_t before = core->windows.size();
    list->OnMouseUp(RowX(), RowY(2));
    list->OnRightClick(RowX(), RowY(2));
    EXPECT_EQ(core->windows.size(), before);

    list->OnMouseUp(RowX(), RowY(3));
    auto* look = dynamic_cast<Look*>(NewWindow(before));
    ASSERT_NE(look, nullptr);
    EXPECT_EQ(look->title, MakeColorCode(255, 255, 255, 255) + "Ann" +
                               MakeColorCode(224, 224, 224, 224) + " is offline");
    before = core->windows.size();
    list->OnMouseUp(RowX(), RowY(6));
    look = dynamic_cast<Look*>(NewWindow(before));
    ASSERT_NE(look, nullptr);
    EXPECT_NE(look->title.find(" to add a person."), std::string::npos);
}

TEST_F(FriendlistTest, ThePersonMenuCarriesTheFriendsId) {
    const size_t before = core->windows.size();
    list->OnRightClick(RowX(), RowY(0));
    auto* menu = dynamic_cast<Action*>(NewWindow(before));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title, "Bob");
    EXPECT_EQ(menu->context, 12u);
    std::vector<uint32_t> codes;
    for (const Action::Entry& entry : menu->entries) codes.push_back(entry.code);
    EXPECT_EQ(codes, (std::vector<uint32_t>{30, 37, 0, 31, 32, 0, 33}));
    menu->Execute(4);
    EXPECT_EQ(connection->SentSinceLastCall(),
              (std::vector<std::vector<uint8_t>>{{65, 12, 0, 0, 0}}));

    // A foe is offered no party invitation.
    list->OnRightClick(RowX(), RowY(1));
    menu = dynamic_cast<Action*>(core->windows.back());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->entries[1].label, "Unmark as foe");

    // The title band's menu.
    list->OnRightClick(list->x + 10, list->y + 5);
    menu = dynamic_cast<Action*>(core->windows.back());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->entries[0].label, "Add a new person");
    EXPECT_EQ(menu->entries[1].label, "Hide offline");
}

}  // namespace
