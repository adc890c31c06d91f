#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "mouse.h"
#include "render.h"
#include "screen.h"
#include "support/fakeplatform.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/windowtypes.h"

namespace {

// The bar's owner at (100, 50): it draws the bar every frame, as owners do, and counts what the
// bar tells it.
class BarOwner : public Window {
public:
    BarOwner(Core* core, uint32_t type) : Window(core) {
        Build();
        typeId = type;
        x = 100;
        y = 50;
        width = 300;
        height = 250;
    }
    void Draw() override {
        if (bar) bar->OnMouseMove(x, y);
    }
    void Refresh() override { ++refreshes; }
    void OnSubmit() override { ++submits; }

    Scroll* bar = nullptr;
    int refreshes = 0;
    int submits = 0;
};

std::string Part(int x, int y, int sx, int sy, int w, int h) {
    return "DrawImagePart(" + std::to_string(x) + "," + std::to_string(y) + "," +
           std::to_string(sx) + "," + std::to_string(sy) + "," + std::to_string(w) + "," +
           std::to_string(h) + ",img:1)";
}

std::string Tiled(int x, int y, int w, int h, int sx, int sy, int sw, int sh) {
    const std::string white = "0xFFFFFFFF";
    return "DrawImagePartTiledGradient(" + std::to_string(x) + "," + std::to_string(y) + "," +
           std::to_string(w) + "," + std::to_string(h) + ",0,0," + std::to_string(sw) + "," +
           std::to_string(sh) + "," + std::to_string(sx) + "," + std::to_string(sy) + "," +
           std::to_string(sw) + "," + std::to_string(sh) + "," + white + "," + white + "," + white +
           "," + white + ",img:1)";
}

class ScrollTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Skin image 1, so that the thumb and the arrows are drawn and logged.
        core->render->GetImage(1) = GFX_CreateImage(512, 512, nullptr, 0, 0, 1);
    }
    void TearDown() override { UseNullDriver(); }

    // A bar at (280, 10) of the owner, or (10, 220) when horizontal; in the window list, as a
    // list opened as a window puts it.
    Scroll* Bar(int32_t length, int32_t visible, int32_t total, uint8_t vertical = 1,
                uint32_t ownerType = 0) {
        owner = static_cast<BarOwner*>(core->AddWindow(new BarOwner(core.get(), ownerType)));
        owner->bar = new Scroll(core.get(), owner, vertical ? 280 : 10, vertical ? 10 : 220, length,
                                visible, total, 12, vertical);
        core->AddWindow(owner->bar);
        return owner->bar;
    }
    Mouse* UseMouse() {
        core->screen = new Screen(core.get(), 800, 600, 32, 0);
        return core->screen->mouse;
    }

    std::unique_ptr<Core> core = MakeTestCore();
    BarOwner* owner = nullptr;
};

TEST_F(ScrollTest, ABarHasAnArrowAtEachEndAndLiesOnItsOwner) {
    Scroll* bar = Bar(200, 100, 1000);
    EXPECT_EQ(bar->typeId, WindowType::Scroll);
    EXPECT_EQ(bar->movable, 1);
    EXPECT_EQ(bar->repeatDelay, 100);
    EXPECT_EQ(bar->surface, nullptr);
    const WindowRect rect = bar->GetRect();
    EXPECT_EQ(rect.x, 380);
    EXPECT_EQ(rect.y, 60);
    EXPECT_EQ(rect.w, 18);
    EXPECT_EQ(rect.h, 200);
    EXPECT_TRUE(bar->HitTest(380, 259));
    EXPECT_FALSE(bar->HitTest(398, 100));
    EXPECT_FALSE(bar->HitTest(280, 10));  // its own x and y are relative to the owner
    ASSERT_EQ(bar->buttons.size(), 2u);
    EXPECT_EQ(bar->buttons[0]->id, Scroll::UpArrow);
    EXPECT_EQ(bar->buttons[1]->id, Scroll::DownArrow);
    EXPECT_EQ(bar->buttons[1]->y, 186);
    EXPECT_EQ(bar->ButtonAt(385, 250), bar->buttons[1]);

    Scroll* across = Bar(200, 100, 1000, 0);
    EXPECT_EQ(across->width, 200);
    EXPECT_EQ(across->height, 18);
    EXPECT_EQ(across->repeatDelay, 300);
    ASSERT_EQ(across->buttons.size(), 2u);
    EXPECT_EQ(across->buttons[0]->id, Scroll::LeftArrow);
    EXPECT_EQ(across->buttons[1]->id, Scroll::RightArrow);
    EXPECT_EQ(across->buttons[1]->x, 186);
}

TEST_F(ScrollTest, TheThumbFollowsTheExtentsAndThePosition) {
    const struct {
        int32_t length, visible, total, position;
        int32_t thumbLength, thumbOffset;
    } cases[] = {
        {200, 50, 1000, 950, 12, 158},  // max(12, 170 * 50 / 1000); (200 - 12 - 30) at the end
        {200, 100, 200, 0, 85, 0},     {200, 100, 200, 100, 85, 85},
        {200, 100, 200, 50, 85, 42},  // truncated
        {200, 100, 100, 0, 170, 0},   // everything visible
        {200, 0, 0, 0, 12, 0},        // nothing at all: no division by zero
        {30, 10, 100, 90, 12, 0},     // a bar too short for its thumb never moves it backwards
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.length) + " " + std::to_string(c.visible) + " " +
                     std::to_string(c.total) + " " + std::to_string(c.position));
        Scroll* bar = Bar(c.length, c.visible, c.total);
        bar->SetPosition(c.position);
        EXPECT_EQ(bar->position, c.position);
        EXPECT_EQ(bar->thumbLength, c.thumbLength);
        EXPECT_EQ(bar->thumbOffset, c.thumbOffset);
    }
}

TEST_F(ScrollTest, StepsStopAtBothEnds) {
    Scroll* bar = Bar(200, 100, 130);
    bar->position = 24;
    bar->StepDown();
    EXPECT_EQ(bar->position, 30);  // not 36
    EXPECT_EQ(owner->refreshes, 1);
    bar->StepDown();
    EXPECT_EQ(owner->refreshes, 1);  // no change, no report
    bar->position = 5;
    bar->StepUp();
    EXPECT_EQ(bar->position, 0);
    EXPECT_EQ(owner->refreshes, 2);

    // A position within one step of the end goes to the end.
    const struct {
        int32_t asked, position;
    } cases[] = {{25, 30}, {18, 18}, {19, 30}, {-5, 0}, {1000, 30}};
    for (const auto& c : cases) {
        bar->SetPosition(c.asked);
        EXPECT_EQ(bar->position, c.position) << c.asked;
    }
}

TEST_F(ScrollTest, OnlyPositionChangesReportToTheOwner) {
    Scroll* bar = Bar(200, 100, 1000);
    bar->SetTotal(2000);
    bar->Grow(20);
    EXPECT_EQ(owner->refreshes, 0);
    bar->ScrollToStart();  // always reports, even without a change
    EXPECT_EQ(owner->refreshes, 1);
    bar->ScrollToEnd();
    EXPECT_EQ(bar->position, 1880);
    EXPECT_EQ(owner->refreshes, 2);
    bar->SetPosition(1880);
    EXPECT_EQ(owner->refreshes, 2);
    bar->OnSubmit();
    EXPECT_EQ(owner->submits, 1);
}

TEST_F(ScrollTest, FullyVisibleContentDoesNotScroll) {
    Scroll* bar = Bar(200, 100, 100);
    RecordingDriver::Install();
    bar->StepDown();
    bar->StepUp();
    bar->OnWheel(0, 0, -120);
    bar->OnWheel(0, 0, 120);
    bar->SetPosition(50);
    bar->OnCommand(bar->FindButton(Scroll::DownArrow));
    bar->OnMouseDown(385, 80);
    EXPECT_EQ(bar->position, 0);
    EXPECT_EQ(owner->refreshes, 0);
    EXPECT_FALSE(bar->IsDragging());
    // Only the two arrows are drawn: no thumb.
    owner->Draw();
    const std::vector<std::string> arrows = {Part(380, 60, 0, 0, 18, 14),
                                             Part(380, 246, 0, 16, 18, 14)};
    EXPECT_EQ(RecordingDriver::Take(), arrows);
}

TEST_F(ScrollTest, NewExtentsKeepThePositionInRange) {
    Scroll* bar = Bar(200, 100, 1000);
    bar->ScrollToEnd();
    bar->SetTotal(500);
    EXPECT_EQ(bar->position, 400);
    EXPECT_EQ(bar->thumbLength, 34);  // 170 * 100 / 500
    EXPECT_EQ(bar->thumbOffset, 200 - 34 - 30);
    bar->SetTotal(50);
    EXPECT_EQ(bar->position, 0);
    EXPECT_EQ(bar->thumbOffset, 0);

    bar->SetTotal(1000);
    bar->ScrollToEnd();
    bar->Grow(50);
    EXPECT_EQ(bar->visible, 150);
    EXPECT_EQ(bar->height, 250);
    EXPECT_EQ(bar->position, 850);
    EXPECT_EQ(bar->thumbLength, 33);  // 220 * 150 / 1000
    EXPECT_EQ(bar->FindButton(Scroll::DownArrow)->y, 236);
}

TEST_F(ScrollTest, TheWheelStepsBackWhenTurnedAwayFromTheUser) {
    const struct {
        uint32_t ownerType;
        int32_t delta, position;
    } cases[] = {
        {0, -120, 36},
        {0, 120, 12},
        {0, 0, 36},                      // any delta but a positive one steps forward
        {WindowType::Channel, 120, 36},  // a chat page's bar is inverted
        {WindowType::Channel, -120, 12},
    };
    for (const auto& c : cases) {
        Scroll* bar = Bar(200, 100, 1000, 1, c.ownerType);
        bar->SetPosition(24);
        bar->OnWheel(0, 0, c.delta);
        EXPECT_EQ(bar->position, c.position) << c.ownerType << " " << c.delta;
    }
}

TEST_F(ScrollTest, AChatPagesBarStartsAtTheBottom) {
    Scroll* bar = Bar(200, 100, 1000, 1, WindowType::Channel);
    EXPECT_EQ(bar->inverted, 1);
    EXPECT_EQ(bar->position, 0);
    EXPECT_EQ(bar->thumbOffset, 200 - 17 - 30);
    // Its up arrow moves the position forward and the thumb up.
    bar->OnCommand(bar->FindButton(Scroll::UpArrow));
    EXPECT_EQ(bar->position, 12);
    EXPECT_EQ(bar->thumbOffset, 153 - 153 * 12 / 900);
    bar->OnCommand(bar->FindButton(Scroll::DownArrow));
    EXPECT_EQ(bar->position, 0);
}

TEST_F(ScrollTest, TheThumbIsDraggedAlongTheTrack) {
    // Thumb 17 pixels on a 170-pixel track: it travels 153 pixels for 900 positions. Its top is
    // at screen y 50 + 10 + 15.
    Scroll* bar = Bar(200, 100, 1000);
    Mouse* mouse = UseMouse();
    auto at = [](int32_t x, int32_t y) { return MAKELPARAM(x, y); };

    mouse->OnLeftDown(0, at(385, 200));  // the track below the thumb: nothing
    EXPECT_FALSE(bar->dragging);
    mouse->OnLeftUp(0, at(385, 200));
    mouse->OnLeftDown(0, at(396, 80));  // the last pixel column is not the thumb's
    EXPECT_FALSE(bar->dragging);
    mouse->OnLeftUp(0, at(396, 80));

    mouse->OnLeftDown(0, at(385, 80));  // 5 pixels into the thumb
    EXPECT_TRUE(bar->dragging);
    EXPECT_EQ(core->activeWindow, bar);
    mouse->OnMove(MK_LBUTTON, at(385, 130));
    EXPECT_EQ(bar->thumbOffset, 50);
    EXPECT_EQ(bar->position, 50 * 900 / 153);
    EXPECT_EQ(owner->refreshes, 1);
    mouse->OnMove(MK_LBUTTON, at(385, 900));
    EXPECT_EQ(bar->thumbOffset, 153);
    EXPECT_EQ(bar->position, 900);
    mouse->OnMove(MK_LBUTTON, at(385, 0));
    EXPECT_EQ(bar->thumbOffset, 0);
    EXPECT_EQ(bar->position, 0);
    mouse->OnLeftUp(0, at(385, 0));
    EXPECT_FALSE(bar->dragging);
    mouse->OnMove(0, at(385, 130));
    EXPECT_EQ(bar->position, 0);
}

TEST_F(ScrollTest, AnInvertedThumbCountsFromTheBottom) {
    Scroll* bar = Bar(200, 100, 1000, 1, WindowType::Channel);
    const int32_t thumbTop = 50 + 10 + 15 + bar->thumbOffset;
    bar->OnMouseDown(385, thumbTop + 2);
    ASSERT_TRUE(bar->dragging);
    bar->OnDrag(385, thumbTop + 2 - 53);  // 100 pixels of travel from the top
    EXPECT_EQ(bar->thumbOffset, 100);
    EXPECT_EQ(bar->position, (153 - 100) * 900 / 153);
}

TEST_F(ScrollTest, AHorizontalThumbIsDraggedAlongX) {
    Scroll* bar = Bar(200, 100, 1000, 0);  // screen (110, 270)
    bar->OnMouseDown(110 + 15 + 3, 275);
    ASSERT_TRUE(bar->dragging);
    bar->OnDrag(110 + 15 + 3 + 30, 500);
    EXPECT_EQ(bar->thumbOffset, 30);
    EXPECT_EQ(bar->position, 30 * 900 / 153);
}

TEST_F(ScrollTest, AClickOnAnArrowStepsOnceOnRelease) {
    Scroll* bar = Bar(200, 100, 1000);
    Mouse* mouse = UseMouse();
    FakePlatform fake;
    core->Tick();
    core->Tick();  // the frames now run on the fake clock
    mouse->OnLeftDown(0, MAKELPARAM(385, 250));
    FakePlatform::wallClock += 50;
    core->Tick();
    EXPECT_EQ(bar->position, 0);
    mouse->OnLeftUp(0, MAKELPARAM(385, 250));
    EXPECT_EQ(bar->position, 12);
    // Released elsewhere: no step.
    mouse->OnLeftDown(0, MAKELPARAM(385, 250));
    mouse->OnLeftUp(0, MAKELPARAM(385, 150));
    EXPECT_EQ(bar->position, 12);
}

TEST_F(ScrollTest, AHeldArrowRepeatsAndItsReleaseAddsNoStep) {
    // Frames every 10 ms. The first step comes once more than the repeat delay has passed since
    // the last frame without a held arrow, then one every delay + 10 ms.
    const struct {
        uint8_t vertical;
        int32_t heldMs, steps;
    } cases[] = {
        {1, 1000, 9},  // 100 ms: steps 100, 210, ... 980 ms after the press
        {1, 50, 1},    // a click: the one step of the release
        {0, 1000, 3},  // 300 ms
    };
    Mouse* mouse = UseMouse();
    FakePlatform fake;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.vertical) + " " + std::to_string(c.heldMs));
        Scroll* bar = Bar(200, 100, 10000, c.vertical);
        const LPARAM forwardArrow = c.vertical ? MAKELPARAM(385, 250) : MAKELPARAM(300, 278);
        auto frame = [&] {
            FakePlatform::wallClock += 10;
            core->Tick();
        };
        frame();
        frame();
        mouse->OnLeftDown(0, forwardArrow);
        for (int32_t held = 0; held < c.heldMs; held += 10) frame();
        mouse->OnLeftUp(0, forwardArrow);
        frame();
        frame();
        EXPECT_EQ(bar->position, 12 * c.steps);
        EXPECT_EQ(bar->repeating, 0);
        core->RemoveWindow(bar);
        owner->bar = nullptr;
    }
}

TEST_F(ScrollTest, TheThumbIsDrawnFromCapsGripAndFiller) {
    const int32_t vx = 100 + 280 + 1, vt = 50 + 10 + 15;  // vertical: x of the thumb, its top
    const int32_t ht = 100 + 10 + 15, hy = 50 + 220 + 1;  // horizontal: its left end, its y
    const struct {
        const char* name;
        uint8_t vertical;
        int32_t visible, total;
        std::vector<std::string> thumb;
    } cases[] = {
        {"large grip",
         1,
         100,
         200,  // length 85, grip at 42 - 5
         {Part(vx, vt, 280, 263, 16, 3), Part(vx, vt + 82, 280, 267, 16, 3),
          Part(vx, vt + 37, 280, 224, 16, 11), Tiled(vx, vt + 3, 16, 34, 280, 221, 16, 1),
          Tiled(vx, vt + 48, 16, 34, 280, 221, 16, 1)}},
        {"small grip with filler",
         1,
         15,
         170,  // length 15, grip at 7 - 2
         {Part(vx, vt, 280, 263, 16, 3), Part(vx, vt + 12, 280, 267, 16, 3),
          Part(vx, vt + 5, 280, 227, 16, 5), Tiled(vx, vt + 3, 16, 2, 280, 221, 16, 1),
          Tiled(vx, vt + 10, 16, 2, 280, 221, 16, 1)}},
        {"shortest",
         1,
         10,
         1000,  // length 12: no filler
         {Part(vx, vt, 280, 263, 16, 3), Part(vx, vt + 9, 280, 267, 16, 3),
          Part(vx, vt + 4, 280, 227, 16, 5)}},
        {"horizontal",
         0,
         100,
         200,
         {Part(ht, hy, 282, 305, 3, 16), Part(ht + 82, hy, 286, 305, 3, 16),
          Part(ht + 37, hy, 263, 305, 11, 16), Tiled(ht + 3, hy, 34, 16, 260, 305, 1, 16),
          Tiled(ht + 48, hy, 34, 16, 260, 305, 1, 16)}},
    };
    RecordingDriver::Install();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bar(200, c.visible, c.total, c.vertical);
        RecordingDriver::Take();
        owner->Draw();
        std::vector<std::string> calls = RecordingDriver::Take();
        // The two arrows follow the thumb.
        ASSERT_EQ(calls.size(), c.thumb.size() + 2);
        calls.resize(c.thumb.size());
        EXPECT_EQ(calls, c.thumb);
    }
}

TEST_F(ScrollTest, ArrowsShowPressedWhileHeld) {
    Scroll* bar = Bar(200, 100, 1000);
    RecordingDriver::Install();
    bar->FindButton(Scroll::DownArrow)->pressed = 1;
    owner->Draw();
    const std::vector<std::string> calls = RecordingDriver::Take();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], Part(380, 60, 0, 0, 18, 14));
    EXPECT_EQ(calls.back(), Part(380, 246, 36, 16, 18, 14));
}

}  // namespace
