#include <gtest/gtest.h>

#include "core.h"
#include "screen.h"
#include "support/startup.h"

namespace {

class WindowProcedure : public StartedCore {
protected:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return core->screen->WindowProc(core->hwnd, message, wParam, lParam);
    }
    static bool QuitPosted() {
        MSG message;
        return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }
};

TEST_F(WindowProcedure, SizeMessagesTrackTheClientAreaAndTheMaximisedState) {
    DrainMessages();
    EXPECT_EQ(Send(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(1200, 900)), 0);
    EXPECT_EQ(core->maximized, 1);
    EXPECT_EQ(core->clientWidth, 1200u);
    EXPECT_EQ(core->screen->height, 900u);

    Send(WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(core->maximized, 1);  // other kinds leave the state
    EXPECT_EQ(core->clientWidth, 0u);

    Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(900, 650));
    EXPECT_EQ(core->maximized, 0);
    EXPECT_EQ(core->configWidth, 900u);
    EXPECT_EQ(core->configHeight, 650u);
}

TEST_F(WindowProcedure, WindowCannotShrinkBelow800By600) {
    MINMAXINFO info = {};
    Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 800);
    EXPECT_EQ(info.ptMinTrackSize.y, 600);
}

TEST_F(WindowProcedure, ClosingOnTheMainScreenQuits) {
    DrainMessages();
    Send(WM_CLOSE);
    EXPECT_TRUE(QuitPosted());
    Send(WM_DESTROY);
    EXPECT_TRUE(QuitPosted());
}

TEST_F(WindowProcedure, FullscreenIgnoresSystemCommands) {
    DrainMessages();
    core->screen->fullscreen = 1;
    Send(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_FALSE(QuitPosted());
    core->screen->fullscreen = 0;
    Send(WM_SYSCOMMAND, SC_CLOSE);  // default handling closes: the close request quits
    EXPECT_TRUE(QuitPosted());
}

TEST_F(WindowProcedure, FocusMessagesSetTheFocusedByte) {
    Send(WM_SETFOCUS);
    EXPECT_EQ(core->screen->focused, 1);
    Send(WM_KILLFOCUS);
    EXPECT_EQ(core->screen->focused, 0);
}

TEST_F(WindowProcedure, OnlyTimerOneDrivesThePing) {
    core->inGame = 1;
    Send(WM_TIMER, 2);
    EXPECT_TRUE(core->pingTimes.empty());
    Send(WM_TIMER, SecondTimer);
    EXPECT_EQ(core->pingTimes.size(), 1u);
    core->inGame = 0;
}

TEST_F(WindowProcedure, AfterTheScreenIsGoneMessagesGetDefaultHandling) {
    Screen* screen = core->screen;
    Screen::instance = nullptr;
    MINMAXINFO info = {};
    info.ptMinTrackSize = {1, 1};
    Screen::Entry(core->hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 1);
    Screen::instance = screen;
}

}  // namespace
