#include "shape.h"

#include <algorithm>

#include "core.h"
#include "driver/gfxcore.h"
#include "fileio.h"
#include "palettes.h"

const char* const DataFileName = "data/Veltor.data";
const char* const ShapesFileName = "data/Veltor.shapes";

namespace {

constexpr uint8_t TagExtra = 6;
constexpr uint8_t TagSeated = 7;
constexpr uint8_t TagEnd = 255;
constexpr uint8_t StoredOpenLast = 255;
constexpr uint16_t OpenLast = 32767;
constexpr uint32_t DefaultPaletteId = 1;
constexpr uint32_t MaskBorder = 0xFF000000;

// The check a repeated tag fails, named after the slot it would fill twice.
const char* const RepeatedSlotChecks[SlotCount] = {"anim_icon == NULL",   "anim_idle == NULL",
                                                   "anim_move == NULL",   "anim_throw == NULL",
                                                   "anim_enter == NULL",  "anim_leave == NULL",
                                                   "anim_sitting == NULL"};

bool Bit(uint32_t word, int bit) { return (word >> bit) & 1; }

uint32_t RoundUpToTile(int32_t size) {
    return std::max<uint32_t>(32, (uint32_t(size) + 31) & ~31u);
}

ShapeLight ReadLight(FileReader& data) {
    ShapeLight light;
    light.p = data.ReadU8();
    light.q = data.ReadU8();
    light.r = data.ReadU8() + 1u;
    light.s = data.ReadU8() + 1u;
    light.width = data.ReadU8() + 3u;
    light.height = data.ReadU8() + 3u;
    light.offset = data.ReadU32();
    return light;
}

}  // namespace

void ShapeLoading::Fail(const char* file, const std::string& fault) const {
    core->FatalError(std::string("Failed to load \"") + file + "\": " + fault + " in shape " +
                     std::to_string(shapeId) + ".");
}

ShapeKeyframe::~ShapeKeyframe() {
    for (auto& entry : images) GFX_DeleteImage(entry.second);
}

ShapeRange::~ShapeRange() {
    for (uint32_t slot = 0; slot < SlotCount; ++slot)
        if (!borrowed[slot]) delete slots[slot];
}

Shape::Shape(FileReader& data, FileReader* shapesFile, Palettes* palettes, ShapeLoading& loading)
    : shapesFile(shapesFile), palettes(palettes) {
    id = data.ReadU32();
    loading.shapeId = id;
    ReadFlags(data.ReadU32());
    if (hasPaletteId) paletteId = data.ReadU8();
    palette = palettes->Find(hasPaletteId ? paletteId : DefaultPaletteId);
    if (!palette) loading.Fail(DataFileName, "unknown palette id " + std::to_string(paletteId));
    if (hasCodeByte) {
        const uint8_t code = data.ReadU8();
        codeLow = code & 7;
        codeHigh = code < 4 ? 32 : code >> 2;
    }
    if (hasHeight) height = data.ReadU8();
    if (hasSink) sink = data.ReadU8();
    if (hasSpeed) speed = data.ReadU8();
    for (uint32_t& directionId : directionIds) directionId = hasDirectionIds ? data.ReadU32() : id;
    if (hasKind) {
        const uint8_t kind = data.ReadU8();
        kind1 = kind == 1;
        kind2 = kind == 2;
        kind3 = kind == 3;
        kind4 = kind == 4;
        seat = kind == 5;
    }
    if (hasLights) {
        const uint8_t count = data.ReadU8();
        for (uint8_t i = 0; i < count; ++i) {
            auto light = std::make_unique<ShapeLight>(ReadLight(data));
            const uint64_t stored = uint64_t(light->width - 2) * (light->height - 2) * 4;
            if (light->offset + stored > loading.pixelFileSize)
                loading.Fail(ShapesFileName, "light mask past the end of the file");
            lights.push_back(std::move(light));
        }
    }
    facing = data.ReadU8();
    uint8_t first = 0;
    do {
        ranges.push_back(ReadRange(data, first, loading));
        first = uint8_t(ranges.back()->last + 1);
    } while (ranges.back()->last != OpenLast);
    ApplyFlagMeanings();
}

Shape::~Shape() = default;

void Shape::ReadFlags(uint32_t word) {
    flagBits0 = word & 3;
    hasPaletteId = Bit(word, 2);
    stackable = Bit(word, 3);
    flagBit4 = Bit(word, 4);
    flagBit5 = Bit(word, 5);
    flagBit6 = Bit(word, 6);
    flagBit7 = Bit(word, 7);
    flagBits8 = (word >> 8) & 3;
    flagBits10 = (word >> 10) & 3;
    ground = Bit(word, 12);
    flagBit13 = Bit(word, 13);
    flagBit14 = Bit(word, 14);
    hasCodeByte = Bit(word, 15);
    hasSink = Bit(word, 23);
    hasHeight = Bit(word, 24);
    hasSpeed = Bit(word, 25);
    hasDirectionIds = Bit(word, 26);
    hasLights = Bit(word, 27);
    hasKind = Bit(word, 28);
    flagBit30 = Bit(word, 30);
}

// The one place that gives the flag fields their meanings in the game; the tools' shapeflags
// table says the same.
void Shape::ApplyFlagMeanings() {
    useWith = flagBits0 == 1;
    container = flagBits0 == 2;
    noUseEntry = flagBits0 == 3;
    pickupClass = flagBits8;
    hasPalette = hasPaletteId;
    seatDirection = facing;
    previewShapeId = directionIds[4];
    notPickable = flagBit6;
    avoidedByPaths = flagBit30;
}

std::unique_ptr<ShapeRange> Shape::ReadRange(FileReader& data, uint8_t first,
                                             const ShapeLoading& loading) {
    auto range = std::make_unique<ShapeRange>();
    range->first = first;
    const uint8_t stored = data.ReadU8();
    range->last = stored == StoredOpenLast ? OpenLast : stored;
    for (uint8_t tag = data.ReadU8(); tag != TagEnd; tag = data.ReadU8()) {
        if (tag == TagExtra) {
            const uint32_t extraId = data.ReadU32();
            const uint8_t extraByte = data.ReadU8();
            range->extras.push_back(ReadAnimation(data, loading));
            range->extras.back()->extraId = extraId;
            range->extras.back()->extraByte = extraByte;
            continue;
        }
        if (tag > TagSeated)
            loading.Fail(DataFileName, "unknown animation tag " + std::to_string(tag));
        const uint32_t slot = tag == TagSeated ? uint32_t(SlotSeated) : tag;
        if (range->slots[slot])
            loading.Fail(DataFileName, "animation tag " + std::to_string(tag) + " repeated (" +
                                           RepeatedSlotChecks[slot] + ")");
        range->slots[slot] = ReadAnimation(data, loading).release();
    }
    ShapeAnimation** slots = range->slots;
    auto borrow = [&](AnimationSlot to, AnimationSlot from) {
        if (slots[to] || !slots[from]) return;
        slots[to] = slots[from];
        range->borrowed[to] = true;
    };
    borrow(SlotIcon, SlotIdle);
    borrow(SlotIdle, SlotIcon);
    borrow(SlotMove, slots[SlotThrow] ? SlotThrow : SlotIdle);
    borrow(SlotThrow, slots[SlotMove] ? SlotMove : SlotIdle);
    borrow(SlotSeated, SlotIdle);
    return range;
}

std::unique_ptr<ShapeAnimation> Shape::ReadAnimation(FileReader& data,
                                                     const ShapeLoading& loading) {
    auto animation = std::make_unique<ShapeAnimation>();
    const uint32_t viewCount = data.ReadU8() + 1u;
    for (uint32_t v = 0; v < viewCount; ++v) {
        auto view = std::make_unique<ShapeView>();
        view->width = data.ReadU8() + 1u;
        view->height = data.ReadU8() + 1u;
        for (uint32_t c = 0; c < view->width * view->height; ++c)
            view->cells.push_back(ReadCell(data, loading));
        animation->views.push_back(std::move(view));
    }
    return animation;
}

std::unique_ptr<ShapeCell> Shape::ReadCell(FileReader& data, const ShapeLoading& loading) {
    auto cell = std::make_unique<ShapeCell>();
    if (hasLights) {
        const uint8_t groups = data.ReadU8();
        for (uint8_t g = 0; g < groups; ++g) {
            ShapeLightGroup group;
            group.key = data.ReadU16();
            const uint8_t count = data.ReadU8();
            for (uint8_t i = 0; i < count; ++i) group.lights.push_back(ReadLight(data));
            cell->lightGroups.push_back(std::move(group));
        }
    }
    do {
        auto layer = std::make_unique<ShapeLayer>();
        const uint8_t flags = data.ReadU8();
        layer->flagBit0 = Bit(flags, 0);
        layer->flagBit1 = Bit(flags, 1);
        layer->flagBit2 = Bit(flags, 2);
        layer->outlineOnly = Bit(flags, 3);
        layer->last = Bit(flags, 7);
        const uint8_t count = data.ReadU8();
        for (uint8_t k = 0; k < count; ++k) {
            auto keyframe = std::make_unique<ShapeKeyframe>();
            keyframe->duration = data.ReadU16();
            keyframe->fragment = ReadFragment(data, loading);
            layer->totalDuration += keyframe->duration;
            layer->keyframes.push_back(std::move(keyframe));
        }
        cell->layers.push_back(std::move(layer));
    } while (!cell->layers.back()->last);
    return cell;
}

ShapeRange* Shape::FindEntry(uint32_t value) const {
    for (const auto& range : ranges)
        if (range->Covers(value)) return range.get();
    return nullptr;
}

// Every keyframe that owns its images: borrowed slots are skipped, extras included.
template <typename Visit>
void Shape::ForEachOwnedKeyframe(Visit visit) {
    for (const auto& range : ranges) {
        std::vector<ShapeAnimation*> animations;
        for (uint32_t slot = 0; slot < SlotCount; ++slot)
            if (range->slots[slot] && !range->borrowed[slot])
                animations.push_back(range->slots[slot]);
        for (const auto& extra : range->extras) animations.push_back(extra.get());
        for (ShapeAnimation* animation : animations)
            for (const auto& view : animation->views)
                for (const auto& cell : view->cells)
                    for (const auto& layer : cell->layers)
                        for (const auto& keyframe : layer->keyframes) visit(*keyframe);
    }
}

void Shape::BuildImages(uint32_t colorKey) {
    if (!colorCounts.count(colorKey)) {
        const uint8_t mask = palette->indexMask;
        const TintColors tints = {palette->colors[colorKey & mask],
                                  palette->colors[(colorKey >> 8) & mask],
                                  palette->colors[(colorKey >> 16) & mask],
                                  palette->colors[(colorKey >> 24) & mask]};
        ForEachOwnedKeyframe(
            [&](ShapeKeyframe& keyframe) { BuildKeyframeImage(keyframe, colorKey, tints); });
    }
    ++colorCounts[colorKey];
    if (hasLights) LoadLights();
}

void Shape::BuildKeyframeImage(ShapeKeyframe& keyframe, uint32_t colorKey,
                               const TintColors& tints) {
    auto stored = keyframe.images.find(colorKey);
    if (stored != keyframe.images.end()) {
        GFX_DeleteImage(stored->second);
        keyframe.images.erase(stored);
    }
    if (!keyframe.fragment) {
        keyframe.images[colorKey] = GFX_CreateImage(1, 1, nullptr, 4, GfxFlagLinear, 0);
        return;
    }
    const FragmentImage f = keyframe.fragment->Render(*shapesFile, tints);
    const uint32_t width = RoundUpToTile(f.x + f.width), height = RoundUpToTile(f.y + f.height);
    std::vector<uint32_t> pixels(size_t(width) * height, 0);
    const uint32_t left = width - uint32_t(f.width) - uint32_t(f.x);
    const uint32_t top = height - uint32_t(f.height) - uint32_t(f.y);
    for (int32_t r = 0; r < f.height; ++r)
        std::copy_n(&f.pixels[size_t(r) * size_t(f.width)], f.width,
                    &pixels[(top + r) * size_t(width) + left]);
    keyframe.images[colorKey] = GFX_CreateImage(int32_t(width), int32_t(height), pixels.data(),
                                                int32_t(width * 4), GfxFlagLinear, 0);
}

void Shape::ReleaseImages(uint32_t colorKey) {
    auto counted = colorCounts.find(colorKey);
    if (counted == colorCounts.end()) return;  // "counter[color]": nothing of this key was built
    if (--counted->second == 0) {
        colorCounts.erase(counted);
        ForEachOwnedKeyframe([colorKey](ShapeKeyframe& keyframe) {
            auto image = keyframe.images.find(colorKey);
            if (image == keyframe.images.end()) return;
            GFX_DeleteImage(image->second);
            keyframe.images.erase(image);
        });
    }
    if (hasLights) ReleaseLights();
}

void Shape::LoadLights() {
    if (lightCounter++ > 0) return;
    for (const auto& light : lights) {
        light->mask.assign(size_t(light->width) * light->height, MaskBorder);
        shapesFile->Seek(light->offset);
        for (uint32_t row = 1; row + 1 < light->height; ++row)
            shapesFile->ReadBytes(&light->mask[row * light->width + 1], (light->width - 2) * 4);
    }
}

void Shape::ReleaseLights() {
    if (lightCounter == 0) return;  // "light_counter": no user holds the masks
    if (--lightCounter > 0) return;
    for (const auto& light : lights) std::vector<uint32_t>().swap(light->mask);
}
