#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/game/actioncodes.h"
#include "windows/toolkit/window.h"

// The popup action menu: a borderless window listing rows of (action code, label, hint) under an
// optional title. It fades in where it was opened, lives for ten seconds at most, fades out at
// once when another window becomes active (unless kept open), and hands the chosen row to
// Execute, which carries out the row's action code.
class Action : public Window {
public:
    struct Entry {
        uint32_t code;
        std::string label;
        // Right-hand text; one holding "RMB" or "LMB" is drawn as a mouse-button mark.
        std::string hint;
    };
    // The owner is the window the codes of the menu act on; null when they need none.
    Action(Core* core, Window* owner, std::string title, uint32_t context);
    void AddEntry(uint32_t code, const std::string& label);
    void AddEntryWithHint(uint32_t code, const std::string& label, const std::string& hint);
    // Sizes the menu to its title and rows and places it at the point: hanging from it and
    // flipped to the other side where it would cross the client edge, or centred on it.
    void Open(int32_t screenX, int32_t screenY);
    // Runs the action code of a row (actioncodes.cpp). Nothing runs while the game is halted, for
    // a row that does not exist or for a code the vocabulary does not define.
    void Execute(uint32_t row);

    void Paint() override;
    void Draw() override;
    // A left release on a row closes the menu and runs the row.
    void OnMouseUp(int32_t mx, int32_t my) override;
    // A right click on the menu and a client size other than the one it was opened on close
    // it; the system also reports a size that stayed the same.
    void OnRightClick(int32_t mx, int32_t my) override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnSubmit() override;
    void OnCommand(Button* button) override;
    void Close() override;

    // The row under a point of the client area, or -1 when the point is on the title band, a
    // margin or below the last row.
    int32_t RowAt(int32_t mx, int32_t my) const;

    // Core::frameTimeMs when Open ran: drives the fade-in, the life time and the fade-out.
    uint64_t openedAt = 0;
    // Empty: no title band. Many menus put their subject's name here and the codes read it.
    std::string title;
    // One value the opener hands to the codes: a creature, friend, guild or marker id, a
    // container or condition index.
    uint32_t context;
    std::vector<Entry> entries;
    // Set before Open: the menu stays when another window becomes active (server invitations).
    uint8_t keepOpen = 0;
    // Set before Open: the menu is centred on the point instead of hanging from it.
    uint8_t centred = 0;

private:
    int32_t openedClientWidth = 0, openedClientHeight = 0;
    // Whether the owner is still open: the server can close a container or a channel under an
    // open menu.
    bool OwnerOpen() const;
    void PaintContent();
    void PaintMouseMark(int32_t markX, int32_t top, bool rightButton);
    void DrawHighlight();
    // The text top of the first row, from the menu's top.
    int32_t RowsTop() const;
};
