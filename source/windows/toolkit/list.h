#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

class Scroll;

// One choice of an option row, kept for the row's owner.
struct ListChoice {
    std::string text;
    uint32_t value = 0;
};

// One row of a list in row mode: a wrapped title, an optional wrapped description and, for a
// check box row, the state of its box.
struct ListRow {
    // 0 plain text, 1 heading, 2 check box; other values draw as plain text.
    uint32_t kind = 0;
    uint32_t value = 0;  // the owner's; the list does not read it
    std::string text;
    std::string detail;
    // The settings option a click on the row toggles, when it is one of the bound options.
    uint32_t optionId = 0;
    uint32_t extra = 0;  // the owner's; the list does not read it
    int32_t top = 0;     // y of the row inside the content
    int32_t textHeight = 0;
    int32_t detailHeight = 0;
    int32_t height = 0;
    uint8_t marked = 0;
    // The selection and hover bands are drawn for it.
    uint8_t selectable = 0;
    uint8_t checkState = 0;
    std::vector<std::string> lines;
    std::vector<std::string> detailLines;
    std::vector<ListChoice> choices;
};

// The list control (type 60): a column of one-line text items, or in row mode a column of option
// rows. It keeps a selected index, a mark bit per text item, and a vertical scroll bar that it
// creates when the content grows taller than the control; the bar's position is in pixels. A
// changed selection is reported through the owner's OnListSelect. A window usually hosts its list
// in its `list` field, so that mouse events and button look-ups pass on to it.
class List : public Window {
public:
    static constexpr uint32_t TextMode = 0;
    static constexpr uint32_t RowMode = 2;
    static constexpr int32_t ItemHeight = 12;

    // The rectangle is relative to the owner's.
    List(Core* core, Window* owner, int32_t x, int32_t y, int32_t width, int32_t height);
    // Removes the scroll bar from the window list and deletes it, or leaves it closing for the
    // frame to remove when the list itself is closing.
    ~List() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseDown(int32_t mx, int32_t my) override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnDrag(int32_t mx, int32_t my) override;
    void OnWheel(int32_t mx, int32_t my, int32_t delta) override;
    void OnSubmit() override;
    // Re-places the list at its owner's origin plus its offset.
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    // Puts the scroll bar, when there is one, into the window list above the list.
    void OnOpen() override;
    bool IsDragging() override;

    void AddItem(std::string text);
    void AddItemValue(std::string text, uint8_t marked);
    void AddRow(ListRow row);
    // Removes the row or item (with its mark bit) at the index; an index past the end does
    // nothing. Only the first 256 entries can be named.
    void RemoveItem(uint8_t index);
    // The same for any index.
    void RemoveEntry(size_t index);
    // Removes the first item equal to the text in lower case; nothing when none matches.
    void RemoveItemText(const std::string& text);
    // Removes every row, item and mark bit; the scroll bar stays.
    void Clear();
    // The index of the first item equal to the text when both are taken in lower case, or -1.
    int32_t FindItem(const std::string& text) const;
    // Sets the mark bit of the first item found as FindItem finds it.
    void FindItemNoCase(const std::string& text, uint8_t marked);
    bool HasItemNoCase(const std::string& text) const;
    // Selects a valid item index and scrolls it into view; the owner is not told.
    void Select(int32_t index);
    // Moves the selection by delta when that lands on an item, and tells the owner.
    void MoveSelection(int32_t delta);
    // The item or row index under a point, or -1 (not the window hit test).
    int32_t HitTestItem(int32_t px, int32_t py);
    // The base window's look-ups on a hosted list: the list's own buttons, then its bar's.
    Button* FindButton(uint32_t id);
    Button* ButtonAt(int32_t px, int32_t py);
    // Copies the option byte a row is bound to into its check box.
    void SyncRowCheck(size_t index);

    std::vector<std::string> items;
    std::vector<ListRow> rows;
    std::vector<bool> marks;  // one per text item
    int32_t offsetX = 0, offsetY = 0;
    // 0 after Build and Clear; -1 when a removal empties the list.
    int32_t selected = 0;
    Scroll* scroll = nullptr;
    int32_t contentHeight = 0;
    uint32_t mode = TextMode;  // set by the owner before rows are added
    uint8_t showSelection = 1;
    uint8_t showHover = 1;
    uint32_t markColour = 0xC0FF8080;
    uint32_t markSelectedColour = 0xFFFF8080;

private:
    // A text item's index (Select and MoveSelection name items only).
    bool IsItem(int32_t index) const;
    // An index of the mode's entries: items, or rows in row mode.
    bool IsEntry(int32_t index) const;
    size_t Count() const;
    // The width of the content: the list less the bar's 18 pixels when there is a bar.
    int32_t ContentWidth() const;
    void RemoveAt(size_t index);
    void UpdateContentHeight();
    void EnsureScroll();
    void LayoutRow(ListRow row);
    void ScrollToSelection();
    void ReleaseScroll();
    // The item or row under the mouse while the mouse is over the list, else -1.
    int32_t HoveredIndex();
    void DrawItems(int32_t contentWidth);
    void DrawRows(int32_t contentWidth);
    // The hover band of the entry at `top`, `height` high, kept off the selection band when the
    // entry is next to the selected one.
    void DrawHoverBand(int32_t index, int32_t top, int32_t height, int32_t contentWidth);
};
