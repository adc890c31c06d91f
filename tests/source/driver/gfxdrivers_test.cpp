// What every real driver draws alike, checked for real: the OpenGL driver with all its features
// and with its fallbacks, the Direct3D 9 driver with and without its second texture stage, each
// on a window of its own with the drawing read back through render targets and the screen.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "drivercalls.h"
#include "support/drivertest.h"

namespace {

using namespace DriverTest;

constexpr uint32_t OpenGlFallbacks =
    GfxInitOglNoMultitexture | GfxInitOglNoBgra | GfxInitOglNoFramebuffer;

class Drivers : public DriverFixture, public ::testing::WithParamInterface<DriverSetup> {
public:
    Drivers() : DriverFixture(GetParam()) {}
};

INSTANTIATE_TEST_SUITE_P(
    , Drivers,
    ::testing::Values(DriverSetup{"OpenGl", DriverOpenGL, 0},
                      DriverSetup{"OpenGlFallbacks", DriverOpenGL, OpenGlFallbacks},
                      DriverSetup{"Direct3D9", DriverDirectX, 0},
                      DriverSetup{"Direct3D9NoMultitexture", DriverDirectX,
                                  GfxInitDx9NoMultitexture}),
    [](const ::testing::TestParamInfo<DriverSetup>& info) { return info.param.name; });

// Three opaque rectangles and a translucent one in a 64 x 32 target.
uint32_t TargetScene(int x, int y) {
    if (x >= 40 && x < 44 && y >= 4 && y < 8) return 0xFF800000;  // 0x80FF0000 over black
    if (y < 16 && x < 16) return 0xFFFF0000;
    if (y < 16 && x < 32) return 0xFF00FF00;
    if (y >= 16 && x >= 32) return 0xFF0000FF;
    return 0xFF000000;
}

TEST_P(Drivers, FilledRectanglesReadBackExactlyThroughTargetAndScreen) {
    EXPECT_EQ(GfxDriver::GetDriverId(), setup.code);
    GfxRenderTarget* target = Target(64, 32, 0xFF000000, 0);
    DrawTarget(target, [] {
        GfxDriver::FillRect(0, 0, 16, 16, 0xFFFF0000, 3);
        GfxDriver::FillRect(16, 0, 16, 16, 0xFF00FF00, 3);
        GfxDriver::FillRect(32, 16, 32, 16, 0xFF0000FF, 3);
        GfxDriver::FillRect(40, 4, 4, 4, 0x80FF0000, 3);
    });
    EXPECT_TRUE(BlockIs(Read(target, 0, 0, 64, 32), 0, 0, 64, 32, TargetScene));

    DrawScreen([&] {
        GfxDriver::FillRect(10, 10, 30, 20, 0xFF123456, 3);
        GfxDriver::DrawTarget(100, 50, target);
        GfxDriver::DrawTargetPart(200, 50, 16, 0, 32, 16, target);
        GfxDriver::DrawTargetPartScaled(300, 50, 32, 32, 24, 8, 16, 16, target);
        GfxDriver::DrawTargetTinted(100, 150, 0xFF808080, target);
    });
    const Pixels screen = Screen();
    EXPECT_TRUE(BlockIs(screen, 10, 10, 40, 30, 0xFF123456));
    EXPECT_TRUE(BlockIs(screen, 0, 0, 100, 10, ClearColour));
    EXPECT_TRUE(BlockIs(screen, 40, 10, 100, 50, ClearColour));
    EXPECT_TRUE(BlockIs(screen, 100, 50, 164, 82,
                        [](int x, int y) { return TargetScene(x - 100, y - 50); }));
    EXPECT_TRUE(BlockIs(screen, 164, 50, 200, 82, ClearColour));
    EXPECT_TRUE(BlockIs(screen, 100, 82, 164, 150, ClearColour));
    EXPECT_TRUE(BlockIs(screen, 200, 50, 232, 66,
                        [](int x, int y) { return TargetScene(x - 200 + 16, y - 50); }));
    EXPECT_TRUE(BlockIs(screen, 300, 50, 332, 82, [](int x, int y) {
        return TargetScene((x - 300) / 2 + 24, (y - 50) / 2 + 8);
    }));
    EXPECT_TRUE(BlockIs(
        screen, 100, 150, 164, 182,
        [](int x, int y) { return GFX_MultiplyColor(TargetScene(x - 100, y - 150), 0xFF808080); },
        1));
}

// Corner colours land on their corners (top-left, top-right, bottom-left, bottom-right) and
// blend evenly in between, for rectangles, images, targets and tiles alike.
TEST_P(Drivers, CornerColoursGoToTheirCorners) {
    constexpr uint32_t c1 = 0xFF000000, c2 = 0xFFFF0000, c3 = 0xFF00FF00, c4 = 0xFF0000FF;
    GfxImage* white = Image(64, 64, std::vector<uint32_t>(64 * 64, 0xFFFFFFFF));
    GfxRenderTarget* target = Target(64, 64, 0xFFFFFFFF, 0);
    DrawTarget(target, [] {});
    DrawScreen([&] {
        GfxDriver::FillRectGradient(0, 0, 64, 64, c1, c2, c3, c4, 3);
        GfxDriver::DrawImageGradient(100, 0, c1, c2, c3, c4, white);
        GfxDriver::DrawTargetGradient(200, 0, c1, c2, c3, c4, target);
        GfxDriver::DrawImagePartTiledGradient(300, 0, 64, 64, 0, 0, 64, 64, 0, 0, 64, 64, c1, c2,
                                              c3, c4, white);
    });
    const Pixels screen = Screen();
    for (const int left : {0, 100, 200, 300}) {
        // Pixel centres lie half a pixel inside the corners: at most 255 / 128 off, rounded.
        EXPECT_TRUE(BlockIs(screen, left, 0, left + 1, 1, c1, 4)) << left;
        EXPECT_TRUE(BlockIs(screen, left + 63, 0, left + 64, 1, c2, 4)) << left;
        EXPECT_TRUE(BlockIs(screen, left, 63, left + 1, 64, c3, 4)) << left;
        EXPECT_TRUE(BlockIs(screen, left + 63, 63, left + 64, 64, c4, 4)) << left;
        // Each channel rises along its own corner: red to the right at the top, blue to the
        // right at the bottom, green downwards on the left.
        EXPECT_TRUE(BlockIs(screen, left + 31, 0, left + 33, 1, 0xFF7F0000, 6)) << left;
        EXPECT_TRUE(BlockIs(screen, left + 31, 63, left + 33, 64, 0xFF00807F, 6)) << left;
        EXPECT_TRUE(BlockIs(screen, left, 31, left + 1, 33, 0xFF007F00, 6)) << left;
        EXPECT_TRUE(BlockIs(screen, left + 64, 0, left + 100, 64, ClearColour)) << left;
    }
}

TEST_P(Drivers, ScreenReadBackGivesTheFramePresentedLast) {
    DrawScreen([] { GfxDriver::FillRect(0, 0, WindowWidth, WindowHeight, 0xFFFF0000, 3); });
    // A target frame in between draws in the back buffer when there are no framebuffers.
    GfxRenderTarget* target = Target(WindowWidth, WindowHeight, 0xFF00FF00, 0);
    DrawTarget(target, [] { GfxDriver::FillRect(0, 0, 50, 50, 0xFF0000FF, 3); });
    EXPECT_TRUE(BlockIs(Screen(), 0, 0, WindowWidth, WindowHeight, 0xFFFF0000));

    GFX_BeginFrame(nullptr);
    GfxDriver::FillRect(0, 0, WindowWidth, WindowHeight, 0xFF0000FF, 3);
    EXPECT_TRUE(BlockIs(Screen(), 0, 0, WindowWidth, WindowHeight, 0xFFFF0000));  // not shown yet
    GFX_EndFrame();
    EXPECT_TRUE(BlockIs(Screen(), 0, 0, WindowWidth, WindowHeight, 0xFF0000FF));

    // A block of the screen, bottom row first as the screenshot writer expects.
    DrawScreen([] {
        GfxDriver::FillRect(20, 10, 2, 1, 0xFF111111, 3);
        GfxDriver::FillRect(20, 11, 2, 1, 0xFF222222, 3);
    });
    uint32_t block[4] = {};
    GfxDriver::ReadScreen(20, 10, 2, 2, block, 8);
    EXPECT_EQ(block[0], 0xFF222222u);
    EXPECT_EQ(block[1], 0xFF222222u);
    EXPECT_EQ(block[2], 0xFF111111u);
    EXPECT_EQ(block[3], 0xFF111111u);
}

TEST_P(Drivers, OnlyFramesPresentedWhileKeepingIsOnAreReadBack) {
    GFX_KeepPresentedFrames(false);
    DrawScreen([] { GfxDriver::FillRect(0, 0, WindowWidth, WindowHeight, 0xFFFF0000, 3); });
    EXPECT_TRUE(BlockIs(Screen(), 0, 0, WindowWidth, WindowHeight, 0));

    GFX_KeepPresentedFrames(true);
    DrawScreen([] { GfxDriver::FillRect(0, 0, WindowWidth, WindowHeight, 0xFF00FF00, 3); });
    EXPECT_TRUE(BlockIs(Screen(), 0, 0, WindowWidth, WindowHeight, 0xFF00FF00));

    // A frame presented after keeping stopped is not the one kept before: nothing is read.
    GFX_KeepPresentedFrames(false);
    DrawScreen([] { GfxDriver::FillRect(0, 0, WindowWidth, WindowHeight, 0xFF0000FF, 3); });
    EXPECT_TRUE(BlockIs(Screen(), 0, 0, WindowWidth, WindowHeight, 0));
}

// Counts the texture binds of the second of two frames drawn by `draw` (the first creates the
// textures).
long TextureBindsOfADrawnFrame(const std::function<void()>& draw) {
    if (GfxDriver::GetDriverId() == DriverDirectX) DriverCalls::CountDirect3D9(DX9_Device());
    else DriverCalls::CountOpenGl();
    DriverFixture::DrawScreen(draw);
    DriverCalls::Take();
    DriverFixture::DrawScreen(draw);
    return DriverCalls::Take().textureBinds;
}

TEST_P(Drivers, TextureBindsAreAtMostTheChangesOfTexture) {
    GfxImage* a = Image(2, 2, std::vector<uint32_t>(4, 0xFFFF0000));
    GfxImage* b = Image(2, 2, std::vector<uint32_t>(4, 0xFF00FF00));
    GfxOverlay* overlay = Overlay();
    const std::vector<uint32_t> light(4, 0xFFC0C0C0);
    // Untextured shapes between quads of one texture change no texture: runs a, b, a.
    const long plain = TextureBindsOfADrawnFrame([&] {
        GfxDriver::DrawImage(0, 0, a);
        GfxDriver::FillRect(10, 0, 4, 4, 0x80FFFFFF, 3);
        GfxDriver::DrawLine(0, 20, 30, 20, 0xFFFFFFFF, 3);
        GfxDriver::DrawImagePartTinted(20, 0, 0, 0, 1, 1, 0xFF808080, a);
        GfxDriver::DrawImageScaled(30, 0, 8, 8, b);
        GfxDriver::FillRectGradient(40, 0, 4, 4, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 3);
        GfxDriver::DrawImage(50, 0, b);
        GfxDriver::DrawImageTinted(60, 0, 0xFF808080, a);
    });
    EXPECT_LE(plain, 3);
    // The light map updated and laid over part of every frame is one more texture.
    const long lit = TextureBindsOfADrawnFrame([&] {
        GFX_SetOverlayRect(overlay, 0, 0, 32, 32);
        GFX_UpdateOverlay(overlay, 0xFF404040, 2, 2, light.data(), 8);
        GfxDriver::DrawImage(0, 0, a);
        GFX_ApplyOverlay(overlay);
        GfxDriver::DrawImage(10, 0, a);
        GfxDriver::FillRect(20, 0, 4, 4, 0xFFFFFFFF, 3);
        GfxDriver::DrawImage(30, 0, b);
        GFX_ApplyOverlay(nullptr);
        GfxDriver::DrawImage(40, 0, b);
    });
    EXPECT_LE(lit, 3);
}

TEST_P(Drivers, TargetWithKeepFlagDrawsOverItsLastFrameAndOneWithoutIsCleared) {
    GfxRenderTarget* kept = Target(32, 16, 0xFF000000, GfxFlagKeep);
    GfxRenderTarget* cleared = Target(32, 16, 0xFF000000, 0);
    for (GfxRenderTarget* target : {kept, cleared}) {
        EXPECT_TRUE(GFX_CheckRenderTarget(target));
        DrawTarget(target, [] { GfxDriver::FillRect(0, 0, 16, 16, 0xFFFF0000, 3); });
    }
    // The screen in between fills the back buffer, where targets without framebuffers draw.
    DrawScreen([] { GfxDriver::FillRect(0, 0, WindowWidth, WindowHeight, 0xFFFFFFFF, 3); });
    for (GfxRenderTarget* target : {kept, cleared}) {
        EXPECT_FALSE(GFX_CheckRenderTarget(target));
        DrawTarget(target, [] { GfxDriver::FillRect(16, 0, 16, 16, 0xFF00FF00, 3); });
    }
    EXPECT_TRUE(BlockIs(Read(kept, 0, 0, 32, 16), 0, 0, 32, 16,
                        [](int x, int) { return x < 16 ? 0xFFFF0000 : 0xFF00FF00; }));
    EXPECT_TRUE(BlockIs(Read(cleared, 0, 0, 32, 16), 0, 0, 32, 16,
                        [](int x, int) { return x < 16 ? 0xFF000000 : 0xFF00FF00; }));
}

TEST_P(Drivers, ClipPlanesCutDrawing) {
    GfxImage* image = Image(2, 2, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF});
    DrawScreen([&] {
        GFX_SetOrigin(5, 5);
        GFX_SetClip(10, 10, 20, 20);
        GfxDriver::FillRect(-5, -5, 100, 100, 0xFFFFFFFF, 3);
        GFX_ResetClip();
        GFX_RestoreOrigin();
        // The tiled slot keeps its tiles inside its rectangle, and restores the clip after.
        GfxDriver::DrawImageTiled(100, 100, 25, 15, 1, 1, image);
        GfxDriver::FillRect(200, 200, 4, 4, 0xFFFFFFFF, 3);
    });
    const Pixels screen = Screen();
    const auto inside = [](int x0, int y0, int x1, int y1) {
        return [=](int x, int y) {
            return x >= x0 && x < x1 && y >= y0 && y < y1 ? 0xFFFFFFFF : ClearColour;
        };
    };
    EXPECT_TRUE(BlockIs(screen, 0, 0, 60, 60, inside(15, 15, 35, 35)));
    EXPECT_TRUE(BlockIs(screen, 90, 90, 140, 130, inside(100, 100, 125, 115)));
    EXPECT_TRUE(BlockIs(screen, 195, 195, 210, 210, inside(200, 200, 204, 204)));
}

TEST_P(Drivers, EmptyOverlayTintsWithItsOutsideColour) {
    GfxOverlay* overlay = Overlay();
    GFX_UpdateOverlay(overlay, 0xFF806040, 0, 0, nullptr, 0);
    DrawScreen([&] {
        GFX_ApplyOverlay(overlay);
        GfxDriver::FillRect(0, 0, 50, 50, 0xFFFFFFFF, 3);
        GFX_ApplyOverlay(nullptr);
        GfxDriver::FillRect(50, 0, 50, 50, 0xFFFFFFFF, 3);
    });
    const Pixels screen = Screen();
    EXPECT_TRUE(BlockIs(screen, 0, 0, 50, 50, 0xFF806040));
    EXPECT_TRUE(BlockIs(screen, 50, 0, 100, 50, 0xFFFFFFFF));
}

TEST_P(Drivers, PointsFarOffTheOverlayReadItsOutsideColour) {
    GfxOverlay* overlay = Overlay();
    const uint32_t pixels[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    GFX_SetOverlayRect(overlay, 0, 0, 8, 8);
    GFX_UpdateOverlay(overlay, 0xFF404040, 2, 2, pixels, 8);
    DrawScreen([&] {
        GFX_ApplyOverlay(overlay);
        GfxDriver::FillRect(200, 100, 40, 40, 0xFFFFFFFF, 3);
        GFX_ApplyOverlay(nullptr);
    });
    EXPECT_TRUE(BlockIs(Screen(), 200, 100, 240, 140, 0xFF404040));
}

TEST_P(Drivers, LargeImageDrawsUnscaled) {
    std::vector<uint32_t> pixels(300 * 200);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            pixels[y * 300 + x] = 0xFF000000 | (x & 0xFF) << 16 | y << 8 | ((x ^ y) & 0xFF);
        }
    }
    GfxImage* image = Image(300, 200, pixels);
    DrawScreen([&] { GfxDriver::DrawImage(0, 0, image); });
    const Pixels screen = Screen();
    EXPECT_TRUE(BlockIs(screen, 0, 0, 300, 200, [&](int x, int y) { return pixels[y * 300 + x]; }));
    EXPECT_TRUE(BlockIs(screen, 300, 0, WindowWidth, 200, ClearColour));
    EXPECT_TRUE(BlockIs(screen, 0, 200, 300, WindowHeight, ClearColour));
}

TEST_P(Drivers, ImagesDrawWholeInPartsTintedAndAfterAnUpdate) {
    const std::vector<uint32_t> pixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                          0xFF808080, 0xFFFFFFFF, 0xFF010203};
    GfxImage* image = Image(3, 2, pixels);
    DrawScreen([&] {
        GfxDriver::DrawImage(10, 10, image);
        GfxDriver::DrawImagePart(20, 10, 1, 0, 2, 2, image);
        GfxDriver::DrawImageTinted(30, 10, 0xFF808080, image);
        GfxDriver::DrawImageScaled(40, 10, 6, 4, image);
    });
    Pixels screen = Screen();
    const auto pixel = [&](int x, int y) { return pixels[size_t(y) * 3 + x]; };
    EXPECT_TRUE(
        BlockIs(screen, 10, 10, 13, 12, [&](int x, int y) { return pixel(x - 10, y - 10); }));
    EXPECT_TRUE(
        BlockIs(screen, 20, 10, 22, 12, [&](int x, int y) { return pixel(x - 19, y - 10); }));
    const auto tinted = [&](int x, int y) {
        return GFX_MultiplyColor(pixel(x - 30, y - 10), 0xFF808080);
    };
    EXPECT_TRUE(BlockIs(screen, 30, 10, 33, 12, tinted, 1));
    EXPECT_TRUE(BlockIs(screen, 40, 10, 46, 14,
                        [&](int x, int y) { return pixel((x - 40) / 2, (y - 10) / 2); }));

    const uint32_t block[2] = {0xFF00FFFF, 0xFFFF00FF};
    GFX_UpdateImage(image, 1, 1, 2, 1, block, 8);
    DrawScreen([&] { GfxDriver::DrawImage(10, 10, image); });
    screen = Screen();
    EXPECT_EQ(screen.at(10, 11), 0xFF808080u);
    EXPECT_EQ(screen.at(11, 11), 0xFF00FFFFu);
    EXPECT_EQ(screen.at(12, 11), 0xFFFF00FFu);
}

TEST_P(Drivers, TargetsReadBackInPartsAndWhole) {
    for (const int width : {64, 50}) {  // a power of two reads the texture straight
        GfxRenderTarget* target = Target(width, 30, 0x00000000, 0);
        DrawTarget(target, [] {
            for (int y = 0; y < 30; ++y) {
                const uint32_t colour = 0x80000000 | uint32_t(y * 8) << 8 | 0x40;
                GfxDriver::FillRect(0, float(y), 50, 1, colour, 3);
            }
        });
        const auto scene = [](int, int y) { return 0x80000000 | uint32_t(y * 4) << 8 | 0x20; };
        EXPECT_TRUE(BlockIs(Read(target, 0, 0, 50, 30), 0, 0, 50, 30, scene, 1)) << width;
        EXPECT_TRUE(BlockIs(
            Read(target, 10, 20, 5, 7), 0, 0, 5, 7, [&](int x, int y) { return scene(x, y + 20); },
            1))
            << width;
    }
}

TEST_P(Drivers, MinimumBlendingKeepsTheSmallerOfEachChannel) {
    GfxImage* image = Image(2, 1, {0x64FFFFFF, 0xFF10FF80});
    GfxRenderTarget* target = Target(4, 1, 0xFFFFFFFF, 0);
    DrawTarget(target, [&] {
        GfxDriver::DrawImageMin(0, 0, image);
        GfxDriver::FillRect(2, 0, 1, 1, 0x80FF0000, 3);  // normal blending is back
    });
    const Pixels pixels = Read(target, 0, 0, 4, 1);
    EXPECT_EQ(pixels.at(0, 0), 0x64FFFFFFu);
    EXPECT_EQ(pixels.at(1, 0), 0xFF10FF80u);
    EXPECT_TRUE(BlockIs(pixels, 2, 0, 3, 1, 0xFFFF7F7F, 1));
}

TEST_P(Drivers, ImagesBeyondTheTextureLimitAreRefusedWithAnError) {
    GfxImage* wide = Image(40000, 1, std::vector<uint32_t>(40000, 0xFFFFFFFF));
    DrawScreen([&] { GfxDriver::DrawImage(0, 0, wide); });
    EXPECT_NE(OldestError().find("image too large for a texture"), std::string::npos);
    EXPECT_EQ(GfxDriver::GetDriverId(), DriverNull);  // the frame's end unloaded it
    GFX_ClearErrors();
}

// The two ways of applying the overlay of one driver: by a second texture unit or stage, and
// with colours sampled on the processor (what the init flag asks for).
struct OverlayWays {
    DriverSetup setup;
    uint32_t samplingFlag;
};
void PrintTo(const OverlayWays& ways, std::ostream* out) { *out << ways.setup.name; }

class Overlays : public DriverFixture, public ::testing::WithParamInterface<OverlayWays> {
public:
    Overlays() : DriverFixture(GetParam().setup) {}
};

INSTANTIATE_TEST_SUITE_P(
    , Overlays,
    ::testing::Values(OverlayWays{{"OpenGl", DriverOpenGL, 0}, GfxInitOglNoMultitexture},
                      OverlayWays{{"Direct3D9", DriverDirectX, 0}, GfxInitDx9NoMultitexture}),
    [](const ::testing::TestParamInfo<OverlayWays>& info) { return info.param.setup.name; });

// A light map whose channels are planar in the pixel position, so bilinear filtering per
// fragment and colours interpolated between sampled corners agree exactly.
std::vector<uint32_t> PlanarLightMap() {
    std::vector<uint32_t> pixels;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            pixels.push_back(0xFF000000 | uint32_t(40 + 50 * i) << 16 | uint32_t(40 + 50 * j) << 8 |
                             uint32_t(230 - 30 * i - 20 * j));
        }
    }
    return pixels;
}

Pixels DrawLitScene(GfxImage* image, GfxOverlay* overlay, bool* sampled) {
    const std::vector<uint32_t> lightMap = PlanarLightMap();
    GFX_SetOverlayRect(overlay, 20, 20, 16, 16);
    GFX_UpdateOverlay(overlay, 0xFF000000, 4, 4, lightMap.data(), 16);
    GFX_BeginFrame(nullptr);
    GFX_ApplyOverlay(overlay);
    *sampled = gfxState.sampling.overlay == overlay;
    GfxDriver::FillRect(20, 20, 48, 48, 0xFFFFFFFF, 3);
    GfxDriver::FillRect(20, 20, 16, 16, 0xFF808080, 3);
    GfxDriver::DrawImageScaled(36, 36, 32, 32, image);
    GFX_ApplyOverlay(nullptr);
    GFX_EndFrame();
    return DriverFixture::Screen();
}

TEST_P(Overlays, SecondTextureAndSampledOverlaysGiveTheSamePixels) {
    GfxImage* image = Image(1, 1, {0xFFC0E0FF});
    GfxOverlay* overlay = Overlay();
    bool onProcessor = true;
    const Pixels multitexture = DrawLitScene(image, overlay, &onProcessor);
    EXPECT_FALSE(onProcessor);
    Load(setup.code, GetParam().samplingFlag);
    const Pixels sampled = DrawLitScene(image, overlay, &onProcessor);
    EXPECT_TRUE(onProcessor);
    EXPECT_TRUE(BlockIs(
        sampled, 20, 20, 68, 68, [&](int x, int y) { return multitexture.at(x, y); }, 1));
    // And the light map did reach the pixels: its corners differ.
    EXPECT_NE(sampled.at(21, 21), sampled.at(66, 66));
}

TEST_P(Overlays, OverlaysBeyondTheTextureLimitAreRefusedWithAnError) {
    GfxOverlay* overlay = Overlay();
    const uint32_t pixels[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    // Only the first row of pixels exists: a size this large must be refused before reading.
    GFX_UpdateOverlay(overlay, 0xFF404040, INT32_MAX, 2, pixels, 8);
    DrawScreen([&] {
        GFX_ApplyOverlay(overlay);
        GfxDriver::FillRect(0, 0, 10, 10, 0xFFFFFFFF, 3);
        GFX_ApplyOverlay(nullptr);
    });
    EXPECT_NE(OldestError().find("overlay too large for a texture"), std::string::npos);
    EXPECT_EQ(GfxDriver::GetDriverId(), DriverNull);
    GFX_ClearErrors();
}

}  // namespace
