#include "windows/game/action.h"

#include <algorithm>

#include "core.h"
#include "driver/gfxcore.h"
#include "driver/gfxdriver.h"
#include "font.h"
#include "mouse.h"
#include "render.h"
#include "screen.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t MenuFont = 1;
constexpr int32_t RowPitch = 20;
constexpr int32_t TextMargin = 10;
constexpr int32_t MinWidth = 120;
// The band above the rows that holds the title and its line.
constexpr int32_t TitleBand = 40;
// The height of a menu without rows, without and with a title.
constexpr int32_t BareHeight = 11;
constexpr int32_t TitledBareHeight = 49;
// Pointer offsets from the menu's edges that belong to no row.
constexpr int32_t EdgeMargin = 5;
// The lowest pointer offset from the top that reaches a row under a title.
constexpr int32_t FirstRowUnderTitle = 47;
// The distance kept from the client edge before the menu flips to the other side of the point.
constexpr int32_t ScreenEdge = 5;

// Life time in ms of Core::frameTimeMs, from the opening.
constexpr uint64_t FadeInMs = 256;
constexpr uint64_t LifeMs = 10000;
constexpr uint64_t FadeOutStartMs = LifeMs - FadeInMs;

constexpr uint32_t BackgroundColour = 0xA0000000;
constexpr uint32_t OutlineColour = 0x2CFFFFFF;
constexpr uint32_t TitleColour = 0xE0FFFFFF;
constexpr uint32_t LineColour = 0x60FFFFFF;
constexpr uint32_t TextColour = 0xC0E0E0E0;
constexpr uint32_t HoverTextColour = 0xFFFFFFFF;
constexpr uint32_t MarkEdgeColour = 0xFF000000;
constexpr uint32_t MarkLitColour = 0xFFE0E0E0;
// The title's baseline and the line under it, from the menu's top.
constexpr int32_t TitleTop = 10;
constexpr int32_t TitleLineTop = 33;
// How far the mouse-button mark's left edge lies from the menu's right edge.
constexpr int32_t MarkInset = 17;

const std::string Separator = "-";

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// A hint drawn as a mouse mark rather than as text.
bool IsMouseHint(const std::string& hint) { return Contains(hint, "RMB") || Contains(hint, "LMB"); }

}  // namespace

Action::Action(Core* core, Window* owner, std::string title, uint32_t context)
    : Window(core), title(std::move(title)), context(context) {
    this->owner = owner;
}

void Action::AddEntry(uint32_t code, const std::string& label) {
    entries.push_back({code, label, ""});
}

void Action::AddEntryWithHint(uint32_t code, const std::string& label, const std::string& hint) {
    entries.push_back({code, label, hint});
}

void Action::Open(int32_t screenX, int32_t screenY) {
    ResetLayout();
    font = core->GetFont(MenuFont);
    const auto textWidth = [this](const std::string& text) {
        return font ? font->MeasureText(text) : 0;
    };
    width = MinWidth;
    height = BareHeight;
    if (!title.empty()) {
        width = std::max(width, textWidth(title) + 2 * TextMargin);
        height = TitledBareHeight;
    }
    for (const Entry& entry : entries) {
        int32_t needed = textWidth(entry.label) + 2 * TextMargin;
        if (!entry.hint.empty()) needed += TextMargin + textWidth(entry.hint);
        width = std::max(width, needed);
        height += RowPitch;
    }

    x = screenX;
    y = screenY;
    if (centred) {
        x -= width / 2;
        y = std::max(ScreenEdge, y - height / 2);
    } else {
        if (x + width > int32_t(core->clientWidth) - ScreenEdge) x -= width;
        if (y + height > int32_t(core->clientHeight) - ScreenEdge) y -= height;
    }
    CreateSurface();
    name = "";
    typeId = WindowType::Action;
    openedAt = core->frameTimeMs;
    openedClientWidth = int32_t(core->clientWidth);
    openedClientHeight = int32_t(core->clientHeight);
}

int32_t Action::RowsTop() const { return title.empty() ? TextMargin : TextMargin + TitleBand; }

void Action::PaintMouseMark(int32_t markX, int32_t top, bool rightButton) {
    render->DrawBoxStyle3(markX - 1, top - 1, 10, 13, MarkEdgeColour);
    render->DrawBar(markX, top, 8, 11, TextColour, TextColour);
    render->DrawBevel(markX + 1, top + 1, 6, 9, MarkEdgeColour, MarkEdgeColour);
    // The divider between the buttons, the line under them and the pressed button lit.
    const int32_t divider = rightButton ? markX + 3 : markX + 4;
    const int32_t lit = rightButton ? markX + 4 : markX + 1;
    render->FillRect(divider, top, 1, 5, MarkEdgeColour);
    render->FillRect(rightButton ? markX + 4 : markX, top + 5, 4, 1, MarkEdgeColour);
    render->FillRect(lit, top + 1, 3, 4, MarkLitColour);
}

void Action::PaintContent() {
    render->DrawBoxStyled(0, 0, width, height, BackgroundColour, BackgroundColour);
    render->DrawBoxStyle4(0, 0, width, height, OutlineColour);
    if (!title.empty()) {
        if (font) font->DrawTextCentered(width / 2, TitleTop, title, TitleColour);
        render->FillRect(TextMargin, TitleLineTop, width - 2 * TextMargin, 1, LineColour);
    }
    int32_t top = RowsTop();
    for (const Entry& entry : entries) {
        if (entry.label == Separator) {
            render->FillRect(TextMargin, top + 5, width - 2 * TextMargin, 1, LineColour);
        } else {
            if (font) font->DrawText(TextMargin, top, entry.label, TextColour);
            if (Contains(entry.hint, "RMB")) PaintMouseMark(width - MarkInset, top, true);
            else if (Contains(entry.hint, "LMB")) PaintMouseMark(width - MarkInset, top, false);
            else if (!entry.hint.empty() && font)
                font->DrawTextRight(width - TextMargin, top, entry.hint, TextColour);
        }
        top += RowPitch;
    }
}

void Action::Paint() {
    PaintCached([this] { PaintContent(); });
}

int32_t Action::RowAt(int32_t mx, int32_t my) const {
    const int32_t dx = mx - x;
    int32_t dy = my - y;
    if (dx <= EdgeMargin || dx > width - EdgeMargin || dy <= EdgeMargin || dy > height - EdgeMargin)
        return -1;
    if (!title.empty()) {
        if (dy < FirstRowUnderTitle) return -1;
        dy -= TitleBand;
    }
    const int32_t row = (dy - EdgeMargin) / RowPitch;
    return row < int32_t(entries.size()) ? row : -1;
}

void Action::DrawHighlight() {
    const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
    if (!mouse) return;
    const int32_t row = RowAt(mouse->x, mouse->y);
    if (row < 0 || entries[size_t(row)].code == ActionCode::None) return;
    const Entry& entry = entries[size_t(row)];
    const int32_t top = y + RowsTop() + RowPitch * row;
    render->FillRect(x + 6, top - 4, width - 12, 1, LineColour);
    render->FillRect(x + 6, top + 14, width - 12, 1, LineColour);
    render->FillRect(x + 5, top - 3, 1, 17, LineColour);
    render->FillRect(x + width - 6, top - 3, 1, 17, LineColour);
    if (!font) return;
    font->DrawText(x + TextMargin, top, entry.label, HoverTextColour);
    if (!entry.hint.empty() && !IsMouseHint(entry.hint))
        font->DrawTextRight(x + width - TextMargin, top, entry.hint, HoverTextColour);
}

void Action::Draw() {
    if (state == 3) return;
    const uint64_t now = core->frameTimeMs;
    const bool fading = state == 2 || (core->activeWindow != this && !keepOpen);
    if (fading && now - openedAt < FadeOutStartMs) openedAt = now - FadeOutStartMs;
    const uint64_t elapsed = now - openedAt;
    if (elapsed >= LifeMs) {
        state = 3;
        return;
    }
    uint32_t alpha = 255;
    if (elapsed < FadeInMs) alpha = uint32_t(elapsed);
    else if (elapsed >= FadeOutStartMs) alpha = std::min<uint32_t>(255, uint32_t(LifeMs - elapsed));
    if (surface) {
        GfxDriver::DrawTargetTinted(float(x), float(y), alpha << 24 | 0xFFFFFF, surface);
    } else {
        // A surface the device could not hold: the content straight onto the screen, unfaded.
        GFX_SetOrigin(float(x), float(y));
        PaintContent();
        GFX_SetOrigin(float(-x), float(-y));
    }
    if (elapsed >= FadeInMs && elapsed < FadeOutStartMs) DrawHighlight();
}

void Action::OnMouseUp(int32_t mx, int32_t my) {
    const int32_t row = RowAt(mx, my);
    if (row < 0) return;
    state = 3;
    Execute(uint32_t(row));
}

void Action::OnRightClick(int32_t, int32_t) { Close(); }

void Action::Place(int32_t screenWidth, int32_t screenHeight) {
    if (screenWidth != openedClientWidth || screenHeight != openedClientHeight) Close();
}

void Action::Close() { state = 3; }

void Action::OnSubmit() { core->RemoveWindow(this); }

void Action::OnCommand(Button* button) {
    if (button->id == ButtonId::Close || button->id == ButtonId::Ok) core->RemoveWindow(this);
}
