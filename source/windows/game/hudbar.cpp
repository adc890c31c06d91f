#include "windows/game/hudbar.h"

#include <string>

#include "font.h"
#include "render.h"

namespace {

constexpr uint16_t SkinAtlas = 1;
constexpr int32_t BarLeft = 9, BarTop = 9, BarHeight = 9, BandTop = 5, BandBottom = 18,
                  BandHeight = 4, LeftCapX = 5;
// Skin columns of the left and right caps, the bands and the empty part.
constexpr uint16_t LeftCapSkinX = 233, RightCapSkinX = 246, BandSkinX = 237, EmptySkinX = 101,
                   EmptySkinY = 142, FillSkinY = 191;
constexpr uint32_t BarTextColour = 0xE0E0E0E0;
constexpr uint32_t LabelBox = 0xA0000000, LabelEdge = 0x5AFFFFFF;
constexpr int32_t LabelHeight = 11, LabelPadding = 3, LabelTextInset = 2;
// The skin's pictures of the function keys' names, one under the other.
constexpr int32_t SkinLabelX = 80, SkinLabelY = 121, SkinLabelWidth = 19, SkinLabelHeight = 9;

}  // namespace

void PaintHudBar(Render* render, Font* font, int32_t barWidth, int32_t fill, uint16_t fillSkinX,
                 int32_t value, int32_t maximum) {
    for (const int32_t capX : {LeftCapX, barWidth + BarLeft}) {
        const uint16_t skinX = capX == LeftCapX ? LeftCapSkinX : RightCapSkinX;
        render->DrawSkinPart(capX, BandTop, skinX, 153, 4, BandHeight, SkinAtlas);
        render->DrawSkinPart(capX, BarTop, skinX, 157, 4, BarHeight, SkinAtlas);
        render->DrawSkinPart(capX, BandBottom, skinX, 166, 4, BandHeight, SkinAtlas);
    }
    render->DrawSkinPartTiled(BarLeft, BandTop, barWidth, BandHeight, 0, 0, BandSkinX, 153, 4,
                              BandHeight, SkinAtlas);
    render->DrawSkinPartTiled(BarLeft, BandBottom, barWidth, BandHeight, 0, 0, BandSkinX, 166, 4,
                              BandHeight, SkinAtlas);
    // A part of no width is not drawn at all.
    if (fill > 0)
        render->DrawSkinPartTiled(BarLeft, BarTop, fill, BarHeight, 0, 0, fillSkinX, FillSkinY, 4,
                                  BarHeight, SkinAtlas);
    if (fill < barWidth)
        render->DrawSkinPartTiled(BarLeft + fill, BarTop, barWidth - fill, BarHeight, 0, 0,
                                  EmptySkinX, EmptySkinY, 4, BarHeight, SkinAtlas);
    if (maximum != 0 && font)
        font->DrawTextCentered(barWidth / 2 + BarLeft, 8,
                               std::to_string(value) + " / " + std::to_string(maximum),
                               BarTextColour);
}

void DrawSkinKeyLabel(Render* render, int32_t x, int32_t y, uint32_t slot) {
    render->DrawSkinPartTinted(x, y, SkinLabelX, SkinLabelY + SkinLabelHeight * int32_t(slot),
                               SkinLabelWidth, SkinLabelHeight, KeyLabelColour, SkinAtlas);
}

void DrawKeyLabel(Render* render, Font* font, int32_t right, int32_t top, const std::string& name) {
    const int32_t width = font->MeasureText(name) + LabelPadding;
    render->DrawBoxStyle2(right - width, top, width, LabelHeight, LabelEdge, LabelBox);
    font->DrawTextRight(right - LabelTextInset, top, name, KeyLabelColour);
}
