// The texts the client words itself: the damage and experience lines in Info, the fixed server
// texts with their automatic screenshots and friend-request bookkeeping, and the death.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "protocol.h"
#include "support/chatconsole.h"
#include "support/fakeplatform.h"
#include "support/gamemessages.h"
#include "windows/game/channel.h"

namespace {

class ServerTexts : public GameMessages {
protected:
    void SetUp() override {
        GameMessages::SetUp();
        OpenConsole(core.get());
        core->options.damage = core->options.experience = 1;
        core->hp = core->maxHp = 200;
    }

    std::string LastInfoLine() {
        Channel* info = ChannelOf(core.get(), ChannelId::Info);
        if (!info || info->rawLines.empty()) return "";
        return Font::PlainText(info->rawLines.back());
    }
};

TEST_F(ServerTexts, ExperienceLinesAreSingularForOnePoint) {
    ASSERT_TRUE(Deliver("16 0100 05"));
    EXPECT_EQ(LastInfoLine(), "You've gained 1 experience point.");
    ASSERT_TRUE(Deliver("16 fa00 05"));
    EXPECT_EQ(LastInfoLine(), "You've gained 250 experience points.");
    EXPECT_EQ(core->experienceNext, 5u);
}

TEST_F(ServerTexts, DamageLinesNameTheAttacker) {
    rat->privileged = 1;  // named by a common noun
    ASSERT_TRUE(Deliver("14 05000000 08 0100"));
    EXPECT_EQ(LastInfoLine(), "You've lost 1 hitpoint by a rat due to fire.");
    EXPECT_EQ(core->hp, 199);
    rat->name = "Orc";
    ASSERT_TRUE(Deliver("14 05000000 00 0300"));
    EXPECT_EQ(LastInfoLine(), "You've lost 3 hitpoints by an orc.");
    rat->privileged = 0;
    ASSERT_TRUE(Deliver("14 05000000 00 0000"));
    EXPECT_EQ(LastInfoLine(), "You've lost 0 hitpoints by Orc.");
}

TEST_F(ServerTexts, HealthStaysWithinItsRange) {
    ASSERT_TRUE(Deliver("14 05000000 00 2c01"));  // 300 of 200
    EXPECT_EQ(player->health, 0);
    core->maxHp = 0;
    ASSERT_TRUE(Deliver("14 05000000 00 0100"));
    EXPECT_TRUE(Connected());
}

TEST_F(ServerTexts, OnlyLevelAndSkillTextsTakeAScreenshot) {
    core->options.autoscreen = 1;
    for (uint8_t code = 80; code <= 95; ++code) {
        core->screenshotPending = 0;
        const char hex[] = "0123456789abcdef";
        ASSERT_TRUE(Deliver(std::string("5f ") + hex[code >> 4] + hex[code & 15]));
        EXPECT_EQ(core->screenshotPending, code < 81 || code > 83 ? 1 : 0) << int(code);
    }
}

TEST_F(ServerTexts, AFriendRefusalDropsTheWholeOldestRequest) {
    protocol->SendFriendAdd("Ann", 2, "note a");
    protocol->SendFriendAdd("Bob", 3, "note b");
    ASSERT_TRUE(Deliver("5f 02"));
    ASSERT_EQ(protocol->pendingFriends.size(), 1u);
    EXPECT_EQ(protocol->pendingFriends.front(), "Bob");
    EXPECT_EQ(protocol->pendingFriendGroups.front(), 3);
    EXPECT_EQ(protocol->pendingFriendNotes.front(), "note b");
}

TEST_F(ServerTexts, DeathWritesItsLinesAndHaltsTheGame) {
    ASSERT_TRUE(Deliver("fc 0000"));
    Channel* info = ChannelOf(core.get(), ChannelId::Info);
    ASSERT_NE(info, nullptr);
    ASSERT_GE(info->rawLines.size(), 2u);
    EXPECT_EQ(Font::PlainText(info->rawLines[info->rawLines.size() - 2]), "You are dead.");
    EXPECT_EQ(LastInfoLine(),
              "Login again to be reincarnated in the temple of the last town you visited.");
    EXPECT_EQ(core->gameHalted, 1);
    // The server closes the connection after a death: nothing goes out any more.
    connection->SentSinceLastCall();
    protocol->SendFriendAdd("Ann", 2, "");
    EXPECT_TRUE(connection->SentSinceLastCall().empty());
}

}  // namespace
