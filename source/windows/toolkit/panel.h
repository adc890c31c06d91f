#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

class Panellist;

// One entry of a column's layout string: its text as written and its fields read as numbers
// (type id, window id, pin 0 none / 1 top / 2 bottom, collapsed, height, and for a container
// its slot count).
struct PanelLayoutEntry {
    std::string text;
    std::vector<int32_t> values;
};

// A side column of the game screen. It stacks panel windows from the top down, 1 pixel apart:
// `normal` in screen order (the top-pinned ones first), then the free area, then the windows of
// `bottom`, the one pinned first lowest. The column's own rectangle is its free area: x and
// width are the column's, y the top of the free space below the last normal window, height the
// free height above the bottom-pinned windows. The windows belong to Core's window list.
class Panel : public Window {
public:
    static constexpr int32_t Left = 1;
    static constexpr int32_t Right = 2;
    static constexpr int32_t ColumnWidth = 156;
    // A window of visible height h takes h + Gap pixels of its column.
    static constexpr int32_t Gap = 1;
    // The free height a layout keeps at least.
    static constexpr int32_t MinFree = 6;

    // Side Left is the left column (type 12), Right the right one (type 10); the owner is the
    // game-screen window beside which the columns stand.
    Panel(Core* core, Window* owner, int32_t side);
    ~Panel() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    // Lays the column out again for the client size.
    void Place(int32_t screenWidth, int32_t screenHeight) override;

    // Inserts the window and adds it and its scroll bar to Core's window list; a null window
    // ends the program.
    void Add(Panellist* window);
    // Makes room for the window and appends it to `normal` at the top of the free area.
    void Insert(Panellist* window);
    // Takes the window out of `normal`; the windows below move up.
    void Remove(Panellist* window);
    void Pin(Panellist* window, bool top);
    void Unpin(Panellist* window);
    // Unpins and takes out the window, then deletes it at once or lets the next frame do it.
    // Nothing of a window closed at once may be used afterwards.
    using Window::Close;
    void Close(Panellist* window, bool immediate);
    // Closes at once the first window of `normal`, else of `bottom`, with that window id.
    void CloseById(uint8_t windowId);
    // Frees `needed` pixels by shrinking other windows; false, changing nothing, when the
    // column cannot.
    bool MakeRoom(Panellist* window, int32_t needed);
    // Gives the window a new visible height, moving the windows below; false when unchanged or
    // when fewer than MinFree pixels would stay free.
    bool ApplyHeightChange(Panellist* window, int32_t newVisibleHeight);
    // Re-sorts `normal` after a drag move of one of its windows.
    void Reorder(Panellist* dragged);
    // `normal` then `bottom`, marking each window with which it is in; for saving the layout.
    std::vector<Panellist*> AllWindows();
    // The entries of a layout string in order; blank entries and unreadable ones are skipped.
    static std::vector<PanelLayoutEntry> ParseLayout(const std::string& text);

    std::vector<Panellist*> normal;
    std::vector<Panellist*> bottom;
    int32_t side;
    // The y just below the last top-pinned window (0 when there is none).
    int32_t topReserve = 0;
    // The height the bottom-pinned windows take, each counted with its gap.
    int32_t bottomUsed = 0;

private:
    void Fit(Panellist* window);
    // Shrinks or closes windows until MinFree pixels are free; true when it closed some.
    bool KeepFree();
    // Whether the column is shown at all in the current layout.
    bool Shown() const;
};
