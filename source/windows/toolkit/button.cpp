#include "windows/toolkit/button.h"

#include "core.h"
#include "font.h"
#include "mouse.h"
#include "render.h"
#include "screen.h"

namespace {
constexpr uint32_t CaptionColour = 0xFFFFFFFF;
constexpr uint32_t CaptionDimColour = 0xFF606060;
}  // namespace

Button::Button(Core* core, Window* owner, int32_t x, int32_t y, uint8_t pressed, uint8_t toggle,
               uint32_t id)
    : core(core),
      render(core->render),
      owner(owner),
      font(core->GetFont(1)),
      x(x),
      y(y),
      id(id),
      pressed(pressed),
      toggle(toggle) {}

Button::~Button() = default;

void Button::SetRect(WindowRect rect) { hitRect = rect; }

void Button::SetStateSkins(const ButtonSkin& normal, const ButtonSkin& hover,
                           const ButtonSkin& down) {
    normalSkin = normal;
    hoverSkin = hover;
    pressedSkin = down;
}

void Button::SetSkin(int32_t sx0, int32_t sy0, int32_t sx1, int32_t sy1, int32_t sx2, int32_t sy2,
                     int32_t skinWidth, int32_t skinHeight) {
    normalSkin = {sx0, sy0, skinWidth, skinHeight, normalSkin.imageId};
    hoverSkin = {sx1, sy1, skinWidth, skinHeight, hoverSkin.imageId};
    pressedSkin = {sx2, sy2, skinWidth, skinHeight, pressedSkin.imageId};
}

void Button::SetGeometry(uint32_t imageId, int32_t sx, int32_t sy, int32_t skinWidth,
                         int32_t skinHeight, uint8_t isEnabled) {
    disabledSkin = {sx, sy, skinWidth, skinHeight, imageId};
    enabled = isEnabled;
}

void Button::SetText(std::string text) { caption = std::move(text); }

bool Button::HitTest(int32_t px, int32_t py) {
    if (!visible) return false;
    const WindowRect origin = owner->GetRect();
    const int32_t left = origin.x + x + hitRect.x;
    const int32_t top = origin.y + y + hitRect.y;
    return px >= left && px < left + hitRect.w && py >= top && py < top + hitRect.h;
}

const ButtonSkin& Button::CurrentSkin() {
    if (!enabled && !toggle) return disabledSkin;
    if (pressed) return pressedSkin;
    const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
    if (enabled && mouse && HitTest(mouse->x, mouse->y)) return hoverSkin;
    return normalSkin;
}

void Button::DrawCaption(int32_t ox, int32_t oy, uint32_t colour, int32_t shift) {
    if (caption.empty() || !font) return;
    font->DrawTextCentered(ox + x + hitRect.w / 2 + shift, oy + y + hitRect.h / 2 - 5 + shift,
                           caption, colour);
}

void Button::Draw(int32_t ox, int32_t oy, int32_t ow, int32_t oh) {
    if (!visible) return;
    DrawImage(ox, oy, ow, oh, CurrentSkin());
    const bool dim = pressed || !enabled;
    DrawCaption(ox, oy, dim ? CaptionDimColour : CaptionColour, dim ? 1 : 0);
}

void Button::Draw(int32_t ox, int32_t oy, int32_t ow, int32_t oh, uint32_t captionColour) {
    if (!visible) return;
    DrawImage(ox, oy, ow, oh, CurrentSkin());
    DrawCaption(ox, oy, captionColour, pressed ? 1 : 0);
}

void Button::DrawPressed(int32_t ox, int32_t oy, int32_t, int32_t, uint32_t tint) {
    if (!visible) return;
    render->DrawSkinPartTinted(ox + x, oy + y, pressedSkin.sx, pressedSkin.sy, pressedSkin.width,
                               pressedSkin.height, tint,
                               static_cast<uint16_t>(pressedSkin.imageId));
    DrawCaption(ox, oy, CaptionDimColour, 1);
}

void Button::DrawImage(int32_t ox, int32_t oy, int32_t, int32_t, const ButtonSkin& skin) {
    render->DrawSkinPart(ox + x, oy + y, skin.sx, skin.sy, skin.width, skin.height,
                         static_cast<uint16_t>(skin.imageId));
}
