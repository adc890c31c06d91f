#pragma once
#include <cstdint>
#include <vector>

#include "windows/game/channel.h"
#include "windows/toolkit/window.h"

class Chatbox;
class Input;
class Panel;

// The console (Core::consoleWindow): its place at the bottom of the screen, its chat boxes with
// the first channels, the typing notices of its chat line and the side columns it builds, the
// least its callers need.
class Console : public Window {
public:
    explicit Console(Core* core);
    // The game field's layout gives the console below it its height.
    void SetHeight(int32_t newHeight) override;
    // Normal layout: at the bottom, as wide as the field's frame and both columns, centred. Wide
    // layout: a frame at the top (or bottom) between the columns.
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    // Creates the chat boxes, builds the side columns and opens Info, Main with its welcome line
    // and the preset channels.
    void OnOpen() override;
    // Both columns, their windows restored from the layout strings, then the equipment, ability
    // bar, minimap and status panel the layouts did not bring.
    void CreatePanels();
    void RestorePanel(Panel* column);
    // One layout entry: type, window id, pin (0 none, 1 top, 2 bottom), collapsed, height and for
    // a container its slot count.
    void RestorePanelEntry(Panel* column, const std::vector<int32_t>& fields);
    // The channel of the id in the main chat box, else in the second one.
    Channel* FindChannel(uint32_t id);
    // The current page of each chat box is laid out again under the options of the moment.
    void RefreshChannels();
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
