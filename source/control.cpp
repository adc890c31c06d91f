#include "control.h"

#include <initializer_list>

#include "creature.h"
#include "item.h"
#include "keynames.h"
#include "mouse.h"
#include "notification.h"
#include "platform.h"
#include "protocol.h"
#include "screen.h"
#include "windows/dialogs/character.h"
#include "windows/dialogs/map.h"
#include "windows/dialogs/questlog.h"
#include "windows/front/generalinterface.h"
#include "windows/game/console.h"
#include "windows/game/container.h"
#include "windows/game/equipment.h"
#include "windows/game/paneltop.h"
#include "windows/game/spellbar.h"
#include "windows/guide/help.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

// Directions 0 north, clockwise to 7 north-west.
enum Direction : int32_t { North, NorthEast, East, SouthEast, South, SouthWest, West, NorthWest };

bool ShiftHeld() { return KeyHeld(VK_SHIFT); }
bool CtrlHeld() { return KeyHeld(VK_CONTROL); }
bool NumLockOn() { return (KeyState(VK_NUMLOCK) & 1) != 0; }

bool AnyHeld(std::initializer_list<int> keys) {
    for (int key : keys)
        if (KeyHeld(key)) return true;
    return false;
}

bool IsKeypadDigit(WPARAM virtualKey) {
    return virtualKey >= VK_NUMPAD1 && virtualKey <= VK_NUMPAD9;
}

bool IsFunctionKey(WPARAM virtualKey) { return virtualKey >= VK_F1 && virtualKey <= VK_F12; }

}  // namespace

uint32_t KeyCodeOf(LPARAM lParam) {
    const uint32_t bits = static_cast<uint32_t>(lParam);
    return ((bits >> 16) & 0xFF) + ((bits & (1u << 24)) ? 256 : 0);
}

Control::Control(Core* core) : core(core), render(core->render) {}
Control::~Control() = default;

Input* Control::FocusedInput() const { return dynamic_cast<Input*>(core->focusedInput); }

bool Control::Capturing() const {
    const Input* input = FocusedInput();
    return input && input->keyCapture;
}

bool Control::FocusInConsole() const {
    const Input* input = FocusedInput();
    return input && core->consoleWindow && input->owner == core->consoleWindow;
}

bool Control::PushToTalkCapture() const {
    return core->options.push && !talkLatch && core->player && FocusInConsole();
}

void Control::OnChar(WPARAM character, LPARAM) {
    if (core->gameHalted || Capturing()) return;
    if (core->player) {
        if (!FocusedInput()) return;
        if (core->options.push && FocusInConsole() && !talkLatch) return;
    }
    if (core->focusedInput) core->focusedInput->OnChar(static_cast<uint32_t>(character));
}

void Control::OnKeyDown(WPARAM virtualKey, LPARAM lParam) {
    const uint32_t keyCode = KeyCodeOf(lParam);
    if (core->gameHalted) {
        if (virtualKey == VK_ESCAPE) core->ConfirmLogout();
        else if (CtrlHeld() && keyCode == core->keys[KeyPrint]) RequestScreenshot();
        return;
    }
    if (Input* input = FocusedInput(); input && input->keyCapture) {
        CaptureKey(input, virtualKey, lParam);
        return;
    }
    if (PushToTalkCapture()) {
        switch (virtualKey) {
            case VK_RETURN:
                if (SubmitToTopDialog()) return;
                if (FocusedInput()->owner->typeId == WindowType::Console) {
                    talkLatch = 1;
                    return;
                }
                EnterRouting();
                break;
            case VK_ESCAPE: core->OnEscape(); break;
            case VK_BACK: Backspace(); break;
            case VK_DELETE: Delete(); break;
            case VK_TAB: CycleFocus(); break;
            default:
                if (CtrlHeld()) break;
                if (UseSlotKey(virtualKey, keyCode) || WalkByBindings(keyCode)) return;
                break;
        }
        Tail(virtualKey, lParam);
        return;
    }
    switch (virtualKey) {
        case VK_BACK: Backspace(); break;
        case VK_TAB: CycleFocus(); break;
        case VK_RETURN:
            if (SubmitToTopDialog()) return;
            EnterRouting();
            break;
        case VK_ESCAPE:
            if (talkLatch) talkLatch = 0;
            else core->OnEscape();
            break;
        case VK_DELETE: Delete(); break;
        default: break;
    }
    // Shift with the arrows moves the caret of the focused input; the plain arrows walk.
    if (ShiftHeld()) {
        Input* input = FocusedInput();
        if (input && (virtualKey == VK_LEFT || virtualKey == VK_NUMPAD4)) input->MoveCaret(-1);
        if (input && (virtualKey == VK_RIGHT || virtualKey == VK_NUMPAD6)) input->MoveCaret(1);
        // The console's chat line recalls its earlier lines.
        auto* console = dynamic_cast<Console*>(core->consoleWindow);
        if (console && input && input->owner == console) {
            if (virtualKey == VK_UP || virtualKey == VK_NUMPAD8)
                input->SetText(console->HistoryOlder());
            if (virtualKey == VK_DOWN || virtualKey == VK_NUMPAD2)
                input->SetText(console->HistoryNewer());
        }
    }
    Tail(virtualKey, lParam);
}

void Control::CaptureKey(Input* input, WPARAM virtualKey, LPARAM lParam) {
    switch (virtualKey) {
        case VK_RETURN: EnterRouting(); return;
        case VK_ESCAPE: core->OnEscape(); return;
        case VK_TAB: CycleFocus(); return;
        default: break;
    }
    // Walking reads a bound key by the character of its name, so only one-character names bind.
    const uint32_t keyCode = KeyCodeOf(lParam);
    const std::string name = KeyNameText(keyCode);
    if (name.size() != 1 || input->keySlot >= KeyCount) return;
    input->SetText(name);
    core->keys[input->keySlot] = keyCode;
}

bool Control::SubmitToTopDialog() {
    if (core->windows.empty()) return false;
    Window* top = core->windows.back();
    switch (top->typeId) {
        case WindowType::Sure:
        case WindowType::Split:
        case WindowType::Bidding:
        case WindowType::Shop: top->OnSubmit(); return true;
        default: return false;
    }
}

void Control::Tail(WPARAM virtualKey, LPARAM lParam) {
    if (ShiftHeld()) return;
    if (CtrlHeld()) {
        RunHotkey(virtualKey, lParam);
        return;
    }
    if (!core->player) {
        if (virtualKey == VK_UP || virtualKey == VK_NUMPAD8) MoveListSelection(-1);
        if (virtualKey == VK_DOWN || virtualKey == VK_NUMPAD2) MoveListSelection(1);
        return;
    }
    if (IsFunctionKey(virtualKey)) UseSlot(static_cast<uint32_t>(virtualKey - VK_F1));
    if (IsKeypadDigit(virtualKey) && NumLockOn()) return;
    WalkByArrows(virtualKey);
}

bool Control::UseSlotKey(WPARAM virtualKey, uint32_t keyCode) {
    for (uint32_t index = 0; index < 12; ++index) {
        if (core->keys[KeyF1 + index] == keyCode) {
            UseSlot(index);
            return true;
        }
    }
    for (uint32_t index = 0; index < 3; ++index) {
        if (core->keys[KeyAction1 + index] == keyCode) {
            UseSlot(12 + index);
            return true;
        }
    }
    if (!IsFunctionKey(virtualKey)) return false;
    UseSlot(static_cast<uint32_t>(virtualKey - VK_F1));
    return true;
}

// Slots 0 to 11 cast from the ability bar's current page, 12 to 14 use the item worn in that
// equipment slot.
void Control::UseSlot(uint32_t index) {
    if (index < Spellbar::SlotsPerPage) {
        if (auto* bar = dynamic_cast<Spellbar*>(core->FindWindow(WindowType::Spellbar)))
            bar->CastSlot(uint8_t(index), true);
        return;
    }
    const auto* equipment = dynamic_cast<const Equipment*>(core->equipmentWindow);
    const Item* item = equipment ? equipment->ItemAt(uint8_t(index)) : nullptr;
    if (item && core->activeConnection)
        core->activeConnection->SendUseSlotItem(0, uint8_t(index), uint16_t(item->shapeId));
}

bool Control::BindingHeld(uint32_t binding) const {
    const std::string name = KeyNameText(core->keys[binding]);
    return !name.empty() && KeyHeld(static_cast<unsigned char>(name[0]));
}

bool Control::WalkHeldBindings() {
    static const struct {
        uint32_t first, second;
        int32_t direction;
    } pairs[] = {{KeyWest, KeyNorth, NorthWest},
                 {KeyWest, KeySouth, SouthWest},
                 {KeyEast, KeyNorth, NorthEast},
                 {KeyEast, KeySouth, SouthEast}};
    for (const auto& pair : pairs) {
        if (BindingHeld(pair.first) && BindingHeld(pair.second)) {
            Walk(pair.direction);
            return true;
        }
    }
    return false;
}

bool Control::WalkByBindings(uint32_t keyCode) {
    if (!core->player) return false;
    if (WalkHeldBindings()) return true;
    for (uint32_t direction = KeyNorth; direction <= KeyNorthWest; ++direction) {
        if (core->keys[direction] == keyCode) {
            Walk(static_cast<int32_t>(direction));
            return true;
        }
    }
    return false;
}

bool Control::WalkHeldArrowPair() {
    const bool keypad4 = KeyHeld(VK_NUMPAD4), keypad6 = KeyHeld(VK_NUMPAD6);
    const bool keypad8 = KeyHeld(VK_NUMPAD8), keypadDown = AnyHeld({VK_NUMPAD5, VK_NUMPAD2});
    const bool left = KeyHeld(VK_LEFT), right = KeyHeld(VK_RIGHT);
    const bool up = KeyHeld(VK_UP), down = KeyHeld(VK_DOWN);
    int32_t direction = -1;
    if ((left && up) || (keypad4 && keypad8)) direction = NorthWest;
    else if ((left && down) || (keypad4 && keypadDown)) direction = SouthWest;
    else if ((right && up) || (keypad6 && keypad8)) direction = NorthEast;
    else if ((right && down) || (keypad6 && keypadDown)) direction = SouthEast;
    if (direction < 0) return false;
    Walk(direction);
    return true;
}

namespace {

// The single keys of the arrow table, first match wins.
const struct {
    std::initializer_list<int> keys;
    int32_t direction;
} SingleArrows[] = {
    {{VK_PRIOR, VK_NUMPAD9}, NorthEast}, {{VK_NEXT, VK_NUMPAD3}, SouthEast},
    {{VK_END, VK_NUMPAD1}, SouthWest},   {{VK_HOME, VK_NUMPAD7}, NorthWest},
    {{VK_LEFT, VK_NUMPAD4}, West},       {{VK_UP, VK_NUMPAD8}, North},
    {{VK_RIGHT, VK_NUMPAD6}, East},      {{VK_DOWN, VK_NUMPAD2, VK_NUMPAD5}, South},
};

}  // namespace

void Control::WalkByArrows(WPARAM virtualKey) {
    if (WalkHeldArrowPair()) return;
    for (const auto& entry : SingleArrows) {
        for (int key : entry.keys) {
            if (static_cast<WPARAM>(key) == virtualKey) {
                Walk(entry.direction);
                return;
            }
        }
    }
}

void Control::PollKeys() {
    if (core->gameHalted || Capturing() || !core->player) return;
    if (PushToTalkCapture()) {
        if (CtrlHeld() || AnyHeld({VK_RETURN, VK_ESCAPE, VK_BACK, VK_TAB})) return;
        if (WalkHeldBindings()) return;
        for (uint32_t direction = KeyNorth; direction <= KeyNorthWest; ++direction) {
            if (BindingHeld(direction)) {
                Walk(static_cast<int32_t>(direction));
                return;
            }
        }
        return;
    }
    if (ShiftHeld() || CtrlHeld()) return;
    if (NumLockOn() && AnyHeld({VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD4, VK_NUMPAD5,
                                VK_NUMPAD6, VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9}))
        return;
    if (WalkHeldArrowPair()) return;
    for (const auto& entry : SingleArrows) {
        if (AnyHeld(entry.keys)) {
            Walk(entry.direction);
            return;
        }
    }
}

void Control::Walk(int32_t direction) { core->player->Walk(direction); }

void Control::EnterRouting() {
    if (core->options.widescreen && talkLatch && FocusInConsole()) {
        talkLatch = 0;
        if (!FocusedInput()->text.empty() && !core->options.hidepush) talkLatch = 1;
    } else if (!core->options.widescreen) {
        talkLatch = 0;
    }
    if (core->windows.empty()) return;
    Window* top = core->windows.back();
    if (!top->modal && core->focusedInput) core->focusedInput->OnSubmit();
    else top->OnSubmit();
}

void Control::Backspace() {
    if (core->focusedInput) core->focusedInput->OnBackspace();
}

void Control::Delete() {
    if (core->focusedInput) core->focusedInput->OnDelete();
}

void Control::CycleFocus() {
    if (ShiftHeld()) core->FocusPreviousInput();
    else core->FocusNextInput();
}

void Control::MoveListSelection(int32_t delta) {
    List* list = dynamic_cast<List*>(core->FindWindow(WindowType::List));
    if (!list && core->activeWindow) {
        list = dynamic_cast<List*>(core->activeWindow->list);
        if (!list) list = dynamic_cast<List*>(core->activeWindow->owner);
    }
    if (list) list->MoveSelection(delta);
}

void Control::RequestScreenshot() {
    if (core->screenshotPending || core->screenshotBusy) return;
    core->screenshotPending = 1;
    core->SetScreenshotDeadline(50);
}

void Control::PasteClipboard() {
    Input* input = FocusedInput();
    if (!input || !OpenClipboard(nullptr)) return;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(GlobalLock(data))) {
            // The clipboard's block may lack the ending zero: never read past its size.
            const size_t size = GlobalSize(data);
            size_t length = 0;
            while (length < size && text[length]) ++length;
            input->Paste(std::string(text, length));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
}

void Control::Notify(const std::string& text) {
    if (core->world && core->world->notification) core->world->notification->Add(2, text);
}

void Control::ToggleInputMode(uint32_t mode, const char* prompt) {
    if (!core->inputModes[mode]) {
        core->inputModes[mode] = 1;
        core->inputModes[InputDrop] = 1;
        core->SetCursor(1);
        Notify(prompt);
    } else {
        core->inputModes[mode] = 0;
        core->inputModes[InputDrop] = 0;
        core->SetCursor(0);
    }
}

void Control::TogglePanelWindow() {
    core->options.bar = core->options.bar ? 0 : 1;
    // An open interface page shows the new value in its box.
    if (Window* page = core->FindWindow(WindowType::GeneralInterface))
        if (Button* box = page->FindButton(GeneralInterface::BarBox))
            box->pressed = core->options.bar;
    core->OnResize();
}

void Control::RunHotkey(WPARAM virtualKey, LPARAM lParam) {
    const uint32_t keyCode = KeyCodeOf(lParam);
    const uint32_t* keys = core->keys;
    if (keyCode == keys[KeyPrint]) {
        RequestScreenshot();
        return;
    }
    if (keyCode == keys[KeyPaste]) {
        PasteClipboard();
        return;
    }
    if (!core->player) return;
    static const struct {
        uint32_t binding;
        WPARAM arrow, keypad;
        int32_t direction;
    } facings[] = {{KeyNorth, VK_UP, VK_NUMPAD8, North},
                   {KeyEast, VK_RIGHT, VK_NUMPAD6, East},
                   {KeySouth, VK_DOWN, VK_NUMPAD2, South},
                   {KeyWest, VK_LEFT, VK_NUMPAD4, West}};
    for (const auto& facing : facings) {
        if (keyCode == keys[facing.binding] || virtualKey == facing.arrow ||
            virtualKey == facing.keypad) {
            core->player->SetDirection(facing.direction);
            return;
        }
    }
    if (keyCode == keys[KeyInvite]) {
        ToggleInputMode(InputPartySelect, "Select a player to party with.");
    } else if (keyCode == keys[KeyTrade]) {
        ToggleInputMode(InputTradeSelect, "Select a player to trade with.");
    } else if (keyCode == keys[KeyStack]) {
        const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
        auto* container =
            mouse ? dynamic_cast<Container*>(core->WindowAt(mouse->x, mouse->y)) : nullptr;
        if (!container) Notify("Hold your mouse over a container for auto stacking.");
        else if (core->activeConnection)
            core->activeConnection->SendContainerStack(container->containerIndex);
    } else if (keyCode == keys[KeyMode]) {
        core->options.push = core->options.push ? 0 : 1;
        Notify(core->options.push ? "Switched push-to-talk mode on."
                                  : "Switched push-to-talk mode off.");
    } else if (keyCode == keys[KeyJournal]) {
        if (Window* journal = core->FindWindow(WindowType::Questlog)) core->RemoveWindow(journal);
        else core->AddWindow(new Questlog(core));
    } else if (keyCode == keys[KeyMap]) {
        if (Window* map = core->FindWindow(WindowType::Map)) map->Close();
        else if (Map::CanOpen(core)) core->AddWindow(new Map(core));
    } else if (keyCode == keys[KeyBar]) {
        TogglePanelWindow();
    } else if (keyCode == keys[KeyFriends]) {
        if (auto* statusPanel = dynamic_cast<Paneltop*>(core->paneltopWindow))
            statusPanel->OpenFriendlist();
    } else if (keyCode == keys[KeyCharacter]) {
        core->CloseWindowOfType(WindowType::Attribute);
        core->CloseWindowOfType(WindowType::Outfit);
        if (core->FindWindow(WindowType::Character)) core->CloseWindowOfType(WindowType::Character);
        else OpenCharacter(core);
    } else if (keyCode == keys[KeyHelp]) {
        if (Window* guide = core->FindWindow(WindowType::Help)) core->RemoveWindow(guide);
        else core->AddWindow(new Help(core))->OnOpen();
    }
}
