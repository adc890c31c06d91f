#include "fragment.h"

#include <algorithm>
#include <string>

#include "driver/gfxcore.h"
#include "fileio.h"
#include "render.h"
#include "shape.h"

FragmentImage FragmentImage::Blank(int32_t x, int32_t y, int32_t width, int32_t height) {
    FragmentImage image;
    image.x = x;
    image.y = y;
    image.width = width;
    image.height = height;
    if (width > 0 && height > 0) image.pixels.assign(size_t(width) * size_t(height) + 2, 0);
    return image;
}

const uint32_t* FragmentImage::PixelAt(const FragmentImage& frame, int32_t c, int32_t r) const {
    const int32_t column = c - (frame.x + frame.width) + (x + width);
    const int32_t row = r - (frame.y + frame.height) + (y + height);
    if (column < 0 || column >= width || row < 0 || row >= height) return nullptr;
    return &pixels[size_t(row) * size_t(width) + size_t(column)];
}

uint32_t LayOver(uint32_t above, uint32_t below) {
    const uint32_t pa = above >> 24, qa = below >> 24;
    const uint32_t wa = pa * 255, wb = qa * (255 - pa), sum = wa + wb;
    const uint32_t alpha = sum / 255;
    if (alpha == 0) return 0;
    uint32_t result = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t p = (above >> shift) & 255, q = (below >> shift) & 255;
        result |= ((q * wb + p * wa) / sum) << shift;
    }
    return result;
}

FragmentImage SpriteFragment::Render(FileReader& shapesFile, const TintColors&) const {
    if (offset == 0) return FragmentImage();
    FragmentImage image =
        FragmentImage::Blank(int32_t(x), int32_t(y), int32_t(width), int32_t(height));
    const uint32_t padded = (image.size() + 7) & ~7u;
    shapesFile.Seek(offset);
    shapesFile.ReadBytes(image.pixels.data(), padded);
    ::Render::DecipherPixels(reinterpret_cast<uint8_t*>(image.pixels.data()), image.size());
    return image;
}

FragmentImage OffsetFragment::Render(FileReader& shapesFile, const TintColors& tints) const {
    if (!child) return FragmentImage();
    FragmentImage image = child->Render(shapesFile, tints);
    image.x += int32_t(dx);
    image.y += int32_t(dy);
    return image;
}

FragmentImage ColorFragment::Render(FileReader& shapesFile, const TintColors& tints) const {
    if (!child) return FragmentImage();
    FragmentImage image = child->Render(shapesFile, tints);
    const size_t count = size_t(image.width) * size_t(image.height);
    for (size_t i = 0; i < count; ++i) image.pixels[i] = GFX_MultiplyColor(image.pixels[i], color);
    return image;
}

FragmentImage BlendFragment::Render(FileReader& shapesFile, const TintColors& tints) const {
    if (!below || !above) {
        const Fragment* only = below ? below.get() : above.get();
        return only ? only->Render(shapesFile, tints) : FragmentImage();
    }
    const FragmentImage under = below->Render(shapesFile, tints);
    const FragmentImage over = above->Render(shapesFile, tints);
    const int32_t x = std::min(under.x, over.x), y = std::min(under.y, over.y);
    FragmentImage result =
        FragmentImage::Blank(x, y, std::max(under.x + under.width, over.x + over.width) - x,
                             std::max(under.y + under.height, over.y + over.height) - y);
    for (int32_t r = 0; r < result.height; ++r) {
        for (int32_t c = 0; c < result.width; ++c) {
            const uint32_t* p = over.PixelAt(result, c, r);
            const uint32_t* q = under.PixelAt(result, c, r);
            uint32_t& out = result.pixels[size_t(r) * size_t(result.width) + size_t(c)];
            if (p) out = LayOver(*p, q ? *q : 0);
            else if (q) out = *q;
        }
    }
    return result;
}

FragmentImage PaletteFragment::Render(FileReader& shapesFile, const TintColors& tints) const {
    if (!image || !mask) {
        const Fragment* only = image ? image.get() : mask.get();
        return only ? only->Render(shapesFile, tints) : FragmentImage();
    }
    FragmentImage result = image->Render(shapesFile, tints);
    const FragmentImage marks = mask->Render(shapesFile, tints);
    for (int32_t r = 0; r < result.height; ++r) {
        for (int32_t c = 0; c < result.width; ++c) {
            const uint32_t* mark = marks.PixelAt(result, c, r);
            if (!mark) continue;
            uint32_t& pixel = result.pixels[size_t(r) * size_t(result.width) + size_t(c)];
            for (int i = 0; i < 4; ++i)
                if (*mark == keys[i]) pixel = GFX_MultiplyColor(pixel, tints[i]);
        }
    }
    return result;
}

FragmentImage MixFragment::Render(FileReader& shapesFile, const TintColors& tints) const {
    if (!first || !second) return FragmentImage();
    const FragmentImage a = first->Render(shapesFile, tints);
    const FragmentImage b = second->Render(shapesFile, tints);
    const int32_t x = std::max(a.x, b.x), y = std::max(a.y, b.y);
    const int32_t width = std::min(a.x + a.width, b.x + b.width) - x;
    const int32_t height = std::min(a.y + a.height, b.y + b.height) - y;
    if (width <= 0 || height <= 0) return FragmentImage();
    FragmentImage result = FragmentImage::Blank(x, y, width, height);
    for (int32_t r = 0; r < height; ++r)
        for (int32_t c = 0; c < width; ++c)
            result.pixels[size_t(r) * size_t(width) + size_t(c)] =
                GFX_MultiplyColor(*a.PixelAt(result, c, r), *b.PixelAt(result, c, r));
    return result;
}

namespace {

std::unique_ptr<Fragment> ReadSprite(FileReader& data, const ShapeLoading& loading) {
    auto sprite = std::make_unique<SpriteFragment>();
    sprite->offset = data.ReadU32();
    if (sprite->offset == 0) return sprite;
    sprite->x = data.ReadU8();
    sprite->y = data.ReadU8();
    sprite->width = data.ReadU8() + 1u;
    sprite->height = data.ReadU8() + 1u;
    const uint64_t padded = (uint64_t(sprite->width) * sprite->height * 4 + 7) & ~uint64_t(7);
    if (sprite->offset + padded > loading.pixelFileSize)
        loading.Fail(ShapesFileName, "sprite block past the end of the file");
    return sprite;
}

}  // namespace

std::unique_ptr<Fragment> ReadFragment(FileReader& data, const ShapeLoading& loading,
                                       uint32_t depth) {
    const uint8_t type = data.ReadU8();
    if (type == 0) return nullptr;
    if (depth > MaxFragmentDepth)
        loading.Fail(DataFileName, "fragment tree deeper than " + std::to_string(MaxFragmentDepth));
    switch (type) {
        case 1: return ReadSprite(data, loading);
        case 2: {
            auto node = std::make_unique<OffsetFragment>();
            node->dx = data.ReadU8();
            node->dy = data.ReadU8();
            node->child = ReadFragment(data, loading, depth + 1);
            return node;
        }
        case 3: {
            auto node = std::make_unique<ColorFragment>();
            node->color = data.ReadU32();
            node->child = ReadFragment(data, loading, depth + 1);
            return node;
        }
        case 4: {
            auto node = std::make_unique<BlendFragment>();
            node->below = ReadFragment(data, loading, depth + 1);
            node->above = ReadFragment(data, loading, depth + 1);
            return node;
        }
        case 5: {
            auto node = std::make_unique<PaletteFragment>();
            for (uint32_t& key : node->keys) key = data.ReadU32();
            node->image = ReadFragment(data, loading, depth + 1);
            node->mask = ReadFragment(data, loading, depth + 1);
            return node;
        }
        case 6: {
            auto node = std::make_unique<MixFragment>();
            node->first = ReadFragment(data, loading, depth + 1);
            node->second = ReadFragment(data, loading, depth + 1);
            return node;
        }
        default: loading.Fail(DataFileName, "unknown fragment type " + std::to_string(type));
    }
}
