// What the console does with a submitted chat line: the request it sends for each kind of
// channel, the own line and the speech text, "#name" pages, the history, the capitals button and
// the drunk filter.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "gamelists.h"
#include "notification.h"
#include "paragraphs.h"
#include "platform.h"
#include "protocolstate.h"
#include "support/chatconsole.h"
#include "support/creatureworld.h"
#include "support/fakeplatform.h"
#include "support/recordingconnection.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/toolkit/input.h"
#include "world.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Request(uint8_t opcode, std::initializer_list<std::string> texts, int channel = -1) {
    Bytes bytes{opcode};
    if (channel >= 0) bytes.push_back(uint8_t(channel));
    for (const std::string& text : texts) {
        bytes.push_back(uint8_t(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
    return bytes;
}

const Bytes TypingStopped{197};

class ConsoleInputTest : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        connection = std::make_unique<RecordingConnection>(core.get(), StateGame);
        player = SpawnPlayer({10, 10, 7}, "Hero");
        console = OpenConsole(core.get());
        Sent();
    }
    void TearDown() override {
        connection.reset();
        CreatureWorld::TearDown();
    }

    // Enter on a line typed as given.
    std::vector<Bytes> Submit(const std::string& text) {
        console->chatLine->text = text;
        console->OnSubmit();
        return Sent();
    }
    std::vector<Bytes> Sent() { return connection->SentSinceLastCall(); }
    Channel* Select(uint32_t id, const std::string& name) {
        Chatbox* box = console->mainChatbox;
        box->OpenChannel(id, name, 0);
        Channel* page = box->FindChannelByIdAndName(id, name);
        box->SelectChannel(page);
        return page;
    }
    static std::string LastLine(const Channel* page) {
        return page->rawLines.empty() ? "" : page->rawLines.back();
    }

    std::unique_ptr<RecordingConnection> connection;
    Creature* player = nullptr;
    Console* console = nullptr;
};

TEST_F(ConsoleInputTest, MainTalkIsCleanedAndTheHistoryKeepsTheLineAsTyped) {
    EXPECT_EQ(Submit("  a\tb  "), (std::vector<Bytes>{Request(60, {"a b"}), TypingStopped}));
    EXPECT_EQ(console->history, std::vector<std::string>{"  a\tb  "});
    EXPECT_TRUE(console->chatLine->text.empty());
    EXPECT_NE(LastLine(console->FindChannel(ChannelId::Main)).find("a b"), std::string::npos);
    EXPECT_FALSE(world->paragraphs->effects.empty());
}

TEST_F(ConsoleInputTest, EachChannelSendsItsOwnRequest) {
    Channel* npc = Select(ChannelId::Npc, "NPC");
    EXPECT_EQ(Submit("hi"), (std::vector<Bytes>{Request(203, {"hi"}, 4), TypingStopped}));
    // The own line of the NPC channel goes to Main, and the player says it on the field.
    EXPECT_NE(LastLine(console->FindChannel(ChannelId::Main)).find("hi"), std::string::npos);
    EXPECT_EQ(npc->rawLines.size(), 0u);
    EXPECT_EQ(world->paragraphs->effects.size(), 1u);

    Select(ChannelId::Private, "Bob");
    EXPECT_EQ(Submit("psst"), (std::vector<Bytes>{Request(193, {"Bob", "psst"}), TypingStopped}));
    Select(ChannelId::World, "World");
    EXPECT_EQ(Submit("all"), (std::vector<Bytes>{Request(203, {"all"}, 1), TypingStopped}));
    Select(ChannelId::Console, "Console");
    EXPECT_EQ(Submit("!x"), (std::vector<Bytes>{Request(241, {"!x"}), TypingStopped}));
    // Only Main and NPC talk shows above the player.
    EXPECT_EQ(world->paragraphs->effects.size(), 1u);
}

TEST_F(ConsoleInputTest, APrivilegedPlayersCommandRunsHereAndIsNotSent) {
    player->privileged = 1;
    Channel* page = Select(ChannelId::Console, "Console");
    const size_t before = page->rawLines.size();
    EXPECT_EQ(Submit("!help"), std::vector<Bytes>{TypingStopped});
    // The own line, then the 24 help lines.
    EXPECT_EQ(page->rawLines.size(), before + 1 + 24);
    EXPECT_NE(page->rawLines[before].find("!help"), std::string::npos);
}

TEST_F(ConsoleInputTest, AHashLineOpensAPrivatePageAndSendsNothing) {
    EXPECT_EQ(Submit("#Bob"), std::vector<Bytes>{TypingStopped});
    Channel* bob = console->mainChatbox->FindChannelByName("Bob");
    ASSERT_NE(bob, nullptr);
    EXPECT_EQ(bob->id, ChannelId::Private);

    console->mainChatbox->JoinStandardChannel("World");
    Sent();
    ClearNotifications();
    EXPECT_EQ(Submit("#World"), std::vector<Bytes>{TypingStopped});
    EXPECT_EQ(Notifications(),
              std::vector<std::string>{"2:There is already a channel with World."});
    // "#" alone only clears the line.
    EXPECT_EQ(Submit("#"), std::vector<Bytes>{TypingStopped});
    EXPECT_TRUE(console->chatLine->text.empty());
}

TEST_F(ConsoleInputTest, AReadOnlyPageAndAnEmptyLineSendOnlyTheTypingStop) {
    Select(ChannelId::Info, "Info")->readOnly = 1;
    EXPECT_EQ(Submit("lost"), std::vector<Bytes>{TypingStopped});
    Select(ChannelId::Main, "Main");
    EXPECT_EQ(Submit(" \t "), std::vector<Bytes>{TypingStopped});
    // Nothing at all for a line never typed: the input keeps what it has.
    EXPECT_TRUE(Submit("").empty());
}

TEST_F(ConsoleInputTest, WithoutAPlayerNothingNeedsThePlayer) {
    core->player = nullptr;
    EXPECT_EQ(Submit("hello"), std::vector<Bytes>{Request(60, {"hello"})});
    EXPECT_TRUE(world->paragraphs->effects.empty());
    core->player = player;
}

TEST_F(ConsoleInputTest, TheHistoryRecallsUpToTenLines) {
    EXPECT_EQ(console->HistoryOlder(), "");
    Submit("same");
    Submit("same");
    EXPECT_EQ(console->history.size(), 1u);
    for (int i = 1; i <= 10; ++i) Submit("line " + std::to_string(i));
    ASSERT_EQ(console->history.size(), 10u);
    EXPECT_EQ(console->history.front(), "line 1");

    EXPECT_EQ(console->HistoryNewer(), "");
    EXPECT_EQ(console->HistoryOlder(), "line 10");
    EXPECT_EQ(console->HistoryOlder(), "line 9");
    EXPECT_EQ(console->HistoryNewer(), "line 10");
    EXPECT_EQ(console->HistoryNewer(), "");
    EXPECT_EQ(console->historyIndex, 0);
    for (int i = 0; i < 12; ++i) console->HistoryOlder();
    EXPECT_EQ(console->HistoryOlder(), "line 1");
}

TEST_F(ConsoleInputTest, TheCapitalsButtonRaisesOnlyAToZ) {
    console->chatLine->SetText("abc xyZ \xE9\xFF!");
    console->OnCommand(console->capitalsButton);
    EXPECT_EQ(console->chatLine->text, "ABC XYZ \xE9\xFF!");
}

TEST_F(ConsoleInputTest, RefreshingTheChannelsRepaintsTheShownPages) {
    Channel* main = console->mainChatbox->current;
    Channel* info = console->secondChatbox->current;
    ASSERT_TRUE(main && info);
    main->dirty = info->dirty = 0;
    console->RefreshChannels();
    EXPECT_TRUE(main->dirty);
    EXPECT_TRUE(info->dirty);
}

TEST(ConsoleText, NormalisingCleansSpacesAndControlBytes) {
    struct Case {
        std::string in, out;
    };
    for (const Case& c : std::vector<Case>{{"  a\tb  ", "a b"},
                                           {"a    b", "a b"},
                                           {"\x01\x1F", ""},
                                           {"\xE9  \xFF", "\xE9 \xFF"},
                                           {"", ""}}) {
        std::string text = c.in;
        Console::NormaliseText(text);
        EXPECT_EQ(text, c.out) << c.in;
    }
}

// The generator of the client's 32-bit C runtime: the same seed gives the same draws everywhere.
struct SeededRandom {
    static uint32_t state;
    static int Next() {
        state = state * 214013u + 2531011u;
        return int(state >> 16 & 0x7FFF);
    }
};
uint32_t SeededRandom::state = 0;

std::string Drunk(std::string text, uint32_t seed) {
    SeededRandom::state = seed;
    platform.random = SeededRandom::Next;
    Console::DrunkFilter(text);
    platform = realPlatform;
    return text;
}

TEST(ConsoleText, TheDrunkFilterGivesTheSameLineForTheSameSeed) {
    const std::string line = "where is the treasure chest and the golden key";
    for (uint32_t seed : {1u, 2u, 3u, 77u}) {
        const std::string once = Drunk(line, seed);
        EXPECT_EQ(Drunk(line, seed), once);
        // The words keep their first and last byte and their length, unless a hiccup is added.
        if (once.find("*hiccup*") == std::string::npos) {
            EXPECT_EQ(once.size(), line.size());
            EXPECT_EQ(once.front(), 'w');
            EXPECT_EQ(once.back(), 'y');
        }
    }
    EXPECT_EQ(Drunk(line, 1), "where is the terusrae chest and the golden key");
}

TEST(ConsoleText, TheDrunkFilterSwapsDirectionsOnAnEvenDraw) {
    FakePlatform fake;
    FakePlatform::randoms = {1, 0, 1, 1};
    std::string text = "go left now";
    Console::DrunkFilter(text);
    EXPECT_EQ(text, "go right now");
}

TEST(ConsoleText, AOneByteLineChangesOnlyByTheSuffix) {
    FakePlatform fake;
    FakePlatform::randoms = {1};
    std::string text = "a";
    Console::DrunkFilter(text);
    EXPECT_EQ(text, "a");
    FakePlatform::randoms = {0};
    Console::DrunkFilter(text);
    EXPECT_EQ(text, "a *hiccup* I love you!");
}

}  // namespace
