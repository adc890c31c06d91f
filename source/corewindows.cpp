// Core's window list: the open windows in drawing order (last = topmost), the active window, the
// focused text input, the window that receives a pointer event, and Escape, which closes them.
#include <algorithm>

#include "core.h"
#include "notification.h"
#include "protocol.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/status.h"
#include "windows/toolkit/window.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

// Takes the first occurrence of the window out of the list, when it is there.
void EraseWindow(std::vector<Window*>& windows, Window* window) {
    auto found = std::find(windows.begin(), windows.end(), window);
    if (found != windows.end()) windows.erase(found);
}

// A text input, scroll bar or list stands for the window that owns it (at most two steps).
Window* OwnerOfControl(Window* window) {
    for (int step = 0; step < 2 && window && window->owner; ++step) {
        const uint32_t type = window->typeId;
        if (type != WindowType::Input && type != WindowType::Scroll && type != WindowType::List)
            break;
        window = window->owner;
    }
    return window;
}

// Fires the window's close button; false when it has none.
bool FireClose(Window* window) {
    Button* close = window->FindButton(ButtonId::Close);
    if (!close) return false;
    window->OnCommand(close);
    return true;
}

}  // namespace

Window* Core::AddWindow(Window* window) {
    windows.push_back(window);
    activeWindow = window;
    return window;
}

void Core::DetachWindow(Window* window) {
    if (!window) return;
    EraseWindow(windows, window);
    EraseWindow(closedWindows, window);
    if (focusedInput == window) {
        // The topmost remaining input takes the focus; the bottom window is never chosen.
        focusedInput = nullptr;
        for (size_t i = windows.size(); i > 1; --i) {
            if (windows[i - 1]->typeId == WindowType::Input) {
                focusedInput = windows[i - 1];
                break;
            }
        }
    }
    if (activeWindow == window) activeWindow = windows.empty() ? nullptr : windows.back();
}

void Core::RemoveWindow(Window* window) {
    if (!window) return;
    DetachWindow(window);
    delete window;
}

// One at a time: a window's destructor may remove its controls, closed ones among them.
void Core::DeleteClosedWindows() {
    while (!closedWindows.empty()) {
        Window* window = closedWindows.back();
        closedWindows.pop_back();
        delete window;
    }
}

void Core::ActivateWindow(Window* window) {
    if (!window) return;
    if (window->movable) {
        EraseWindow(windows, window);
        windows.push_back(window);
    }
    activeWindow = window;
    if (window->typeId == WindowType::Input) focusedInput = window;
}

Window* Core::FindWindow(uint32_t type) {
    for (Window* window : windows)
        if (window->typeId == type) return window;
    return nullptr;
}

void Core::MarkWindowsDirty(uint32_t type) {
    for (Window* window : windows)
        if (window->typeId == type) window->dirty = 1;
}

void Core::CloseWindowOfType(uint32_t type) {
    if (Window* window = FindWindow(type)) window->Close();
}

Window* Core::WindowAt(int32_t x, int32_t y) {
    if (windows.empty()) return nullptr;
    Window* top = windows.back();
    if (top->modal) return top;
    Window* found = nullptr;
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if ((*it)->HitTest(x, y)) {
            found = *it;
            break;
        }
    }
    if (!found) return nullptr;
    // While the top window belongs to a modal owner, only that owner and its controls get input.
    Window* modalOwner = top->owner && top->owner->modal ? top->owner : nullptr;
    if (modalOwner && found != modalOwner && found->owner != modalOwner) return top;
    return found;
}

Button* Core::ButtonAt(int32_t x, int32_t y) {
    Window* window = WindowAt(x, y);
    return window ? window->ButtonAt(x, y) : nullptr;
}

void Core::OnResize() {
    PlaceWindows();
    Tick();
}

bool Core::InputModeArmed() const {
    return std::any_of(std::begin(inputModes), std::end(inputModes),
                       [](uint8_t mode) { return mode != 0; });
}

void Core::PlaceWindows() {
    // Placing a window can take others out of the list (a column closes what no longer fits, a
    // page drops its scroll bar): only those still in it are placed.
    const std::vector<Window*> copy = windows;
    for (Window* window : copy)
        if (std::find(windows.begin(), windows.end(), window) != windows.end())
            window->Place(ScreenWidth(), ScreenHeight());
}

int32_t Core::ScreenWidth() const { return int32_t(std::min<uint32_t>(clientWidth, INT32_MAX)); }

int32_t Core::ScreenHeight() const { return int32_t(std::min<uint32_t>(clientHeight, INT32_MAX)); }

void Core::ShowMessage(const std::string& title, const std::string& text, uint8_t flag) {
    auto* shown = dynamic_cast<Message*>(activeWindow);
    if (shown && shown->text == text) return;
    AddWindow(new Message(this, title, text, flag));
}

void Core::AddNotification(uint8_t kind, const std::string& text) {
    if (world && world->notification) world->notification->Add(kind, text);
}

void Core::ShowStatus(const std::string& title, const std::string& text) {
    AddWindow(new Status(this, title, text, 0));
}

void Core::OnEscape() {
    if (testWalker.testing) {
        QuitTestWalker();
        return;
    }
    Window* top = OwnerOfControl(windows.empty() ? nullptr : windows.back());
    if (!player) {
        if (!top || !top->modal || !FireClose(top)) PostQuitMessage(0);
        return;
    }
    if (!top) return;
    if (top->modal) {
        FireClose(top);
        return;
    }
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if ((*it)->typeId >= 100) {
            FireClose(*it);
            return;
        }
    }
    if (!AskLogout()) return;
    if (inputModes[InputSpellTarget]) {
        inputModes[InputDrop] = 0;
        inputModes[InputSpellTarget] = 0;
    }
}
