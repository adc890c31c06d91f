#pragma once
#include <cstdint>
#include <string>

#include "windows/toolkit/window.h"

class Core;
class Font;
class Render;

// One look of a button: a piece of a skin image.
struct ButtonSkin {
    int32_t sx = 0, sy = 0;
    int32_t width = 0, height = 0;
    uint32_t imageId = 0;
};

// A clickable rectangle owned by a window and drawn live over its surface from skin pieces,
// with an optional caption. Firing it calls the owner's OnCommand with the button.
class Button {
public:
    Button(Core* core, Window* owner, int32_t x, int32_t y, uint8_t pressed, uint8_t toggle,
           uint32_t id);
    virtual ~Button();

    void SetRect(WindowRect rect);
    void SetStateSkins(const ButtonSkin& normal, const ButtonSkin& hover, const ButtonSkin& down);
    // Moves the three looks to new skin positions with one common size, keeping their images.
    void SetSkin(int32_t sx0, int32_t sy0, int32_t sx1, int32_t sy1, int32_t sx2, int32_t sy2,
                 int32_t skinWidth, int32_t skinHeight);
    // Sets the disabled look and the enabled byte.
    void SetGeometry(uint32_t imageId, int32_t sx, int32_t sy, int32_t skinWidth,
                     int32_t skinHeight, uint8_t isEnabled);
    void SetText(std::string text);
    // The hit rectangle at the owner's current position; an invisible button is never hit.
    bool HitTest(int32_t px, int32_t py);
    // Draws the button at the owner's position: white caption, grey when pressed or disabled.
    void Draw(int32_t ox, int32_t oy, int32_t ow, int32_t oh);
    // The same with a caption colour, moved one pixel only while pressed.
    void Draw(int32_t ox, int32_t oy, int32_t ow, int32_t oh, uint32_t captionColour);
    // The pressed look tinted by a colour, with the caption.
    void DrawPressed(int32_t ox, int32_t oy, int32_t ow, int32_t oh, uint32_t tint);
    void DrawImage(int32_t ox, int32_t oy, int32_t ow, int32_t oh, const ButtonSkin& skin);

    Core* core;
    Render* render;
    Window* owner;
    Font* font;
    int32_t x, y;
    ButtonSkin normalSkin, hoverSkin, pressedSkin, disabledSkin;
    uint32_t id;
    WindowRect hitRect = {0, 0, 0, 0};
    uint8_t pressed;
    uint8_t enabled = 1;
    uint8_t visible = 1;
    uint8_t toggle;
    std::string caption;

private:
    const ButtonSkin& CurrentSkin();
    void DrawCaption(int32_t ox, int32_t oy, uint32_t colour, int32_t shift);
};

// Button ids shared by the title bars of every window and by the buttons of the boxes.
namespace ButtonId {
constexpr uint32_t Collapse = 1;
constexpr uint32_t Close = 9;
constexpr uint32_t Expand = 10;
constexpr uint32_t Yes = 25;
constexpr uint32_t No = 26;
constexpr uint32_t Ok = 34;
}  // namespace ButtonId
