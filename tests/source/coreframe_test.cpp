#include <gtest/gtest.h>

#include "core.h"
#include "support/startup.h"
#include "driver/gfxcore.h"
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
    EXPECT_EQ(core->pingSamples,
              (std::vector<uint32_t>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
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

}  // namespace
