#pragma once
#include <cstdint>
#include <string>

class Font;
class Render;

// The bar in the top band of the head-up windows (the equipment's health, the ability bar's
// mana), drawn at the window's origin: skin caps at both ends, a band above and below, `fill`
// pixels from the skin column at fillSkinX, the rest empty, and "value / maximum" centred over
// it unless the maximum is 0.
void PaintHudBar(Render* render, Font* font, int32_t barWidth, int32_t fill, uint16_t fillSkinX,
                 int32_t value, int32_t maximum);

// The colour of the key labels on the slots of the head-up windows and the on-field bar.
constexpr uint32_t KeyLabelColour = 0xC0FFFFFF;

// The skin's own picture of the name of function key F1 + slot (19 x 9), tinted, at (x, y).
void DrawSkinKeyLabel(Render* render, int32_t x, int32_t y, uint32_t slot);

// A key's name on a slot of the head-up windows: a dark box with a light edge, (text width + 3)
// x 11 pixels, its right edge at `right` and its top at `top`, the name right-aligned in it.
void DrawKeyLabel(Render* render, Font* font, int32_t right, int32_t top, const std::string& name);
