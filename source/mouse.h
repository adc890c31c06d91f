#pragma once
// Turns the main window's mouse messages into calls on the windows of Core's window list.
#include "core.h"

class Mouse {
public:
    explicit Mouse(Core* core);
    virtual ~Mouse();

    void OnMove(WPARAM wParam, LPARAM lParam);
    void OnLeftDown(WPARAM wParam, LPARAM lParam);
    void OnLeftUp(WPARAM wParam, LPARAM lParam);
    void OnDoubleClick(WPARAM wParam, LPARAM lParam);
    void OnRightDown(WPARAM wParam, LPARAM lParam);
    void OnRightUp(WPARAM wParam, LPARAM lParam);
    void OnWheel(WPARAM wParam, LPARAM lParam);
    void SimulateLeftDown();
    void SimulateLeftUp();

    uint8_t shiftHeld = 0;
    uint8_t controlHeld = 0;
    uint8_t leftHeld = 0;
    uint8_t swallowRelease = 0;  // the next left release only finishes the pressed button
    Core* core;
    int32_t x = 0;
    int32_t y = 0;
    int32_t pressX = 0;
    int32_t pressY = 0;
    uint64_t rightPressTime = 0;
};
