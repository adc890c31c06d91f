#pragma once
// Keyboard input of the main window: characters for the focused text input, editing keys,
// key capture for the key-binding fields, walking, slot keys and hotkeys.
#include <string>

#include "core.h"

class Input;

// The value that names a key in Core::keys: the scan code, plus 256 for an extended key.
uint32_t KeyCodeOf(LPARAM lParam);

class Control {
public:
    explicit Control(Core* core);
    virtual ~Control();

    void OnKeyDown(WPARAM virtualKey, LPARAM lParam);
    void OnChar(WPARAM character, LPARAM lParam);
    // Walks while movement keys are held, without a key message.
    void PollKeys();
    void UseSlot(uint32_t index);
    // The Ctrl hotkeys.
    void RunHotkey(WPARAM virtualKey, LPARAM lParam);
    void TogglePanelWindow();
    void EnterRouting();
    void Backspace();
    void Delete();
    void CycleFocus();
    void MoveListSelection(int32_t delta);

    uint8_t talkLatch = 0;  // push-to-talk: set while the player types into the chat line
    Core* core;
    Render* render;

private:
    Input* FocusedInput() const;
    bool Capturing() const;
    bool FocusInConsole() const;
    // Push-to-talk is on, typing has not been started with Enter, and the chat line has the focus.
    bool PushToTalkCapture() const;
    // The yes/no box, stack split, bidding and shop take Enter themselves; true when one did.
    bool SubmitToTopDialog();
    void CaptureKey(Input* input, WPARAM virtualKey, LPARAM lParam);
    bool UseSlotKey(WPARAM virtualKey, uint32_t keyCode);
    bool WalkByBindings(uint32_t keyCode);
    bool WalkHeldBindings();
    bool BindingHeld(uint32_t binding) const;
    void WalkByArrows(WPARAM virtualKey);
    bool WalkHeldArrowPair();
    void Tail(WPARAM virtualKey, LPARAM lParam);
    void RequestScreenshot();
    void PasteClipboard();
    void ToggleInputMode(uint32_t mode, const char* prompt);
    void Notify(const std::string& text);
    void Walk(int32_t direction);
};
