#pragma once
#include <cstdint>
#include <vector>

#include "gamelists.h"
#include "windows/toolkit/panellist.h"

// The friends list panel window: the people of Core::friends, online ones first, with a mark for
// foes. A left click on an online person opens the private page with them; a right click offers
// the friend actions, and on the title band adding people, hiding offline ones and muting.
class Friendlist : public Panellist {
public:
    static constexpr int32_t RowPitch = 13;
    // No row: the point lies outside the rows' area.
    static constexpr int32_t NoRow = -1;

    explicit Friendlist(Core* core, Window* owner = nullptr);
    // The status panel's friends button works again.
    ~Friendlist() override;
    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnRightClick(int32_t mx, int32_t my) override;
    void OnWheel(int32_t mx, int32_t my, int32_t delta) override;

    // Takes the rows again and gives the scroll bar 13 pixels a row plus 4.
    void UpdateScroll();
    // The title band's menu, a person's menu, or the add-a-person popup below the rows.
    void ShowMenu(int32_t mx, int32_t my);
    // The row under a point relative to the window: NoRow outside the rows' area, the row count
    // or more below the last row.
    int32_t RowAt(int32_t rx, int32_t ry) const;

    // A copy of Core::friends taken at every paint: the online people, then unless `ofriends`
    // the offline ones, each group in list order.
    std::vector<FriendRecord> rows;

private:
    void RebuildRows();
    // The person of a row the player may act on: a row that exists and is not the player's own.
    const FriendRecord* PersonAt(int32_t row) const;
};
