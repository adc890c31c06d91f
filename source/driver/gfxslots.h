// The drawing slots written once. The 19 slots of a driver differ only in how one quad, one line
// and one texture bind are issued; what they share (the draw origin, texture coordinates of a
// whole texture or a part, tiling under the clip, tint and corner colours, the bracket of minimum
// blending) lives here, over the primitives of one way of drawing:
//
//   struct Primitives {
//       // The driver object of a render target. It and an image's driver object have
//       // textureWidth, textureHeight, uMax and vMax.
//       using Target = ...;
//       // Binds the texture of an image, created on first use, and answers the image's driver
//       // object; null when the image cannot be drawn.
//       static const Image* BindImage(GfxImage* image);
//       // Binds the texture of a drawn target (its driver object; `flags` are the record's).
//       static void BindTarget(const Target* texture, uint32_t flags);
//       // One quad of the surface, origin applied; a textured one shows the texture bound last.
//       static void Quad(const GfxQuad& quad);
//       // A line from (x0, y0) to (x1, y1), origin applied, colour0 at its start.
//       static void Line(float x0, float y0, float x1, float y1, uint32_t colour0,
//                        uint32_t colour1);
//       // Switches between minimum blending (factors one and one) and the normal blending.
//       static void MinimumBlending(bool on);
//   };
//
// A driver has the primitives of each way of laying the overlay (GfxWay) and installs the set of
// slots of the way it needs with GFX_InstallSlots.
#pragma once

#include "driver/gfxcore.h"

// How drawing meets the overlay: not at all, through a second texture unit or stage reading the
// surface position, or sampled on the processor into the vertex colours.
enum class GfxWay { Plain, Multitexture, Sampled };

// Texture coordinates of a quad's top-left (u0, v0) and bottom-right (u1, v1) corners.
struct GfxUv {
    float u0, v0, u1, v1;
};

// A quad as a fan of four vertices: top-left, top-right, bottom-right, bottom-left.
struct GfxQuad {
    float xs[4], ys[4];
    uint32_t colours[4];
    bool textured;
    float us[4], vs[4];  // 0 when untextured
};

// The quad (x0, y0)..(x1, y1) showing `uv` (untextured for null) with corner colours in the
// table's order: top-left, top-right, bottom-left, bottom-right.
inline GfxQuad GFX_Quad(float x0, float y0, float x1, float y1, const GfxUv* uv, uint32_t c1,
                        uint32_t c2, uint32_t c3, uint32_t c4) {
    const GfxUv none = {0, 0, 0, 0};
    const GfxUv& t = uv ? *uv : none;
    return {{x0, x1, x1, x0}, {y0, y0, y1, y1},         {c1, c2, c4, c3},
            uv != nullptr,    {t.u0, t.u1, t.u1, t.u0}, {t.v0, t.v0, t.v1, t.v1}};
}

// The coordinates of the whole picture held by a texture (its top-left corner).
template <class Texture>
GfxUv GFX_WholeUv(const Texture* texture) {
    return {0, 0, texture->uMax, texture->vMax};
}

// The coordinates of the part (sx, sy, sw, sh) of a texture, in texture pixels.
template <class Texture>
GfxUv GFX_PartUv(const Texture* texture, float sx, float sy, float sw, float sh) {
    const float width = float(texture->textureWidth);
    const float height = float(texture->textureHeight);
    return {sx / width, sy / height, (sx + sw) / width, (sy + sh) / height};
}

// The slots of one way. Those that draw images and targets alike are written once, over the
// record's type.
template <class Primitives>
struct GfxSlots {
private:
    static const auto* Bind(GfxImage* image) { return Primitives::BindImage(image); }
    // A target without driver object has never been drawn: it draws nothing.
    static const auto* Bind(GfxRenderTarget* target) {
        const auto* texture = static_cast<const typename Primitives::Target*>(target->driverObject);
        if (texture) Primitives::BindTarget(texture, target->flags);
        return texture;
    }

    // The whole image or target over (x, y, w, h) with corner colours.
    template <class Record>
    static void Whole(float x, float y, float w, float h, uint32_t c1, uint32_t c2, uint32_t c3,
                      uint32_t c4, Record* record) {
        const auto* texture = Bind(record);
        if (!texture) return;
        const GfxUv uv = GFX_WholeUv(texture);
        GFX_TranslatePoint(x, y);
        Primitives::Quad(GFX_Quad(x, y, x + w, y + h, &uv, c1, c2, c3, c4));
    }

    // The part (sx, sy, sw, sh) of an image or target over (x, y, w, h), tinted.
    template <class Record>
    static void Part(float x, float y, float w, float h, float sx, float sy, float sw, float sh,
                     uint32_t colour, Record* record) {
        const auto* texture = Bind(record);
        if (!texture) return;
        const GfxUv uv = GFX_PartUv(texture, sx, sy, sw, sh);
        GFX_TranslatePoint(x, y);
        Primitives::Quad(GFX_Quad(x, y, x + w, y + h, &uv, colour, colour, colour, colour));
    }

    // Tiles of tw x th showing the bound texture's `uv` with corner colours, clipped to
    // (x, y, w, h).
    static void Tiles(float x, float y, float w, float h, float ox, float oy, float tw, float th,
                      const GfxUv& uv, uint32_t c1, uint32_t c2, uint32_t c3, uint32_t c4) {
        GFX_PushClip();
        GFX_SetClip(x, y, w, h);
        GFX_TranslatePoint(x, y);
        GFX_ForEachTile(x, y, w, h, ox, oy, tw, th, [&](float tileX, float tileY) {
            Primitives::Quad(GFX_Quad(tileX, tileY, tileX + tw, tileY + th, &uv, c1, c2, c3, c4));
        });
        GFX_PopClip();
    }

    template <class Record>
    static void AtOwnSize(float x, float y, Record* record) {
        Gradient(x, y, GfxWhite, GfxWhite, GfxWhite, GfxWhite, record);
    }

    template <class Record>
    static void Scaled(float x, float y, float w, float h, Record* record) {
        Whole(x, y, w, h, GfxWhite, GfxWhite, GfxWhite, GfxWhite, record);
    }

    template <class Record>
    static void Unscaled(float x, float y, float sx, float sy, float w, float h, Record* record) {
        Part(x, y, w, h, sx, sy, w, h, GfxWhite, record);
    }

    template <class Record>
    static void Tinted(float x, float y, uint32_t colour, Record* record) {
        Gradient(x, y, colour, colour, colour, colour, record);
    }

    template <class Record>
    static void Gradient(float x, float y, uint32_t c1, uint32_t c2, uint32_t c3, uint32_t c4,
                         Record* record) {
        Whole(x, y, float(record->width), float(record->height), c1, c2, c3, c4, record);
    }

public:
    static void DrawLine(float x0, float y0, float x1, float y1, uint32_t colour, uint32_t mode) {
        DrawLineGradient(x0, y0, x1, y1, colour, colour, mode);
    }

    static void DrawLineGradient(float x0, float y0, float x1, float y1, uint32_t colour0,
                                 uint32_t colour1, uint32_t) {
        GFX_TranslatePoint(x0, y0);
        GFX_TranslatePoint(x1, y1);
        Primitives::Line(x0, y0, x1, y1, colour0, colour1);
    }

    static void FillRect(float x, float y, float w, float h, uint32_t colour, uint32_t mode) {
        FillRectGradient(x, y, w, h, colour, colour, colour, colour, mode);
    }

    static void FillRectGradient(float x, float y, float w, float h, uint32_t c1, uint32_t c2,
                                 uint32_t c3, uint32_t c4, uint32_t) {
        GFX_TranslatePoint(x, y);
        Primitives::Quad(GFX_Quad(x, y, x + w, y + h, nullptr, c1, c2, c3, c4));
    }

    static constexpr GfxDrawTargetFn DrawTarget = AtOwnSize<GfxRenderTarget>;
    static constexpr GfxDrawTargetScaledFn DrawTargetScaled = Scaled<GfxRenderTarget>;
    static constexpr GfxDrawTargetPartFn DrawTargetPart = Unscaled<GfxRenderTarget>;

    static void DrawTargetPartScaled(float x, float y, float w, float h, float sx, float sy,
                                     float sw, float sh, GfxRenderTarget* target) {
        Part(x, y, w, h, sx, sy, sw, sh, GfxWhite, target);
    }

    static constexpr GfxDrawTargetTintedFn DrawTargetTinted = Tinted<GfxRenderTarget>;
    static constexpr GfxDrawTargetGradientFn DrawTargetGradient = Gradient<GfxRenderTarget>;
    static constexpr GfxDrawImageFn DrawImage = AtOwnSize<GfxImage>;
    static constexpr GfxDrawImageScaledFn DrawImageScaled = Scaled<GfxImage>;

    static void DrawImageTiled(float x, float y, float w, float h, float ox, float oy,
                               GfxImage* image) {
        const auto* texture = Primitives::BindImage(image);
        if (!texture) return;
        Tiles(x, y, w, h, ox, oy, float(image->width), float(image->height), GFX_WholeUv(texture),
              GfxWhite, GfxWhite, GfxWhite, GfxWhite);
    }

    static constexpr GfxDrawImageTintedFn DrawImageTinted = Tinted<GfxImage>;
    static constexpr GfxDrawImageGradientFn DrawImageGradient = Gradient<GfxImage>;
    static constexpr GfxDrawImagePartFn DrawImagePart = Unscaled<GfxImage>;

    static void DrawImagePartTinted(float x, float y, float sx, float sy, float w, float h,
                                    uint32_t colour, GfxImage* image) {
        Part(x, y, w, h, sx, sy, w, h, colour, image);
    }

    static void DrawImagePartTiledGradient(float x, float y, float w, float h, float ox, float oy,
                                           float tw, float th, float sx, float sy, float sw,
                                           float sh, uint32_t c1, uint32_t c2, uint32_t c3,
                                           uint32_t c4, GfxImage* image) {
        const auto* texture = Primitives::BindImage(image);
        if (!texture) return;
        Tiles(x, y, w, h, ox, oy, tw, th, GFX_PartUv(texture, sx, sy, sw, sh), c1, c2, c3, c4);
    }

    // Minimum blending: every channel, alpha included, keeps the smaller of image and surface.
    static void DrawImageMin(float x, float y, GfxImage* image) {
        Primitives::MinimumBlending(true);
        AtOwnSize(x, y, image);
        Primitives::MinimumBlending(false);
    }
};

// The complete set of slots drawn by one way's primitives.
template <class Primitives>
constexpr GfxPrimitiveSet GFX_SlotSet() {
#define GFX_WAY_SLOT(slot) GfxSlots<Primitives>::slot,
    return {GFX_DRAWING_SLOTS(GFX_WAY_SLOT)};
#undef GFX_WAY_SLOT
}

// Installs the slots of a driver's primitives for one way.
template <template <GfxWay> class Primitives>
void GFX_InstallSlots(GfxWay way) {
    static constexpr GfxPrimitiveSet sets[] = {
        GFX_SlotSet<Primitives<GfxWay::Plain>>(),
        GFX_SlotSet<Primitives<GfxWay::Multitexture>>(),
        GFX_SlotSet<Primitives<GfxWay::Sampled>>(),
    };
    GFX_InstallPrimitiveSet(sets[int(way)]);
}
