#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/game/actioncodes.h"
#include "windows/toolkit/window.h"

// The popup action menu: keeps its title, rows, context and where it was opened, and carries out
// a chosen row's action code; the menu window itself is the least its callers need.
class Action : public Window {
public:
    struct Entry {
        uint32_t code;
        std::string label;
        std::string hint;
    };
    // The owner is the window the codes of the menu act on; null when they need none.
    Action(Core* core, Window* owner, std::string title, uint32_t context);
    void AddEntry(uint32_t code, const std::string& label);
    void AddEntryWithHint(uint32_t code, const std::string& label, const std::string& hint);
    void Open(int32_t screenX, int32_t screenY);
    // Runs the action code of a row (actioncodes.cpp). Nothing runs while the game is halted, for
    // a row that does not exist or for a code the vocabulary does not define.
    void Execute(uint32_t row);

    std::string title;
    // One value the opener hands to the codes: a creature, friend, guild or marker id, a
    // container or condition index.
    uint32_t context;
    std::vector<Entry> entries;

private:
    // Whether the owner is still open: the server can close a container or a channel under an
    // open menu.
    bool OwnerOpen() const;
};
