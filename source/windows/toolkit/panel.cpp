#include "windows/toolkit/panel.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <utility>

#include "core.h"
#include "driver/gfxcore.h"
#include "render.h"
#include "textsplit.h"
#include "windows/toolkit/panellist.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/windowtypes.h"

namespace {

// The right column leaves room for the console below it in the normal layout.
constexpr int32_t ConsoleRoom = 221;
constexpr uint16_t SeparatorImage = 2;
// A window shrunk to fit keeps this much of the free height for the gap and the free margin.
constexpr int32_t FitSlack = 7;

// What a window takes of its column.
int32_t Slot(const Panellist* window) { return window->VisibleHeight() + Panel::Gap; }

// An entry or a field that is empty or one to four blanks holds nothing.
bool IsBlank(const std::string& text) {
    return text.size() <= 4 && text.find_first_not_of(' ') == std::string::npos;
}

// A field as the settings write it, read as the standard conversion does (leading blanks and a
// sign, digits, anything after them ignored); false when there are no digits or the number
// does not fit 32 bits.
bool ReadField(const std::string& text, int32_t& value) {
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long long number = std::strtoll(start, &end, 10);
    if (end == start || errno == ERANGE || number < INT32_MIN || number > INT32_MAX) return false;
    value = int32_t(number);
    return true;
}

void Erase(std::vector<Panellist*>& windows, Panellist* window) {
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

bool Contains(const std::vector<Panellist*>& windows, const Panellist* window) {
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

bool ClosedToFreeSpace(const Panellist* window) {
    return window->resizable &&
           (window->typeId == WindowType::Container || window->typeId == WindowType::Friendlist);
}

}  // namespace

Panel::Panel(Core* core, Window* owner, int32_t side) : Window(core), side(side) {
    this->owner = owner;
    Build();
}

Panel::~Panel() {
    for (Panellist* window : normal) window->panel = nullptr;
    for (Panellist* window : bottom) window->panel = nullptr;
}

void Panel::Build() {
    const int32_t W = core->ScreenWidth(), H = core->ScreenHeight();
    x = side == Left ? 0 : W - ColumnWidth;
    y = 0;
    width = ColumnWidth;
    height = side == Left || core->options.widescreen ? H - 1 : H - ConsoleRoom;
    ResetLayout();
    CreateSurface();
    name.clear();
    typeId = side == Left ? WindowType::PanelLeft : WindowType::PanelRight;
}

bool Panel::Shown() const {
    return !core->testWalker.testing && (!core->options.widescreen || core->options.panel);
}

void Panel::Paint() {
    if (width <= 0 || height <= 0) return;
    PaintCached([this] { render->DrawFrame3(0, 0, width, height, y + 2); });
}

void Panel::Draw() {
    if (!Shown() || height <= 0) return;
    if (surface)
        GfxDriver::DrawTargetPart(float(x), float(y), 0, 0, float(width), float(height), surface);
    render->DrawSkinTiled(x, y + height, width, 1, 0, 0, SeparatorImage);
}

void Panel::Place(int32_t screenWidth, int32_t screenHeight) {
    const int32_t W = screenWidth, H = screenHeight;
    topReserve = 0;
    int32_t top = 0;
    for (Panellist* window : normal) {
        window->homeY = window->y = top;
        top += Slot(window);
        if (window->pinned) topReserve = top;
    }
    const int32_t oldFree = height;
    y = top;

    const Options& options = core->options;
    const WindowRect area = owner ? owner->GetRect() : WindowRect{0, 0, W, 0};
    const int32_t viewX = core->fieldWindow ? core->fieldWindow->x : 0;
    int32_t free;
    if (side == Left && options.widescreen && options.panel) {
        x = options.widescale ? std::max(0, viewX - ColumnWidth) : 0;
        free = H - y - 1;
    } else if (side == Left) {
        x = area.x;
        free = H - area.h - y - 1;
    } else if (options.widescreen) {
        x = options.widescale ? std::min(W - ColumnWidth, W - viewX) : W - ColumnWidth;
        free = H - y - 1;
    } else {
        x = area.x + area.w - ColumnWidth;
        free = H - y - area.h - 1;
    }
    bottomUsed = 0;
    for (const Panellist* window : bottom) bottomUsed += Slot(window);
    height = free - bottomUsed;

    int32_t below = y + height + Gap;
    for (auto it = bottom.rbegin(); it != bottom.rend(); ++it) {
        (*it)->homeY = (*it)->y = below;
        below += Slot(*it);
    }
    for (Panellist* window : normal) window->x = x;
    for (Panellist* window : bottom) window->x = x;

    if (height != oldFree && height < MinFree && KeepFree()) {
        Place(W, H);
        return;
    }
    Refresh();
}

bool Panel::KeepFree() {
    bool changed = false;
    // Resizable, expanded windows give what they can, from the bottom up, the pinned ones at the
    // bottom last; the layout that follows puts everything in place.
    for (std::vector<Panellist*>* list : {&normal, &bottom})
        for (auto it = list->rbegin(); it != list->rend() && height < MinFree; ++it) {
            Panellist* window = *it;
            if (!window->resizable || window->collapsed) continue;
            const int32_t wanted = std::max(window->minHeight, height + window->height - FitSlack);
            const int32_t given = window->height - wanted;
            if (given <= 0) continue;
            window->SetHeight(wanted);
            window->Refresh();
            height += given;
            changed = true;
        }
    // Then containers and the friends list close, from the bottom up.
    for (size_t i = normal.size(); i > 0 && height < MinFree; --i) {
        Panellist* window = normal[i - 1];
        if (!ClosedToFreeSpace(window)) continue;
        Close(window, false);
        changed = true;
    }
    return changed;
}

void Panel::Add(Panellist* window) {
    if (!window) core->FatalError("Failed to insert panel item.");
    Insert(window);
    core->AddWindow(window);
    if (window->scroll) core->AddWindow(window->scroll);
}

void Panel::Insert(Panellist* window) {
    Fit(window);
    normal.push_back(window);
    y += Slot(window);
    height -= Slot(window);
    window->panel = this;
    window->PlaceScrollBar();
    window->Place(core->ScreenWidth(), core->ScreenHeight());
    window->Refresh();
    Refresh();
}

void Panel::Fit(Panellist* window) {
    const auto fits = [&] { return height - window->VisibleHeight() - 2 >= FitSlack; };
    const auto place = [&] { window->homeY = window->y = y; };
    if (fits()) {
        place();
        return;
    }
    // Walk up from the last window to the second one while the free height stays too small:
    // the first window that can spare enough is shrunk, the others are closed where they may be.
    for (size_t i = normal.size(); i > 1 && height - FitSlack < window->minHeight; --i) {
        Panellist* other = normal[i - 1];
        const int32_t spare = window->minHeight - height + 9;
        if (other->resizable && !other->collapsed && other->height - other->minHeight >= spare) {
            other->SetHeightClamped(other->height - spare);
            break;
        }
        if (other->collapsed || other->resizable) Close(other, true);
        if (fits()) break;
    }
    // Still too big, the window is shrunk to the free space, but never below its title band:
    // when not even that fits, it comes in collapsed.
    const int32_t room = height - FitSlack;
    if (!fits()) {
        if (room >= window->titleHeight) window->SetHeight(room);
        else if (!window->collapsed) window->ToggleMinimise(nullptr);
    }
    place();
}

void Panel::Remove(Panellist* window) {
    if (!Contains(normal, window)) return;
    ApplyHeightChange(window, -1);
    Erase(normal, window);
}

void Panel::Pin(Panellist* window, bool top) {
    if (top) {
        topReserve += Slot(window);
    } else {
        Remove(window);
        bottom.push_back(window);
        bottomUsed += Slot(window);
    }
    window->movable = 0;
    window->pinned = 1;
    Place(core->ScreenWidth(), core->ScreenHeight());
}

void Panel::Unpin(Panellist* window) {
    window->movable = 1;
    window->pinned = 0;
    if (Contains(bottom, window)) {
        Erase(bottom, window);
        bottomUsed -= Slot(window);
        Place(core->ScreenWidth(), core->ScreenHeight());
        Insert(window);
    } else {
        topReserve -= Slot(window);
        window->y = std::min(std::max(topReserve, 0), y - Slot(window));
        Reorder(window);
    }
    Place(core->ScreenWidth(), core->ScreenHeight());
}

void Panel::Close(Panellist* window, bool immediate) {
    if (Contains(bottom, window)) {
        // Straight out of the bottom list: put back among the others first, it could make them
        // give up room for nothing.
        Erase(bottom, window);
        window->movable = 1;
        window->pinned = 0;
        Place(core->ScreenWidth(), core->ScreenHeight());
    } else if (window->pinned) {
        Unpin(window);
    }
    Remove(window);
    window->panel = nullptr;
    // The bar leaves at once either way: it is drawn only through its window.
    core->RemoveWindow(std::exchange(window->scroll, nullptr));
    window->OnColumnClose();
    if (immediate) core->RemoveWindow(window);
    else window->state = 3;
}

void Panel::CloseById(uint8_t windowId) {
    for (const std::vector<Panellist*>* list : {&normal, &bottom})
        for (Panellist* window : *list)
            if (window->windowId == windowId) {
                Close(window, true);
                return;
            }
}

bool Panel::MakeRoom(Panellist* window, int32_t needed) {
    const auto gives = [window](const Panellist* other) {
        return other != window && !other->collapsed && other->resizable && !other->pinned;
    };
    int32_t available = 0;
    for (auto it = normal.rbegin(); it != normal.rend() && available < needed; ++it)
        if (gives(*it)) available += std::max(0, (*it)->height - (*it)->minHeight);
    if (available < needed) return false;

    int32_t remaining = needed;
    for (auto it = normal.rbegin(); it != normal.rend() && remaining > 0; ++it) {
        Panellist* other = *it;
        if (!gives(other)) continue;
        const int32_t given =
            std::min(remaining, std::max(0, other->VisibleHeight() - other->minHeight));
        other->SetHeight(other->height - given);
        other->Refresh();
        remaining -= given;
    }
    // Laid out again at once: the windows close up and the free area takes what they gave.
    Place(core->ScreenWidth(), core->ScreenHeight());
    return true;
}

bool Panel::ApplyHeightChange(Panellist* window, int32_t newVisibleHeight) {
    const int32_t d = newVisibleHeight - window->VisibleHeight();
    if (d == 0) return false;
    if (height - d < MinFree) {
        if (height - MinFree > 0)
            window->SetHeightClamped(window->VisibleHeight() + height - MinFree);
        return false;
    }
    if (Contains(bottom, window)) {
        bottomUsed += d;
        height -= d;
    } else {
        const auto at = std::find(normal.begin(), normal.end(), window);
        if (at != normal.end())
            for (auto later = at + 1; later != normal.end(); ++later) {
                (*later)->y += d;
                (*later)->homeY += d;
            }
        y += d;
        height -= d;
        if (window->pinned) topReserve += d;
    }
    Refresh();
    return true;
}

void Panel::Reorder(Panellist* dragged) {
    if (normal.size() < 2 || !Contains(normal, dragged)) return;
    const int32_t draggedBottom = dragged->y + dragged->VisibleHeight();
    if (normal.back() == dragged && draggedBottom > y) return;

    std::vector<Panellist*> before, after;
    for (Panellist* other : normal) {
        if (other == dragged) continue;
        const int32_t middle = other->y + other->VisibleHeight() / 2;
        const bool goesBefore =
            other->y >= dragged->homeY ? middle < draggedBottom : middle < dragged->y;
        (goesBefore ? before : after).push_back(other);
    }
    normal = before;
    normal.push_back(dragged);
    normal.insert(normal.end(), after.begin(), after.end());
    int32_t top = 0;
    for (Panellist* window : normal) {
        window->homeY = top;
        if (window != dragged) window->y = top;
        top += Slot(window);
    }
}

std::vector<Panellist*> Panel::AllWindows() {
    std::vector<Panellist*> windows;
    for (Panellist* window : normal) {
        window->pinnedBottom = 0;
        windows.push_back(window);
    }
    for (Panellist* window : bottom) {
        window->pinnedBottom = 1;
        windows.push_back(window);
    }
    return windows;
}

std::vector<PanelLayoutEntry> Panel::ParseLayout(const std::string& text) {
    std::vector<PanelLayoutEntry> entries;
    for (const std::string& entryText : SplitText(text, ';')) {
        if (IsBlank(entryText)) continue;
        PanelLayoutEntry entry{entryText, {}};
        bool readable = true;
        for (const std::string& field : SplitText(entryText, ',')) {
            if (IsBlank(field)) continue;
            int32_t value;
            if (!ReadField(field, value)) {
                readable = false;
                break;
            }
            entry.values.push_back(value);
        }
        if (readable) entries.push_back(std::move(entry));
    }
    return entries;
}
