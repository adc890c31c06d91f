#include <gtest/gtest.h>

#include <utility>

#include "driver/gfxcore.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/window.h"

namespace {

// A plain movable window with title-bar buttons, as the dialogs build themselves.
class Plain : public Window {
public:
    Plain(Core* core, int32_t x, int32_t y, int32_t w, int32_t h, bool* deleted = nullptr)
        : Window(core), deleted(deleted) {
        Build();
        this->x = x;
        this->y = y;
        width = w;
        height = h;
        movable = 1;
        CreateSurface();
        AddCloseButton();
        AddCollapseButton();
    }
    ~Plain() override {
        if (deleted) *deleted = true;
    }
    bool* deleted;
};

class WindowTest : public ::testing::Test {
protected:
    std::unique_ptr<Core> core = MakeTestCore();

    Plain* Open(int32_t x, int32_t y, int32_t w, int32_t h, bool* deleted = nullptr) {
        auto* window = new Plain(core.get(), x, y, w, h, deleted);
        core->AddWindow(window);
        return window;
    }
};

TEST(SurfaceSize, RoundsPastTheNextMultipleOf64) {
    const struct {
        int32_t size, rounded;
    } cases[] = {{1, 64}, {63, 64}, {64, 128}, {65, 128}, {100, 128}, {128, 192}};
    for (const auto& c : cases) EXPECT_EQ(RoundSurfaceSize(c.size), c.rounded) << c.size;
}

TEST_F(WindowTest, SurfaceIsCreatedWithTheRoundedSize) {
    for (int32_t w : {63, 64, 65}) {
        Plain* window = Open(10, 10, w, 30);
        ASSERT_NE(window->surface, nullptr);
        EXPECT_EQ(window->surfaceWidth, w == 63 ? 64 : 128) << w;
        EXPECT_EQ(window->surfaceHeight, 64);
        EXPECT_TRUE(window->dirty);
    }
}

TEST_F(WindowTest, CentringHalvesTheScreenAndTheWindowEachRoundedDown) {
    Plain* window = Open(0, 0, 430, 444);
    for (const auto& [screenWidth, screenHeight] : {std::pair{800, 600}, std::pair{801, 601}}) {
        window->PlaceCentred(screenWidth, screenHeight);
        EXPECT_EQ(window->x, 185) << screenWidth;
        EXPECT_EQ(window->y, 78) << screenHeight;
    }
}

TEST_F(WindowTest, RefreshKeepsTheSurfaceWithinTheRoundingSlack) {
    Plain* window = Open(10, 10, 100, 50);
    GfxRenderTarget* first = window->surface;
    window->dirty = 0;

    window->width = 120;
    window->Refresh();
    EXPECT_EQ(window->surface, first);
    EXPECT_EQ(window->surfaceWidth, 128);
    EXPECT_TRUE(window->dirty);

    window->width = 130;
    window->Refresh();
    EXPECT_EQ(window->surfaceWidth, 192);
    ASSERT_NE(window->surface, nullptr);
}

TEST_F(WindowTest, RefreshOfAnEmptyWindowChangesNothing) {
    Plain* window = Open(10, 10, 100, 50);
    GfxRenderTarget* first = window->surface;
    window->dirty = 0;
    window->width = 0;
    window->Refresh();
    EXPECT_EQ(window->surface, first);
    EXPECT_FALSE(window->dirty);
}

TEST_F(WindowTest, DraggingKeepsFivePixelsFromEveryEdge) {
    const struct {
        int32_t toX, toY, x, y;
    } cases[] = {
        {-50, 100, 5, 100},    // past the left edge
        {100, -40, 100, 5},    // past the top edge
        {900, 100, 595, 100},  // past the right edge: 800 - 200 - 5
        {100, 700, 100, 495},  // past the bottom edge: 600 - 100 - 5
        {300, 200, 300, 200},  // inside
    };
    for (const auto& c : cases) {
        Plain* window = Open(100, 100, 200, 100);
        window->OnMouseDown(115, 115);  // in the title band, 15 pixels in
        ASSERT_TRUE(window->IsDragging());
        window->OnDrag(c.toX + 15, c.toY + 15);
        EXPECT_EQ(window->x, c.x) << c.toX << "," << c.toY;
        EXPECT_EQ(window->y, c.y) << c.toX << "," << c.toY;
        window->OnMouseUp(0, 0);
        EXPECT_FALSE(window->IsDragging());
    }
}

TEST_F(WindowTest, ATitlePressOfAnImmovableWindowDoesNotDrag) {
    Plain* window = Open(100, 100, 200, 100);
    window->movable = 0;
    window->OnMouseDown(150, 105);
    EXPECT_FALSE(window->IsDragging());
}

TEST_F(WindowTest, ResizeStopsAtTheMinimumAndTheScreenEdge) {
    Plain* window = Open(100, 100, 300, 300);
    window->resizable = 1;
    window->OnMouseDown(398, 398);  // inside the 5 x 5 grip
    ASSERT_TRUE(window->resizing);

    window->OnResize(120, 110);
    EXPECT_EQ(window->width, 199);
    EXPECT_EQ(window->height, 201);

    window->OnResize(1000, 1000);
    EXPECT_EQ(window->width, 800 - 100 - 5);
    EXPECT_EQ(window->height, 600 - 100 - 5);

    // Near the edge the screen limit wins over the minimum.
    window->x = 700;
    window->OnResize(710, 500);
    EXPECT_EQ(window->width, 95);
}

TEST_F(WindowTest, TheGripIsOnlyTheBottomRightCorner) {
    Plain* window = Open(100, 100, 300, 300);
    window->resizable = 1;
    window->OnMouseDown(394, 398);
    EXPECT_FALSE(window->resizing);
    window->collapsed = 1;
    window->OnMouseDown(398, 398);
    EXPECT_FALSE(window->resizing);
}

TEST_F(WindowTest, CollapseFlipsTheButtonAndTheVisibleHeight) {
    Plain* window = Open(100, 560, 200, 300);
    Button* collapse = window->FindButton(ButtonId::Collapse);
    ASSERT_NE(collapse, nullptr);

    window->OnCommand(collapse);
    EXPECT_EQ(collapse->id, ButtonId::Expand);
    EXPECT_TRUE(window->collapsed);
    EXPECT_EQ(window->VisibleHeight(), 18);
    EXPECT_TRUE(window->HitTest(150, window->y + 17));
    EXPECT_FALSE(window->HitTest(150, window->y + 18));
    EXPECT_EQ(window->GetRect().h, 300);  // the full height, also when collapsed
    EXPECT_EQ(window->y, 560);            // 18 pixels fit above the bottom margin

    window->OnCommand(collapse);
    EXPECT_EQ(collapse->id, ButtonId::Collapse);
    EXPECT_FALSE(window->collapsed);
    EXPECT_EQ(window->y, 600 - 300 - 5);  // moved up to fit again
    EXPECT_TRUE(window->HitTest(150, window->y + 299));
}

TEST_F(WindowTest, CloseButtonDeletesTheWindowAtOnce) {
    bool deleted = false;
    Plain* below = Open(10, 10, 100, 100);
    Plain* window = Open(50, 50, 200, 100, &deleted);
    window->OnCommand(window->FindButton(ButtonId::Close));
    EXPECT_TRUE(deleted);
    ASSERT_EQ(core->windows.size(), 1u);
    EXPECT_EQ(core->activeWindow, below);
}

TEST_F(WindowTest, TitleButtonsSitAtTheRightEdge) {
    Plain* window = Open(50, 50, 200, 100);
    Button* close = window->FindButton(ButtonId::Close);
    Button* collapse = window->FindButton(ButtonId::Collapse);
    ASSERT_NE(close, nullptr);
    ASSERT_NE(collapse, nullptr);
    EXPECT_EQ(close->x, 179);
    EXPECT_EQ(close->y, 3);
    EXPECT_EQ(collapse->x, 161);
    EXPECT_EQ(window->ButtonAt(50 + 180, 50 + 4), close);
    EXPECT_EQ(window->ButtonAt(50 + 179, 50 + 4), nullptr);  // outside the hit rectangle
}

TEST_F(WindowTest, RemoveButtonDeletesOnlyTheFirstMatch) {
    Plain* window = Open(50, 50, 200, 100);
    window->AddPushButton(10, 60, 40, "a");
    window->AddPushButton(70, 60, 40, "b");
    window->RemoveButton(40);
    ASSERT_NE(window->FindButton(40), nullptr);
    EXPECT_EQ(window->FindButton(40)->caption, "b");
    window->RemoveButton(77);  // no such id
    EXPECT_EQ(window->buttons.size(), 3u);
}

TEST_F(WindowTest, DeletingAWindowForgetsItsPressedButton) {
    Plain* window = Open(50, 50, 200, 100);
    core->pressedButton = window->FindButton(ButtonId::Close);
    core->RemoveWindow(window);
    EXPECT_EQ(core->pressedButton, nullptr);
}

TEST_F(WindowTest, DeletingAWindowLeavesTheWindowsItOwnedWithoutOwner) {
    Plain* owner = Open(50, 50, 200, 100);
    Plain* open = Open(60, 60, 100, 50);
    Plain* closing = Open(70, 70, 100, 50);
    Plain* other = Open(80, 80, 100, 50);
    open->owner = owner;
    core->DetachWindow(closing);  // closed: waits for the next frame's deletion
    core->closedWindows.push_back(closing);
    closing->owner = owner;
    other->owner = open;
    core->RemoveWindow(owner);
    EXPECT_EQ(open->owner, nullptr);
    EXPECT_EQ(closing->owner, nullptr);
    EXPECT_EQ(other->owner, open);
}

// A dialog's text field: deleted when it was never listed, removed from the list when it is
// there, and left alone when a clearing of the list took it already.
TEST_F(WindowTest, ReleasingAChildDeletesItOnceWhereverItIs) {
    Plain* dialog = Open(50, 50, 200, 100);
    bool deleted = false;
    dialog->ReleaseChild(new Plain(core.get(), 0, 0, 10, 10, &deleted), false);
    EXPECT_TRUE(deleted);

    deleted = false;
    Plain* listed = Open(60, 60, 50, 20, &deleted);
    const size_t count = core->windows.size();
    dialog->ReleaseChild(listed, true);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(core->windows.size(), count - 1);

    deleted = false;
    Plain* taken = Open(60, 60, 50, 20, &deleted);
    core->RemoveWindow(taken);
    deleted = false;
    dialog->ReleaseChild(taken, true);  // not read, not deleted again
    EXPECT_FALSE(deleted);
}

TEST_F(WindowTest, TheShadowFollowsTheVisibleHeight) {
    Plain* window = Open(100, 50, 200, 120);
    RecordingDriver::Install();
    window->DrawFrame();
    std::vector<std::string> calls = RecordingDriver::Take();
    ASSERT_EQ(calls.size(), 4u + 10u + 6u);
    EXPECT_EQ(calls[0], "FillRectGradient(103,170,194,5,0xA8000000,0xA8000000,0x0,0x0,0x3)");
    EXPECT_EQ(calls[1], "FillRectGradient(97,55,3,115,0x0,0x50000000,0x0,0x50000000,0x3)");
    EXPECT_EQ(calls[2], "FillRectGradient(300,55,3,115,0x50000000,0x0,0x50000000,0x0,0x3)");
    EXPECT_EQ(calls[3], "FillRect(100,49,200,1,0x10000000,0x3)");

    window->collapsed = 1;
    window->DrawFrame();
    calls = RecordingDriver::Take();
    EXPECT_EQ(calls[0], "FillRectGradient(103,68,194,5,0xA8000000,0xA8000000,0x0,0x0,0x3)");
    EXPECT_EQ(calls[1], "FillRectGradient(97,55,3,13,0x0,0x50000000,0x0,0x50000000,0x3)");
    UseNullDriver();
}

}  // namespace
