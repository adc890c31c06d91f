#include "mouse.h"

#include <cstdlib>

#include "core.h"
#include "platform.h"
#include "protocol.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/window.h"

namespace {

// A press followed by a move of this many pixels on either axis starts an armed item drag.
constexpr int32_t DragThreshold = 3;
// Cursor kinds of Core::SetCursor.
constexpr uint32_t ArrowCursor = 0;
constexpr uint32_t DragCursor = 3;

int32_t PointerX(LPARAM lParam) { return static_cast<int16_t>(LOWORD(lParam)); }
int32_t PointerY(LPARAM lParam) { return static_cast<int16_t>(HIWORD(lParam)); }

// The one-shot modes that every left or right press cancels.
void ClearPressModes(Core* core) {
    core->inputModes[InputSpellTarget] = 0;
    core->inputModes[InputTradeSelect] = 0;
    core->inputModes[InputPartySelect] = 0;
    core->inputModes[InputUseWith] = 0;
}

}  // namespace

Mouse::Mouse(Core* core) : core(core) {}

Mouse::~Mouse() = default;

void Mouse::CancelTargetMode() {
    if (!core->inputModes[InputTarget]) return;
    if (core->activeConnection) core->activeConnection->SendUseCancel();
    core->inputModes[InputTarget] = 0;
}

void Mouse::PressAtPointer() {
    if (Window* window = core->WindowAt(x, y)) {
        core->ActivateWindow(window);
        Button* button = window->ButtonAt(x, y);
        if (!button) {
            window->OnMouseDown(x, y);
        } else if (button->enabled && !core->inputModes[InputSpellTarget]) {
            if (button->toggle) {
                button->pressed = !button->pressed;
                window->OnCommand(button);  // may delete the window and the button
            } else {
                button->pressed = 1;
                core->pressedButton = button;
            }
        }
    }
    ClearPressModes(core);
    CancelTargetMode();
}

void Mouse::ReleaseAtPointer() {
    if (Button* button = core->pressedButton) {
        if (!button->toggle) button->pressed = 0;
        core->pressedButton = nullptr;
        // The command may delete the window and the button: forget the button before firing.
        if (core->ButtonAt(x, y) == button) {
            if (Window* window = core->WindowAt(x, y)) window->OnCommand(button);
        }
    }
    if (swallowRelease) {
        swallowRelease = 0;
        return;
    }
    Window* receiver = core->inputModes[InputDrop] ? core->WindowAt(x, y) : core->activeWindow;
    if (receiver) receiver->OnMouseUp(x, y);
    core->inputModes[InputDrop] = 0;
    core->inputModes[InputDragArmed] = 0;
    if (core->inputModes[InputSpellTarget]) core->inputModes[InputDrop] = 1;
}

void Mouse::OnMove(WPARAM wParam, LPARAM lParam) {
    x = PointerX(lParam);
    y = PointerY(lParam);
    shiftHeld = (wParam & MK_SHIFT) != 0;
    controlHeld = (wParam & MK_CONTROL) != 0;
    leftHeld = (wParam & MK_LBUTTON) != 0;

    if (Button* button = core->pressedButton) {
        button->pressed = button->HitTest(x, y);
        return;
    }
    if (Window* active = core->activeWindow) {
        const bool dragged = active->IsDragging();
        if (dragged) active->OnDrag(x, y);
        if (active->resizing) active->OnResize(x, y);
        if (dragged) return;
    }
    if (leftHeld) {
        if (core->inputModes[InputDragArmed] &&
            (std::abs(x - pressX) >= DragThreshold || std::abs(y - pressY) >= DragThreshold)) {
            core->inputModes[InputDrop] = 1;
            core->SetCursor(DragCursor);
        }
        return;
    }
    if (!KeyHeld(VK_SHIFT)) core->inputModes[InputDrop] = 0;
    if (Window* window = core->WindowAt(x, y)) window->OnHover(x, y);
}

void Mouse::OnLeftDown(WPARAM, LPARAM lParam) {
    x = pressX = PointerX(lParam);
    y = pressY = PointerY(lParam);
    PressAtPointer();
}

void Mouse::OnLeftUp(WPARAM, LPARAM lParam) {
    x = PointerX(lParam);
    y = PointerY(lParam);
    shiftHeld = controlHeld = leftHeld = 0;
    ReleaseAtPointer();
}

void Mouse::OnDoubleClick(WPARAM, LPARAM lParam) {
    x = PointerX(lParam);
    y = PointerY(lParam);
    if (Window* window = core->WindowAt(x, y)) window->OnDoubleClick(x, y);
}

void Mouse::OnRightDown(WPARAM, LPARAM lParam) {
    x = PointerX(lParam);
    y = PointerY(lParam);
    if (Window* window = core->WindowAt(x, y)) window->OnRightDown(x, y);
    rightPressTime = core->frameTimeMs;
    ClearPressModes(core);
    core->inputModes[InputDrop] = 0;
    core->targetingSpell = nullptr;
    CancelTargetMode();
    core->SetCursor(ArrowCursor);
}

void Mouse::OnRightUp(WPARAM, LPARAM lParam) {
    x = PointerX(lParam);
    y = PointerY(lParam);
    if (Window* window = core->WindowAt(x, y)) {
        core->ActivateWindow(window);
        window->OnRightClick(x, y);
    }
}

void Mouse::OnWheel(WPARAM wParam, LPARAM lParam) {
    POINT origin = {0, 0};
    ClientToScreen(core->hwnd, &origin);
    const int32_t wheelX = PointerX(lParam) - origin.x;
    const int32_t wheelY = PointerY(lParam) - origin.y;
    // Signed, so that a notch towards the user arrives as -120 for every receiver's "delta > 0".
    const int32_t delta = static_cast<int16_t>(HIWORD(wParam));
    if (Window* window = core->WindowAt(wheelX, wheelY)) window->OnWheel(wheelX, wheelY, delta);
}

void Mouse::SimulateLeftDown() {
    pressX = x;
    pressY = y;
    PressAtPointer();
}

void Mouse::SimulateLeftUp() { ReleaseAtPointer(); }
