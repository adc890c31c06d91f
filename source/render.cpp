#include "render.h"

#include <algorithm>

#include "driver/gfxcore.h"

namespace {

constexpr uint32_t BevelLight = 0x30FFFFFF;
constexpr uint32_t BevelDark = 0x60000000;

// The top-left corner of a piece of skin image 1.
struct SkinPart {
    int32_t sx, sy;
};

}  // namespace

struct Render::FrameStyle {
    uint16_t centreImage;
    int32_t scrollX, scrollY;
    SkinPart topLeft, topRight, bottomLeft, bottomRight;  // 3 by 3 each
    SkinPart top, bottom, left, right;
    int32_t edgeLength;  // the edges' tiles are edgeLength by 2 (top, bottom) or 2 by edgeLength
};

int32_t FilledWidth(uint64_t value, uint64_t max, int32_t barWidth) {
    if (max == 0 || barWidth <= 0) return 0;
    return int32_t(std::min<uint64_t>(uint64_t(barWidth), value * uint64_t(barWidth) / max));
}

Render::Render(Core* core)
    : core(core),
      screenshotPixels(nullptr),
      screenshotWidth(0),
      screenshotHeight(0),
      screenshotThread(nullptr) {}

Render::~Render() {
    // A screenshot still being written is finished first: its worker uses this object.
    if (screenshotThread) {
        WaitForSingleObject(screenshotThread, INFINITE);
        CloseHandle(screenshotThread);
    }
    for (auto& entry : images) GFX_DeleteImage(entry.second);
}

GfxImage*& Render::GetImage(uint16_t id) { return images[id]; }

// --- Images given by pointer --------------------------------------------------------------------

void Render::DrawImagePtr(int32_t x, int32_t y, GfxImage* image) {
    GfxDriver::DrawImage(float(x), float(y), image);
}

void Render::DrawImagePtrF(float x, float y, GfxImage* image) { GfxDriver::DrawImage(x, y, image); }

void Render::DrawImageScaledPtr(int32_t x, int32_t y, int32_t w, int32_t h, GfxImage* image) {
    GfxDriver::DrawImageScaled(float(x), float(y), float(w), float(h), image);
}

void Render::DrawImagePartPtr(float x, float y, int32_t sx, int32_t sy, int32_t w, int32_t h,
                              GfxImage* image) {
    GfxDriver::DrawImagePart(x, y, float(sx), float(sy), float(w), float(h), image);
}

void Render::DrawImageTinted(int32_t x, int32_t y, uint32_t colour, GfxImage* image) {
    GfxDriver::DrawImageTinted(float(x), float(y), colour, image);
}

void Render::DrawImageTintedF(float x, float y, uint32_t colour, GfxImage* image) {
    GfxDriver::DrawImageTinted(x, y, colour, image);
}

void Render::DrawImagePartTinted(int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t w, int32_t h,
                                 uint32_t colour, GfxImage* image) {
    GfxDriver::DrawImagePartTinted(float(x), float(y), float(sx), float(sy), float(w), float(h),
                                   colour, image);
}

void Render::DrawImagePartTintedF(float x, float y, int32_t sx, int32_t sy, int32_t w, int32_t h,
                                  uint32_t colour, GfxImage* image) {
    GfxDriver::DrawImagePartTinted(x, y, float(sx), float(sy), float(w), float(h), colour, image);
}

void Render::DrawImagePartTintedAlt(float x, float y, float sx, float sy, float w, float h,
                                    uint32_t colour, GfxImage* image) {
    GfxDriver::DrawImagePartTinted(x, y, sx, sy, w, h, colour, image);
}

// --- Table images given by id -------------------------------------------------------------------

void Render::DrawSkin(float x, float y, uint16_t id) {
    if (GfxImage* image = GetImage(id)) GfxDriver::DrawImage(x, y, image);
}

void Render::DrawSkinScaled(int32_t x, int32_t y, int32_t w, int32_t h, uint16_t id) {
    if (GfxImage* image = GetImage(id)) DrawImageScaledPtr(x, y, w, h, image);
}

void Render::DrawSkinPart(int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t w, int32_t h,
                          uint16_t id) {
    if (GfxImage* image = GetImage(id)) DrawImagePartPtr(float(x), float(y), sx, sy, w, h, image);
}

void Render::DrawSkinPartTinted(int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t w, int32_t h,
                                uint32_t colour, uint16_t id) {
    if (GfxImage* image = GetImage(id)) DrawImagePartTinted(x, y, sx, sy, w, h, colour, image);
}

void Render::DrawSkinPartTintedF(float x, float y, int32_t sx, int32_t sy, int32_t w, int32_t h,
                                 uint32_t colour, uint16_t id) {
    if (GfxImage* image = GetImage(id)) DrawImagePartTintedF(x, y, sx, sy, w, h, colour, image);
}

void Render::DrawSkinTiled(int32_t x, int32_t y, int32_t w, int32_t h, int32_t ox, int32_t oy,
                           uint16_t id) {
    DrawSkinTiledF(x, y, w, h, float(ox), float(oy), id);
}

void Render::DrawSkinTiledF(int32_t x, int32_t y, int32_t w, int32_t h, float ox, float oy,
                            uint16_t id) {
    if (GfxImage* image = GetImage(id)) {
        GfxDriver::DrawImageTiled(float(x), float(y), float(w), float(h), ox, oy, image);
    }
}

void Render::DrawSkinPartTiled(int32_t x, int32_t y, int32_t w, int32_t h, int32_t ox, int32_t oy,
                               int32_t sx, int32_t sy, int32_t sw, int32_t sh, uint16_t id) {
    DrawSkinPartTiledTinted(x, y, w, h, ox, oy, sw, sh, sx, sy, sw, sh, GfxWhite, id);
}

void Render::DrawSkinPartTiledTinted(int32_t x, int32_t y, int32_t w, int32_t h, int32_t ox,
                                     int32_t oy, int32_t tw, int32_t th, int32_t sx, int32_t sy,
                                     int32_t sw, int32_t sh, uint32_t colour, uint16_t id) {
    if (GfxImage* image = GetImage(id)) {
        GfxDriver::DrawImagePartTiledGradient(float(x), float(y), float(w), float(h), float(ox),
                                              float(oy), float(tw), float(th), float(sx), float(sy),
                                              float(sw), float(sh), colour, colour, colour, colour,
                                              image);
    }
}

// --- Filled rectangles --------------------------------------------------------------------------

void Render::FillRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    GfxDriver::FillRect(float(x), float(y), float(w), float(h), colour, GfxAlphaBlended);
}

void Render::FillRectF(float x, float y, float w, float h, uint32_t colour) {
    GfxDriver::FillRect(x, y, w, h, colour, GfxAlphaBlended);
}

void Render::FillGradientRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t topLeft,
                              uint32_t topRight, uint32_t bottomLeft, uint32_t bottomRight) {
    GfxDriver::FillRectGradient(float(x), float(y), float(w), float(h), topLeft, topRight,
                                bottomLeft, bottomRight, GfxAlphaBlended);
}

// --- Outlines, bevels and boxes -----------------------------------------------------------------

void Render::DrawRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    FillRect(x, y, w - 1, 1, colour);
    FillRect(x + w - 1, y, 1, h - 1, colour);
    FillRect(x + 1, y + h - 1, w - 1, 1, colour);
    FillRect(x, y + 1, 1, h - 1, colour);
}

void Render::DrawBevel(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t light, uint32_t dark) {
    FillRect(x + 1, y, w - 2, 1, light);
    FillRect(x + w - 1, y, 1, h - 1, dark);
    FillRect(x, y + h - 1, w, 1, dark);
    FillRect(x, y, 1, h - 1, light);
}

void Render::DrawBox(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t raised) {
    const uint32_t light = raised ? BevelLight : BevelDark;
    const uint32_t dark = raised ? BevelDark : BevelLight;
    FillRect(x + 1, y, w - 2, 1, light);
    FillRect(x, y, 1, h - 1, light);
    FillRect(x + w - 1, y, 1, h - 1, dark);
    FillRect(x, y + h - 1, w, 1, dark);
}

void Render::DrawBoxStyle2Outline(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    FillRect(x + 1, y, w - 2, 1, colour);
    FillRect(x, y + 1, 1, h - 2, colour);
    FillRect(x + 1, y + h - 1, w - 2, 1, colour);
    FillRect(x + w - 1, y + 1, 1, h - 2, colour);
}

void Render::DrawBoxStyle2(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t edge,
                           uint32_t fill) {
    DrawBoxStyle2Outline(x, y, w, h, edge);
    FillRect(x + 1, y + 1, w - 2, h - 2, fill);
}

void Render::DrawGradientBox(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t top,
                             uint32_t bottom) {
    FillGradientRect(x, y, w, h, top, top, bottom, bottom);
}

void Render::DrawGradientBox2(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t top,
                              uint32_t bottom) {
    FillRect(x, y, w, 1, top);
    FillRect(x, y + h - 1, w, 1, bottom);
    FillGradientRect(x, y + 1, 1, h - 2, top, top, bottom, bottom);
    FillGradientRect(x + w - 1, y + 1, 1, h - 2, top, top, bottom, bottom);
}

void Render::DrawBar(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t top, uint32_t bottom) {
    FillRect(x + 1, y, w - 2, 1, top);
    FillRect(x + 1, y + h - 1, w - 2, 1, bottom);
    FillGradientRect(x, y + 1, 1, h - 2, top, top, bottom, bottom);
    FillGradientRect(x + w - 1, y + 1, 1, h - 2, top, top, bottom, bottom);
}

void Render::DrawBoxStyle3(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    FillRect(x + 2, y, w - 4, 1, colour);
    FillRect(x + 1, y + 1, 1, 1, colour);
    FillRect(x, y + 2, 1, h - 4, colour);
    FillRect(x + w - 2, y + 1, 1, 1, colour);
    FillRect(x + 2, y + h - 1, w - 4, 1, colour);
    FillRect(x + 1, y + h - 2, 1, 1, colour);
    FillRect(x + w - 1, y + 2, 1, h - 4, colour);
    FillRect(x + w - 2, y + h - 2, 1, 1, colour);
}

void Render::DrawBoxStyle4(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    FillRect(x + 3, y, w - 6, 1, colour);
    FillRect(x, y + 3, 1, h - 6, colour);
    FillRect(x + 3, y + h - 1, w - 6, 1, colour);
    FillRect(x + w - 1, y + 3, 1, h - 6, colour);
    FillRect(x + 1, y + 1, 2, 1, colour);
    FillRect(x + 1, y + 2, 1, 1, colour);
    FillRect(x + w - 3, y + 1, 2, 1, colour);
    FillRect(x + w - 2, y + 2, 1, 1, colour);
    FillRect(x + 1, y + h - 3, 1, 1, colour);
    FillRect(x + 1, y + h - 2, 2, 1, colour);
    FillRect(x + w - 2, y + h - 3, 1, 1, colour);
    FillRect(x + w - 3, y + h - 2, 2, 1, colour);
}

void Render::DrawBoxStyled(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t edge,
                           uint32_t fill) {
    if (w < 6) w = 6;
    FillRect(x + 3, y, w - 6, 3, edge);
    FillRect(x, y + 3, 3, h - 6, edge);
    FillRect(x + 3, y + h - 3, w - 6, 3, edge);
    FillRect(x + w - 3, y + 3, 3, h - 6, edge);
    FillRect(x + 1, y + 1, 2, 2, edge);
    FillRect(x + w - 3, y + 1, 2, 2, edge);
    FillRect(x + 1, y + h - 3, 2, 2, edge);
    FillRect(x + w - 3, y + h - 3, 2, 2, edge);
    FillRect(x + 3, y + 3, w - 6, h - 6, fill);
}

// The twelve corner rectangles of the outline with corners of radius 5.
void Render::DrawRoundedCorners(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    FillRect(x + 3, y + 1, 2, 1, colour);
    FillRect(x + 2, y + 2, 1, 1, colour);
    FillRect(x + 1, y + 3, 1, 2, colour);
    FillRect(x + w - 5, y + 1, 2, 1, colour);
    FillRect(x + w - 3, y + 2, 1, 1, colour);
    FillRect(x + w - 2, y + 3, 1, 2, colour);
    FillRect(x + 3, y + h - 2, 2, 1, colour);
    FillRect(x + 2, y + h - 3, 1, 1, colour);
    FillRect(x + 1, y + h - 5, 1, 2, colour);
    FillRect(x + w - 2, y + h - 5, 1, 2, colour);
    FillRect(x + w - 3, y + h - 3, 1, 1, colour);
    FillRect(x + w - 5, y + h - 2, 2, 1, colour);
}

void Render::DrawRoundedPanelOutline(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    FillRect(x + 5, y, w - 10, 1, colour);
    FillRect(x, y + 5, 1, h - 10, colour);
    FillRect(x + 5, y + h - 1, w - 10, 1, colour);
    FillRect(x + w - 1, y + 5, 1, h - 10, colour);
    DrawRoundedCorners(x, y, w, h, colour);
}

void Render::DrawRoundedPanel(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t edge,
                              uint32_t fill) {
    FillRect(x + 5, y, w - 10, 5, edge);
    FillRect(x, y + 5, 5, h - 10, edge);
    FillRect(x + 5, y + h - 5, w - 10, 5, edge);
    FillRect(x + w - 5, y + 5, 5, h - 10, edge);
    FillRect(x + 3, y + 1, 2, 1, edge);
    FillRect(x + 2, y + 2, 3, 1, edge);
    FillRect(x + 1, y + 3, 4, 2, edge);
    FillRect(x + w - 5, y + 1, 2, 1, edge);
    FillRect(x + w - 5, y + 2, 3, 1, edge);
    FillRect(x + w - 5, y + 3, 4, 2, edge);
    FillRect(x + 3, y + h - 2, 2, 1, edge);
    FillRect(x + 2, y + h - 3, 3, 1, edge);
    FillRect(x + 1, y + h - 5, 4, 2, edge);
    FillRect(x + w - 5, y + h - 5, 4, 2, edge);
    FillRect(x + w - 5, y + h - 3, 3, 1, edge);
    FillRect(x + w - 5, y + h - 2, 2, 1, edge);
    FillRect(x + 5, y + 5, w - 10, h - 10, fill);
}

void Render::DrawBalloon(int32_t x, int32_t y, int32_t w, int32_t h, int32_t tailOffset,
                         int32_t tailSize, uint32_t fill, uint32_t edge) {
    DrawRoundedPanel(x, y, w, h, fill, fill);
    FillRect(x + 5, y, w - 10, 1, edge);
    FillRect(x, y + 5, 1, h - 10, edge);
    FillRect(x + w - 1, y + 5, 1, h - 10, edge);
    DrawRoundedCorners(x, y, w, h, edge);
    if (tailSize == 0) {
        FillRect(x + 5, y + h - 1, w - 10, 1, edge);
        return;
    }
    // The bottom side leaves a gap of s pixels under which the tail hangs: a right triangle
    // with a vertical right side and a diagonal left edge, one pixel narrower each row.
    const int32_t t = tailOffset + 10 - tailSize, s = tailSize;
    FillRect(x + 5, y + h - 1, t, 1, edge);
    FillRect(x + 5 + t + s, y + h - 1, w - t - s - 10, 1, edge);
    for (int32_t i = 0; i < s; ++i) {
        FillRect(x + 5 + t + i, y + h + i, s - i, 1, fill);
        FillRect(x + 5 + t + i, y + h + i, 1, 1, edge);
    }
    FillRect(x + 5 + t + s - 1, y + h - 1, 1, s, edge);
}

// --- Skinned frames -----------------------------------------------------------------------------

void Render::DrawFrame(int32_t x, int32_t y, int32_t w, int32_t h, const FrameStyle& style) {
    DrawSkinTiled(x + 2, y + 2, w - 4, h - 4, style.scrollX, style.scrollY, style.centreImage);
    DrawFrameEdges(x, y, w, h, style);
}

void Render::DrawFrameEdges(int32_t x, int32_t y, int32_t w, int32_t h, const FrameStyle& style) {
    DrawSkinPart(x, y, style.topLeft.sx, style.topLeft.sy, 3, 3, SkinAtlasId);
    DrawSkinPart(x + w - 3, y, style.topRight.sx, style.topRight.sy, 3, 3, SkinAtlasId);
    DrawSkinPart(x, y + h - 3, style.bottomLeft.sx, style.bottomLeft.sy, 3, 3, SkinAtlasId);
    DrawSkinPart(x + w - 3, y + h - 3, style.bottomRight.sx, style.bottomRight.sy, 3, 3,
                 SkinAtlasId);
    const int32_t n = style.edgeLength;
    DrawSkinPartTiled(x + 3, y, w - 6, 2, 0, 0, style.top.sx, style.top.sy, n, 2, SkinAtlasId);
    DrawSkinPartTiled(x + 3, y + h - 2, w - 6, 2, 0, 0, style.bottom.sx, style.bottom.sy, n, 2,
                      SkinAtlasId);
    DrawSkinPartTiled(x, y + 3, 2, h - 6, 0, 0, style.left.sx, style.left.sy, 2, n, SkinAtlasId);
    DrawSkinPartTiled(x + w - 2, y + 3, 2, h - 6, 0, 0, style.right.sx, style.right.sy, 2, n,
                      SkinAtlasId);
}

void Render::DrawFrame1(int32_t x, int32_t y, int32_t w, int32_t h) {
    static const FrameStyle style{4,        0,        0,        {54, 20}, {67, 20}, {54, 33},
                                  {67, 33}, {57, 20}, {57, 34}, {54, 23}, {68, 23}, 10};
    DrawFrame(x, y, w, h, style);
}

void Render::DrawFrame2(int32_t x, int32_t y, int32_t w, int32_t h) {
    static const FrameStyle style{3,       2,       2,        {75, 3}, {78, 3},  {75, 6},
                                  {78, 6}, {96, 3}, {96, 19}, {93, 6}, {109, 6}, 12};
    DrawFrame(x, y, w, h, style);
}

const Render::FrameStyle Render::Frame3Style{
    3, 2, 2, {93, 3}, {108, 3}, {93, 18}, {108, 18}, {96, 3}, {96, 19}, {93, 6}, {109, 6}, 12};

void Render::DrawFrame3(int32_t x, int32_t y, int32_t w, int32_t h) {
    DrawFrame(x, y, w, h, Frame3Style);
}

void Render::DrawFrame3(int32_t x, int32_t y, int32_t w, int32_t h, int32_t patternY) {
    FrameStyle style = Frame3Style;
    style.scrollY = patternY;
    DrawFrame(x, y, w, h, style);
}

void Render::DrawFrame3Edges(int32_t x, int32_t y, int32_t w, int32_t h) {
    DrawFrameEdges(x, y, w, h, Frame3Style);
}
