#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

class Creature;
class Scroll;
struct GfxRenderTarget;

// Chat channel ids that mean something to the client; private conversations take 255 and above.
namespace ChannelId {
constexpr uint32_t Main = 0, World = 1, Help = 2, Trade = 3, Npc = 4, Party = 5, Report = 129,
                   Info = 240, Console = 254, Private = 255;
}  // namespace ChannelId

// One page of chat under a chat box's tab: the lines of one channel as added, their arrival
// stamps and their wrapping into display lines; the painted page with its scroll bar, the mouse
// selection that goes to the clipboard, the menu on a speaker's name, and the channel's log.
class Channel : public Window {
public:
    // Only a chat box opens pages; it is the owner.
    Channel(Core* core, Window* owner, uint32_t id, std::string name, uint8_t tabMark);
    // Deletes the scroll bar too, wherever it is.
    ~Channel() override;
    void Build() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void Paint() override;
    void Draw() override;
    void OnMouseDown(int32_t mx, int32_t my) override;
    // The left release ends a selection and copies it (CopySelection).
    void OnMouseUp(int32_t mx, int32_t my) override;
    // The right release opens the speaker menu (ShowSpeakerMenu).
    void OnRightClick(int32_t mx, int32_t my) override;
    void OnRightDown(int32_t mx, int32_t my) override;
    void OnDrag(int32_t mx, int32_t my) override;
    void OnWheel(int32_t mx, int32_t my, int32_t delta) override;
    // Hands the page to its chat box, which closes it.
    void Close() override;

    // Adding lines: every line begins with the colour escape of its colour.
    void AddLine(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha, std::string text);
    // The network layer's recording notices: kind 0 green, 1 red, 4 grey; other kinds add nothing.
    void AddJoinedLine(uint8_t kind, std::string text);
    // A creature's speech, with the NPC colours for an NPC.
    void AddNamedLine(const Creature* speaker, std::string text);
    // A chat message by name; marks the page unread.
    void AddSpeakerText(const std::string& speaker, std::string text);
    // Logs, stamps and wraps a line that begins with its own colour escape.
    void AppendLine(std::string line);
    // "Clear contents": every line goes.
    void Clear();
    // The close button of the chat box follows the mark.
    void SetTabMark(uint8_t mark);
    // After the `time` or `smiley` option changed.
    void Rewrap();
    void RewrapAll();

    // Logging to logs/<name>/ (chatlog.h).
    void EnableLogging();
    void DisableLogging();
    void RestoreLogging();
    void WriteLog(const std::string& line);

    // The scroll bar joins the window list while the page is current.
    void ShowScroll();
    void HideScroll();
    void DeleteScroll();

    // Starts a selection at the point (client coordinates); false when it is on no line.
    bool HitTestText(int32_t mx, int32_t my);
    // The selected text as plain text, lines joined by line feeds; ends outside the display lines
    // are clamped to them first.
    std::string SelectedText() const;
    // The name of the player whose name the display line shows at the offset, or "".
    std::string SpeakerAt(int32_t line, int32_t offset) const;

    int32_t selStartLine = -1, selStartChar = -1, selEndLine = -1, selEndChar = -1;
    std::vector<std::string> rawLines;
    std::vector<std::string> displayLines;
    std::vector<std::string> stamps;
    Scroll* scroll = nullptr;
    uint32_t id;
    int32_t contentHeight = 4;
    uint8_t tabMark;
    uint8_t unread = 0;
    uint8_t noUnreadMark = 0;
    uint8_t readOnly = 0;
    GfxRenderTarget* textSurface = nullptr;
    uint8_t menuArmed = 0;
    uint8_t logging = 0;

private:
    bool WideLayout() const;
    void PlaceInOwner(bool placing);
    void WrapLine(std::string text);
    // The console's input line follows the height of the text while the page is short.
    void PlaceConsoleInput();
    // The newest line shown, from the scroll position.
    int32_t LastVisibleLine() const;
    // The baseline of that line, from the page's top.
    int32_t Baseline() const;
    // The oldest line drawn: lines above y 5 are not.
    int32_t FirstVisibleLine() const;
    // The selection point under a page point; false for none.
    bool PointAt(int32_t px, int32_t py, bool dragging, int32_t& line, int32_t& offset) const;
    void PaintBackground();
    void PaintLines();
    void DrawSelection();
    // A mouse event the page does not use goes on to the game field in the wide layout.
    Window* FieldBehind() const;
};
