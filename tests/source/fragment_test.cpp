#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "shapes.h"
#include "support/spritedata.h"

namespace {

constexpr uint32_t EveryField = 1000, TinySprite = 1005, WideSprite = 1006;

// Little-endian fields of the tools' expectation files.
class Bytes {
public:
    explicit Bytes(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        data.assign(std::istreambuf_iterator<char>(file), {});
    }
    bool More() const { return at < data.size(); }
    uint32_t Take(int size) {
        uint32_t value = 0;
        for (int i = 0; i < size; ++i) value |= uint32_t(uint8_t(data.at(at++))) << (8 * i);
        return value;
    }
    std::vector<uint32_t> Pixels(size_t count) {
        std::vector<uint32_t> pixels(count);
        for (uint32_t& pixel : pixels) pixel = Take(4);
        return pixels;
    }

private:
    std::vector<char> data;
    size_t at = 0;
};

ShapeAnimation* AnimationOfSlot(const ShapeRange& range, uint32_t slot) {
    return slot < SlotCount ? range.slots[slot] : range.extras.at(slot - SlotCount).get();
}

size_t OwnedKeyframes(const Shape& shape) {
    size_t count = 0;
    for (const auto& range : shape.ranges) {
        std::vector<const ShapeAnimation*> animations;
        for (uint32_t slot = 0; slot < SlotCount; ++slot)
            if (range->slots[slot] && !range->borrowed[slot])
                animations.push_back(range->slots[slot]);
        for (const auto& extra : range->extras) animations.push_back(extra.get());
        for (const ShapeAnimation* animation : animations)
            for (const auto& view : animation->views)
                for (const auto& cell : view->cells)
                    for (const auto& layer : cell->layers) count += layer->keyframes.size();
    }
    return count;
}

GfxImage* FirstImage(const Shape& shape, uint32_t key) {
    return shape.ranges[0]->slots[SlotIdle]->views[0]->cells[0]->layers[0]->keyframes[0]->images.at(
        key);
}

using FrameImagesTest = SpriteData;

// Every frame image of the generated data, for a few colour keys, as the tools compose it.
TEST_F(FrameImagesTest, EqualTheToolsCompositionPixelForPixel) {
    auto shapes = Load("sample");
    Bytes frames(TestDataPath("sprites/sample/frames.bin"));
    const uint32_t total = frames.Take(4);
    ASSERT_GT(total, 500u);
    std::map<std::pair<uint32_t, uint32_t>, size_t> compared;
    for (uint32_t n = 0; n < total; ++n) {
        const uint32_t id = frames.Take(4), key = frames.Take(4);
        const uint32_t range = frames.Take(1), slot = frames.Take(1), view = frames.Take(1);
        const uint32_t cell = frames.Take(2), layer = frames.Take(1), keyframe = frames.Take(1);
        const uint32_t width = frames.Take(2), height = frames.Take(2);
        const std::vector<uint32_t> expected = frames.Pixels(size_t(width) * height);
        const std::string where = "shape " + std::to_string(id) + " key " + std::to_string(key) +
                                  " at " + std::to_string(range) + "/" + std::to_string(slot) +
                                  "/" + std::to_string(view) + "/" + std::to_string(cell) + "/" +
                                  std::to_string(layer) + "/" + std::to_string(keyframe);
        Shape* shape = shapes->Find(id);
        ASSERT_NE(shape, nullptr) << where;
        if (compared[{id, key}]++ == 0) shape->BuildImages(key);
        const ShapeAnimation* animation = AnimationOfSlot(*shape->ranges.at(range), slot);
        const ShapeKeyframe& frame =
            *animation->views.at(view)->cells.at(cell)->layers.at(layer)->keyframes.at(keyframe);
        GfxImage* image = frame.images.at(key);
        ASSERT_EQ(GFX_ImageWidth(image), int32_t(width)) << where;
        ASSERT_EQ(GFX_ImageHeight(image), int32_t(height)) << where;
        const uint32_t* pixels = GFX_ImagePixels(image);
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(pixels[i], expected[i])
                << where << " pixel " << i % width << "," << i / width;
    }
    EXPECT_FALSE(frames.More());
    for (const auto& [shapeAndKey, count] : compared)
        EXPECT_EQ(count, OwnedKeyframes(*shapes->Find(shapeAndKey.first)))
            << "shape " << shapeAndKey.first;

    Bytes lights(TestDataPath("sprites/sample/lights.bin"));
    for (uint32_t n = lights.Take(4); n > 0; --n) {
        const uint32_t id = lights.Take(4), index = lights.Take(1), width = lights.Take(2),
                       height = lights.Take(2);
        const ShapeLight& light = *shapes->Find(id)->lights.at(index);
        EXPECT_EQ(light.width, width);
        EXPECT_EQ(light.height, height);
        EXPECT_EQ(light.mask, lights.Pixels(size_t(width) * height))
            << "light " << index << " of " << id;
    }

    for (const auto& [shapeAndKey, count] : compared)
        shapes->Find(shapeAndKey.first)->ReleaseImages(shapeAndKey.second);
    for (const auto& [shapeAndKey, count] : compared)
        EXPECT_TRUE(shapes->Find(shapeAndKey.first)->colorCounts.empty());
    EXPECT_TRUE(shapes->Find(EveryField)->lights.at(0)->mask.empty());
}

// The 3 x 3 sprite's block is the last thing in the pixel file: reading it takes 36 bytes
// rounded up to 40, deciphered as five blocks, and leaves nothing behind.
TEST_F(FrameImagesTest, ThreeByThreeSpriteReadsFortyBytes) {
    auto shapes = Load("sample");
    Shape* tiny = shapes->Find(TinySprite);
    tiny->BuildImages(0);
    EXPECT_TRUE(shapes->shapesFile->Finished());
    const uint32_t* pixels = GFX_ImagePixels(FirstImage(*tiny, 0));
    EXPECT_EQ(pixels[31 * 32 + 31] >> 24,
              255u);  // the ninth pixel, deciphered from the padded block
    EXPECT_EQ(pixels[28 * 32 + 28], 0u);
    tiny->ReleaseImages(0);
}

TEST_F(FrameImagesTest, WideSpriteFillsTheBottomRightOfTwoTiles) {
    auto shapes = Load("sample");
    Shape* wide = shapes->Find(WideSprite);
    wide->BuildImages(0);
    GfxImage* image = FirstImage(*wide, 0);
    ASSERT_EQ(GFX_ImageWidth(image), 64);
    ASSERT_EQ(GFX_ImageHeight(image), 32);
    const uint32_t* pixels = GFX_ImagePixels(image);
    EXPECT_EQ(pixels[31 * 64 + 63] >> 24, 255u);
    EXPECT_EQ(pixels[12 * 64 + 31] >> 24, 255u);
    EXPECT_EQ(pixels[11 * 64 + 63], 0u);
    EXPECT_EQ(pixels[31 * 64 + 30], 0u);
    wide->ReleaseImages(0);
}

TEST_F(FrameImagesTest, AColourKeyBuiltTwiceNeedsTwoReleases) {
    auto shapes = Load("sample");
    Shape* wide = shapes->Find(WideSprite);
    const auto& images =
        wide->ranges[0]->slots[SlotIdle]->views[0]->cells[0]->layers[0]->keyframes[0]->images;
    wide->BuildImages(7);
    GfxImage* first = images.at(7);
    wide->BuildImages(7);
    EXPECT_EQ(images.at(7), first);  // built once
    wide->ReleaseImages(7);
    EXPECT_EQ(images.count(7), 1u);
    wide->ReleaseImages(7);
    EXPECT_EQ(images.count(7), 0u);
    wide->ReleaseImages(7);  // a key nobody holds is left alone
    EXPECT_TRUE(wide->colorCounts.empty());
}

TEST(LayOver, BlendRule) {
    EXPECT_EQ(LayOver(0x80FFFFFF, 0xFF000000), 0xFF808080u);
    EXPECT_EQ(LayOver(0xFF123456, 0xFFABCDEF), 0xFF123456u);
    EXPECT_EQ(LayOver(0x00FFFFFF, 0x00123456), 0u);
    EXPECT_EQ(LayOver(0x40FF0000, 0), 0x40FF0000u);
}

}  // namespace
