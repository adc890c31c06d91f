#pragma once
// Fragment trees: how a keyframe of a shape is drawn. Leaves fetch enciphered pixel blocks from
// "data/Veltor.shapes"; inner nodes shift, tint, layer, recolour or multiply what their children
// render. A tree renders on the CPU into a 32-bit image (0xAARRGGBB) anchored bottom-right.
#include <cstdint>
#include <memory>
#include <vector>

class FileReader;
struct ShapeLoading;

// The product of a render. x and y are the distances of the right and bottom edges from the
// anchor, leftwards and upwards; pixel (c, r) lies (x + width - 1 - c) pixels left of the anchor
// and (y + height - 1 - r) pixels above it. Rows top first; the buffer has 8 bytes of room beyond
// the pixels so that a padded block can be deciphered in place.
struct FragmentImage {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;

    // A zero-filled image; an empty one when either size is not positive.
    static FragmentImage Blank(int32_t x, int32_t y, int32_t width, int32_t height);
    // This image's pixel at column c, row r of `frame` (matched through the anchor), or null.
    const uint32_t* PixelAt(const FragmentImage& frame, int32_t c, int32_t r) const;
    uint32_t size() const { return uint32_t(width) * uint32_t(height) * 4; }
};

// The four tint colours a render passes to palette nodes.
using TintColors = uint32_t[4];

class Fragment {
public:
    virtual ~Fragment() = default;
    virtual FragmentImage Render(FileReader& shapesFile, const TintColors& tints) const = 0;
};

// Type 1: a block of width x height pixels at `offset` in the pixel file; offset 0 is empty.
class SpriteFragment : public Fragment {
public:
    FragmentImage Render(FileReader& shapesFile, const TintColors& tints) const override;

    uint32_t x = 0, y = 0, width = 0, height = 0, offset = 0;
};

// Type 2: the child moved dx pixels left and dy up.
class OffsetFragment : public Fragment {
public:
    FragmentImage Render(FileReader& shapesFile, const TintColors& tints) const override;

    std::unique_ptr<Fragment> child;
    uint32_t dx = 0, dy = 0;
};

// Type 3: every channel of the child times the same channel of `color`, / 255.
class ColorFragment : public Fragment {
public:
    FragmentImage Render(FileReader& shapesFile, const TintColors& tints) const override;

    std::unique_ptr<Fragment> child;
    uint32_t color = 0;
};

// Type 4: `above` laid over `below`, covering both.
class BlendFragment : public Fragment {
public:
    FragmentImage Render(FileReader& shapesFile, const TintColors& tints) const override;

    std::unique_ptr<Fragment> below, above;
};

// Type 5: image pixels whose mask pixel equals key i are multiplied by tint colour i.
class PaletteFragment : public Fragment {
public:
    FragmentImage Render(FileReader& shapesFile, const TintColors& tints) const override;

    std::unique_ptr<Fragment> image, mask;
    uint32_t keys[4] = {};
};

// Type 6: the two children multiplied channel by channel where they overlap.
class MixFragment : public Fragment {
public:
    FragmentImage Render(FileReader& shapesFile, const TintColors& tints) const override;

    std::unique_ptr<Fragment> first, second;
};

// Nodes from the root to the deepest leaf a tree may have.
constexpr uint32_t MaxFragmentDepth = 16;

// Reads one tree, depth first, a node before its children; null for type 0. A damaged tree
// (unknown type, too deep, a block outside the pixel file) ends loading through `loading`.
std::unique_ptr<Fragment> ReadFragment(FileReader& data, const ShapeLoading& loading,
                                       uint32_t depth = 1);

// Pixel `above` laid over pixel `below` by the blend rule (integer arithmetic).
uint32_t LayOver(uint32_t above, uint32_t below);
