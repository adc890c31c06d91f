#include "windows/toolkit/list.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "mouse.h"
#include "render.h"
#include "screen.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t BarWidth = 18;
constexpr uint32_t Heading = 1;
constexpr uint32_t CheckBox = 2;
constexpr int32_t HeadingLineHeight = 20;
constexpr uint32_t SelectionColour = 0x20FFFFFF;
constexpr uint32_t HoverColour = 0x10FFFFFF;
constexpr uint32_t OutlineColour = 0x20FFFFFF;
constexpr uint32_t SelectedColour = 0xFFFFFFFF;
constexpr uint32_t ItemColour = 0xC0FFFFFF;

// The rows whose option id names one of these settings toggle it when clicked.
struct BoundOption {
    uint32_t optionId;
    uint8_t Options::*option;
};
constexpr BoundOption BoundOptions[] = {
    {45, &Options::push},      {91, &Options::autocast},  {107, &Options::limit},
    {110, &Options::hidepush}, {112, &Options::nosplit},  {114, &Options::showchat},
    {130, &Options::holdmove}, {139, &Options::lootcont},
};

uint8_t* BoundOptionByte(Core* core, uint32_t optionId) {
    for (const BoundOption& bound : BoundOptions)
        if (bound.optionId == optionId) return &(core->options.*bound.option);
    return nullptr;
}

bool EqualInLowerCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char l, char r) {
               return std::tolower(static_cast<unsigned char>(l)) ==
                      std::tolower(static_cast<unsigned char>(r));
           });
}

bool InWindowList(Core* core, Window* window) {
    return std::find(core->windows.begin(), core->windows.end(), window) != core->windows.end();
}

const Mouse* MouseOf(Core* core) { return core->screen ? core->screen->mouse : nullptr; }

// The colour of an entry's text: the selected one brighter, marked ones in the mark colours.
uint32_t TextColour(bool isSelected, bool isMarked, uint32_t markColour,
                    uint32_t markSelectedColour) {
    if (isSelected) return isMarked ? markSelectedColour : SelectedColour;
    return isMarked ? markColour : ItemColour;
}

// The same colour with its alpha at 40 %, for the description lines.
uint32_t Faded(uint32_t colour) { return ((colour >> 24) * 2 / 5) << 24 | (colour & 0xFFFFFF); }

}  // namespace

List::List(Core* core, Window* owner, int32_t x, int32_t y, int32_t width, int32_t height)
    : Window(core), offsetX(x), offsetY(y) {
    this->owner = owner;
    this->width = width;
    this->height = height;
    Place(0, 0);
    Build();
}

List::~List() { ReleaseScroll(); }

void List::ReleaseScroll() {
    Scroll* bar = std::exchange(scroll, nullptr);
    if (!bar) return;
    if (state == 3 && InWindowList(core, bar)) {
        // The frame is removing this list from a copy of the window list that may still hold the
        // bar: leave the bar closing, without its owner, for the frame to remove.
        bar->owner = nullptr;
        bar->state = 3;
        return;
    }
    core->RemoveWindow(bar);
}

void List::Build() {
    ResetLayout();
    ReleaseScroll();
    selected = 0;
    font = core->GetFont(2);
    CreateSurface();
    typeId = WindowType::List;
    showSelection = 1;
    showHover = 1;
    titleHeight = 0;
    contentHeight = 0;
    markSelectedColour = 0xFFFF8080;
    markColour = 0xC0FF8080;
}

bool List::IsItem(int32_t index) const { return static_cast<uint32_t>(index) < items.size(); }

bool List::IsEntry(int32_t index) const { return static_cast<uint32_t>(index) < Count(); }

size_t List::Count() const { return mode == RowMode ? rows.size() : items.size(); }

int32_t List::ContentWidth() const { return scroll ? width - BarWidth : width; }

void List::AddItem(std::string text) { AddItemValue(std::move(text), 0); }

void List::AddItemValue(std::string text, uint8_t marked) {
    items.push_back(std::move(text));
    marks.push_back(marked != 0);
    UpdateContentHeight();
    EnsureScroll();
}

void List::AddRow(ListRow row) {
    LayoutRow(std::move(row));
    UpdateContentHeight();
    EnsureScroll();
}

void List::LayoutRow(ListRow row) {
    const int32_t wrapWidth = width - 32;
    row.lines = font ? font->LayoutParagraph2(row.text, wrapWidth) : std::vector<std::string>();
    row.detailLines =
        font ? font->LayoutParagraph2(row.detail, wrapWidth) : std::vector<std::string>();
    const int32_t lineHeight = row.kind == Heading ? HeadingLineHeight : ItemHeight;
    row.textHeight = lineHeight * static_cast<int32_t>(row.lines.size());
    row.detailHeight = ItemHeight * static_cast<int32_t>(row.detailLines.size());
    row.height = row.textHeight + row.detailHeight + (row.detailLines.empty() ? 0 : 2) + 5;
    row.selectable = (row.kind == 0 || row.kind == Heading) ? 0 : 1;
    row.marked = 0;
    row.top = rows.empty() ? 0 : rows.back().top + rows.back().height;
    rows.push_back(std::move(row));
    SyncRowCheck(rows.size() - 1);
}

void List::SyncRowCheck(size_t index) {
    if (index >= rows.size()) return;
    if (const uint8_t* option = BoundOptionByte(core, rows[index].optionId))
        rows[index].checkState = *option;
}

void List::UpdateContentHeight() {
    if (mode == RowMode) {
        contentHeight = 0;
        for (const ListRow& row : rows) contentHeight += row.height;
    } else {
        contentHeight = ItemHeight * static_cast<int32_t>(items.size()) + 6;
    }
    if (scroll) scroll->SetTotal(contentHeight);
}

void List::EnsureScroll() {
    if (scroll || contentHeight <= height - 2) return;
    scroll = new Scroll(core, this, width - BarWidth, 0, height, height - 2, contentHeight,
                        ItemHeight, 1);
    dirty = 1;  // the frame makes room for the bar's track
    // A list that is already open puts its new bar right above itself, as opening it would.
    auto found = std::find(core->windows.begin(), core->windows.end(), this);
    if (found != core->windows.end()) core->windows.insert(found + 1, scroll);
}

void List::RemoveItem(uint8_t index) { RemoveAt(index); }
void List::RemoveEntry(size_t index) { RemoveAt(index); }

void List::RemoveAt(size_t index) {
    if (mode == RowMode) {
        if (index >= rows.size()) return;
        rows.erase(rows.begin() + static_cast<ptrdiff_t>(index));
        // The bands use `top`: the rows after the removed one move up.
        for (size_t i = index; i < rows.size(); ++i)
            rows[i].top = i == 0 ? 0 : rows[i - 1].top + rows[i - 1].height;
    } else {
        if (index >= items.size()) return;
        items.erase(items.begin() + static_cast<ptrdiff_t>(index));
        marks.erase(marks.begin() + static_cast<ptrdiff_t>(index));
    }
    if (!IsEntry(selected)) selected = static_cast<int32_t>(Count()) - 1;
    UpdateContentHeight();
}

void List::RemoveItemText(const std::string& text) {
    // By the full index: an item past the first 256 must not be taken for another.
    const int32_t index = FindItem(text);
    if (index >= 0) RemoveAt(static_cast<size_t>(index));
}

void List::Clear() {
    rows.clear();
    items.clear();
    marks.clear();
    selected = 0;
    UpdateContentHeight();
}

int32_t List::FindItem(const std::string& text) const {
    for (size_t i = 0; i < items.size(); ++i)
        if (EqualInLowerCase(items[i], text)) return static_cast<int32_t>(i);
    return -1;
}

void List::FindItemNoCase(const std::string& text, uint8_t marked) {
    const int32_t index = FindItem(text);
    if (index >= 0) marks[static_cast<size_t>(index)] = marked != 0;
}

bool List::HasItemNoCase(const std::string& text) const { return FindItem(text) >= 0; }

void List::Select(int32_t index) {
    if (!IsItem(index)) return;
    selected = index;
    ScrollToSelection();
}

void List::MoveSelection(int32_t delta) {
    const int64_t next = int64_t(selected) + delta;
    if (next < 0 || next >= int64_t(items.size())) return;
    selected = static_cast<int32_t>(next);
    ScrollToSelection();
    if (owner) owner->OnListSelect(selected);
}

void List::ScrollToSelection() {
    if (!scroll) return;
    // Steps the bar while `needed` holds and the bar still moves.
    auto stepWhile = [this](auto needed, void (Scroll::*stepOnce)()) {
        while (needed()) {
            const int32_t before = scroll->position;
            (scroll->*stepOnce)();
            if (scroll->position == before) return;
        }
    };
    const int32_t top = ItemHeight * selected;
    stepWhile([&] { return top < scroll->position; }, &Scroll::StepUp);
    stepWhile([&] { return top + ItemHeight > scroll->visible + scroll->position; },
              &Scroll::StepDown);
    // The last item also shows the 6-pixel margin below it.
    if (static_cast<size_t>(selected) + 1 == items.size() &&
        top + ItemHeight + 6 > scroll->position + scroll->visible)
        scroll->StepDown();
}

int32_t List::HitTestItem(int32_t px, int32_t py) {
    if (scroll && scroll->HitTest(px, py)) return -1;
    int32_t dy = py - y - 4;
    if (px < x || px - x >= width || dy < 0 || dy >= height) return -1;
    if (scroll) dy += scroll->position;
    if (mode == RowMode) {
        int32_t bottom = 0;
        for (size_t i = 0; i < rows.size(); ++i) {
            bottom += rows[i].height;
            if (bottom > dy) return static_cast<int32_t>(i);
        }
        return -1;
    }
    const int32_t index = dy / ItemHeight;
    return IsItem(index) ? index : -1;
}

Button* List::FindButton(uint32_t id) {
    if (Button* button = Window::FindButton(id)) return button;
    return scroll ? scroll->FindButton(id) : nullptr;
}

Button* List::ButtonAt(int32_t px, int32_t py) {
    if (Button* button = Window::ButtonAt(px, py)) return button;
    return scroll ? scroll->ButtonAt(px, py) : nullptr;
}

void List::OnMouseDown(int32_t mx, int32_t my) {
    if (scroll && scroll->HitTest(mx, my)) {
        scroll->OnMouseDown(mx, my);
        if (scroll->IsDragging()) dragging = 1;
        return;
    }
    const int32_t index = HitTestItem(mx, my);
    if (index < 0) return;
    selected = index;
    if (mode == RowMode) {
        if (uint8_t* option = BoundOptionByte(core, rows[static_cast<size_t>(index)].optionId))
            *option = *option ? 0 : 1;
        SyncRowCheck(static_cast<size_t>(index));
        return;
    }
    if (owner) owner->OnListSelect(index);
}

void List::OnMouseUp(int32_t mx, int32_t my) {
    dragging = resizing = 0;
    if (scroll) scroll->OnMouseUp(mx, my);
}

void List::OnDrag(int32_t mx, int32_t my) {
    const Mouse* mouse = MouseOf(core);
    if (dragging && scroll && mouse && mouse->leftHeld) scroll->OnDrag(mx, my);
}

bool List::IsDragging() { return dragging || (scroll && scroll->IsDragging()); }

void List::OnWheel(int32_t, int32_t, int32_t delta) {
    if (!scroll) return;
    delta > 0 ? scroll->StepUp() : scroll->StepDown();
}

void List::OnSubmit() {
    if (owner) owner->OnSubmit();
}

void List::Place(int32_t, int32_t) {
    if (!owner) return;
    const WindowRect origin = owner->GetRect();
    x = origin.x + offsetX;
    y = origin.y + offsetY;
}

void List::OnOpen() {
    if (scroll && !InWindowList(core, scroll)) core->AddWindow(scroll);
}

void List::Paint() {
    if (!NeedsPaint()) return;
    GFX_BeginFrame(surface);
    DrawCorners();
    render->DrawFrame1(0, 0, ContentWidth(), height);
    if (scroll) {
        const int32_t barX = width - BarWidth;
        render->DrawSkinPart(barX, 15, 260, 227, BarWidth, 3, SkinAtlasId);
        render->DrawSkinPartTiled(barX, 18, BarWidth, height - 36, 0, 0, 260, 231, BarWidth, 2,
                                  SkinAtlasId);
        render->DrawSkinPart(barX, height - 18, 260, 234, BarWidth, 3, SkinAtlasId);
    }
    GFX_EndFrame();
    dirty = 0;
}

void List::Draw() {
    const int32_t contentWidth = ContentWidth();
    DrawSurface();
    GFX_PushClip();
    GFX_SetClip(static_cast<float>(x + 2), static_cast<float>(y + 2),
                static_cast<float>(contentWidth - 4), static_cast<float>(height - 4));
    const auto shift = static_cast<float>(scroll ? scroll->position : 0);
    GFX_SetOrigin(0, -shift);
    DrawItems(contentWidth);
    DrawRows(contentWidth);
    GFX_SetOrigin(0, shift);
    GFX_PopClip();
    if (scroll) scroll->OnMouseMove(x, y);
    if (IsUnderMouse()) render->DrawRect(x, y, contentWidth, height, OutlineColour);
}

int32_t List::HoveredIndex() {
    const Mouse* mouse = MouseOf(core);
    if (!showHover || !mouse || !IsUnderMouse()) return -1;
    return HitTestItem(mouse->x, mouse->y);
}

void List::DrawHoverBand(int32_t index, int32_t top, int32_t bandHeight, int32_t contentWidth) {
    // Next to the selection the band is 2 pixels shorter and stays off the selection band.
    const bool nextToSelection =
        IsEntry(selected) && (index == selected - 1 || index == selected + 1);
    const int32_t bandTop = y + top + (nextToSelection && index > selected ? 5 : 3);
    render->FillRect(x + 3, bandTop, contentWidth - 6,
                     nextToSelection ? bandHeight - 2 : bandHeight, HoverColour);
}

void List::DrawItems(int32_t contentWidth) {
    if (items.empty()) return;
    if (showSelection && IsItem(selected))
        render->FillRect(x + 3, y + 3 + ItemHeight * selected, contentWidth - 6, 14,
                         SelectionColour);
    const int32_t hovered = HoveredIndex();
    if (hovered >= 0) DrawHoverBand(hovered, ItemHeight * hovered, 14, contentWidth);
    if (!font) return;
    const int32_t shown = scroll ? scroll->position : 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const int32_t top = 6 + ItemHeight * static_cast<int32_t>(i);
        // Items wholly outside the clip are not drawn.
        if (top + ItemHeight < shown || top > shown + height) continue;
        const bool isSelected = static_cast<int32_t>(i) == selected;
        font->DrawText(x + 6, y + top, items[i],
                       TextColour(isSelected, marks[i], markColour, markSelectedColour));
    }
}

void List::DrawRows(int32_t contentWidth) {
    if (rows.empty()) return;
    if (showSelection && IsEntry(selected)) {
        const ListRow& row = rows[static_cast<size_t>(selected)];
        if (row.selectable)
            render->FillRect(x + 3, y + 3 + row.top, contentWidth - 6, row.height, SelectionColour);
    }
    const int32_t hovered = HoveredIndex();
    if (hovered >= 0 && rows[static_cast<size_t>(hovered)].selectable) {
        const ListRow& row = rows[static_cast<size_t>(hovered)];
        DrawHoverBand(hovered, row.top, row.height, contentWidth);
    }

    Font* headingFont = core->GetFont(12);
    Font* titleFont = core->GetFont(1);
    const int32_t penX = x + 6, penY = y + 6;
    int32_t offset = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const ListRow& row = rows[i];
        const uint32_t colour = TextColour(static_cast<int32_t>(i) == selected, row.marked != 0,
                                           markColour, markSelectedColour);
        const int32_t rowY = penY + offset;
        if (row.kind == CheckBox)
            render->DrawSkinPart(penX, rowY - 1, row.checkState ? 79 : 65, 236, 14, 14,
                                 SkinAtlasId);
        for (size_t k = 0; k < row.lines.size(); ++k) {
            const auto line = static_cast<int32_t>(k);
            if (row.kind == Heading) {
                if (headingFont)
                    headingFont->DrawText(penX - 5, rowY - 10 + HeadingLineHeight * line,
                                          row.lines[k], colour);
            } else if (titleFont) {
                titleFont->DrawText(penX + 20, rowY + ItemHeight * line, row.lines[k], colour);
            }
        }
        const int32_t detailY = rowY + row.textHeight + 2;
        for (size_t k = 0; k < row.detailLines.size() && font; ++k)
            font->DrawText(penX + 20, detailY + ItemHeight * static_cast<int32_t>(k),
                           row.detailLines[k], Faded(colour));
        offset += row.height;
    }
}
