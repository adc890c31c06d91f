#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

class Spell;

// The abilities book: the abilities the player knows, sorted by name, beside the details of the
// chosen one. It is opened by the ability bar for one of its slots; "assign" gives the slot the
// chosen ability and "clear" empties it, both through the bar.
class Spellbook : public Window {
public:
    static constexpr uint32_t ClearButton = 58;
    static constexpr uint32_t AssignButton = 34;
    // The list's selected index when no row is chosen.
    static constexpr int32_t NoSelection = 0xFFFF;

    // The owner is the window that opened the book (the bar); current is the slot's ability.
    Spellbook(Core* core, Window* owner, Spell* current);
    ~Spellbook() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    // Assigns the chosen ability and closes.
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    // Lists the list control and fills it with the known abilities.
    void OnOpen() override;
    void OnListSelect(int32_t index) override;
    // Takes the list, then the book out of the window list.
    void Close() override;

    List* abilities = nullptr;
    Spell* selected = nullptr;

private:
    void PaintContent();
    // Gives the owner bar's slot the ability (null empties it) and closes.
    void AssignAndClose(Spell* spell);
};
