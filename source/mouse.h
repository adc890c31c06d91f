#pragma once
// Turns the main window's mouse messages into calls of the windows' virtual operations: finds
// the window under the pointer, activates it, presses and fires buttons, starts drags and
// delivers releases, hovers, right clicks and the wheel.
#include <windows.h>

#include <cstdint>

class Core;

class Mouse {
public:
    explicit Mouse(Core* core);
    virtual ~Mouse();

    // The window procedure's handlers; x and y are the signed words of lParam.
    void OnMove(WPARAM wParam, LPARAM lParam);
    void OnLeftDown(WPARAM wParam, LPARAM lParam);
    void OnLeftUp(WPARAM wParam, LPARAM lParam);
    void OnDoubleClick(WPARAM wParam, LPARAM lParam);
    void OnRightDown(WPARAM wParam, LPARAM lParam);
    void OnRightUp(WPARAM wParam, LPARAM lParam);
    // lParam holds screen coordinates; the high word of wParam is the signed wheel delta.
    void OnWheel(WPARAM wParam, LPARAM lParam);
    // A left press and release at the stored position, without a message.
    void SimulateLeftDown();
    void SimulateLeftUp();

    uint8_t shiftHeld = 0;
    uint8_t controlHeld = 0;
    uint8_t leftHeld = 0;
    // Set by a window that opened something on a click: the next left release then only
    // finishes the pressed button.
    uint8_t swallowRelease = 0;
    Core* core;
    int32_t x = 0, y = 0;
    int32_t pressX = 0, pressY = 0;
    uint64_t rightPressTime = 0;

private:
    void PressAtPointer();
    void ReleaseAtPointer();
    void CancelTargetMode();
};
