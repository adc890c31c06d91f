#pragma once
#include <cstdint>

#include "windows/toolkit/panellist.h"

// The party list panel window: the members of Core::party with a health and a mana bar each. A
// left click on a member opens the private page with them, a right click offers the party
// actions (the leader's too, for a leader); closing the window leaves the party.
class Partylist : public Panellist {
public:
    static constexpr int32_t RowPitch = 32;
    static constexpr int32_t NoRow = -1;

    explicit Partylist(Core* core, Window* owner = nullptr);
    void Build() override;
    void Paint() override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnRightClick(int32_t mx, int32_t my) override;
    // The close button leaves the party first.
    void OnCommand(Button* button) override;
    // The column removes and deletes the window: nothing may touch it afterwards.
    void Close() override;

    void ShowMenu(int32_t mx, int32_t my);
    // The row under a point relative to the window: NoRow outside the members' area, the member
    // count or more below the last member.
    int32_t RowAt(int32_t rx, int32_t ry) const;
    // The width of a bar for a status value of 0 to 200; more fills the bar.
    int32_t BarWidth(uint8_t value) const;

private:
    void PaintMember(size_t index);
};
