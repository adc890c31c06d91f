#pragma once
// One image layer of an item: the keyframe images of the item's colour key, the elevation the
// tile lifts it by, and its outline images, made on the first outline drawing.
#include <cstdint>
#include <string>
#include <vector>

class Core;
class Item;
struct GfxImage;
struct ShapeLayer;

// Where a slot icon of w x h pixels goes in its 32 x 32 slot, relative to the slot's corner.
struct IconPlacement {
    int32_t x, y, width, height;
};
IconPlacement PlaceIcon(int32_t width, int32_t height);

struct ItemKeyframe {
    uint32_t duration;
    GfxImage* image;  // borrowed from the shape; null when the key has no image
};

// The keyframe of an animated sequence at `elapsed` ms: the first whose duration exceeds the
// time left after the earlier ones. A sequence of total duration 0 shows its first keyframe.
// `durationOf` reads a keyframe's duration.
template <typename Keyframes, typename DurationOf>
size_t KeyframeIndex(const Keyframes& keyframes, uint32_t total, uint64_t elapsed,
                     DurationOf durationOf) {
    if (keyframes.size() < 2 || total == 0) return 0;
    uint64_t t = elapsed % total;
    for (size_t i = 0; i < keyframes.size(); ++i) {
        if (durationOf(keyframes[i]) > t) return i;
        t -= durationOf(keyframes[i]);
    }
    return keyframes.size() - 1;
}
size_t KeyframeAt(const std::vector<ItemKeyframe>& keyframes, uint32_t total, uint64_t elapsed);

// A white image one pixel larger on every side than the largest of the images, which are laid
// over each other anchored bottom-right, whose alpha rings their opaque pixels; null without
// images.
GfxImage* MakeOutline(const std::vector<GfxImage*>& images);

class ItemPart {
public:
    ItemPart(Core* owner, Item* item, ShapeLayer* layer, uint32_t subId);
    ~ItemPart();
    ItemPart(const ItemPart&) = delete;
    ItemPart& operator=(const ItemPart&) = delete;

    void Draw(int32_t x, int32_t y);
    void DrawOnce(int32_t x, int32_t y);
    void DrawOnTile(int32_t x, int32_t y, uint8_t coverClass);
    void DrawCovered(int32_t x, int32_t y, uint8_t coverClass, GfxImage* image);
    void DrawPreview(int32_t x, int32_t y);
    void DrawTinted(int32_t x, int32_t y, uint8_t alpha);
    void DrawOutline(int32_t x, int32_t y, uint8_t alpha);
    void DrawSlotOutline(int32_t x, int32_t y, uint8_t alpha);
    void DrawIcon(int32_t x, int32_t y);
    void DrawIconImage(int32_t x, int32_t y, GfxImage* image);

    // The keyframe image at an elapsed time (null without keyframes).
    GfxImage* ImageAt(uint64_t elapsed) const;
    // Elapsed time of the part: the global clock, or the time since the item was created.
    uint64_t Elapsed() const;
    uint64_t SinceCreated() const;
    // True once a played-once animation has run its length (sets the item's expired byte).
    bool CheckExpired();
    // An upper part (layer flag bit 0) is drawn over the creatures of its tile; the others are
    // lower parts.
    bool IsUpper() const;

    Core* owner;
    Item* item;
    ShapeLayer* layer;
    int32_t elevation = 0;
    std::vector<ItemKeyframe> keyframes;
    std::vector<GfxImage*> outlines;  // owned, one per keyframe once built
    uint32_t lastOutlineX = 0, lastOutlineY = 0;

private:
    void BuildOutlines();
    void DrawOutlineImage(int32_t x, int32_t y, uint8_t alpha, uint64_t elapsed, bool slot);
    void DrawAtField(int32_t x, int32_t y, GfxImage* image);
    uint32_t IndexAt(uint64_t elapsed) const;
};
