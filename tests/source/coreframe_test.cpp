#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <vector>

#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "support/creatureworld.h"
#include "support/recordingconnection.h"
#include "support/startup.h"
#include "windows/toolkit/window.h"

namespace {

TEST(FrameInterval, IsWholeMillisecondsOfTheTargetRate) {
    const struct {
        uint32_t fps;
        uint32_t ms;
    } cases[] = {{100, 10}, {60, 16}, {144, 6}, {5, 200}, {1, 1000}, {0, 100}};
    for (const auto& c : cases) EXPECT_EQ(FrameInterval(c.fps), c.ms) << c.fps << " fps";
}

TEST(FrameWait, CountsTheRestOfTheIntervalAcrossTheTimerWrap) {
    EXPECT_EQ(FrameWait(1000, 1000, 10), 10u);
    EXPECT_EQ(FrameWait(1004, 1000, 10), 6u);
    EXPECT_EQ(FrameWait(1010, 1000, 10), 0u);
    EXPECT_EQ(FrameWait(2, 0xFFFFFFFEu, 10), 6u);  // 4 ms elapsed over the wrap
    EXPECT_EQ(FrameWait(20, 0xFFFFFFF0u, 10), 0u);
}

class Frame : public StartedCore {
protected:
    // Renders one frame that takes `ms` on the fake wall clock.
    void RenderFrameTaking(uint32_t ms) {
        fake.wallClockStep = ms;
        core->RenderFrame();
        fake.wallClockStep = 0;
    }
};

TEST_F(Frame, StatisticsCoverTheKeptFrameTimes) {
    core->frameTimes.clear();
    for (uint32_t ms : {5u, 9u, 7u}) RenderFrameTaking(ms);
    EXPECT_EQ(core->frameTimes, (std::vector<uint32_t>{5, 9, 7}));
    EXPECT_EQ(core->frameStats.last, 7u);
    EXPECT_EQ(core->frameStats.average, 7u);
    EXPECT_EQ(core->frameStats.maximum, 9u);
    EXPECT_EQ(core->frameStats.minimum, 5u);
}

TEST_F(Frame, ABackwardsClockCountsAsZero) {
    core->frameTimes.clear();
    fake.wallClockStep = static_cast<uint64_t>(-3);  // the end reads 3 ms before the start
    core->RenderFrame();
    fake.wallClockStep = 0;
    EXPECT_EQ(core->frameTimes, (std::vector<uint32_t>{0}));
}

TEST_F(Frame, SampleWindowSettlesAtTheRateAndNeverShrinks) {
    core->frameTimes.clear();
    core->fpsText = "0";
    for (int i = 0; i < 130; ++i) RenderFrameTaking(1);
    EXPECT_EQ(core->frameTimes.size(), 100u);  // at least 100 samples

    core->fpsText = "150.75";
    for (int i = 0; i < 200; ++i) RenderFrameTaking(1);
    EXPECT_EQ(core->frameTimes.size(), 150u);

    core->fpsText = "59.94";
    for (int i = 0; i < 20; ++i) RenderFrameTaking(1);
    EXPECT_EQ(core->frameTimes.size(), 150u);
}

// Asks to be closed on its first frame; records its deletion.
struct ClosingWindow : Window {
    bool* deleted;
    explicit ClosingWindow(bool* deleted) : deleted(deleted) { state = 3; }
    ~ClosingWindow() override { *deleted = true; }
};

TEST_F(Frame, ClosingWindowsAreRemovedAndDeletedBeforeDrawing) {
    bool deleted = false;
    Window* closing = core->AddWindow(new ClosingWindow(&deleted));
    core->RenderFrame();
    EXPECT_TRUE(deleted);
    EXPECT_EQ(std::count(core->windows.begin(), core->windows.end(), closing), 0);
}

// Counts its paints.
struct CountingWindow : Window {
    explicit CountingWindow(Core* core) : Window(core) {}
    void Paint() override { ++paints; }
    int paints = 0;
};

// Asks to be closed on its first frame; going, it takes a window it owns out of the list.
struct OwningWindow : Window {
    OwningWindow(Core* core, Window* owned) : Window(core), owned(owned) { state = 3; }
    ~OwningWindow() override { core->DetachWindow(owned); }
    Window* owned;
};

TEST_F(Frame, AWindowThatLeftWithAClosingOneIsNotPainted) {
    CountingWindow owned(core);  // kept alive here, so that a paint after it left shows
    core->AddWindow(new OwningWindow(core, &owned));
    core->AddWindow(&owned);
    core->RenderFrame();
    EXPECT_EQ(owned.paints, 0);
    EXPECT_EQ(std::count(core->windows.begin(), core->windows.end(), &owned), 0);
    core->RenderFrame();
    EXPECT_EQ(owned.paints, 0);
}

TEST_F(Frame, FrameRateIsMeasuredOverOneSecondWindows) {
    const uint64_t start = fake.wallClock;
    core->fpsWindowStart = start;
    core->fpsFrames = 0;
    fake.wallClock = start + 999;
    for (int i = 0; i < 30; ++i) core->UpdateFrameRate();
    EXPECT_EQ(core->fpsText, "0");
    EXPECT_EQ(core->fpsFrames, 30u);

    fake.wallClock = start + 1250;
    core->UpdateFrameRate();
    EXPECT_DOUBLE_EQ(core->fps, 31 * 1000.0 / 1250);
    EXPECT_EQ(core->fpsText, "24.80");
    EXPECT_EQ(core->fpsFrames, 0u);
    EXPECT_EQ(core->fpsWindowStart, start + 1250);
    EXPECT_EQ(core->frameTimeMs, start + 1250);
}

TEST_F(Frame, MinimisedWindowDrawsNothing) {
    core->clientWidth = 0;
    const size_t frames = core->frameTimes.size();
    const uint32_t counter = core->frameCounter;
    core->Tick();
    EXPECT_EQ(core->frameSkipped, 1);
    EXPECT_EQ(core->frameCounter, counter + 1);
    EXPECT_EQ(core->frameTimes.size(), frames);
}

TEST_F(Frame, ScreenshotDeadlineIsStrict) {
    core->SetScreenshotDeadline(50);
    EXPECT_EQ(core->screenshotDeadline, fake.wallClock + 50);
    core->screenshotPending = 1;

    fake.wallClock = core->screenshotDeadline;
    core->Tick();
    EXPECT_EQ(core->screenshotPending, 1);  // equal waits one more tick

    fake.wallClock = core->screenshotDeadline + 1;
    core->Tick();
    EXPECT_EQ(core->screenshotPending, 0);
}

// Notes at each paint whether the frame being drawn will be kept for a screen read-back.
struct KeepWatchingWindow : Window {
    explicit KeepWatchingWindow(Core* core) : Window(core) {}
    void Paint() override { kept.push_back(gfxState.keepPresentedFrames); }
    std::vector<bool> kept;
};

TEST_F(Frame, PresentedFramesAreKeptOnlyWhileAScreenshotIsArmed) {
    KeepWatchingWindow watcher(core);
    core->AddWindow(&watcher);
    core->Tick();
    core->SetScreenshotDeadline(50);
    core->screenshotPending = 1;
    core->Tick();
    fake.wallClock = core->screenshotDeadline + 1;
    core->Tick();  // drawn while armed, then read back
    EXPECT_EQ(core->screenshotPending, 0);
    core->Tick();
    core->DetachWindow(&watcher);
    EXPECT_EQ(watcher.kept, (std::vector<bool>{false, true, true, false}));
}

TEST_F(Frame, DriverErrorEndsTheProgramAfterADrawnFrame) {
    GFX_SetErrorSource("Device lost", "driver\\gfxdx9.cpp", 12);
    GFX_PushError();
    GFX_SetErrorSource("Second failure", "gfxdx9.cpp", 13);
    GFX_PushError();

    core->clientWidth = 0;  // minimised: the errors wait for a drawn frame
    core->Tick();
    EXPECT_TRUE(fake.boxes.empty());

    core->clientWidth = 800;
    try {
        core->Tick();
        FAIL() << "the tick went on after a driver error";
    } catch (const ProgramExit& exit) {
        EXPECT_NE(exit.code, 0u);
    }
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "Veltor - Graphic Driver Error");
    EXPECT_EQ(fake.boxes[0].text, "\nERROR\nDevice lost [gfxdx9.cpp:12]\n");
    GFX_ClearErrors();
}

class Ping : public StartedCore {
protected:
    void SendAndAnswer(uint32_t delay) {
        core->OnSecondTimer();
        fake.wallClock += delay;
        core->OnPingReply();
    }
};

TEST_F(Ping, OnlyInGameAPingIsSent) {
    core->OnSecondTimer();
    EXPECT_TRUE(core->pingTimes.empty());
    EXPECT_EQ(core->pingOutstanding, 0);
    core->inGame = 1;
    core->OnSecondTimer();
    EXPECT_EQ(core->pingTimes, (std::list<uint64_t>{fake.wallClock}));
    EXPECT_EQ(core->pingOutstanding, 1);
    core->inGame = 0;
}

TEST_F(Ping, SecondReplyReplacesTheFirstAndCountsTwice) {
    core->inGame = 1;
    SendAndAnswer(40);
    EXPECT_EQ(core->pingSamples, (std::vector<uint32_t>{40}));
    EXPECT_EQ(core->pingAverage, 40u);
    EXPECT_EQ(core->pingOutstanding, 0);

    SendAndAnswer(30);
    EXPECT_EQ(core->pingSamples, (std::vector<uint32_t>{30, 30}));

    for (uint32_t delay = 10; delay <= 100; delay += 10) SendAndAnswer(delay);
    EXPECT_EQ(core->pingSamples, (std::vector<uint32_t>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_EQ(core->pingAverage, 55u);
    core->inGame = 0;
}

TEST_F(Ping, RepliesMatchTheOldestUnansweredPing) {
    core->inGame = 1;
    const uint64_t first = fake.wallClock;
    core->OnSecondTimer();
    fake.wallClock += 1000;
    core->OnSecondTimer();
    fake.wallClock += 20;
    core->OnPingReply();
    EXPECT_EQ(core->lastPingSent, first);
    EXPECT_EQ(core->pingSamples, (std::vector<uint32_t>{1020}));
    EXPECT_EQ(core->pingTimes.size(), 1u);
    core->inGame = 0;
}

TEST_F(Ping, ReplyWithoutAPingOnlyClearsTheFlag) {
    core->pingOutstanding = 1;
    core->OnPingReply();
    EXPECT_EQ(core->pingOutstanding, 0);
    EXPECT_TRUE(core->pingSamples.empty());
}

class TestWalkerTick : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        FloorAround(10, 10, 1);
        connection = std::make_unique<RecordingConnection>(core.get());
        core->testWalker.testing = 1;
        core->inGame = 1;
    }

    FakePlatform fake;
    std::unique_ptr<RecordingConnection> connection;
};

TEST_F(TestWalkerTick, EachDrawDecidesOneActionInOrder) {
    constexpr uint8_t Walk = 32, MainChat = 60, ConsoleChat = 241;
    const struct {
        std::deque<int> draws;  // walk, its direction when it walks, chat, teleport
        int32_t hp, maxHp;
        std::vector<uint8_t> opcodes;
        int32_t direction;  // the step's direction, -1 for no step
    } cases[] = {
        {{129, 15, 110, 1002}, 0, 0, {Walk}, 7},
        {{2029, 1013, 1010, 0}, 0, 0, {Walk, ConsoleChat}, 5},
        {{30, 109, 1001}, 0, 0, {MainChat, ConsoleChat}, -1},
        {{30, 10, 2}, 9, 10, {ConsoleChat}, -1},
        {{30, 10, 2}, -1, 0, {ConsoleChat}, -1},  // hit points compare signed
        {{30, 10, 2}, 10, 10, {}, -1},
    };
    size_t sent = 0;
    for (const auto& c : cases) {
        const Creature* player = SpawnPlayer({10, 10, 7});  // a fresh one, standing
        fake.randoms = c.draws;
        core->hp = c.hp;
        core->maxHp = c.maxHp;
        core->Tick();
        EXPECT_TRUE(fake.randoms.empty()) << c.draws.front();
        const std::vector<uint8_t> opcodes = connection->SentOpcodes(sent + c.opcodes.size());
        EXPECT_EQ(std::vector<uint8_t>(opcodes.begin() + long(sent), opcodes.end()), c.opcodes)
            << c.draws.front();
        sent = opcodes.size();
        EXPECT_EQ(player->walking, c.direction >= 0) << c.draws.front();
        if (c.direction >= 0) {
            EXPECT_EQ(player->direction, uint32_t(c.direction)) << c.draws.front();
        }
    }
}

TEST_F(TestWalkerTick, NothingWithoutTheTestingByteTheGameOrAPlayer) {
    Creature* player = SpawnPlayer({10, 10, 7});
    for (int missing = 0; missing < 3; ++missing) {
        core->testWalker.testing = missing != 0;
        core->inGame = missing != 1;
        core->player = missing != 2 ? player : nullptr;
        fake.randoms = {0, 0, 0, 0};
        core->Tick();
        EXPECT_EQ(fake.randoms.size(), 4u) << missing;
    }
    EXPECT_TRUE(connection->SentOpcodes().empty());
}

}  // namespace
