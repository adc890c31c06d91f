// The chat boxes over the console: the preset channels and their join requests, the names kept
// for the next game, private conversations, closing with the leave request, the tab strip, the
// tab menu, collapsing, and the channel list window.
#include "windows/game/chatbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "font.h"
#include "protocol.h"
#include "support/chatconsole.h"
#include "support/recordingconnection.h"
#include "support/testcore.h"
#include "windows/game/action.h"
#include "windows/game/channel.h"
#include "windows/game/channellist.h"
#include "windows/game/console.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Bytes = std::vector<uint8_t>;

class ChatboxTest : public ::testing::Test {
protected:
    void SetUp() override {
        core = MakeTestCore();
        connection = std::make_unique<RecordingConnection>(core.get(), StateGame);
    }
    void TearDown() override {
        core.reset();
        connection.reset();
    }

    Console* Open(const std::string& preset) {
        core->channelsPreset = preset;
        console = OpenConsole(core.get());
        return console;
    }

    // The requests sent since the last call.
    std::vector<Bytes> Sent() { return connection->SentSinceLastCall(); }

    static std::vector<std::string> Names(const Chatbox* box) {
        std::vector<std::string> names;
        for (const Channel* page : box->channels) names.push_back(page->name);
        return names;
    }

    std::unique_ptr<Core> core;
    std::unique_ptr<RecordingConnection> connection;
    Console* console = nullptr;
};

TEST_F(ChatboxTest, ThePresetJoinsItsChannelsAndNpcGoesToTheSecondBox) {
    Open("World,Help,NPC,Nonsense,World");
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{202, 1}, {202, 2}, {202, 4}}));
    EXPECT_EQ(Names(console->mainChatbox), (std::vector<std::string>{"Main", "World", "Help"}));
    EXPECT_EQ(Names(console->secondChatbox), (std::vector<std::string>{"Info", "NPC"}));
    Channel* world = console->FindChannel(ChannelId::World);
    ASSERT_NE(world, nullptr);
    ASSERT_EQ(world->rawLines.size(), 2u);
    EXPECT_EQ(Font::PlainText(world->rawLines[0]), "Welcome to the world channel!");
    EXPECT_EQ(Font::PlainText(console->FindChannel(ChannelId::Main)->rawLines[0]),
              "Welcome to the world of Veltor!");
    EXPECT_EQ(core->chatBox, console->mainChatbox);
    EXPECT_EQ(console->mainChatbox->current, console->FindChannel(ChannelId::Main));
}

TEST_F(ChatboxTest, LeavingKeepsTheChatChannelsForTheNextGame) {
    Open("World,Help,NPC");
    console->mainChatbox->OpenChannel(ChannelId::Private, "Bob", 1);
    core->inGame = 1;
    core->LeaveGame();
    EXPECT_EQ(core->channelsPreset, "World,Help,NPC");
}

TEST_F(ChatboxTest, PrivatePagesCountUpAndCloseWithoutARequest) {
    Chatbox* box = Open("World")->mainChatbox;
    Sent();
    ASSERT_TRUE(box->OpenChannel(ChannelId::Private, "Ann", 1));
    ASSERT_TRUE(box->OpenChannel(ChannelId::Private, "Bob", 1));
    EXPECT_FALSE(box->OpenChannel(ChannelId::Private, "Bob", 1));
    Channel* ann = box->FindChannelByIdAndName(ChannelId::Private, "Ann");
    Channel* bob = box->FindChannelByIdAndName(ChannelId::Private, "Bob");
    ASSERT_TRUE(ann && bob);
    EXPECT_EQ(ann->id, 255u);
    EXPECT_EQ(bob->id, 256u);
    EXPECT_EQ(box->FindChannelByIdAndName(ChannelId::World, "Bob"), nullptr);
    box->CloseChannel(ann);
    box->CloseChannel(bob);
    box->CloseChannel(box->FindChannel(ChannelId::World));
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{204, 1}}));
    EXPECT_EQ(Names(box), std::vector<std::string>{"Main"});
}

TEST_F(ChatboxTest, ClosingTheCurrentPageSelectsItsNeighbour) {
    Chatbox* box = Open("World,Help,Trade")->mainChatbox;
    Channel* help = box->FindChannel(ChannelId::Help);
    box->SelectChannel(help);
    EXPECT_EQ(box->current, help);
    EXPECT_EQ(box->closeButton->visible, 1);
    box->OnCommand(box->closeButton);
    EXPECT_EQ(box->current, box->FindChannel(ChannelId::World));
    EXPECT_EQ(Names(box), (std::vector<std::string>{"Main", "World", "Trade"}));
    // The current page and its scroll bar are windows; the others are not.
    const auto listed = [&](const Window* window) {
        return std::find(core->windows.begin(), core->windows.end(), window) != core->windows.end();
    };
    EXPECT_TRUE(listed(box->current) && listed(box->current->scroll));
    EXPECT_FALSE(listed(box->FindChannel(ChannelId::Trade)));
}

TEST_F(ChatboxTest, ManyTabsEnableTheArrows) {
    Chatbox* box = Open("")->mainChatbox;
    EXPECT_FALSE(box->rightButton->enabled);
    for (const char* name : {"A", "B", "C", "D", "E"})
        box->OpenChannel(ChannelId::Private, name, 1);
    box->width = 300;  // room for (300 + 18) / 54 = 5 slots, three tabs
    box->LayoutTabs();
    EXPECT_TRUE(box->rightButton->enabled);
    EXPECT_FALSE(box->leftButton->enabled);
    const auto visibleTabs = [&] {
        std::vector<uint32_t> ids;
        for (const Button* button : box->buttons)
            if (button->id >= Chatbox::TabBase && button->visible) ids.push_back(button->id);
        return ids;
    };
    EXPECT_EQ(visibleTabs(), (std::vector<uint32_t>{255, 510, 511}));
    box->OnCommand(box->rightButton);
    EXPECT_TRUE(box->leftButton->enabled);
    EXPECT_EQ(visibleTabs(), (std::vector<uint32_t>{510, 511, 512}));
}

TEST_F(ChatboxTest, ALongNameIsCutOnItsTab) {
    Chatbox* box = Open("")->mainChatbox;
    box->OpenChannel(ChannelId::Private, "Bartholomew", 1);  // 77 px
    box->OpenChannel(ChannelId::Private, "Annabel", 1);      // 49 px
    box->OpenChannel(ChannelId::Private, "Annabe", 1);       // 42 px
    EXPECT_EQ(box->FindButton(510)->caption, "Bartho..");    // 42 px
    EXPECT_EQ(box->FindButton(511)->caption, "Annabe..");
    EXPECT_EQ(box->FindButton(512)->caption, "Annabe");
    EXPECT_EQ(box->FindChannel(255)->name, "Bartholomew");
}

TEST_F(ChatboxTest, ThePartyChannelClosesOnlyAfterLeavingTheParty) {
    Chatbox* box = Open("")->mainChatbox;
    box->OpenPartyChannel(ChannelId::Party);
    box->OpenPartyChannel(3);  // no other kind
    Channel* party = box->FindChannel(ChannelId::Party);
    ASSERT_NE(party, nullptr);
    EXPECT_EQ(Names(box), (std::vector<std::string>{"Main", "Party"}));
    box->SelectChannel(party);
    EXPECT_EQ(box->closeButton->visible, 0);
    const auto menuCodes = [&] {
        Button* tab = box->FindButton(Chatbox::TabBase + ChannelId::Party);
        box->OnRightClick(box->x + tab->x + 5, box->y + tab->y + 5);
        auto* menu = dynamic_cast<Action*>(core->windows.back());
        std::vector<uint32_t> codes;
        if (!menu) return codes;
        EXPECT_EQ(menu->owner, party);
        for (const Action::Entry& entry : menu->entries) codes.push_back(entry.code);
        core->RemoveWindow(menu);
        return codes;
    };
    EXPECT_EQ(menuCodes(), (std::vector<uint32_t>{80, 82}));
    party->SetTabMark(1);
    EXPECT_EQ(box->closeButton->visible, 1);
    party->logging = 1;
    EXPECT_EQ(menuCodes(), (std::vector<uint32_t>{80, 83, 0, 81}));
    party->logging = 0;
}

TEST_F(ChatboxTest, CollapsedPagesAreDeletedOnce) {
    Console* opened = Open("World,NPC");
    Chatbox* box = opened->mainChatbox;
    box->OnCommand(box->collapseButton);
    EXPECT_TRUE(box->collapsed);
    EXPECT_EQ(box->collapseButton->id, Chatbox::ExpandButton);
    EXPECT_EQ(std::count(core->windows.begin(), core->windows.end(), box->current), 0);
    opened->secondChatbox->OnCommand(opened->secondChatbox->collapseButton);
    // Both cannot be collapsed: the first opens again.
    EXPECT_FALSE(box->collapsed);
    EXPECT_TRUE(opened->secondChatbox->collapsed);
    EXPECT_EQ(std::count(core->windows.begin(), core->windows.end(), box->current), 1);
    core->inGame = 1;
    core->LeaveGame();  // deletes every page once, current or not, collapsed or not
    core->DeleteClosedWindows();
    EXPECT_EQ(core->channelsPreset, "World,NPC");
}

TEST_F(ChatboxTest, TheChannelListOffersWhatTheBoxLacks) {
    Chatbox* box = Open("Help,Trade,World")->mainChatbox;
    Sent();
    box->OnCommand(box->listButton);
    box->OnCommand(box->listButton);  // one at a time
    auto* list = dynamic_cast<Channellist*>(core->FindWindow(WindowType::Channellist));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(std::count_if(core->windows.begin(), core->windows.end(),
                            [](Window* w) { return w->typeId == WindowType::Channellist; }),
              1);
    EXPECT_EQ(list->name, "Left Channels");
    EXPECT_EQ(list->list->items, std::vector<std::string>{"Console"});
    list->list->Clear();
    list->OnCommand(list->FindButton(Channellist::JoinButton));  // an empty list: nothing
    EXPECT_EQ(core->FindWindow(WindowType::Channellist), list);
    list->OnCommand(list->FindButton(ButtonId::Close));
    EXPECT_EQ(core->FindWindow(WindowType::Channellist), nullptr);

    box->CloseChannel(box->FindChannel(ChannelId::Trade));
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{204, 3}}));
    box->OnCommand(box->listButton);
    list = dynamic_cast<Channellist*>(core->FindWindow(WindowType::Channellist));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->list->items, (std::vector<std::string>{"Console", "Trade"}));
    list->list->selected = 1;
    list->OnCommand(list->FindButton(Channellist::JoinButton));
    EXPECT_EQ(core->FindWindow(WindowType::Channellist), nullptr);
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{202, 3}}));
    Channel* trade = box->FindChannel(ChannelId::Trade);
    ASSERT_NE(trade, nullptr);
    EXPECT_EQ(trade->rawLines.size(), 2u);

    // The second box offers NPC.
    console->secondChatbox->OnCommand(console->secondChatbox->listButton);
    list = dynamic_cast<Channellist*>(core->FindWindow(WindowType::Channellist));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->name, "Right Channels");
    EXPECT_EQ(list->list->items, std::vector<std::string>{"NPC"});
    list->list->selected = 7;  // an index outside the list reads nothing
    list->OnCommand(list->FindButton(Channellist::JoinButton));
    EXPECT_EQ(core->FindWindow(WindowType::Channellist), list);
}

}  // namespace
