#include "windows/toolkit/window.h"

#include <algorithm>

#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "mouse.h"
#include "render.h"
#include "screen.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/list.h"

namespace {

// The least distance a dragged or clamped window keeps from every screen edge.
constexpr int32_t ScreenMargin = 5;
// The smallest size a corner resize leaves, unless the screen edge leaves less room.
constexpr int32_t MinResizeWidth = 199;
constexpr int32_t MinResizeHeight = 201;
// The bottom-right square that starts a resize.
constexpr int32_t ResizeGrip = 5;

uint32_t Black(uint32_t alpha) { return alpha << 24; }

}  // namespace

int32_t RoundSurfaceSize(int32_t size) { return size - size % 64 + 64; }

Window::Window(Core* core) : core(core), render(core ? core->render : nullptr) { ResetLayout(); }

Window::~Window() {
    ClearButtons();
    if (surface) GFX_DeleteRenderTarget(surface);
    // A window deleted without Core::RemoveWindow must not stay active or focused.
    if (core && core->activeWindow == this) core->activeWindow = nullptr;
    if (core && core->focusedInput == this) core->focusedInput = nullptr;
    // Nor stay one of the game screen's windows: leaving the game deletes them one by one, and
    // the destructors of the later ones still look for the earlier ones.
    if (core)
        for (Window** kept :
             {&core->consoleWindow, &core->leftPanel, &core->fieldWindow, &core->equipmentWindow,
              &core->rightPanel, &core->containerPanel, &core->paneltopWindow, &core->chatBox})
            if (*kept == this) *kept = nullptr;
    // Nor may a window it owns (a popup menu on it, a control) keep a pointer to it.
    if (core)
        for (const std::vector<Window*>* list : {&core->windows, &core->closedWindows})
            for (Window* window : *list)
                if (window->owner == this) window->owner = nullptr;
}

void Window::DeleteButton(Button* button) {
    // The mouse keeps the pressed button until the release: it must not outlive the button.
    if (core && core->pressedButton == button) core->pressedButton = nullptr;
    delete button;
}

void Window::ResetLayout() {
    typeId = 0;
    state = 1;
    dragging = movable = resizing = resizable = collapsed = modal = 0;
    list = nullptr;
    font = nullptr;
    if (surface) GFX_DeleteRenderTarget(surface);
    surface = nullptr;
    dirty = 0;
    surfaceWidth = surfaceHeight = 0;
    titleHeight = 18;
}

void Window::Build() {
    ResetLayout();
    name = "Window";
}

void Window::Paint() {}

void Window::Draw() {
    DrawFrame();
    DrawButtons();
}

bool Window::ListHit(int32_t px, int32_t py) { return list && list->HitTest(px, py); }

void Window::OnMouseDown(int32_t mx, int32_t my) {
    if (ListHit(mx, my)) {
        list->OnMouseDown(mx, my);
        return;
    }
    if (movable && mx >= x && mx < x + width && my >= y && my < y + titleHeight) {
        dragging = 1;
        anchorX = mx - x;
        anchorY = my - y;
    }
    if (resizable && !collapsed && mx >= x + width - ResizeGrip && mx < x + width &&
        my >= y + height - ResizeGrip && my < y + height) {
        resizing = 1;
        anchorX = mx - width;
        anchorY = my - height;
    }
}

void Window::OnMouseUp(int32_t mx, int32_t my) {
    dragging = resizing = 0;
    // A release off the list still ends a drag of its scroll bar's thumb.
    if (ListHit(mx, my) || (list && list->IsDragging())) list->OnMouseUp(mx, my);
}

void Window::OnDoubleClick(int32_t, int32_t) { dragging = resizing = 0; }
void Window::OnRightClick(int32_t, int32_t) {}
void Window::OnRightDown(int32_t, int32_t) {}

void Window::OnDrag(int32_t mx, int32_t my) {
    if (dragging) {
        const int32_t screenWidth = static_cast<int32_t>(core->clientWidth);
        const int32_t screenHeight = static_cast<int32_t>(core->clientHeight);
        x = std::min(std::max(mx - anchorX, ScreenMargin), screenWidth - width - ScreenMargin);
        y = std::min(std::max(my - anchorY, ScreenMargin),
                     screenHeight - VisibleHeight() - ScreenMargin);
        if (list) list->Place(0, 0);
    }
    if (list) list->OnDrag(mx, my);
}

void Window::OnResize(int32_t mx, int32_t my) {
    const int32_t screenWidth = static_cast<int32_t>(core->clientWidth);
    const int32_t screenHeight = static_cast<int32_t>(core->clientHeight);
    width = std::min(std::max(mx - anchorX, MinResizeWidth), screenWidth - x - ScreenMargin);
    height = std::min(std::max(my - anchorY, MinResizeHeight), screenHeight - y - ScreenMargin);
}

void Window::OnWheel(int32_t mx, int32_t my, int32_t delta) {
    if (ListHit(mx, my)) list->OnWheel(mx, my, delta);
}

void Window::OnHover(int32_t, int32_t) {}
void Window::OnChar(uint32_t) {}
void Window::OnBackspace() {}
void Window::OnDelete() {}
void Window::Reserved16() {}
void Window::OnSubmit() {}
void Window::Reserved18() {}
void Window::Reserved19() {}
void Window::Place(int32_t, int32_t) {}

void Window::OnCommand(Button* button) {
    // A button of another window found through this one (the scroll bar arrows of a hosted
    // list) fires on its own window.
    if (button->owner && button->owner != this) {
        button->owner->OnCommand(button);
        return;
    }
    switch (button->id) {
        case ButtonId::Close:
            // Deletes this window: nothing may touch it afterwards.
            core->RemoveWindow(this);
            return;
        case ButtonId::Collapse:
        case ButtonId::Expand:
            button->id = button->id == ButtonId::Collapse ? ButtonId::Expand : ButtonId::Collapse;
            collapsed = !collapsed;
            ClampToScreen();
            core->ActivateWindow(this);
            return;
        default: return;
    }
}

void Window::SetHeight(int32_t) {}
void Window::OnOpen() {}
void Window::SetAvatarList(const std::vector<AvatarEntry>&) {}
void Window::OnListSelect(int32_t) {}

bool Window::IsDragging() {
    if (dragging) return true;
    return list && list->IsDragging();
}

void Window::Close() {}

void Window::CreateSurface() {
    dirty = 1;
    surfaceWidth = RoundSurfaceSize(width);
    surfaceHeight = RoundSurfaceSize(height);
    if (surface) GFX_DeleteRenderTarget(surface);
    surface = GFX_CreateRenderTarget(surfaceWidth, surfaceHeight, 0, 0, 0);
}

void Window::Refresh() {
    if (width <= 0 || height <= 0) return;
    dirty = 1;
    const int32_t newWidth = RoundSurfaceSize(width);
    const int32_t newHeight = RoundSurfaceSize(height);
    if (newWidth == surfaceWidth && newHeight == surfaceHeight && surface) return;
    if (surface) GFX_DeleteRenderTarget(surface);
    surfaceWidth = newWidth;
    surfaceHeight = newHeight;
    surface = GFX_CreateRenderTarget(surfaceWidth, surfaceHeight, 0, 0, 0);
}

bool Window::HitTest(int32_t px, int32_t py) {
    return px >= x && px < x + width && py >= y && py < y + VisibleHeight();
}

WindowRect Window::GetRect() { return {x, y, width, height}; }

Button* Window::AddButton(int32_t bx, int32_t by, uint32_t id, int32_t sx0, int32_t sy0,
                          int32_t sx1, int32_t sy1, int32_t sx2, int32_t sy2, int32_t skinWidth,
                          int32_t skinHeight, WindowRect hitRect, std::string caption,
                          uint8_t pressed, uint8_t toggle) {
    auto* button = new Button(core, this, bx, by, pressed, toggle, id);
    button->SetRect(hitRect);
    button->SetText(std::move(caption));
    button->SetStateSkins({sx0, sy0, skinWidth, skinHeight, 1},
                          {sx1, sy1, skinWidth, skinHeight, 1},
                          {sx2, sy2, skinWidth, skinHeight, 1});
    buttons.push_back(button);
    return button;
}

Button* Window::AddCloseButton() {
    return AddButton(width - 21, 3, ButtonId::Close, 0, 80, 18, 80, 36, 80, 18, 16, {1, 1, 16, 14},
                     "", 0, 0);
}

Button* Window::AddCollapseButton() {
    return AddButton(width - 39, 3, ButtonId::Collapse, 0, 96, 18, 96, 36, 96, 18, 16,
                     {1, 1, 16, 14}, "", 0, 0);
}

Button* Window::AddPushButton(int32_t bx, int32_t by, uint32_t id, std::string caption) {
    return AddButton(bx, by, id, 219, 253, 219, 269, 219, 285, 54, 16, {1, 1, 52, 14},
                     std::move(caption), 0, 0);
}

Button* Window::AddMenuButton(int32_t bx, int32_t by, uint32_t id, std::string caption) {
    return AddButton(bx, by, id, 0, 251, 0, 269, 0, 287, 88, 18, {1, 1, 86, 16}, std::move(caption),
                     0, 0);
}

void Window::ClearButtons() {
    for (Button* button : buttons) DeleteButton(button);
    buttons.clear();
}

void Window::RemoveButton(uint32_t id) {
    auto found = std::find_if(buttons.begin(), buttons.end(),
                              [id](const Button* button) { return button->id == id; });
    if (found == buttons.end()) return;
    Button* button = *found;
    buttons.erase(found);
    DeleteButton(button);
}

Button* Window::FindButton(uint32_t id) {
    for (Button* button : buttons)
        if (button->id == id) return button;
    return list ? list->FindButton(id) : nullptr;
}

Button* Window::ButtonAt(int32_t px, int32_t py) {
    for (Button* button : buttons)
        if (button->HitTest(px, py)) return button;
    return list ? list->ButtonAt(px, py) : nullptr;
}

int32_t Window::VisibleHeight() const { return collapsed ? titleHeight : height; }

bool Window::IsUnderMouse() {
    const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
    return mouse && HitTest(mouse->x, mouse->y);
}

void Window::DrawButtons() {
    const WindowRect rect = GetRect();
    const int32_t visibleHeight = VisibleHeight();
    for (Button* button : buttons)
        if (button->y + button->hitRect.h < visibleHeight)
            button->Draw(rect.x, rect.y, rect.w, rect.h);
}

void Window::DrawFrame() {
    const int32_t h = VisibleHeight();
    render->FillGradientRect(x + 3, y + h, width - 6, 5, Black(0xA8), Black(0xA8), 0, 0);
    render->FillGradientRect(x - 3, y + 5, 3, h - 5, 0, Black(0x50), 0, Black(0x50));
    render->FillGradientRect(x + width, y + 5, 3, h - 5, Black(0x50), 0, Black(0x50), 0);
    render->FillRect(x, y - 1, width, 1, Black(0x10));
    static const uint32_t CornerRows[5] = {0xA0, 0x70, 0x50, 0x30, 0x10};
    for (int32_t k = 0; k < 5; ++k) {
        const uint32_t c = Black(CornerRows[k]);
        render->FillGradientRect(x - 3, y + h + k, 6, 1, 0, c, 0, c);
        render->FillGradientRect(x + width - 3, y + h + k, 6, 1, c, 0, c, 0);
    }
    static const uint32_t CornerColumns[3] = {0x10, 0x28, 0x48};
    for (int32_t k = 0; k < 3; ++k) {
        const uint32_t c = Black(CornerColumns[k]);
        render->FillGradientRect(x - 3 + k, y - 1, 1, 6, 0, 0, c, c);
        render->FillGradientRect(x + width + 2 - k, y - 1, 1, 6, 0, 0, c, c);
    }
}

void Window::DrawCorners() {
    render->FillRect(0, 0, 1, 1, Black(0x20));
    render->FillRect(width - 1, 0, 1, 1, Black(0x20));
    render->FillRect(0, height - 1, 1, 1, Black(0x80));
    render->FillRect(width - 1, height - 1, 1, 1, Black(0x80));
}

void Window::ClampToScreen() {
    const int32_t screenWidth = static_cast<int32_t>(core->clientWidth);
    const int32_t screenHeight = static_cast<int32_t>(core->clientHeight);
    x = std::min(std::max(x, ScreenMargin), screenWidth - width - ScreenMargin);
    y = std::min(std::max(y, ScreenMargin), screenHeight - VisibleHeight() - ScreenMargin);
    if (list) list->Place(0, 0);
}

void Window::PlaceCentred(int32_t screenWidth, int32_t screenHeight) {
    x = screenWidth / 2 - width / 2;
    y = screenHeight / 2 - height / 2;
}

void Window::ReleaseChild(Window* child, bool wasListed) {
    if (!wasListed) {
        delete child;
        return;
    }
    if (std::find(core->windows.begin(), core->windows.end(), child) != core->windows.end())
        core->RemoveWindow(child);
}

void Window::DrawSurface() {
    if (surface)
        GfxDriver::DrawTargetPart(static_cast<float>(x), static_cast<float>(y), 0, 0,
                                  static_cast<float>(width), static_cast<float>(VisibleHeight()),
                                  surface);
}

bool Window::NeedsPaint() {
    if (surface && !GFX_PrepareRenderTarget(surface)) {
        GFX_DeleteRenderTarget(surface);
        surface = nullptr;
    }
    return surface && (dirty || GFX_CheckRenderTarget(surface));
}

void Window::PaintCached(const std::function<void()>& paintContent) {
    if (!NeedsPaint()) return;
    GFX_BeginFrame(surface);
    paintContent();
    GFX_EndFrame();
    dirty = 0;
}

void Window::DrawCached(const std::function<void()>& paintContent) {
    if (surface) {
        DrawSurface();
        return;
    }
    GFX_SetOrigin(static_cast<float>(x), static_cast<float>(y));
    paintContent();
    GFX_SetOrigin(static_cast<float>(-x), static_cast<float>(-y));
}

ClientRoom Window::RoomInClientArea() const {
    return {static_cast<int32_t>(core->clientWidth) - 2 * ScreenMargin,
            static_cast<int32_t>(core->clientHeight) - 2 * ScreenMargin};
}

FittedText Window::FitBoxText(const std::string& text, int32_t minTextWidth, int32_t frameWidth,
                              int32_t frameHeight) const {
    if (!font) return {text, minTextWidth + frameWidth, frameHeight};
    const int32_t textWidth = std::max(font->TextWidthCodes(text), minTextWidth);
    const int32_t textHeight = font->WrappedHeight(text, 1000);
    const ClientRoom room = RoomInClientArea();
    const int32_t widthLimit = room.width, heightLimit = room.height;
    const bool fits = (widthLimit <= 0 || textWidth + frameWidth <= widthLimit) &&
                      (heightLimit <= 0 || textHeight + frameHeight <= heightLimit);
    if (fits) return {text, textWidth + frameWidth, textHeight + frameHeight};

    const int32_t lineWidth = widthLimit > 0 ? std::max(widthLimit - frameWidth, 1) : textWidth;
    std::vector<std::string> lines = font->LayoutParagraph2(text, lineWidth);
    if (heightLimit > 0) {
        const size_t room = static_cast<size_t>(
            std::max((heightLimit - frameHeight) / std::max(font->lineHeight, 1), 1));
        if (lines.size() > room) lines.resize(room);
    }
    FittedText fitted{"", minTextWidth, 0};
    for (size_t k = 0; k < lines.size(); ++k) {
        if (k > 0) fitted.text += '\n';
        fitted.text += lines[k];
        fitted.width = std::max(fitted.width, font->MeasureText(lines[k]));
    }
    fitted.width += frameWidth;
    fitted.height = static_cast<int32_t>(lines.size()) * font->lineHeight + frameHeight;
    return fitted;
}

void Window::PaintBoxBackground() {
    DrawCorners();
    render->DrawFrame2(0, 0, width, height);
    render->FillRect(2, 2, width - 4, 19, Black(0x40));
    render->FillRect(2, 20, width - 4, 1, Black(0x60));
    render->DrawBox(12, 31, width - 24, height - 69, 0);
    if (font) font->DrawTextCentered(width / 2, 7, name, 0xCEFFFFFF);
}
