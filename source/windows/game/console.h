#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/game/channel.h"
#include "windows/toolkit/window.h"

class Chatbox;
class Font;
class Input;
class Panel;

// The console (Core::consoleWindow): the strip at the bottom of the screen with the experience,
// health and mana bars, or in the wide layout a frame for the chat. It owns the chat line and
// what is typed into it (chat, private messages, "#name" pages, the "!" commands of a
// privileged player), the chat boxes over it with their first channels, and it builds the side
// columns when the game screen opens.
class Console : public Window {
public:
    static constexpr uint32_t CapitalsButton = 75;
    static constexpr uint32_t MaxChatLength = 224;
    static constexpr size_t MaxHistory = 10;

    explicit Console(Core* core);
    // A chat line that never joined the window list is the console's to delete.
    ~Console() override;
    // The first rectangle, the capitals button and the chat line.
    void Build() override;
    void Paint() override;
    void Draw() override;
    // A press 1 to 6 pixels below the top starts making the console taller or lower.
    void OnMouseDown(int32_t mx, int32_t my) override;
    // The bars' tooltips; ends a resize.
    void OnMouseUp(int32_t mx, int32_t my) override;
    // The game field's layout clamps the height the mouse asks for.
    void OnResize(int32_t mx, int32_t my) override;
    void OnHover(int32_t mx, int32_t my) override;
    // Enter in the chat line.
    void OnSubmit() override;
    // The capitals button turns a..z of the chat line into A..Z.
    void OnCommand(Button* button) override;
    // The game field's layout gives the console below it its height.
    void SetHeight(int32_t newHeight) override;
    // Normal layout: at the bottom, as wide as the field's frame and both columns, centred. Wide
    // layout: a frame at the top (or bottom) between the columns.
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    // Creates the chat boxes, builds the side columns, opens Info, Main with its welcome line and
    // the preset channels, and gives the chat line the focus.
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
    // The shown page of each chat box is laid out and painted again: a changed option changes
    // its prefixes and smileys.
    void RefreshChannels();
    // The private page with a person, opened unless it is already there, brought to the front.
    void OpenPrivatePage(const std::string& person);
    // Makes the input the chat line: the server learns when the player starts or stops typing.
    void AttachChatLine(Input* line);
    // The chat line follows the text of a short chat page.
    void PlaceChatLine();

    // The recalled lines for Shift with the up and down arrows.
    std::string HistoryOlder();
    std::string HistoryNewer();
    // Control bytes become spaces; no space at either end, none doubled.
    static void NormaliseText(std::string& text);
    // What a drunk player's line turns into: words swapped for their opposites or shuffled, and a
    // hiccup now and then.
    static void DrunkFilter(std::string& text);
    // A privileged player's "!" line on the Console channel: the local commands.
    void RunCommand(std::string line);
    // A reply line of the commands in the current channel of the main chat box.
    void Reply(const std::string& text);

    // The chat boxes over the console, in the window list: the main one with the chat channels
    // and the Info one, which the wide layout does without.
    Chatbox* mainChatbox = nullptr;
    Chatbox* secondChatbox = nullptr;
    Button* capitalsButton = nullptr;
    Font* barFont = nullptr;
    Input* chatLine = nullptr;
    // The submitted lines, oldest first, and the one recalled (0 none, 1 the newest).
    std::vector<std::string> history;
    int32_t historyIndex = 0;

private:
    // Draws one bar of the strip: its frame, the filled part from the left or right and its text.
    void DrawGauge(int32_t trackX, int32_t trackWidth, int32_t filled, bool fromRight,
                   int32_t fillSourceX, const std::string& text);
    // The skin strips beside the console, their edge lines and the low-health glow.
    void DrawFiller(int32_t left, int32_t right, bool consoleOnRight);
    // The tooltip of the bar under a point relative to the console; empty where there is none.
    std::string BarTooltip(int32_t rx, int32_t ry) const;
    bool InHeightBand(int32_t my) const;
    // The player's own line in the chat, for a line sent on the channel of the id.
    void ShowOwnLine(uint32_t channelId, const std::string& text);

    // Whether the chat line has joined the window list, which then owns it.
    bool chatLineListed = false;
};
