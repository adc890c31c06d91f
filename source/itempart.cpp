#include "itempart.h"

#include <algorithm>

#include "core.h"
#include "driver/gfxcore.h"
#include "item.h"
#include "render.h"
#include "shape.h"
#include "tile.h"

namespace {

constexpr uint16_t LastPosition = 65535;  // an outline at the position of the previous one
constexpr uint32_t OutlineColour = 0xE0E0E0;
constexpr uint32_t PreviewColour = 0x60FFFFFF;
constexpr uint32_t OpaqueAlpha = 10;      // a source pixel above this alpha counts as opaque
constexpr int32_t SlotOutlineLimit = 34;  // only one-tile items are outlined in slots

// Whether any of the images is opaque at column c, row r of an area w x h, all of them anchored
// at its bottom-right corner.
bool Opaque(const std::vector<GfxImage*>& images, int32_t w, int32_t h, int32_t c, int32_t r) {
    if (c < 0 || c >= w || r < 0 || r >= h) return false;
    for (GfxImage* image : images) {
        const int32_t iw = GFX_ImageWidth(image), ih = GFX_ImageHeight(image);
        const int32_t ic = c - (w - iw), ir = r - (h - ih);
        if (ic >= 0 && ir >= 0 && (GFX_ImagePixels(image)[ir * iw + ic] >> 24) > OpaqueAlpha)
            return true;
    }
    return false;
}

}  // namespace

GfxImage* MakeOutline(const std::vector<GfxImage*>& images) {
    if (images.empty()) return nullptr;
    int32_t w = 0, h = 0;
    for (GfxImage* image : images) {
        w = std::max(w, GFX_ImageWidth(image));
        h = std::max(h, GFX_ImageHeight(image));
    }
    const int32_t ow = w + 2, oh = h + 2;
    std::vector<uint32_t> pixels(size_t(ow) * oh);
    for (int32_t j = 0; j < oh; ++j) {
        for (int32_t i = 0; i < ow; ++i) {
            uint32_t alpha = 0;
            const bool inner = i > 0 && j > 0 && i < ow - 1 && j < oh - 1;
            if (!(inner && Opaque(images, w, h, i - 1, j - 1))) {
                int neighbours = 0;
                for (int32_t dj = -1; dj <= 1; ++dj)
                    for (int32_t di = -1; di <= 1; ++di)
                        neighbours += Opaque(images, w, h, i - 1 + di, j - 1 + dj);
                alpha = neighbours == 0 ? 0 : neighbours == 1 ? 128 : 255;
            }
            pixels[size_t(j) * ow + i] = alpha << 24 | 0xFFFFFF;
        }
    }
    return GFX_CreateImage(ow, oh, pixels.data(), ow * 4, GfxFlagLinear, 0);
}

IconPlacement PlaceIcon(int32_t width, int32_t height) {
    if (width == height) return {0, 0, TileSize, TileSize};
    const int32_t factor = std::max(width, height) / TileSize;
    // Smaller than a slot both ways: drawn as it is, in the bottom-right corner.
    const int32_t w = factor ? width / factor : width, h = factor ? height / factor : height;
    return {TileSize - w, TileSize - h, w, h};
}

size_t KeyframeAt(const std::vector<ItemKeyframe>& keyframes, uint32_t total, uint64_t elapsed) {
    return KeyframeIndex(keyframes, total, elapsed,
                         [](const ItemKeyframe& keyframe) { return keyframe.duration; });
}

ItemPart::ItemPart(Core* owner, Item* item, ShapeLayer* layer, uint32_t subId)
    : owner(owner), item(item), layer(layer) {
    for (const auto& keyframe : layer->keyframes) {
        auto image = keyframe->images.find(subId);
        keyframes.push_back(
            {keyframe->duration, image == keyframe->images.end() ? nullptr : image->second});
    }
}

ItemPart::~ItemPart() {
    for (GfxImage* outline : outlines) GFX_DeleteImage(outline);
}

uint64_t ItemPart::Elapsed() const {
    return item->globalClock ? owner->frameTimeMs : SinceCreated();
}

uint64_t ItemPart::SinceCreated() const { return owner->frameTimeMs - item->created; }

bool ItemPart::IsUpper() const { return layer->flagBit0; }

uint32_t ItemPart::IndexAt(uint64_t elapsed) const {
    return uint32_t(KeyframeAt(keyframes, layer->totalDuration, elapsed));
}

GfxImage* ItemPart::ImageAt(uint64_t elapsed) const {
    return keyframes.empty() ? nullptr : keyframes[IndexAt(elapsed)].image;
}

bool ItemPart::CheckExpired() {
    if (SinceCreated() >= layer->totalDuration && !item->looping) item->expired = 1;
    return item->expired;
}

// The image's bottom-right corner on the tile's, lifted up and left by the elevation.
void ItemPart::DrawAtField(int32_t x, int32_t y, GfxImage* image) {
    if (!image) return;
    owner->render->DrawImagePtr(x - elevation - GFX_ImageWidth(image) + TileSize,
                                y - elevation - GFX_ImageHeight(image) + TileSize, image);
}

void ItemPart::Draw(int32_t x, int32_t y) {
    if (!item->effect) {
        DrawAtField(x, y, ImageAt(Elapsed()));
        return;
    }
    if (!item->expired) DrawOnce(x, y);
}

void ItemPart::DrawOnce(int32_t x, int32_t y) {
    if (CheckExpired()) return;
    DrawAtField(x, y, ImageAt(SinceCreated()));
}

void ItemPart::DrawOnTile(int32_t x, int32_t y, uint8_t coverClass) {
    if (item->effect) {
        if (item->expired || CheckExpired()) return;
        if (coverClass == 0) DrawOnce(x, y);
        else DrawCovered(x, y, coverClass, ImageAt(SinceCreated()));
        return;
    }
    const uint32_t lastDuration = keyframes.empty() ? 0 : keyframes.back().duration;
    if (item->kind == ItemEnter && SinceCreated() >= uint64_t(layer->totalDuration) - lastDuration)
        item->expired = 1;
    if (coverClass == 0) Draw(x, y);
    else DrawCovered(x, y, coverClass, ImageAt(Elapsed()));
}

// Under a floor above, only images that reach beyond their own tile (class 2) or beyond two
// tiles (class 3) show.
void ItemPart::DrawCovered(int32_t x, int32_t y, uint8_t coverClass, GfxImage* image) {
    if (!image) return;
    const int32_t reach = coverClass == 2 ? 33 : coverClass == 3 ? 65 : 0;
    if (elevation + GFX_ImageWidth(image) < reach && elevation + GFX_ImageHeight(image) < reach)
        return;
    DrawAtField(x, y, image);
}

void ItemPart::DrawPreview(int32_t x, int32_t y) {
    GfxImage* image = ImageAt(Elapsed());
    if (!image) return;
    owner->render->DrawImageTinted(x - elevation - GFX_ImageWidth(image) + TileSize,
                                   y - elevation - GFX_ImageHeight(image) + TileSize, PreviewColour,
                                   image);
}

void ItemPart::DrawTinted(int32_t x, int32_t y, uint8_t alpha) {
    GfxImage* image = ImageAt(Elapsed());
    if (!image) return;
    owner->render->DrawImageTinted(x - elevation - GFX_ImageWidth(image) + TileSize,
                                   y - elevation - GFX_ImageHeight(image) + TileSize,
                                   uint32_t(alpha) << 24 | 0xFFFFFF, image);
}

void ItemPart::BuildOutlines() {
    for (const ItemKeyframe& keyframe : keyframes)
        outlines.push_back(keyframe.image ? MakeOutline({keyframe.image}) : nullptr);
}

void ItemPart::DrawOutlineImage(int32_t x, int32_t y, uint8_t alpha, uint64_t elapsed, bool slot) {
    if (x == LastPosition) x = int32_t(lastOutlineX);
    else lastOutlineX = uint32_t(x);
    if (y == LastPosition) y = int32_t(lastOutlineY);
    else lastOutlineY = uint32_t(y);
    if (keyframes.empty()) return;
    if (outlines.empty()) BuildOutlines();
    GfxImage* outline = outlines[IndexAt(elapsed)];
    if (!outline) return;
    const int32_t w = GFX_ImageWidth(outline), h = GFX_ImageHeight(outline);
    if (slot && (w > SlotOutlineLimit || h > SlotOutlineLimit)) return;
    owner->render->DrawImageTinted(x - elevation - w + TileSize + 1,
                                   y - elevation - h + TileSize + 1,
                                   uint32_t(alpha) << 24 | OutlineColour, outline);
}

void ItemPart::DrawOutline(int32_t x, int32_t y, uint8_t alpha) {
    ItemPart* outlinePart = item->outlinePart.get();
    if (!layer->outlineOnly && outlinePart) {
        outlinePart->elevation = elevation;
        outlinePart->DrawOutlineImage(x, y, alpha, outlinePart->Elapsed(), false);
        return;
    }
    DrawOutlineImage(x, y, alpha, Elapsed(), false);
}

void ItemPart::DrawSlotOutline(int32_t x, int32_t y, uint8_t alpha) {
    ItemPart* outlinePart = item->outlinePart.get();
    ItemPart* drawn = !layer->outlineOnly && outlinePart ? outlinePart : this;
    drawn->DrawOutlineImage(x, y, alpha, owner->frameTimeMs, true);
}

void ItemPart::DrawIcon(int32_t x, int32_t y) { DrawIconImage(x, y, ImageAt(owner->frameTimeMs)); }

void ItemPart::DrawIconImage(int32_t x, int32_t y, GfxImage* image) {
    if (!image) return;
    const IconPlacement place = PlaceIcon(GFX_ImageWidth(image), GFX_ImageHeight(image));
    owner->render->DrawImageScaledPtr(x + place.x, y + place.y, place.width, place.height, image);
}
