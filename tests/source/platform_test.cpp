#include "platform.h"

#include <gtest/gtest.h>

namespace {

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// A window of its own under the pointer, with the keyboard focus, that takes real input.
class RealInput : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VeltorKeyStateTest";
        RegisterClassA(&windowClass);
        // Topmost and away from the corner where the other test programs' windows open.
        window = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "keys",
                                 WS_POPUP | WS_VISIBLE, Left, Top, Size, Size, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        SetForegroundWindow(window);
        SetFocus(window);
        SetCursorPos(Left + Size / 2, Top + Size / 2);
        PumpUntil(0, 500);
    }
    void TearDown() override { DestroyWindow(window); }

    // Reads and handles messages until one of the kind arrives for the window (true) or the
    // time runs out (false).
    bool PumpUntil(UINT kind, DWORD timeoutMs) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < timeoutMs) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageA(&message);
                if (kind && message.message == kind && message.hwnd == window) return true;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return false;
    }

    static bool ShiftHeld() { return (realPlatform.keyState(VK_SHIFT) & 0x8000) != 0; }

    static constexpr int Left = 1000, Top = 780, Size = 100;
    HWND window = nullptr;
};

TEST_F(RealInput, AClickReadAfterShiftWasLetGoStillHasShiftHeld) {
    INPUT inputs[4] = {};
    inputs[0].type = inputs[3].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[3].ki.wVk = VK_SHIFT;
    inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[1].type = inputs[2].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    // The whole click is made before the program reads any of it, as while a slow frame is drawn.
    ASSERT_EQ(SendInput(4, inputs, sizeof(INPUT)), 4u);
    ASSERT_TRUE(PumpUntil(WM_RBUTTONUP, 5000));
    EXPECT_TRUE(ShiftHeld());
    PumpUntil(0, 200);
    EXPECT_FALSE(ShiftHeld());
}

}  // namespace
