// What only the OpenGL driver does: its pixel format, texture sizes and pixel conversion, its
// lines, and how it reads the version and extension strings. What both drivers
// draw alike is in gfxdrivers_test.cpp.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <string>
#include <vector>

#include "support/drivertest.h"

namespace {

using namespace DriverTest;

constexpr uint32_t kAllFeatures = 0;
constexpr uint32_t kFallbacks =
    GFX_INIT_OGL_NO_MULTITEXTURE | GFX_INIT_OGL_NO_BGRA | GFX_INIT_OGL_NO_FRAMEBUFFER;

class OpenGlDriver : public DriverFixture {
public:
    OpenGlDriver() : DriverFixture({"OpenGl", DriverOpenGL, kAllFeatures}) {}
};

// Runs each test with every optional feature and with each of them switched off.
class OpenGl : public DriverFixture, public ::testing::WithParamInterface<uint32_t> {
public:
    OpenGl() : DriverFixture({"OpenGl", DriverOpenGL, GetParam()}) {}
};

INSTANTIATE_TEST_SUITE_P(, OpenGl, ::testing::Values(kAllFeatures, kFallbacks),
                         [](const ::testing::TestParamInfo<uint32_t>& info) {
                             return info.param == kAllFeatures ? "AllFeatures" : "Fallbacks";
                         });

TEST_F(OpenGlDriver, RunsWithEightAlphaBits) {
    GLint alphaBits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
    EXPECT_EQ(alphaBits, 8);
}

TEST_F(OpenGlDriver, Image300x200GetsA512x256Texture) {
    GfxImage* image = Image(300, 200, std::vector<uint32_t>(300 * 200, 0xFF336699));
    GLint textureWidth = 0, textureHeight = 0;
    DrawScreen([&] {
        GfxDriver::DrawImage(0, 0, image);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &textureWidth);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &textureHeight);
    });
    EXPECT_EQ(textureWidth, 512);
    EXPECT_EQ(textureHeight, 256);
}

// Without BGRA transfer the pixels are converted on the processor, through the scratch buffer.
TEST_P(OpenGl, ImagesConvertThroughTheScratchBufferOnlyWithoutBgra) {
    GfxImage* image = Image(3, 2, std::vector<uint32_t>(6, 0xFF102030));
    GFX_FreeScratchBuffer();
    DrawScreen([&] { GfxDriver::DrawImage(10, 10, image); });
    EXPECT_EQ(gfxState.scratchSize > 0, GetParam() == kFallbacks);
    EXPECT_TRUE(BlockIs(Screen(), 10, 10, 13, 12, 0xFF102030));
}

TEST_P(OpenGl, LinesCoverThePixelsBetweenTheirEnds) {
    DrawScreen([] {
        GfxDriver::DrawLine(0, 0, 10, 0, 0xFFFFFFFF, 3);
        GfxDriver::DrawLine(5, 5, 5.5f, 5.9f, 0xFFFFFFFF, 3);
        GfxDriver::DrawLine(30, 10, 30, 20, 0xFFFFFFFF, 3);
        GfxDriver::DrawLineGradient(50, 50, 50.5f, 50.5f, 0xFF000000, 0xFFFFFFFF, 3);
    });
    const Pixels screen = Screen();
    const auto lit = [](int x, int y) {
        const bool horizontal = y == 0 && x <= 10;
        const bool dot = x == 5 && y == 5;
        const bool vertical = x == 30 && y >= 10 && y <= 20;
        return horizontal || dot || vertical ? 0xFFFFFFFF : kClear;
    };
    EXPECT_TRUE(BlockIs(screen, 0, 0, 40, 30, lit));
    EXPECT_EQ(screen.at(50, 50), 0xFF7F7F7Fu);  // a short gradient line is its average
    EXPECT_EQ(screen.at(51, 50), kClear);
}

TEST(OpenGlStrings, VersionsAreReadFromTheirStart) {
    const struct {
        const char* text;
        OglVersion version;
    } cases[] = {
        {"2.1 Mesa 7.0", {2, 1, 0}},
        {"4.6.0 NVIDIA 535.1", {4, 6, 0}},
        {"4.5 (Compatibility Profile) Mesa 22.3.6", {4, 5, 0}},
        {"1.2.1", {1, 2, 1}},
        {"1.2.3.4", {0, 0, 0}},
        {"3", {0, 0, 0}},
        {"3.", {0, 0, 0}},
        {"3.0a", {0, 0, 0}},
        {"OpenGL ES 3.2", {0, 0, 0}},
        {"", {0, 0, 0}},
        {nullptr, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        const OglVersion v = OGL_ParseVersion(c.text);
        EXPECT_EQ(v.major, c.version.major) << (c.text ? c.text : "null");
        EXPECT_EQ(v.minor, c.version.minor) << (c.text ? c.text : "null");
        EXPECT_EQ(v.release, c.version.release) << (c.text ? c.text : "null");
    }
}

TEST(OpenGlStrings, ExtensionNamesMatchWholeWordsOnly) {
    const struct {
        const char* list;
        bool listed;
    } cases[] = {
        {"GL_EXT_bgra", true},
        {"GL_EXT_bgra GL_ARB_multitexture", true},
        {"GL_ARB_multitexture GL_EXT_bgra", true},
        {"GL_A GL_EXT_bgra GL_B", true},
        {"GL_EXT_bgra_extended GL_B", false},
        {"XGL_EXT_bgra GL_B", false},
        {"GL_EXT_bgra2 GL_EXT_bgra", true},
        {"", false},
        {nullptr, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OGL_ListsName(c.list, "GL_EXT_bgra"), c.listed) << (c.list ? c.list : "null");
    }
}

}  // namespace
