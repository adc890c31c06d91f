#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "windows/game/channel.h"
#include "windows/toolkit/window.h"

class Chatbox;
class Input;
class Panel;

// The console (Core::consoleWindow): only its place, its chat pages and chat boxes, the typing
// notices of its chat line and the side columns it builds, the least its callers need.
class Console : public Window {
public:
    explicit Console(Core* core);
    // The game field's layout gives the console below it its height.
    void SetHeight(int32_t newHeight) override;
    // Normal layout: at the bottom, as wide as the field's frame and both columns, centred. Wide
    // layout: a frame at the top (or bottom) between the columns.
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    // Builds the side columns.
    void OnOpen() override;
    // Both columns, their windows restored from the layout strings, then the equipment, ability
    // bar, minimap and status panel the layouts did not bring.
    void CreatePanels();
    void RestorePanel(Panel* column);
    // One layout entry: type, window id, pin (0 none, 1 top, 2 bottom), collapsed, height and for
    // a container its slot count.
    void RestorePanelEntry(Panel* column, const std::vector<int32_t>& fields);
    Channel* FindChannel(uint8_t id);
    // Makes the input the chat line: the server learns when the player starts or stops typing.
    void AttachChatLine(Input* line);

    std::vector<std::unique_ptr<Channel>> channels;
    // The chat boxes over the console, in the window list: the main one with the chat channels
    // and the Info one, which the wide layout does without.
    Chatbox* mainChatbox = nullptr;
    Chatbox* secondChatbox = nullptr;
};
