#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "render.h"
#include "support/packbytes.h"
#include "support/startup.h"

namespace {

struct SkinImage {
    uint16_t id, width, height;
};

// A pack with a block of pattern bytes per image as its "enciphered" pixels. The key stays inside
// the client: the expected pixels are what Render::DecipherPixels makes of the same bytes.
std::vector<uint8_t> SkinPack(uint32_t version, const std::vector<SkinImage>& images) {
    PackBytes pack;
    pack.U32(version).U16(uint16_t(images.size()));
    for (const SkinImage& image : images) {
        const size_t size = size_t(image.width) * image.height * 4;
        pack.U16(image.id).U16(image.width).U16(image.height);
        pack.Raw(PatternBytes((size + 7) / 8 * 8, image.id));
    }
    return pack.bytes;
}

std::vector<uint8_t> ExpectedPixels(const SkinImage& image) {
    const size_t size = size_t(image.width) * image.height * 4;
    std::vector<uint8_t> block = PatternBytes((size + 7) / 8 * 8, image.id);
    Render::DecipherPixels(block.data(), uint32_t(size));
    block.resize(size);
    return block;
}

uint32_t PixelAt(const GfxImage* image, int x, int y) {
    return image->pixels[y * image->width + x];
}

size_t ImageRecordCount() {
    size_t count = 0;
    for (GfxImage* image = gfxState.images; image; image = image->next) ++count;
    return count;
}

class SkinPackTest : public StartedCore {
protected:
    void TearDown() override {
        delete render;
        StartedCore::TearDown();
    }

    // Loads data/Veltor.skin into a fresh image table.
    void Load() {
        render = new Render(core);
        render->LoadSkin();
    }

    Render* render = nullptr;
};

TEST_F(SkinPackTest, SmallImagesConsumeWholeBlocksAndTheNextRecordStillParses) {
    const std::vector<SkinImage> images = {{11, 1, 1}, {12, 2, 1}, {13, 3, 1}, {14, 1, 2}};
    const std::vector<uint8_t> pack = SkinPack(7, images);
    // 4 + 2 header bytes; 6 bytes of record header each; pixel blocks of 8, 8, 16 and 8 bytes.
    ASSERT_EQ(pack.size(), 6u + 4 * 6 + 8 + 8 + 16 + 8);
    WriteDataFile("Veltor.skin", pack);
    const uint32_t versionBefore = core->dataVersion;
    Load();

    EXPECT_EQ(core->dataVersion, versionBefore + 7);
    for (const SkinImage& expected : images) {
        SCOPED_TRACE(expected.id);
        const GfxImage* image = render->GetImage(expected.id);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, expected.width);
        EXPECT_EQ(image->height, expected.height);
        const std::vector<uint8_t> pixels = ExpectedPixels(expected);
        EXPECT_EQ(memcmp(image->pixels, pixels.data(), pixels.size()), 0);
    }
}

TEST_F(SkinPackTest, LinearFilteringOnlyForTheIdsThatAskForIt) {
    WriteDataFile(
        "Veltor.skin",
        SkinPack(
            1, {{1, 2, 2}, {5, 2, 2}, {6, 2, 2}, {7, 2, 2}, {8, 2, 2}, {100, 2, 2}, {101, 2, 2}}));
    Load();
    for (uint16_t id : {5, 6, 7, 100, 101, 500}) {
        EXPECT_NE(render->GetImage(id)->flags & GfxFlagLinear, 0u) << id;
    }
    for (uint16_t id : {1, 8}) EXPECT_EQ(render->GetImage(id)->flags & GfxFlagLinear, 0u) << id;
}

TEST_F(SkinPackTest, EmptyPackStillHasTheDiscMask) {
    WriteDataFile("Veltor.skin", SkinPack(3, {}));
    Load();
    const GfxImage* disc = render->GetImage(500);
    ASSERT_NE(disc, nullptr);
    ASSERT_EQ(disc->width, 200);
    ASSERT_EQ(disc->height, 200);
    // Transparent inside the radius (distances 0 and 99), opaque black from 100 on.
    EXPECT_EQ(PixelAt(disc, 100, 100), 0x00000000u);
    EXPECT_EQ(PixelAt(disc, 199, 100), 0x00000000u);
    EXPECT_EQ(PixelAt(disc, 0, 100), 0xFF000000u);
    EXPECT_EQ(PixelAt(disc, 100, 0), 0xFF000000u);
    for (int corner : {0, 199}) EXPECT_EQ(PixelAt(disc, corner, corner), 0xFF000000u);
}

TEST_F(SkinPackTest, LaterImageOfAnIdWinsAndTheEarlierIsFreed) {
    WriteDataFile("Veltor.skin", SkinPack(1, {{3, 1, 1}, {3, 4, 2}, {500, 1, 1}}));
    const size_t recordsBefore = ImageRecordCount();
    Load();
    EXPECT_EQ(render->GetImage(3)->width, 4);
    EXPECT_EQ(render->GetImage(500)->width, 200);  // the generated mask replaces the pack's
    EXPECT_EQ(ImageRecordCount(), recordsBefore + 2);
}

struct BrokenPack {
    const char* what;
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t drop) {
    bytes.resize(bytes.size() - drop);
    return bytes;
}

class BrokenSkinPack : public SkinPackTest, public ::testing::WithParamInterface<BrokenPack> {};

TEST_P(BrokenSkinPack, EndsTheProgramWithTheLoadError) {
    WriteDataFile("Veltor.skin", GetParam().bytes);
    try {
        Load();
        FAIL() << "a broken pack was loaded";
    } catch (const ProgramExit& exit) {
        EXPECT_NE(exit.code, 0u);
    }
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Failed to load \"Veltor.skin\".");
    EXPECT_EQ(fake.boxes[0].title, "Veltor - Error");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenSkinPack,
    ::testing::Values(
        BrokenPack{"empty file", {}}, BrokenPack{"no image count", PackBytes().U32(1).bytes},
        BrokenPack{"fewer records than counted", Cut(SkinPack(1, {{1, 1, 1}, {2, 1, 1}}), 14)},
        BrokenPack{"record header cut", Cut(SkinPack(1, {{1, 1, 1}}), 10)},
        BrokenPack{"padding of the last block missing", Cut(SkinPack(1, {{1, 3, 1}}), 4)},
        BrokenPack{
            "size far beyond the file",
            PackBytes().U32(1).U16(1).U16(1).U16(65535).U16(65535).Raw(PatternBytes(64, 1)).bytes}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name) c = isalnum(uint8_t(c)) ? c : '_';
        return name;
    });

TEST_F(SkinPackTest, MissingPackEndsTheProgram) {
    std::filesystem::remove("data/Veltor.skin");
    EXPECT_THROW(Load(), ProgramExit);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Failed to load \"Veltor.skin\".");
}

TEST_F(SkinPackTest, GeneratedSkinLoadsItsImages) {
    CopyDataFile(VELTOR_SAMPLE_DATA "/Veltor.skin", "Veltor.skin");
    Load();
    const GfxImage* atlas = render->GetImage(1);
    ASSERT_NE(atlas, nullptr);
    EXPECT_EQ(atlas->width, 1024);
    EXPECT_EQ(atlas->height, 512);
    EXPECT_EQ(atlas->flags & GfxFlagLinear, 0u);
    // The top-left pixel of the style-1 frame piece: the generator's light edge colour. It only
    // comes out right when the client's pixel key is the generator's.
    EXPECT_EQ(PixelAt(atlas, 54, 20), 0xFFD6C496u);
    EXPECT_EQ(PixelAt(atlas, 56, 22) >> 24, 0u);  // the frame block's clear inside
    const GfxImage* icons = render->GetImage(9);
    ASSERT_NE(icons, nullptr);
    EXPECT_EQ(icons->width, 360);
    EXPECT_EQ(icons->height, 12);
    EXPECT_NE(render->GetImage(6)->flags & GfxFlagLinear, 0u);
    EXPECT_NE(render->GetImage(500), nullptr);
}

}  // namespace
