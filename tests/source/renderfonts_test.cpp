#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "font.h"
#include "render.h"
#include "support/packbytes.h"
#include "support/startup.h"

namespace {

struct PackFont {
    uint16_t id;
    int16_t letterSpacing, lineHeight;
    uint16_t width, height;
    std::vector<FontGlyphRecord> glyphs;
};

std::vector<uint8_t> FontPack(uint32_t version, const std::vector<PackFont>& fonts) {
    PackBytes pack;
    pack.U32(version).U16(uint16_t(fonts.size()));
    for (const PackFont& font : fonts) {
        const size_t size = size_t(font.width) * font.height * 4;
        pack.U16(font.id).U16(uint16_t(font.letterSpacing)).U16(uint16_t(font.lineHeight));
        pack.U16(font.width).U16(font.height).Raw(PatternBytes((size + 7) / 8 * 8, font.id));
        pack.U16(uint16_t(font.glyphs.size()));
        for (const FontGlyphRecord& r : font.glyphs) {
            pack.U16(r.code)
                .U16(r.glyph.sx)
                .U16(r.glyph.sy)
                .U16(r.glyph.width1)
                .U16(r.glyph.height1)
                .U16(r.glyph.advance);
        }
    }
    return pack.bytes;
}

bool SameGlyph(const FontGlyph& a, const FontGlyph& b) { return memcmp(&a, &b, sizeof a) == 0; }

class FontPackTest : public StartedCore {
protected:
    void LoadFonts() { core->render->LoadFonts(); }
};

TEST_F(FontPackTest, RegistersEachFontAndAFilteredCopyOfFontOne) {
    const std::vector<PackFont> fonts = {
        {1, 1, 12, 3, 2, {{65, {0, 0, 4, 9, 5}}, {300, {7, 7, 7, 7, 7}}, {66, {4, 0, 3, 9, 4}}}},
        {2, -1, 16, 5, 1, {{65, {1, 1, 2, 2, 9}}}},
        {3, 0, 10, 1, 1, {}}};
    WriteDataFile("Veltor.font", FontPack(40, fonts));
    const uint32_t versionBefore = core->dataVersion;
    LoadFonts();

    EXPECT_EQ(core->dataVersion, versionBefore + 40);
    Font* one = core->GetFont(1);
    Font* filtered = core->GetFont(101);
    Font* two = core->GetFont(2);
    ASSERT_TRUE(one && filtered && two && core->GetFont(3));
    EXPECT_EQ(one->letterSpacing, 1);
    EXPECT_EQ(two->letterSpacing, -1);
    EXPECT_EQ(two->lineHeight, 16);
    // Font 101 reads font 1's glyph table even though more fonts follow it in the pack.
    EXPECT_EQ(filtered->id, 101u);
    EXPECT_EQ(filtered->lineHeight, 12);
    for (int code = 0; code < 256; ++code) {
        EXPECT_TRUE(SameGlyph(filtered->glyphs[code], one->glyphs[code])) << code;
    }
    EXPECT_EQ(one->glyphs[66].advance, 4);
    EXPECT_EQ(one->glyphs[300 & 0xFF].advance, 0);  // the record with code 300 is ignored
    // Fonts 1 and 2 sample their images as they are; the copy and other fonts filter them.
    EXPECT_EQ(one->image->flags & GfxFlagLinear, 0u);
    EXPECT_EQ(two->image->flags & GfxFlagLinear, 0u);
    EXPECT_NE(filtered->image->flags & GfxFlagLinear, 0u);
    EXPECT_NE(core->GetFont(3)->image->flags & GfxFlagLinear, 0u);
    ASSERT_NE(filtered->image, one->image);
    EXPECT_EQ(memcmp(filtered->image->pixels, one->image->pixels, 3 * 2 * 4), 0);
}

TEST_F(FontPackTest, GlyphPixelsAreDeciphered) {
    WriteDataFile("Veltor.font", FontPack(1, {{2, 0, 10, 3, 1, {}}}));
    LoadFonts();
    std::vector<uint8_t> expected = PatternBytes(16, 2);
    Render::DecipherPixels(expected.data(), 12);
    EXPECT_EQ(memcmp(core->GetFont(2)->image->pixels, expected.data(), 12), 0);
}

class BrokenFontPack : public FontPackTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(BrokenFontPack, EndsTheProgramWithTheLoadError) {
    // Cut the pack of one 3 x 1 font with two glyph records by the parameter's number of bytes:
    // into the glyph table, its count, the pixel padding and the font header.
    std::vector<uint8_t> pack =
        FontPack(1, {{1, 0, 10, 3, 1, {{65, {0, 0, 2, 2, 3}}, {66, {0, 0, 2, 2, 3}}}}});
    pack.resize(pack.size() - GetParam());
    WriteDataFile("Veltor.font", pack);
    EXPECT_THROW(LoadFonts(), ProgramExit);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Failed to load \"Veltor.font\".");
}

INSTANTIATE_TEST_SUITE_P(Cut, BrokenFontPack, ::testing::Values(1, 13, 25, 30, 40, 48));

TEST_F(FontPackTest, GeneratedFontsHoldEveryCodeOfTheCodePage) {
    CopyDataFile(VELTOR_SAMPLE_DATA "/Veltor.font", "Veltor.font");
    LoadFonts();
    for (uint32_t id : {1u, 2u, 101u}) {
        Font* font = core->GetFont(id);
        ASSERT_NE(font, nullptr) << id;
        EXPECT_GT(font->lineHeight, 0);
        for (int code = 32; code < 256; ++code) EXPECT_GT(font->glyphs[code].advance, 0) << code;
        EXPECT_GT(font->glyphs['A'].width1, 1);
    }
    EXPECT_GT(core->GetFont(2)->MeasureText("Veltor"), core->GetFont(1)->MeasureText("Veltor"));
}

}  // namespace
