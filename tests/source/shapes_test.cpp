#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "shapes.h"
#include "support/spritedata.h"

namespace {

// Shape ids of the generated corpus (tools/datagen/sprites.py).
constexpr uint32_t EveryField = 1000, CodeThree = 1001, IdleOnly = 1002, Ranges = 1008;

std::string Format(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

std::string LightText(const ShapeLight& light, const char* separator) {
    return Format("%u%s%u%s%u%s%u%s%u%s%u%s%u", light.p, separator, light.q, separator, light.r,
                  separator, light.s, separator, light.width, separator, light.height, separator,
                  light.offset);
}

// A shape as the tools' reader describes it (shapes.txt), line for line.
void Describe(const Shape& s, std::vector<std::string>& lines) {
    const bool booleans[] = {s.flagBit4,  s.flagBit5,  s.stackable,       s.flagBit6,
                             s.flagBit7,  s.hasKind,   s.hasDirectionIds, s.hasSink,
                             s.hasHeight, s.hasSpeed,  s.hasLights,       s.hasPaletteId,
                             s.flagBit13, s.flagBit14, s.flagBit30,       s.hasCodeByte};
    std::string bits;
    for (bool b : booleans) bits += b ? '1' : '0';
    lines.push_back(Format("shape %u bits0 %u bits8 %u bits10 %u ground %u booleans %s", s.id,
                           s.flagBits0, s.flagBits8, s.flagBits10, s.ground, bits.c_str()));
    std::string kinds;
    for (bool k : {s.kind1, s.kind2, s.kind3, s.kind4, s.seat}) kinds += k ? '1' : '0';
    lines.push_back(Format(" palette %u code %u %u height %u sink %u speed %u kinds %s facing %u",
                           s.paletteId, s.codeLow, s.codeHigh, s.height, s.sink, s.speed,
                           kinds.c_str(), s.facing));
    const unsigned use = s.useWith ? 1 : s.container ? 2 : s.noUseEntry ? 3 : 0;
    lines.push_back(Format(" use %u pickup %u seat %u preview %u unpicked %u avoided %u", use,
                           s.pickupClass, s.seat ? 1 : 0, s.previewShapeId, s.notPickable ? 1 : 0,
                           s.avoidedByPaths ? 1 : 0));
    std::string dirs = " dirs";
    for (uint32_t id : s.directionIds) dirs += " " + std::to_string(id);
    lines.push_back(dirs);
    for (const auto& light : s.lights) lines.push_back(" light " + LightText(*light, " "));
    static const char* const SlotNames[] = {"icon",  "idle",  "move",  "throw",
                                            "enter", "leave", "seated"};
    for (const auto& range : s.ranges) {
        std::string slots;
        std::vector<std::pair<std::string, const ShapeAnimation*>> owned;
        for (uint32_t i = 0; i < SlotCount; ++i) {
            const ShapeAnimation* animation = range->slots[i];
            if (!animation) {
                slots += " -";
            } else if (!range->borrowed[i]) {
                slots += " own";
                owned.push_back({SlotNames[i], animation});
            } else {
                uint32_t owner = 0;
                while (range->slots[owner] != animation || range->borrowed[owner]) ++owner;
                slots += " =" + std::to_string(owner);
            }
        }
        lines.push_back(Format(" range %u %u slots%s", range->first, range->last, slots.c_str()));
        for (size_t i = 0; i < range->extras.size(); ++i)
            owned.push_back({Format("extra %u id %u byte %u", unsigned(i),
                                    range->extras[i]->extraId, range->extras[i]->extraByte),
                             range->extras[i].get()});
        for (const auto& [name, animation] : owned) {
            lines.push_back("  " + name);
            for (const auto& view : animation->views) {
                lines.push_back(Format("   view %u %u", view->width, view->height));
                for (const auto& cell : view->cells) {
                    std::string groups;
                    for (const auto& group : cell->lightGroups) {
                        groups += " " + std::to_string(group.key) + ":";
                        for (size_t l = 0; l < group.lights.size(); ++l)
                            groups += (l ? "," : "") + LightText(group.lights[l], "/");
                    }
                    lines.push_back(Format("    cell groups %u%s",
                                           unsigned(cell->lightGroups.size()), groups.c_str()));
                    for (const auto& layer : cell->layers) {
                        const unsigned flags = layer->flagBit0 | layer->flagBit1 << 1 |
                                               layer->flagBit2 << 2 | layer->outlineOnly << 3;
                        std::string frames;
                        for (const auto& keyframe : layer->keyframes)
                            frames += " " + std::to_string(keyframe->duration) +
                                      (keyframe->fragment ? "" : "n");
                        lines.push_back(Format("     layer flags %u last %u total %u frames%s",
                                               flags, layer->last ? 1 : 0, layer->totalDuration,
                                               frames.c_str()));
                    }
                }
            }
        }
    }
}

using ShapesTest = SpriteData;

TEST_F(ShapesTest, EveryRecordReadsAsTheToolsReadIt) {
    const uint32_t before = core->dataVersion;
    auto shapes = Load("sample");
    std::string header;
    for (uint32_t value : shapes->header) header += " " + std::to_string(value);
    std::vector<std::string> lines = {
        Format("version %u header%s", core->dataVersion - before, header.c_str())};
    for (const auto& entry : shapes->table) Describe(*entry.second, lines);
    const std::vector<std::string> expected = ReadLines(TestDataPath("sprites/sample/shapes.txt"));
    ASSERT_GT(expected.size(), 100u);
    for (size_t i = 0; i < std::min(lines.size(), expected.size()); ++i)
        ASSERT_EQ(lines[i], expected[i]) << "line " << i + 1 << " of shapes.txt";
    EXPECT_EQ(lines.size(), expected.size());
}

TEST_F(ShapesTest, HeaderWithoutRecordsGivesAnEmptyTableAndCountsBothRevisions) {
    const uint32_t before = core->dataVersion;
    auto shapes = Load("empty");
    EXPECT_TRUE(shapes->table.empty());
    EXPECT_EQ(core->dataVersion - before, 11u + 22u);
    EXPECT_EQ(shapes->GetHeaderValue(0), 3u);
    EXPECT_EQ(shapes->GetHeaderValue(2), 7u);
    EXPECT_EQ(shapes->GetHeaderValue(3), 0u);
    EXPECT_EQ(shapes->GetHeaderValue(0xFFFFFFFF), 0u);
}

TEST_F(ShapesTest, AFileOfWholeBufferPagesLoads) {
    ASSERT_EQ(
        std::filesystem::file_size(TestDataPath("sprites/page-sized/data/Veltor.data")) % 4096, 0u);
    auto shapes = Load("page-sized");
    EXPECT_NE(shapes->Find(EveryField), nullptr);
    EXPECT_NE(shapes->Find(9999), nullptr);
}

TEST_F(ShapesTest, RangesCoverCountsInFileOrder) {
    auto shapes = Load("sample");
    const Shape* single = shapes->Find(IdleOnly);
    ASSERT_EQ(single->ranges.size(), 1u);
    for (uint32_t count : {0u, 1u, 255u, 256u, 32767u})
        EXPECT_EQ(single->FindEntry(count), single->ranges[0].get());
    EXPECT_EQ(single->FindEntry(32768), nullptr);

    // Ranges 0-0, 1-9, 10-5 (covers nothing) and 6-32767.
    const Shape* ranges = shapes->Find(Ranges);
    ASSERT_EQ(ranges->ranges.size(), 4u);
    EXPECT_EQ(ranges->FindEntry(0), ranges->ranges[0].get());
    EXPECT_EQ(ranges->FindEntry(5), ranges->ranges[1].get());
    EXPECT_EQ(ranges->FindEntry(10), ranges->ranges[3].get());
    EXPECT_EQ(ranges->FindEntry(40000), nullptr);
}

TEST_F(ShapesTest, IdleOnlyRangeLendsItsAnimationToTheOtherSlots) {
    auto shapes = Load("sample");
    const ShapeRange& range = *shapes->Find(IdleOnly)->ranges[0];
    const ShapeAnimation* idle = range.slots[SlotIdle];
    ASSERT_NE(idle, nullptr);
    EXPECT_FALSE(range.borrowed[SlotIdle]);
    for (uint32_t slot : {SlotIcon, SlotMove, SlotThrow, SlotSeated}) {
        EXPECT_EQ(range.slots[slot], idle) << slot;
        EXPECT_TRUE(range.borrowed[slot]) << slot;
    }
    EXPECT_EQ(range.slots[SlotEnter], nullptr);
    EXPECT_EQ(range.slots[SlotLeave], nullptr);
    shapes.reset();  // a borrowed slot deleted a second time would corrupt the heap here
}

TEST_F(ShapesTest, CodeByteSplitsIntoLowAndHighParts) {
    auto shapes = Load("sample");
    EXPECT_EQ(shapes->Find(CodeThree)->codeLow, 3u);
    EXPECT_EQ(shapes->Find(CodeThree)->codeHigh, 32u);
    EXPECT_EQ(shapes->Find(EveryField)->codeLow, 4u);
    EXPECT_EQ(shapes->Find(EveryField)->codeHigh, 1u);
    EXPECT_EQ(shapes->Find(IdleOnly)->codeHigh, 32u);
}

TEST_F(ShapesTest, ShapeLookupThroughTheCore) {
    auto shapes = Load("sample");
    Shapes* startUpShapes = core->shapes;
    core->shapes = shapes.get();
    EXPECT_EQ(core->GetShape(IdleOnly)->id, IdleOnly);
    EXPECT_EQ(core->GetShape(4242), nullptr);
    Shape* applied = core->ApplyToShape(IdleOnly, 5);
    EXPECT_EQ(applied->colorCounts.at(5), 1u);
    applied->ReleaseImages(5);
    EXPECT_EQ(core->ApplyToShape(4242, 5), nullptr);
    core->shapes = startUpShapes;
}

struct DamagedFile {
    const char* name;
    const char* message;
};

class DamagedFileTest : public SpriteData, public ::testing::WithParamInterface<DamagedFile> {};

TEST_P(DamagedFileTest, EndsLoadingWithAnErrorBox) {
    EXPECT_EQ(LoadFailure(GetParam().name), GetParam().message);
}

const DamagedFile DamagedFiles[] = {
    {"tag-8", "Failed to load \"data/Veltor.data\": unknown animation tag 8 in shape 7."},
    {"tag-254", "Failed to load \"data/Veltor.data\": unknown animation tag 254 in shape 7."},
    {"fragment-7", "Failed to load \"data/Veltor.data\": unknown fragment type 7 in shape 7."},
    {"fragment-255", "Failed to load \"data/Veltor.data\": unknown fragment type 255 in shape 7."},
    {"palette-2", "Failed to load \"data/Veltor.data\": unknown palette id 2 in shape 7."},
    {"repeated-idle",
     "Failed to load \"data/Veltor.data\": animation tag 1 repeated (anim_idle == NULL) in shape 7."},
    {"deep-tree", "Failed to load \"data/Veltor.data\": fragment tree deeper than 16 in shape 7."},
    {"sprite-past-end",
     "Failed to load \"data/Veltor.shapes\": sprite block past the end of the file in shape 7."},
    {"sprite-padding-past-end",
     "Failed to load \"data/Veltor.shapes\": sprite block past the end of the file in shape 7."},
    {"sprite-far-away",
     "Failed to load \"data/Veltor.shapes\": sprite block past the end of the file in shape 7."},
    {"light-past-end",
     "Failed to load \"data/Veltor.shapes\": light mask past the end of the file in shape 7."},
    {"truncated", "Failed to read \"data/Veltor.data\": !eof"},
};

INSTANTIATE_TEST_SUITE_P(EveryFault, DamagedFileTest, ::testing::ValuesIn(DamagedFiles),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

}  // namespace
