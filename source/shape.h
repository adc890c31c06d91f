#pragma once
// One record of the sprite data: a shape's option flags, its palette, its ranges of animations
// and the light masks it emits, with the frame images built per colour key while in use.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fragment.h"

class Core;
class FileReader;
class Palette;
class Palettes;
struct GfxImage;

extern const char* const DataFileName;    // "data/Veltor.data"
extern const char* const ShapesFileName;  // "data/Veltor.shapes"

// What reading records needs besides the reader: where a damaged file is reported, and the size
// of the pixel file that sprite blocks and light masks must lie in.
struct ShapeLoading {
    Core* core;
    uint64_t pixelFileSize;
    uint32_t shapeId;  // the record being read

    // Ends loading with "Failed to load "<file>": <fault> in shape <id>.".
    [[noreturn]] void Fail(const char* file, const std::string& fault) const;
};

// One light mask record: the bytes p, q, r and s, the mask size and the offset of its inner
// pixels in the pixel file; `mask` holds width x height pixels while built.
struct ShapeLight {
    uint8_t p = 0, q = 0;
    uint32_t r = 0, s = 0;
    uint32_t width = 0, height = 0;
    uint32_t offset = 0;
    std::vector<uint32_t> mask;
};

struct ShapeLightGroup {
    uint16_t key = 0;
    std::vector<ShapeLight> lights;
};

struct ShapeKeyframe {
    ShapeKeyframe() = default;
    ShapeKeyframe(const ShapeKeyframe&) = delete;
    ShapeKeyframe& operator=(const ShapeKeyframe&) = delete;
    ~ShapeKeyframe();

    uint32_t duration = 0;
    std::unique_ptr<Fragment> fragment;
    std::map<uint32_t, GfxImage*> images;  // by colour key, owned
};

struct ShapeLayer {
    bool flagBit0 = false, flagBit1 = false, flagBit2 = false;
    bool outlineOnly = false;  // flag bit 3: only its outline is drawn
    bool last = false;         // flag bit 7: the cell's last layer
    uint32_t totalDuration = 0;
    std::vector<std::unique_ptr<ShapeKeyframe>> keyframes;
};

struct ShapeCell {
    std::vector<ShapeLightGroup> lightGroups;
    std::vector<std::unique_ptr<ShapeLayer>> layers;
};

// Cells repeat over the map: the cell of map position (x, y) is CellAt(x, y).
struct ShapeView {
    uint32_t width = 0, height = 0;
    std::vector<std::unique_ptr<ShapeCell>> cells;

    ShapeCell* CellAt(uint32_t x, uint32_t y) const {
        return cells[(y % height) * width + x % width].get();
    }
};

struct ShapeAnimation {
    uint32_t extraId = 0;
    uint8_t extraByte = 0;
    std::vector<std::unique_ptr<ShapeView>> views;

    ShapeView* ViewAt(uint32_t z) const { return views[z % views.size()].get(); }
};

// The animation slots of a range, in tag order (tag 7 is the seated slot).
enum AnimationSlot : uint32_t {
    SlotIcon,
    SlotIdle,
    SlotMove,
    SlotThrow,
    SlotEnter,
    SlotLeave,
    SlotSeated,
    SlotCount
};

// The animations of one range of the selector value (an item's count; 0 for creatures).
struct ShapeRange {
    ShapeRange() = default;
    ShapeRange(const ShapeRange&) = delete;
    ShapeRange& operator=(const ShapeRange&) = delete;
    ~ShapeRange();

    bool Covers(uint32_t value) const { return first <= value && value <= last; }

    uint8_t first = 0;
    uint16_t last = 0;
    ShapeAnimation* slots[SlotCount] = {};
    std::vector<std::unique_ptr<ShapeAnimation>> extras;
    bool borrowed[SlotCount] = {};  // the slot holds another slot's animation (fall-backs)
};

class Shape {
public:
    // Reads one record from the data reader.
    Shape(FileReader& data, FileReader* shapesFile, Palettes* palettes, ShapeLoading& loading);
    virtual ~Shape();
    Shape(const Shape&) = delete;
    Shape& operator=(const Shape&) = delete;

    // The first range that covers the value, or null.
    ShapeRange* FindEntry(uint32_t value) const;

    // Counted images and light masks: built on the first use of a colour key, freed when its
    // last user releases it.
    void BuildImages(uint32_t colorKey);
    void ReleaseImages(uint32_t colorKey);
    void LoadLights();
    void ReleaseLights();

    FileReader* shapesFile;
    Palettes* palettes;
    const Palette* palette = nullptr;
    uint8_t flagBits10 = 0;
    uint8_t flagBits8 = 0;
    uint8_t ground = 0;
    bool flagBit4 = false, flagBit5 = false, stackable = false, flagBit6 = false, flagBit7 = false;
    bool hasKind = false, hasDirectionIds = false, hasSink = false, hasHeight = false,
         hasSpeed = false;
    bool hasLights = false, hasPaletteId = false, flagBit13 = false, flagBit14 = false;
    bool flagBit30 = false, hasCodeByte = false;
    uint8_t flagBits0 = 0;
    uint8_t height = 0;
    uint8_t sink = 0;
    uint32_t codeLow = 0;
    uint8_t codeHigh = 32;
    bool kind1 = false, kind2 = false, kind3 = false, kind4 = false, seat = false;
    uint32_t id = 0;
    uint32_t directionIds[8] = {};
    uint8_t speed = 100;
    uint8_t paletteId = 0;
    uint32_t facing = 0;
    std::vector<std::unique_ptr<ShapeRange>> ranges;
    std::vector<std::unique_ptr<ShapeLight>> lights;
    std::map<uint32_t, uint32_t> colorCounts;
    uint32_t lightCounter = 0;

    // What the game makes of the flag fields, decided once here (and in the tools' shapeflags
    // table): bits 0-1 say how the thing is used, bits 8-9 are its pickup class.
    bool useWith = false;         // bits 0-1 = 1: used on a target
    bool container = false;       // bits 0-1 = 2: opens as a container
    bool noUseEntry = false;      // bits 0-1 = 3: no "Use" entry when climbable
    uint8_t pickupClass = 0;      // bits 8-9: not 0 when it can be picked up
    bool hasPalette = false;      // bit 2: several palettes, a sub-id follows on the wire
    uint32_t seatDirection = 0;   // the facing of a seat; 255 keeps the direction
    uint32_t previewShapeId = 0;  // direction id 4: the shape a creature preview shows
    bool notPickable = false;     // bit 6: picking on the game field passes over it
    bool avoidedByPaths = false;  // bit 30: the path search goes round it

private:
    void ReadFlags(uint32_t word);
    void ApplyFlagMeanings();
    std::unique_ptr<ShapeRange> ReadRange(FileReader& data, uint8_t first,
                                          const ShapeLoading& loading);
    std::unique_ptr<ShapeAnimation> ReadAnimation(FileReader& data, const ShapeLoading& loading);
    std::unique_ptr<ShapeCell> ReadCell(FileReader& data, const ShapeLoading& loading);
    void BuildKeyframeImage(ShapeKeyframe& keyframe, uint32_t colorKey, const TintColors& tints);
    template <typename Visit>
    void ForEachOwnedKeyframe(Visit visit);
};
