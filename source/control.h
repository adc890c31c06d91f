#pragma once
// Keyboard input of the main window: characters for the focused text input, editing keys,
// walking, slot keys and hotkeys.
#include "core.h"

class Control {
public:
    explicit Control(Core* core);
    virtual ~Control();

    void OnKeyDown(WPARAM virtualKey, LPARAM lParam);
    void OnChar(WPARAM character, LPARAM lParam);
    // Walks while movement keys are held, without a key message.
    void PollKeys();

    uint8_t talkLatch = 0;  // push-to-talk: set while the player types into the chat line
    Core* core;
    Render* render;
};
