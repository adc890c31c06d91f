// The server's notices about itself in the game state, as the game dispatcher reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "core.h"
#include "protocol.h"
#include "support/testcore.h"
#include "windows/front/crash.h"
#include "windows/front/suspend.h"
#include "windows/toolkit/windowtypes.h"

namespace {

class NoticeMessages : public ::testing::Test {
protected:
    // Each message of the list in turn, as the frame dispatcher hands them on.
    void Receive(const std::vector<uint8_t>& ops) {
        for (uint8_t op : ops) connection.inBuffer.AddU8(op);
        for (uint8_t op : ops) EXPECT_EQ(connection.ParseGame(), op);
        EXPECT_EQ(connection.inBuffer.GetUnread(), 0);
    }
    size_t Count(uint32_t type) {
        return size_t(std::count_if(core->windows.begin(), core->windows.end(),
                                    [type](Window* window) { return window->typeId == type; }));
    }

    std::unique_ptr<Core> core = MakeTestCore();
    Protocol connection{core.get(), 1};
};

TEST_F(NoticeMessages, ACrashHaltsTheGameAndForgetsTheStatusEffectsAndStats) {
    core->statusEffects = {{0, "Poisoned", 1, 1}, {6, "Fighting", 1, 1}};
    core->statTable.resize(3);
    Receive({248});
    EXPECT_EQ(core->gameHalted, 1);
    ASSERT_EQ(Count(WindowType::Crash), 1u);
    EXPECT_NE(dynamic_cast<Crash*>(core->windows.back()), nullptr);
    EXPECT_FALSE(core->statusEffects[0].active || core->statusEffects[1].active);
    EXPECT_EQ(core->statusEffects.size(), 2u);
    EXPECT_TRUE(core->statTable.empty());
    EXPECT_EQ(connection.messageCounter, 1);
}

TEST_F(NoticeMessages, RepeatedCrashesStandAsOneNotice) {
    Receive({248, 248, 248});
    EXPECT_EQ(Count(WindowType::Crash), 1u);
    EXPECT_EQ(core->windows.size(), 1u);
}

TEST_F(NoticeMessages, ASuspensionStandsAsOneNoticeUntilItIsOver) {
    Receive({253});
    EXPECT_EQ(core->gameHalted, 1);
    EXPECT_EQ(Count(WindowType::Suspend), 1u);
    Window* notice = core->windows.back();
    Receive({253, 253});
    EXPECT_EQ(core->windows, (std::vector<Window*>{notice}));
    Receive({254});
    EXPECT_TRUE(core->windows.empty());
    // A later suspension has its notice again.
    Receive({253});
    EXPECT_EQ(Count(WindowType::Suspend), 1u);
    EXPECT_EQ(connection.messageCounter, 5);
}

TEST_F(NoticeMessages, TheEndOfASuspensionRemovesEveryNoticeOfIt) {
    for (int i = 0; i < 3; ++i) core->AddWindow(new Suspend(core.get()));
    Crash* crash = new Crash(core.get());
    core->AddWindow(crash);
    Receive({254});
    EXPECT_EQ(core->windows, (std::vector<Window*>{crash}));
    // Without a notice the message changes nothing.
    Receive({254});
    EXPECT_EQ(core->windows, (std::vector<Window*>{crash}));
}

}  // namespace
