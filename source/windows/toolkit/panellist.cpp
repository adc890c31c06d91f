#include "windows/toolkit/panellist.h"

#include <algorithm>
#include <utility>

#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "notification.h"
#include "render.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t SizingCursor = 2;
// The bottom rows of a window that start a resize.
constexpr int32_t ResizeBand = 5;
constexpr int32_t ScrollStep = 7;
// The scroll bar of Build: at (3, 19), as long as the window less 23, showing the window less 27.
constexpr int32_t ScrollTop = 19, ScrollInset = 23, ScrollVisibleInset = 27;
// The later scroll bar of a container is a little shorter.
constexpr int32_t ContainerScrollInset = 25, ContainerScrollVisibleInset = 28;
// The collapse button's looks: the collapse row and the expand row of the skin.
constexpr int32_t CollapseSkinY = 96, ExpandSkinY = 112;
constexpr uint32_t TitleColour = 0xFFFFFFFF;
constexpr int32_t TitleX = 8, TitleY = 6;
constexpr uint32_t TitleBandColour = 0x40000000, TitleLineColour = 0x60000000;
constexpr uint16_t SeparatorImage = 2, ContentImage = 4, SkinAtlas = 1;
// The scroll track: 18 pixels wide, from y 33 down to the height less 21.
constexpr int32_t TrackTop = 33, TrackBottomInset = 21, TrackWidth = 18;
constexpr int32_t TrackSkinX = 260, TrackTopSkinY = 227, TrackMiddleSkinY = 231,
                  TrackBottomSkinY = 234;
const char* const NoRoomText = "Not enough space to maximise this panel.";

}  // namespace

Panellist::Panellist(Core* core, Window* owner) : Window(core) {
    this->owner = owner;
    typeId = WindowType::Panellist;
    titleHeight = TitleBand;
}

Panellist::~Panellist() {
    if (panel) {
        for (std::vector<Panellist*>* list : {&panel->normal, &panel->bottom})
            list->erase(std::remove(list->begin(), list->end(), this), list->end());
    }
    if (core) core->RemoveWindow(std::exchange(scroll, nullptr));
}

void Panellist::MoveToColumnTop() {
    auto* column = panel ? panel : dynamic_cast<Panel*>(owner);
    const WindowRect area = column ? column->GetRect() : WindowRect{0, 0, Panel::ColumnWidth, 0};
    x = area.x;
    y = homeY = area.y;
    width = area.w;
}

void Panellist::Build() {
    ResetLayout();
    ClearButtons();
    MoveToColumnTop();
    height = DefaultHeight;
    movable = resizable = 1;
    pinned = pinnedBottom = 0;
    CreateSurface();
    name = "Panel";
    typeId = WindowType::Panellist;
    windowId = 0xFF;
    titleHeight = TitleBand;
    minHeight = MinHeight;
    scrollTotal = 0;
    contentX = 0;
    scrollGutter = ScrollGutter;
    font = core->GetFont(1);
    core->RemoveWindow(std::exchange(scroll, nullptr));
    scroll = new Scroll(core, this, 3, ScrollTop, height - ScrollInset, height - ScrollVisibleInset,
                        scrollTotal, ScrollStep, 1);
    AddCloseButton();
    AddCollapseButton();
}

void Panellist::AddScrollBar() {
    if (scroll) return;
    const bool container = typeId == WindowType::Container;
    const int32_t inset = container ? ContainerScrollInset : ScrollInset;
    const int32_t visibleInset = container ? ContainerScrollVisibleInset : ScrollVisibleInset;
    scroll = new Scroll(core, this, ScrollEdgeX(), ScrollTop, std::max(0, height - inset),
                        height - visibleInset, scrollTotal, ScrollStep, 1);
    PlaceScrollBar();
}

int32_t Panellist::ScrollEdgeX() const {
    return panel && panel->side == Panel::Right ? width - 21 : 3;
}

void Panellist::PlaceScrollBar() {
    if (!scroll || !panel) return;
    scroll->x = ScrollEdgeX();
    contentX = panel->side == Panel::Left ? scrollGutter : 0;
}

void Panellist::Paint() {
    PaintCached([this] {
        DrawTitle();
        if (collapsed) return;
        DrawContentBackground();
        DrawBorder();
        if (scroll) DrawScrollTrack();
    });
}

void Panellist::DrawTitle() {
    const int32_t h = VisibleHeight();
    render->DrawFrame2(0, 0, width, h);
    render->FillRect(2, 2, width - 4, titleHeight - 3, TitleBandColour);
    render->FillRect(2, titleHeight - 2, width - 4, 1, TitleLineColour);
    if (font) font->DrawText(TitleX, TitleY, name, TitleColour);
}

WindowRect Panellist::ContentArea() const { return {contentX + 5, 21, width - 28, height - 27}; }

void Panellist::DrawContentBackground() {
    const int32_t position = scroll ? std::max(0, scroll->position) : 0;
    const WindowRect area = ContentArea();
    render->DrawSkinTiled(area.x, area.y, area.w, area.h, 0, position, ContentImage);
}

void Panellist::PaintList(const std::function<void()>& paintRows) {
    PaintCached([this, &paintRows] {
        DrawTitle();
        if (collapsed) return;
        DrawContentBackground();
        const float offset = float(scroll ? scroll->position : 0);
        const WindowRect area = ContentArea();
        GFX_PushClip();
        GFX_SetClip(float(area.x), float(area.y), float(area.w), float(area.h));
        GFX_SetOrigin(0, -offset);
        paintRows();
        GFX_SetOrigin(0, offset);
        GFX_PopClip();
        DrawBorder();
        DrawScrollTrack();
    });
}

void Panellist::DrawBorder() { render->DrawFrame3Edges(contentX + 3, 19, width - 24, height - 23); }

void Panellist::DrawScrollTrack() {
    const int32_t trackX = ScrollEdgeX();
    const int32_t bottomY = height - TrackBottomInset;
    render->DrawSkinPart(trackX, TrackTop, TrackSkinX, TrackTopSkinY, TrackWidth, 3, SkinAtlas);
    render->DrawSkinPartTiled(trackX, TrackTop + 3, TrackWidth, bottomY - TrackTop - 3, 0, 0,
                              TrackSkinX, TrackMiddleSkinY, TrackWidth, 2, SkinAtlas);
    render->DrawSkinPart(trackX, bottomY, TrackSkinX, TrackBottomSkinY, TrackWidth, 3, SkinAtlas);
}

void Panellist::DrawDragLine() {
    const int32_t lineY = (dragging ? homeY : y) + VisibleHeight();
    render->DrawSkinTiled(x, lineY, width, 1, 0, 0, SeparatorImage);
}

void Panellist::Draw() {
    if (!core->options.widescreen || core->options.inventory) DrawDragLine();
    DrawSurface();
    DrawButtons();
    if (!collapsed && scroll) scroll->OnMouseMove(x, y);
}

void Panellist::OnMouseDown(int32_t mx, int32_t my) {
    if (movable && my >= y && my < y + titleHeight) {
        dragging = 1;
        anchorX = mx - x;
        anchorY = my - y;
    }
    if (resizable && !collapsed && my >= y + height - ResizeBand && my < y + height) {
        resizing = 1;
        anchorY = my - height;
        core->SetCursor(SizingCursor);
    }
}

void Panellist::OnMouseUp(int32_t, int32_t) {
    dragging = resizing = 0;
    y = homeY;
}

void Panellist::OnHover(int32_t, int32_t my) {
    const bool busy = core->inputModes[InputDrop] || core->inputModes[InputDragArmed] ||
                      core->inputModes[InputUseWith] || core->inputModes[InputSpellTarget] ||
                      IsDragging();
    if (resizable && !busy && my >= y + height - ResizeBand && my < y + height)
        core->SetCursor(SizingCursor);
}

void Panellist::OnDrag(int32_t, int32_t my) {
    if (!dragging || !panel) return;
    const WindowRect free = panel->GetRect();
    const int32_t lowest = free.y - VisibleHeight() - Panel::Gap;
    y = std::min(std::max(std::max(panel->topReserve, 0), my - anchorY), lowest);
    panel->Reorder(this);
}

void Panellist::OnResize(int32_t, int32_t my) {
    if (!resizing) return;
    SetHeightClamped(std::max(my - anchorY, minHeight));
}

void Panellist::SetHeightClamped(int32_t h) {
    if (h < minHeight) {
        if (FindButton(ButtonId::Close) && panel) panel->Close(this, false);
        return;
    }
    // A collapsed window keeps its place in the column: only its full height changes.
    if (panel && !collapsed && !panel->ApplyHeightChange(this, h)) return;
    SetHeight(h);
    if (panel && pinned) panel->Place(core->ScreenWidth(), core->ScreenHeight());
    Refresh();
}

void Panellist::SetHeight(int32_t newHeight) {
    const int32_t oldHeight = height;
    height = std::max(newHeight, titleHeight);
    // The bar follows the height, never shorter than nothing.
    if (scroll) scroll->Grow(std::max(height - oldHeight, -scroll->Length()));
}

void Panellist::Place(int32_t, int32_t) {
    if (panel) x = panel->x;
}

bool Panellist::HitTest(int32_t px, int32_t py) {
    if (scroll && !collapsed && scroll->HitTest(px, py)) return false;
    return Window::HitTest(px, py);
}

void Panellist::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Close:
            // Deletes this window: nothing may touch it afterwards.
            if (panel) panel->Close(this, true);
            else core->RemoveWindow(this);
            return;
        case ButtonId::Collapse: ToggleMinimise(button); return;
        case ButtonId::Expand: Expand(button); return;
        default: Window::OnCommand(button); return;
    }
}

void Panellist::SetCollapsed(Button* button, bool collapse) {
    if (button) {
        button->id = collapse ? ButtonId::Expand : ButtonId::Collapse;
        const int32_t skinY = collapse ? ExpandSkinY : CollapseSkinY;
        button->SetSkin(0, skinY, 18, skinY, 36, skinY, 18, 16);
    }
    if (panel) panel->ApplyHeightChange(this, collapse ? titleHeight : height);
    collapsed = collapse;
    if (panel) panel->Place(core->ScreenWidth(), core->ScreenHeight());
    Refresh();
}

void Panellist::ToggleMinimise(Button* button) {
    if (!button) button = FindButton(collapsed ? ButtonId::Expand : ButtonId::Collapse);
    SetCollapsed(button, !collapsed);
}

void Panellist::Expand(Button* button) {
    if (panel) {
        const int32_t free = panel->GetRect().h;
        if (free + titleHeight - Panel::MinFree < minHeight &&
            !panel->MakeRoom(this, minHeight - titleHeight - free + Panel::MinFree)) {
            core->AddNotification(Notification::RefusalKind, NoRoomText);
            return;
        }
    }
    SetCollapsed(button, false);
}

std::vector<PanelMenuRow> Panellist::PanelMenuRows() const {
    if (!panel) return {};
    if (pinned) return {{PanelAction::Unpin, "Unpin"}};
    std::vector<PanelMenuRow> rows{{PanelAction::MoveToOtherPanel, panel->side == Panel::Left
                                                                       ? "Move to Right Panel"
                                                                       : "Move to Left Panel"}};
    if (y == panel->topReserve) rows.push_back({PanelAction::PinToTop, "Pin to Top"});
    if (!panel->normal.empty() && panel->normal.back() == this)
        rows.push_back({PanelAction::PinToBottom, "Pin to Bottom"});
    return rows;
}

std::string Panellist::Serialize() {
    const char* pin = !pinned ? "0" : pinnedBottom ? "2" : "1";
    return std::to_string(typeId) + "," + std::to_string(windowId) + "," + pin + "," +
           (collapsed ? "1" : "0") + "," + std::to_string(GetRect().h);
}

void Panellist::OnColumnClose() {}
