#include "windows/toolkit/scrollbar.h"

#include <algorithm>

#include "core.h"
#include "render.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/panellist.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t Thickness = 18;
constexpr int32_t ArrowLength = 14;
// The track starts this far from the start of the bar and is this much shorter than the bar.
constexpr int32_t TrackStart = 15;
constexpr int32_t TrackSlack = 30;
constexpr int32_t MinThumbLength = 12;
// Thumb pieces are this wide across the bar, one pixel in from its edge.
constexpr int32_t ThumbAcross = 16;

// Skin positions (x, y) of the thumb's pieces.
struct ThumbSkin {
    int32_t startCap[2], endCap[2], grip[2], smallGrip[2], filler[2];
};
constexpr ThumbSkin VerticalThumb = {{280, 263}, {280, 267}, {280, 224}, {280, 227}, {280, 221}};
constexpr ThumbSkin HorizontalThumb = {{282, 305}, {286, 305}, {263, 305}, {266, 305}, {260, 305}};

}  // namespace

Scroll::Scroll(Core* core, Window* owner, int32_t x, int32_t y, int32_t length, int32_t visible,
               int32_t total, int32_t step, uint8_t vertical)
    : Window(core),
      vertical(vertical),
      step(step),
      visible(visible),
      total(total),
      repeatDelay(vertical ? 100 : 300) {
    this->owner = owner;
    this->x = x;
    this->y = y;
    width = vertical ? Thickness : length;
    height = vertical ? length : Thickness;
    Build();
}

Scroll::~Scroll() {
    auto* panelWindow = dynamic_cast<Panellist*>(owner);
    if (panelWindow && panelWindow->scroll == this) panelWindow->scroll = nullptr;
}

void Scroll::Build() {
    ResetLayout();
    ClearButtons();
    name.clear();
    typeId = WindowType::Scroll;
    repeating = 0;
    // The thumb drag uses the window drag flag, so that Core sends OnDrag while it lasts.
    movable = 1;
    inverted = owner && owner->typeId == WindowType::Channel;
    UpdateThumbLength();
    position = 0;
    // An inverted bar shows position 0 at its far end.
    UpdateThumb();
    if (vertical) {
        AddButton(0, 0, UpArrow, 0, 0, 18, 0, 36, 0, Thickness, ArrowLength, {1, 1, 16, 13}, "", 0,
                  0);
        AddButton(0, height - ArrowLength, DownArrow, 0, 16, 18, 16, 36, 16, Thickness, ArrowLength,
                  {1, 0, 16, 13}, "", 0, 0);
    } else {
        AddButton(0, 0, LeftArrow, 209, 304, 209, 322, 209, 340, ArrowLength, Thickness,
                  {1, 1, 13, 16}, "", 0, 0);
        AddButton(width - ArrowLength, 0, RightArrow, 225, 304, 225, 322, 225, 340, ArrowLength,
                  Thickness, {0, 1, 13, 16}, "", 0, 0);
    }
}

void Scroll::Paint() {}
void Scroll::Draw() {}

int32_t Scroll::Length() const { return vertical ? height : width; }

void Scroll::OwnerOrigin(int32_t& ox, int32_t& oy) {
    ox = oy = 0;
    if (!owner) return;
    const WindowRect rect = owner->GetRect();
    ox = rect.x;
    oy = rect.y;
}

WindowRect Scroll::GetRect() {
    int32_t ox, oy;
    OwnerOrigin(ox, oy);
    return {ox + x, oy + y, width, height};
}

bool Scroll::HitTest(int32_t px, int32_t py) {
    // A bar left closing by its list has lost its owner: it takes no input until it is removed.
    // Nor does the bar of a collapsed window, which is not shown.
    if (state == 3 || (owner && owner->collapsed)) return false;
    const WindowRect rect = GetRect();
    return px >= rect.x && px < rect.x + width && py >= rect.y && py < rect.y + VisibleHeight();
}

int32_t Scroll::ThumbRange() const { return std::max(0, Length() - thumbLength - TrackSlack); }

void Scroll::UpdateThumbLength() {
    if (total <= 0) {
        thumbLength = MinThumbLength;
        return;
    }
    const int64_t length = int64_t(Length() - TrackSlack) * visible / total;
    thumbLength = static_cast<int32_t>(std::max<int64_t>(MinThumbLength, length));
}

void Scroll::UpdateThumb() {
    if (visible >= total) {
        position = 0;
        thumbOffset = 0;
        return;
    }
    const int32_t range = ThumbRange();
    const auto offset = static_cast<int32_t>(int64_t(range) * position / (total - visible));
    thumbOffset = inverted ? range - offset : offset;
}

void Scroll::TellOwner() {
    if (owner) owner->Refresh();
}

void Scroll::MoveTo(int32_t newPosition) {
    if (newPosition == position) return;
    position = newPosition;
    TellOwner();
    UpdateThumb();
}

void Scroll::StepDown() {
    if (visible >= total) return;
    int32_t next = position + step;
    if (next + visible > total) next = total - visible;
    MoveTo(next);
    lastStep = core->frameTimeMs;
}

void Scroll::StepUp() {
    if (visible >= total) return;
    MoveTo(std::max(0, position - step));
    lastStep = core->frameTimeMs;
}

void Scroll::SetPosition(int32_t p) {
    if (visible >= total) return;
    int32_t next = std::max(p, 0);
    if (int64_t(next) + step + visible > total) next = total - visible;
    MoveTo(next);
}

void Scroll::ScrollToStart() {
    position = 0;
    UpdateThumb();
    TellOwner();
}

void Scroll::ScrollToEnd() {
    position = total - visible;
    UpdateThumb();
    TellOwner();
}

void Scroll::SetTotal(int32_t t) {
    total = t;
    UpdateThumbLength();
    position = std::min(position, total - visible);
    UpdateThumb();
}

void Scroll::Grow(int32_t delta) {
    visible += delta;
    (vertical ? height : width) += delta;
    UpdateThumbLength();
    position = std::min(position, total - visible);
    UpdateThumb();
    if (buttons.empty()) return;
    Button* farArrow = buttons.back();
    (vertical ? farArrow->y : farArrow->x) = Length() - ArrowLength;
}

void Scroll::ArrowStep(const Button* button) {
    bool back;
    switch (button->id) {
        case UpArrow:
        case LeftArrow: back = true; break;
        case DownArrow:
        case RightArrow: back = false; break;
        default: return;
    }
    if (inverted) back = !back;
    back ? StepUp() : StepDown();
}

void Scroll::OnCommand(Button* button) {
    if (!repeating) ArrowStep(button);
}

void Scroll::OnSubmit() {
    if (owner) owner->OnSubmit();
}

void Scroll::OnWheel(int32_t, int32_t, int32_t delta) {
    const bool back = (delta > 0) != (inverted != 0);
    back ? StepUp() : StepDown();
}

void Scroll::OnMouseDown(int32_t mx, int32_t my) {
    if (!movable || visible >= total) return;
    int32_t ox, oy;
    OwnerOrigin(ox, oy);
    // Along and across the bar's axis, relative to the owner.
    const int32_t along = vertical ? my - oy : mx - ox;
    const int32_t across = vertical ? mx - ox : my - oy;
    const int32_t start = vertical ? y : x;
    const int32_t side = vertical ? x : y;
    const int32_t thickness = vertical ? width : height;
    const int32_t thumbStart = start + TrackStart + thumbOffset;
    if (across < side + 1 || across >= side + thickness - 2) return;
    if (along < thumbStart || along >= thumbStart + thumbLength) return;
    (vertical ? anchorY : anchorX) = along - thumbOffset;
    dragging = 1;
}

void Scroll::OnDrag(int32_t mx, int32_t my) {
    const int32_t range = Length() - thumbLength - TrackSlack;
    if (!dragging || range <= 0 || visible >= total) return;
    int32_t ox, oy;
    OwnerOrigin(ox, oy);
    const int32_t moved = vertical ? my - oy - anchorY : mx - ox - anchorX;
    const int32_t t = std::min(std::max(moved, 0), range);
    thumbOffset = t;
    const auto next =
        static_cast<int32_t>(int64_t(inverted ? range - t : t) * (total - visible) / range);
    if (next == position) return;
    position = next;
    TellOwner();
}

void Scroll::OnMouseUp(int32_t, int32_t) { dragging = 0; }

void Scroll::OnMouseMove(int32_t ox, int32_t oy) {
    DrawThumb(ox, oy);
    bool held = false;
    for (Button* button : buttons) {
        button->Draw(ox + x, oy + y, width, height);
        if (!button->pressed) continue;
        held = true;
        if (lastStep + static_cast<uint64_t>(repeatDelay) < core->frameTimeMs) {
            repeating = 1;
            ArrowStep(button);
        }
    }
    if (!held) {
        lastStep = core->frameTimeMs;
        repeating = 0;
    }
}

void Scroll::DrawThumb(int32_t ox, int32_t oy) {
    if (visible >= total) return;
    const ThumbSkin& skin = vertical ? VerticalThumb : HorizontalThumb;
    const int32_t across = vertical ? ox + x + 1 : oy + y + 1;
    const int32_t start = (vertical ? oy + y : ox + x) + TrackStart + thumbOffset;
    // One piece `length` pixels long at `at` along the bar.
    auto piece = [&](const int32_t(&part)[2], int32_t at, int32_t length) {
        if (vertical)
            render->DrawSkinPart(across, at, part[0], part[1], ThumbAcross, length, SkinAtlasId);
        else render->DrawSkinPart(at, across, part[0], part[1], length, ThumbAcross, SkinAtlasId);
    };
    // The one-pixel filler repeated over `length` pixels from `at`.
    auto fill = [&](int32_t at, int32_t length) {
        const int32_t sx = skin.filler[0], sy = skin.filler[1];
        if (vertical)
            render->DrawSkinPartTiled(across, at, ThumbAcross, length, 0, 0, sx, sy, ThumbAcross, 1,
                                      SkinAtlasId);
        else
            render->DrawSkinPartTiled(at, across, length, ThumbAcross, 0, 0, sx, sy, 1, ThumbAcross,
                                      SkinAtlasId);
    };

    const int32_t length = thumbLength;
    piece(skin.startCap, start, 3);
    piece(skin.endCap, start + length - 3, 3);
    // A thumb longer than 16 pixels gets the large grip, a shorter one the small grip.
    const bool large = length > 16;
    const int32_t gripLength = large ? 11 : 5;
    const int32_t grip = length / 2 - (large ? 5 : 2);
    piece(large ? skin.grip : skin.smallGrip, start + grip, gripLength);
    if (length <= (large ? 17 : 12)) return;
    if (grip > 3) fill(start + 3, grip - 3);
    const int32_t after = length - grip - gripLength;
    if (after > 3) fill(start + grip + gripLength, after - 3);
}
