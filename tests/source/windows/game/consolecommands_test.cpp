// The "!" commands of a privileged player: matching by the whole command or its prefix, the zone
// state they pin, their numbers kept within range and their replies.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "protocolstate.h"
#include "support/chatconsole.h"
#include "support/creatureworld.h"
#include "support/recordingconnection.h"
#include "weather.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

class ConsoleCommandsTest : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        connection = std::make_unique<RecordingConnection>(core.get(), StateGame);
        player = SpawnPlayer({10, 10, 7}, "Hero");
        console = OpenConsole(core.get());
        console->mainChatbox->JoinStandardChannel("Console");
        page = console->mainChatbox->FindChannel(ChannelId::Console);
        console->mainChatbox->SelectChannel(page);
        connection->SentSinceLastCall();
    }
    void TearDown() override {
        connection.reset();
        CreatureWorld::TearDown();
    }

    // The replies of one command.
    std::vector<std::string> Run(const std::string& command) {
        const size_t before = page->rawLines.size();
        console->RunCommand("!" + command);
        std::vector<std::string> replies(page->rawLines.begin() + long(before),
                                         page->rawLines.end());
        for (std::string& reply : replies) reply = reply.substr(5);  // the colour escape
        return replies;
    }
    int32_t Pinned() const { return world->weather->pinned ? world->weather->pinnedWord : -1; }

    std::unique_ptr<RecordingConnection> connection;
    Creature* player = nullptr;
    Console* console = nullptr;
    Channel* page = nullptr;
};

TEST_F(ConsoleCommandsTest, ZoneCommandsPinTheirFieldsAndKeepTheOthers) {
    EXPECT_EQ(Run("zone 3 5"),
              std::vector<std::string>{"darkness (0 - 8): 3, mist (0 - 8): 5, rain & snow "
                                       "cannot be changed via this method."});
    EXPECT_EQ(Pinned(), 48);
    EXPECT_TRUE(Run("rain on").empty());
    EXPECT_EQ(Pinned(), 7 << 8 | 48);
    Run("snow 2");
    EXPECT_EQ(Pinned(), 2 << 11 | 7 << 8 | 48);
    Run("dark 1");
    EXPECT_EQ(Pinned() & 0x7F, 5 * 9 + 1);
    Run("mist off");
    EXPECT_EQ(Pinned(), 2 << 11 | 7 << 8 | 1);
    // One number is both darkness and mist; rain and snow stay.
    Run("zone 3");
    EXPECT_EQ(Pinned(), 2 << 11 | 7 << 8 | 30);
    Run("zone off");
    EXPECT_EQ(Pinned(), 0);
}

TEST_F(ConsoleCommandsTest, NumbersStayWithinTheirFields) {
    struct Case {
        const char* command;
        int32_t word;
    };
    for (const Case& c : std::vector<Case>{{"rain 99", 7 << 8},
                                           {"rain -3", 0},
                                           {"snow 9", 7 << 11},
                                           {"dark 40", 8},
                                           {"mist 12", 8 * 9},
                                           {"zone 9 -1", 8},
                                           {"zone x y", 0}}) {
        Run("zone off");
        Run(c.command);
        EXPECT_EQ(Pinned(), c.word) << c.command;
    }
}

TEST_F(ConsoleCommandsTest, MatchingTakesTheFirstRowInOrder) {
    Run("lighting off");
    EXPECT_EQ(world->lightingEnabled, 0);
    // "lighting on" is no light value.
    EXPECT_TRUE(Run("lighting on").empty());
    EXPECT_EQ(world->lightingEnabled, 1);
    EXPECT_EQ(Run("light 0"),
              std::vector<std::string>{"The light value should be 1 - 100 OR -100 and -1"});
    EXPECT_EQ(Run("light 101").size(), 1u);
    EXPECT_TRUE(Run("light -40").empty());

    EXPECT_EQ(Run("layer 2"), std::vector<std::string>{"render layer: 2"});
    EXPECT_EQ(world->renderAllLayers, 0);
    EXPECT_EQ(world->renderLayer, 2);
    EXPECT_EQ(Run("layer all"), std::vector<std::string>{"render all layers"});
    EXPECT_EQ(world->renderAllLayers, 1);

    EXPECT_EQ(Run("self hide"), std::vector<std::string>{"enable hiding self"});
    EXPECT_FALSE(player->isVisible());
    Run("self show");
    EXPECT_TRUE(player->isVisible());
    EXPECT_TRUE(Run("speed on").empty());
    EXPECT_EQ(core->showSpeeds, 1);
    EXPECT_EQ(Run("frametimes on"),
              std::vector<std::string>{"start showing frametimes: avg, min, max"});
    EXPECT_EQ(core->showFrameTimes, 1);
    // Nothing matches: no reply, nothing changes.
    EXPECT_TRUE(Run("helpme").empty());
    EXPECT_TRUE(Run("layers").empty());
    EXPECT_EQ(Run("help").size(), 24u);
    EXPECT_EQ(Run("help").back(), "speed on/off [show the creature speeds]");
    EXPECT_EQ(Run("compiled")[0].rfind("compiled on ", 0), 0u);
}

TEST_F(ConsoleCommandsTest, ShakeTakesAByteOfAmplitudeAndNoNegativeDuration) {
    struct Case {
        const char* command;
        const char* reply;
        int32_t amplitude;
    };
    for (const Case& c : std::vector<Case>{{"shake 100", "scale: 0, duration: 100", 0},
                                           {"shake 3 250", "scale: 3, duration: 250", 3},
                                           {"shake -1 100", "scale: 0, duration: 100", 0},
                                           {"shake 999 -5", "scale: 255, duration: 0", 255}}) {
        world->weather->shakes.clear();
        EXPECT_EQ(Run(c.command), std::vector<std::string>{c.reply}) << c.command;
        ASSERT_EQ(world->weather->shakes.size(), 1u) << c.command;
        EXPECT_EQ(world->weather->shakes[0].amplitude, c.amplitude) << c.command;
    }
}

TEST_F(ConsoleCommandsTest, AbilitiesAsksTheServer) {
    EXPECT_TRUE(Run("abilities").empty());
    EXPECT_EQ(connection->SentSinceLastCall(), std::vector<std::vector<uint8_t>>{{71}});
}

TEST_F(ConsoleCommandsTest, WindowCommandsOpenTheirWindows) {
    const struct {
        const char* command;
        const char* reply;
        uint32_t type;
    } cases[] = {
        {"smith", "open smithing window", WindowType::Craft},
        {"journal", "open journal window", WindowType::Questlog},
        {"house", "open house window", WindowType::House},
        {"guild", "open guild window", WindowType::Guild},
        {"guildfound", "open guild founding window", WindowType::Guildfound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(Run(c.command), std::vector<std::string>{c.reply});
        EXPECT_NE(core->FindWindow(c.type), nullptr);
    }
}

}  // namespace
