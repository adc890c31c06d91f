#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "windows/game/channel.h"
#include "windows/toolkit/window.h"

class Chatbox;
class Input;

// The console (Core::consoleWindow): only its chat pages and chat boxes and the typing notices of
// its chat line, the least its callers need.
class Console : public Window {
public:
    explicit Console(Core* core);
    // The game field's layout gives the console below it its height.
    void SetHeight(int32_t newHeight) override;
    Channel* FindChannel(uint8_t id);
    // Makes the input the chat line: the server learns when the player starts or stops typing.
    void AttachChatLine(Input* line);

    std::vector<std::unique_ptr<Channel>> channels;
    // The chat boxes over the console, in the window list: the main one with the chat channels
    // and the Info one, which the wide layout does without.
    Chatbox* mainChatbox = nullptr;
    Chatbox* secondChatbox = nullptr;
};
