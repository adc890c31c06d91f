#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "windows/toolkit/panelactions.h"
#include "windows/toolkit/window.h"

class Panel;
class Scroll;

// One row a panel window adds to its popup menu.
struct PanelMenuRow {
    uint32_t code;
    std::string label;
};

// A window of a side column: full column width, a 22-pixel title band with the close and
// collapse buttons, an optional vertical scroll bar on the column's outer edge. It can be
// dragged up and down to reorder its column, resized by its bottom edge, collapsed to its title
// band, pinned to the top or bottom of the column, and closed. The status panel, ability bar,
// equipment, containers, friends and party lists and minimap derive from it.
class Panellist : public Window {
public:
    static constexpr int32_t TitleBand = 22;
    static constexpr int32_t MinHeight = 70;
    static constexpr int32_t DefaultHeight = 150;
    static constexpr int32_t ScrollGutter = 18;

    // The defaults only; a derived window builds itself (Panellist::Build or its own layout).
    explicit Panellist(Core* core, Window* owner = nullptr);
    // Leaves its column and removes its scroll bar.
    ~Panellist() override;

    // The standard panel window: the column's x, y and width (the owner's when it has no column
    // yet), height 150, title "Panel", close and collapse buttons and a vertical scroll bar.
    void Build() override;
    // Puts the window at the top of the column it sits in, or of the column owning it before it
    // is inserted, as wide as that column; without either, a column's width at the origin.
    void MoveToColumnTop();
    // Title frame, and when expanded the content background, border and scroll track.
    void Paint() override;
    // The separator line, the surface over the visible height, the buttons and the scroll bar.
    void Draw() override;
    // The title band starts a drag, the bottom 5 rows of a resizable window a resize.
    void OnMouseDown(int32_t mx, int32_t my) override;
    // Ends a drag or resize; the window snaps back to its slot.
    void OnMouseUp(int32_t mx, int32_t my) override;
    // Moves the window up and down within its column and reorders the column.
    void OnDrag(int32_t mx, int32_t my) override;
    void OnResize(int32_t mx, int32_t my) override;
    // The sizing cursor over the bottom 5 rows of a resizable window.
    void OnHover(int32_t mx, int32_t my) override;
    // x follows the column.
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    // 9 closes, 1 collapses, 10 expands when the column has the room.
    void OnCommand(Button* button) override;
    void SetHeight(int32_t newHeight) override;
    // A point on its own scroll bar is the scroll bar's.
    bool HitTest(int32_t px, int32_t py) override;

    // The window's layout entry: type id, window id, pin (0 none, 1 top, 2 bottom), collapsed
    // and full height, in decimal and joined by ",".
    virtual std::string Serialize();
    // Called by the column just before the window leaves it for good.
    virtual void OnColumnClose();

    // Resizes to h when h >= minHeight; a smaller h closes a window that has a close button.
    void SetHeightClamped(int32_t h);
    // Collapses or expands as the collapse button does; null uses its own button.
    void ToggleMinimise(Button* button);
    // The rows of the window's column: "Unpin" for a pinned window, else the move to the other
    // column, "Pin to Top" right below the top-pinned windows and "Pin to Bottom" for the last.
    std::vector<PanelMenuRow> PanelMenuRows() const;
    // Appends those rows to a popup menu.
    template <typename Menu>
    void AddPanelMenu(Menu* menu) const {
        for (const PanelMenuRow& row : PanelMenuRows()) menu->AddEntry(row.code, row.label);
    }
    // Gives a window built without one the vertical scroll bar at the column's outer edge.
    void AddScrollBar();
    // Puts the scroll bar on its column's outer edge and the content beside it.
    void PlaceScrollBar();
    // The x of the scroll bar's edge: 3 in the left column, width - 21 in the right one.
    int32_t ScrollEdgeX() const;

    // Painting helpers, in surface coordinates.
    void DrawTitle();
    // The content area inside the border and below the title band, in window coordinates.
    WindowRect ContentArea() const;
    void DrawContentBackground();
    // A list panel's picture: the title and, unless collapsed, the background, the rows that
    // paintRows draws (clipped to the content area and moved up by the scroll position), the
    // border and the scroll track.
    void PaintList(const std::function<void()>& paintRows);
    void DrawBorder();
    void DrawScrollTrack();
    // On the screen: the 1-pixel separator under the window, at its slot while it is dragged.
    void DrawDragLine();

    // The column holding the window, or null.
    Panel* panel = nullptr;
    // Its vertical scroll bar, a separate window of Core's list, or null.
    Scroll* scroll = nullptr;
    // The y of its slot in the column: a dragged window snaps back to it.
    int32_t homeY = 0;
    int32_t minHeight = MinHeight;
    // The content height given to the scroll bar.
    int32_t scrollTotal = 0;
    // The x offset of the content: scrollGutter in the left column, 0 in the right one.
    int32_t contentX = 0;
    int32_t scrollGutter = ScrollGutter;
    // The window's identifier inside the layout; a container's is the server's container number.
    uint8_t windowId = 0xFF;
    uint8_t pinned = 0;
    // Set on the windows pinned to the column's bottom just before the layout is saved.
    uint8_t pinnedBottom = 0;

private:
    // Turns its collapse button into the expand one or back, and changes its place.
    void SetCollapsed(Button* button, bool collapse);
    void Expand(Button* button);
};
