#pragma once
#include <cstdint>

#include "windows/game/channel.h"
#include "windows/toolkit/window.h"

class Chatbox;
class Input;

// The console (Core::consoleWindow): its place at the bottom of the screen, its chat boxes with
// the first channels, and the typing notices of its chat line, the least its callers need.
class Console : public Window {
public:
    explicit Console(Core* core);
    // The game field's layout gives the console below it its height.
    void SetHeight(int32_t newHeight) override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    // Creates the chat boxes and opens Info, Main with its welcome line and the preset channels.
    void OnOpen() override;
    // The channel of the id in the main chat box, else in the second one.
    Channel* FindChannel(uint32_t id);
    // Makes the input the chat line: the server learns when the player starts or stops typing.
    void AttachChatLine(Input* line);
    // The chat line follows the text of a short chat page.
    void PlaceChatLine();

    // The chat boxes over the console, in the window list: the main one with the chat channels
    // and the Info one, which the wide layout does without.
    Chatbox* mainChatbox = nullptr;
    Chatbox* secondChatbox = nullptr;
    Input* chatLine = nullptr;
};
