#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "mouse.h"
#include "support/recordingconnection.h"
#include "support/testcore.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/window.h"
#include "windows/toolkit/windowtypes.h"

namespace {

// A window that logs the calls the mouse makes on it.
class Probe : public Window {
public:
    Probe(Core* core, int32_t x, int32_t y, int32_t w, int32_t h) : Window(core) {
        Build();
        this->x = x;
        this->y = y;
        width = w;
        height = h;
    }
    void OnMouseDown(int32_t mx, int32_t my) override {
        log.push_back("down");
        Window::OnMouseDown(mx, my);
    }
    void OnMouseUp(int32_t mx, int32_t my) override {
        log.push_back("up");
        Window::OnMouseUp(mx, my);
    }
    void OnHover(int32_t, int32_t) override { log.push_back("hover"); }
    void OnRightDown(int32_t, int32_t) override { log.push_back("rightdown"); }
    void OnRightClick(int32_t, int32_t) override { log.push_back("rightclick"); }
    void OnWheel(int32_t, int32_t, int32_t delta) override {
        log.push_back("wheel " + std::to_string(delta));
    }
    void OnCommand(Button* button) override {
        log.push_back("command " + std::to_string(button->id));
        Window::OnCommand(button);
    }
    std::vector<std::string> log;
};

LPARAM At(int32_t x, int32_t y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class WindowListTest : public ::testing::Test {
protected:
    std::unique_ptr<Core> core = MakeTestCore();
    Mouse mouse{core.get()};

    Probe* Open(int32_t x, int32_t y, int32_t w, int32_t h) {
        auto* window = new Probe(core.get(), x, y, w, h);
        core->AddWindow(window);
        return window;
    }
    void Click(int32_t x, int32_t y) {
        mouse.OnLeftDown(MK_LBUTTON, At(x, y));
        mouse.OnLeftUp(0, At(x, y));
    }
};

TEST_F(WindowListTest, AModalTopWindowTakesClicksOutsideItsRectangle) {
    Probe* below = Open(0, 0, 800, 600);
    Probe* box = Open(300, 250, 200, 100);
    box->modal = 1;
    EXPECT_EQ(core->WindowAt(10, 10), box);
    Click(10, 10);
    EXPECT_TRUE(below->log.empty());
    EXPECT_EQ(box->log, (std::vector<std::string>{"down", "up"}));
}

TEST_F(WindowListTest, WhileTheTopWindowsOwnerIsModalOnlyItsFamilyGetsInput) {
    Probe* other = Open(0, 0, 800, 600);
    Probe* dialog = Open(100, 100, 400, 300);
    dialog->modal = 1;
    Probe* sibling = Open(120, 300, 50, 20);
    sibling->owner = dialog;
    Probe* control = Open(120, 150, 100, 20);
    control->owner = dialog;
    EXPECT_EQ(core->WindowAt(130, 155), control);
    EXPECT_EQ(core->WindowAt(130, 305), sibling);
    EXPECT_EQ(core->WindowAt(450, 350), dialog);
    EXPECT_EQ(core->WindowAt(700, 550), control);  // over `other`: the top window takes it
    EXPECT_NE(core->WindowAt(700, 550), other);
}

TEST_F(WindowListTest, NoWindowUnderThePointer) {
    EXPECT_EQ(core->WindowAt(5, 5), nullptr);
    Open(100, 100, 50, 50);
    EXPECT_EQ(core->WindowAt(5, 5), nullptr);
    EXPECT_EQ(core->ButtonAt(5, 5), nullptr);
}

TEST_F(WindowListTest, APressedButtonFiresOnlyWhenReleasedOverIt) {
    Probe* window = Open(100, 100, 300, 200);
    Button* button = window->AddPushButton(20, 20, 40, "go");  // hit (121..172, 121..134)

    mouse.OnLeftDown(MK_LBUTTON, At(130, 125));
    EXPECT_TRUE(button->pressed);
    EXPECT_EQ(core->pressedButton, button);
    mouse.OnMove(MK_LBUTTON, At(200, 180));
    EXPECT_FALSE(button->pressed);
    mouse.OnLeftUp(0, At(200, 180));
    EXPECT_EQ(core->pressedButton, nullptr);
    EXPECT_EQ(std::count(window->log.begin(), window->log.end(), "command 40"), 0);

    mouse.OnLeftDown(MK_LBUTTON, At(130, 125));
    mouse.OnMove(MK_LBUTTON, At(200, 180));
    mouse.OnMove(MK_LBUTTON, At(150, 128));
    EXPECT_TRUE(button->pressed);
    mouse.OnLeftUp(0, At(150, 128));
    EXPECT_FALSE(button->pressed);
    EXPECT_EQ(std::count(window->log.begin(), window->log.end(), "command 40"), 1);
    // A press on a button is not a press on the window.
    EXPECT_EQ(std::count(window->log.begin(), window->log.end(), "down"), 0);
}

TEST_F(WindowListTest, AToggleFiresOnThePressAndKeepsItsState) {
    Probe* window = Open(100, 100, 300, 200);
    Button* toggle =
        window->AddButton(20, 20, 41, 0, 0, 0, 0, 0, 0, 16, 16, {0, 0, 16, 16}, "", 0, 1);
    mouse.OnLeftDown(MK_LBUTTON, At(125, 125));
    EXPECT_TRUE(toggle->pressed);
    EXPECT_EQ(window->log.back(), "command 41");
    EXPECT_EQ(core->pressedButton, nullptr);
    mouse.OnLeftUp(0, At(125, 125));
    EXPECT_TRUE(toggle->pressed);
    EXPECT_EQ(std::count(window->log.begin(), window->log.end(), "command 41"), 1);
}

TEST_F(WindowListTest, DisabledAndTargetingPressesDoNothing) {
    Probe* window = Open(100, 100, 300, 200);
    Button* button = window->AddPushButton(20, 20, 40, "go");
    button->enabled = 0;
    Click(130, 125);
    EXPECT_FALSE(button->pressed);
    EXPECT_TRUE(window->log == std::vector<std::string>{"up"});

    button->enabled = 1;
    core->inputModes[InputSpellTarget] = 1;
    mouse.OnLeftDown(MK_LBUTTON, At(130, 125));
    EXPECT_FALSE(button->pressed);
    EXPECT_EQ(core->inputModes[InputSpellTarget], 0);  // every press clears it
}

TEST_F(WindowListTest, AButtonThatCloseItsWindowIsNotTouchedAfterwards) {
    Open(0, 0, 800, 600);
    Probe* window = Open(100, 100, 300, 200);
    window->AddCloseButton();
    Click(100 + 300 - 21 + 5, 105);
    EXPECT_EQ(core->windows.size(), 1u);
    EXPECT_EQ(core->pressedButton, nullptr);
}

TEST_F(WindowListTest, TheReleaseGoesToTheActiveWindowUnlessADropIsUnderWay) {
    Probe* left = Open(0, 0, 200, 200);
    Probe* right = Open(400, 0, 200, 200);
    mouse.OnLeftDown(MK_LBUTTON, At(50, 50));
    mouse.OnLeftUp(0, At(450, 50));
    EXPECT_EQ(left->log.back(), "up");
    EXPECT_TRUE(right->log.empty());

    core->inputModes[InputDrop] = 1;
    mouse.OnLeftUp(0, At(450, 50));
    EXPECT_EQ(right->log.back(), "up");
    EXPECT_EQ(core->inputModes[InputDrop], 0);
}

TEST_F(WindowListTest, TheSwallowedReleaseOnlyFinishesThePressedButton) {
    Probe* window = Open(100, 100, 300, 200);
    Button* button = window->AddPushButton(20, 20, 40, "go");
    mouse.OnLeftDown(MK_LBUTTON, At(130, 125));
    mouse.swallowRelease = 1;
    mouse.OnLeftUp(0, At(130, 125));
    EXPECT_FALSE(button->pressed);
    EXPECT_EQ(window->log, (std::vector<std::string>{"command 40"}));
    EXPECT_EQ(mouse.swallowRelease, 0);
}

TEST_F(WindowListTest, AnArmedDragStartsAtThreePixels) {
    Open(0, 0, 800, 600);
    const struct { int32_t dx, dy; } cases[] = {{2, 0}, {0, -2}, {2, 2}, {3, 0}, {0, 3}, {-3, 1}};
    for (const auto& c : cases) {
        mouse.OnLeftDown(MK_LBUTTON, At(300, 300));
        core->inputModes[InputDragArmed] = 1;
        mouse.OnMove(MK_LBUTTON, At(300 + c.dx, 300 + c.dy));
        EXPECT_EQ(core->inputModes[InputDrop] != 0, std::abs(c.dx) >= 3 || std::abs(c.dy) >= 3)
            << c.dx << "," << c.dy;
        mouse.OnLeftUp(0, At(300 + c.dx, 300 + c.dy));
        EXPECT_EQ(core->inputModes[InputDragArmed], 0);
    }
}

TEST_F(WindowListTest, MovesDragTheActiveWindowOrHover) {
    Probe* window = Open(100, 100, 300, 200);
    window->movable = 1;
    mouse.OnMove(0, At(150, 150));
    EXPECT_EQ(window->log.back(), "hover");
    mouse.OnLeftDown(MK_LBUTTON, At(110, 105));  // in the title band
    mouse.OnMove(MK_LBUTTON, At(160, 155));
    EXPECT_EQ(window->x, 150);
    EXPECT_EQ(window->y, 150);
}

TEST_F(WindowListTest, RemovingTheFocusedInputNeverFocusesTheBottomWindow) {
    Probe* bottom = Open(0, 0, 10, 10);
    bottom->typeId = WindowType::Input;
    Open(20, 0, 10, 10);
    Probe* top = Open(40, 0, 10, 10);
    top->typeId = WindowType::Input;
    core->focusedInput = top;
    core->RemoveWindow(top);
    EXPECT_EQ(core->focusedInput, nullptr);

    Probe* middle = Open(60, 0, 10, 10);
    middle->typeId = WindowType::Input;
    Probe* last = Open(80, 0, 10, 10);
    last->typeId = WindowType::Input;
    Open(100, 0, 10, 10);
    core->focusedInput = last;
    core->RemoveWindow(last);
    EXPECT_EQ(core->focusedInput, middle);
}

TEST_F(WindowListTest, ActivationRaisesOnlyMovableWindowsAndFocusesInputs) {
    Probe* first = Open(0, 0, 10, 10);
    Probe* second = Open(20, 0, 10, 10);
    core->ActivateWindow(first);
    EXPECT_EQ(core->windows.back(), second);
    EXPECT_EQ(core->activeWindow, first);

    first->movable = 1;
    first->typeId = WindowType::Input;
    core->ActivateWindow(first);
    EXPECT_EQ(core->windows.back(), first);
    EXPECT_EQ(core->windows.size(), 2u);
    EXPECT_EQ(core->focusedInput, first);
}

TEST_F(WindowListTest, RemovingTheLastWindowLeavesNoActiveWindow) {
    Probe* only = Open(0, 0, 10, 10);
    core->RemoveWindow(only);
    EXPECT_EQ(core->activeWindow, nullptr);
    core->RemoveWindow(nullptr);
}

TEST_F(WindowListTest, DetachLeavesTheWindowAlive) {
    Probe* kept = Open(0, 0, 10, 10);
    core->DetachWindow(kept);
    EXPECT_TRUE(core->windows.empty());
    kept->log.push_back("alive");
    core->RemoveWindow(kept);  // not in the list: still deleted
}

TEST_F(WindowListTest, FindWindowSearchesFromTheBottom) {
    Probe* a = Open(0, 0, 10, 10);
    a->typeId = 100;
    Probe* b = Open(0, 0, 10, 10);
    b->typeId = 100;
    EXPECT_EQ(core->FindWindow(100), a);
    EXPECT_EQ(core->FindWindow(101), nullptr);
}

TEST_F(WindowListTest, AMessageOfTheActiveMessagesTextIsNotOpenedTwice) {
    core->ShowMessage("Title", "Same text.", 0);
    core->ShowMessage("Other title", "Same text.", 0);
    ASSERT_EQ(core->windows.size(), 1u);
    core->ShowMessage("Title", "Another text.", 0);
    EXPECT_EQ(core->windows.size(), 2u);
    EXPECT_EQ(core->windows.back()->typeId, WindowType::Message);
}

TEST_F(WindowListTest, RightClicksActivateOnRelease) {
    Probe* below = Open(0, 0, 200, 200);
    Probe* above = Open(300, 0, 200, 200);
    mouse.OnRightDown(MK_RBUTTON, At(50, 50));
    EXPECT_EQ(below->log.back(), "rightdown");
    EXPECT_EQ(core->activeWindow, above);
    mouse.OnRightUp(0, At(50, 50));
    EXPECT_EQ(below->log.back(), "rightclick");
    EXPECT_EQ(core->activeWindow, below);
}

TEST_F(WindowListTest, TheWheelDeltaIsSigned) {
    Probe* window = Open(0, 0, 800, 600);
    mouse.OnWheel(MAKEWPARAM(0, static_cast<WORD>(-120)), At(50, 50));
    mouse.OnWheel(MAKEWPARAM(0, 120), At(50, 50));
    ASSERT_EQ(window->log.size(), 2u);
    EXPECT_EQ(window->log[0], "wheel -120");
    EXPECT_EQ(window->log[1], "wheel 120");
}

TEST_F(WindowListTest, APressInTargetModeCancelsTheServersUseMode) {
    RecordingConnection connection(core.get());
    Open(0, 0, 800, 600);
    core->inputModes[InputTarget] = 1;
    Click(50, 50);
    EXPECT_EQ(core->inputModes[InputTarget], 0);
    core->inputModes[InputTarget] = 1;
    mouse.OnRightDown(MK_RBUTTON, At(50, 50));
    EXPECT_EQ(core->inputModes[InputTarget], 0);
    Click(50, 50);  // nothing armed: nothing sent
    EXPECT_EQ(connection.SentOpcodes(2), (std::vector<uint8_t>{132, 132}));
}

}  // namespace
