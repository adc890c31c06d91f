// The OpenGL driver for real: a window of its own on the test run's X display, drawing read
// back through render targets and the screen read-back.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "driver/gfxcore.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;
constexpr uint32_t kClear = 0xFF202020;
constexpr uint32_t kAllFeatures = 0;
constexpr uint32_t kFallbacks =
    GFX_INIT_OGL_NO_MULTITEXTURE | GFX_INIT_OGL_NO_BGRA | GFX_INIT_OGL_NO_FRAMEBUFFER;

HWND CreateTestWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VeltorGfxTest";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "VeltorGfxTest", "gfx test", WS_POPUP | WS_VISIBLE, 0, 0,
                                  kWidth, kHeight, nullptr, nullptr, windowClass.hInstance,
                                  nullptr);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return window;
}

HWND TestWindow() {
    static HWND window = CreateTestWindow();
    return window;
}

std::string OldestError() {
    char text[256];
    return GFX_LastError(text, sizeof text) ? text : "";
}

// A read-back surface: pixels 0xAARRGGBB, rows top first.
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> values;
    uint32_t at(int x, int y) const { return values[size_t(y) * width + x]; }
};

std::string Hex(uint32_t value) {
    char text[16];
    snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
}

// Every pixel of the block (x0, y0)..(x1, y1) equals `expected(x, y)`; reports the first miss.
::testing::AssertionResult BlockIs(const Pixels& pixels, int x0, int y0, int x1, int y1,
                                   const std::function<uint32_t(int, int)>& expected,
                                   int tolerance = 0) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const uint32_t got = pixels.at(x, y);
            const uint32_t want = expected(x, y);
            for (int shift = 0; shift < 32; shift += 8) {
                const int difference = int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF);
                if (std::abs(difference) > tolerance) {
                    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                                         << Hex(got) << ", expected " << Hex(want);
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult BlockIs(const Pixels& pixels, int x0, int y0, int x1, int y1,
                                   uint32_t colour, int tolerance = 0) {
    return BlockIs(pixels, x0, y0, x1, y1, [colour](int, int) { return colour; }, tolerance);
}

class OpenGlDriver : public ::testing::Test {
public:
    void SetUp() override {
        gfxMessageBox = [](const char* title, const char* text) {
            ADD_FAILURE() << "message box " << title << ": " << text;
        };
        GFX_ClearErrors();
        Load(kAllFeatures);
    }
    void TearDown() override {
        for (GfxRenderTarget* target : targets) GFX_DeleteRenderTarget(target);
        for (GfxImage* image : images) GFX_DeleteImage(image);
        for (GfxOverlay* overlay : overlays) GFX_DeleteOverlay(overlay);
        EXPECT_EQ(GFX_ErrorCount(), 0) << OldestError();
        GFX_Unload();
        GFX_Bind(nullptr);
        GFX_ClearErrors();
    }

    static void Load(uint32_t flags) {
        GFX_Bind(TestWindow());
        GFX_Init(GFX_DRIVER_OGL, flags, 'F');
        GFX_Configure(kWidth, kHeight, kClear, 4);
        GFX_FlushConfig();
        ASSERT_EQ(GfxDriver::GetDriverId(), GFX_DRIVER_OGL)
            << "the OpenGL driver was refused on this machine";
    }

    GfxRenderTarget* Target(int32_t w, int32_t h, uint32_t colour, uint32_t flags) {
        targets.push_back(GFX_CreateRenderTarget(w, h, colour, flags, 0));
        return targets.back();
    }
    GfxImage* Image(int32_t w, int32_t h, const std::vector<uint32_t>& pixels, uint32_t flags = 0) {
        images.push_back(GFX_CreateImage(w, h, pixels.data(), w * 4, flags, 0));
        return images.back();
    }
    GfxOverlay* Overlay() {
        overlays.push_back(GFX_CreateOverlay(0));
        return overlays.back();
    }

    // The whole screen as the player saw it last.
    static Pixels Screen() {
        Pixels screen{kWidth, kHeight, std::vector<uint32_t>(size_t(kWidth) * kHeight)};
        std::vector<uint32_t> bottomUp(screen.values.size());
        GfxDriver::ReadScreen(0, 0, kWidth, kHeight, bottomUp.data(), kWidth * 4);
        for (int y = 0; y < kHeight; ++y) {
            std::copy_n(&bottomUp[size_t(kHeight - 1 - y) * kWidth], kWidth,
                        &screen.values[size_t(y) * kWidth]);
        }
        return screen;
    }

    static Pixels Read(GfxRenderTarget* target, int x, int y, int w, int h) {
        Pixels block{w, h, std::vector<uint32_t>(size_t(w) * h, 0xDEADBEEF)};
        GFX_ReadRenderTarget(target, x, y, w, h, block.values.data(), w * 4);
        return block;
    }

    // Draws one frame of the screen.
    static void DrawScreen(const std::function<void()>& draw) {
        GFX_BeginFrame(nullptr);
        draw();
        GFX_EndFrame();
    }
    static void DrawTarget(GfxRenderTarget* target, const std::function<void()>& draw) {
        GFX_BeginFrame(target);
        draw();
        GFX_EndFrame();
    }

    std::vector<GfxRenderTarget*> targets;
    std::vector<GfxImage*> images;
    std::vector<GfxOverlay*> overlays;
};

// Runs each test with every optional feature and with each of them switched off, so both
// render-target versions, both overlay ways and both pixel transfers are exercised.
class OpenGl : public OpenGlDriver, public ::testing::WithParamInterface<uint32_t> {
protected:
    void SetUp() override {
        OpenGlDriver::SetUp();
        if (GetParam() != kAllFeatures) Load(GetParam());
    }
};

INSTANTIATE_TEST_SUITE_P(, OpenGl, ::testing::Values(kAllFeatures, kFallbacks),
                         [](const ::testing::TestParamInfo<uint32_t>& info) {
                             return info.param == kAllFeatures ? "AllFeatures" : "Fallbacks";
                         });

TEST_P(OpenGl, RunsWithEightAlphaBits) {
    EXPECT_EQ(GfxDriver::GetDriverId(), GFX_DRIVER_OGL);
    GLint alphaBits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
    EXPECT_EQ(alphaBits, 8);
}

// Three opaque rectangles and a translucent one in a 64 x 32 target.
uint32_t TargetScene(int x, int y) {
    if (x >= 40 && x < 44 && y >= 4 && y < 8) return 0xFF800000;  // 0x80FF0000 over black
    if (y < 16 && x < 16) return 0xFFFF0000;
    if (y < 16 && x < 32) return 0xFF00FF00;
    if (y >= 16 && x >= 32) return 0xFF0000FF;
    return 0xFF000000;
}

TEST_P(OpenGl, FilledRectanglesReadBackExactlyThroughTargetAndScreen) {
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
    });
    const Pixels screen = Screen();
    EXPECT_TRUE(BlockIs(screen, 10, 10, 40, 30, 0xFF123456));
    EXPECT_TRUE(BlockIs(screen, 0, 0, 100, 10, kClear));
    EXPECT_TRUE(BlockIs(screen, 40, 10, 100, 50, kClear));
    EXPECT_TRUE(BlockIs(screen, 100, 50, 164, 82,
                        [](int x, int y) { return TargetScene(x - 100, y - 50); }));
    EXPECT_TRUE(BlockIs(screen, 164, 50, kWidth, 82, kClear));
    EXPECT_TRUE(BlockIs(screen, 100, 82, 164, kHeight, kClear));
}

TEST_P(OpenGl, ScreenReadBackGivesTheFramePresentedLast) {
    DrawScreen([] { GfxDriver::FillRect(0, 0, kWidth, kHeight, 0xFFFF0000, 3); });
    // A target frame in between draws in the back buffer when there are no framebuffers.
    GfxRenderTarget* target = Target(kWidth, kHeight, 0xFF00FF00, 0);
    DrawTarget(target, [] { GfxDriver::FillRect(0, 0, 50, 50, 0xFF0000FF, 3); });
    EXPECT_TRUE(BlockIs(Screen(), 0, 0, kWidth, kHeight, 0xFFFF0000));

    GFX_BeginFrame(nullptr);
    GfxDriver::FillRect(0, 0, kWidth, kHeight, 0xFF0000FF, 3);
    EXPECT_TRUE(BlockIs(Screen(), 0, 0, kWidth, kHeight, 0xFFFF0000));  // not shown yet
    GFX_EndFrame();
    EXPECT_TRUE(BlockIs(Screen(), 0, 0, kWidth, kHeight, 0xFF0000FF));

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

TEST_P(OpenGl, TargetWithKeepFlagDrawsOverItsLastFrameAndOneWithoutIsCleared) {
    GfxRenderTarget* kept = Target(32, 16, 0xFF000000, GFX_FLAG_KEEP);
    GfxRenderTarget* cleared = Target(32, 16, 0xFF000000, 0);
    for (GfxRenderTarget* target : {kept, cleared}) {
        DrawTarget(target, [] { GfxDriver::FillRect(0, 0, 16, 16, 0xFFFF0000, 3); });
    }
    // The screen in between fills the back buffer, where targets without framebuffers draw.
    DrawScreen([] { GfxDriver::FillRect(0, 0, kWidth, kHeight, 0xFFFFFFFF, 3); });
    for (GfxRenderTarget* target : {kept, cleared}) {
        EXPECT_FALSE(GFX_CheckRenderTarget(target));
        DrawTarget(target, [] { GfxDriver::FillRect(16, 0, 16, 16, 0xFF00FF00, 3); });
    }
    EXPECT_TRUE(BlockIs(Read(kept, 0, 0, 32, 16), 0, 0, 32, 16,
                        [](int x, int) { return x < 16 ? 0xFFFF0000 : 0xFF00FF00; }));
    EXPECT_TRUE(BlockIs(Read(cleared, 0, 0, 32, 16), 0, 0, 32, 16,
                        [](int x, int) { return x < 16 ? 0xFF000000 : 0xFF00FF00; }));
}

TEST_P(OpenGl, ClipPlanesCutDrawing) {
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
            return x >= x0 && x < x1 && y >= y0 && y < y1 ? 0xFFFFFFFF : kClear;
        };
    };
    EXPECT_TRUE(BlockIs(screen, 0, 0, 60, 60, inside(15, 15, 35, 35)));
    EXPECT_TRUE(BlockIs(screen, 90, 90, 140, 130, inside(100, 100, 125, 115)));
    EXPECT_TRUE(BlockIs(screen, 195, 195, 210, 210, inside(200, 200, 204, 204)));
}

TEST_P(OpenGl, EmptyOverlayTintsWithItsOutsideColour) {
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

TEST_P(OpenGl, PointsFarOffTheOverlayReadItsOutsideColour) {
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

Pixels DrawLitScene(GfxImage* image, GfxOverlay* overlay) {
    const std::vector<uint32_t> lightMap = PlanarLightMap();
    GFX_SetOverlayRect(overlay, 20, 20, 16, 16);
    GFX_UpdateOverlay(overlay, 0xFF000000, 4, 4, lightMap.data(), 16);
    GFX_BeginFrame(nullptr);
    GFX_ApplyOverlay(overlay);
    GfxDriver::FillRect(20, 20, 48, 48, 0xFFFFFFFF, 3);
    GfxDriver::FillRect(20, 20, 16, 16, 0xFF808080, 3);
    GfxDriver::DrawImageScaled(36, 36, 32, 32, image);
    GFX_ApplyOverlay(nullptr);
    GFX_EndFrame();
    return OpenGlDriver::Screen();
}

TEST_F(OpenGlDriver, MultitextureAndSampledOverlaysGiveTheSamePixels) {
    GfxImage* image = Image(1, 1, {0xFFC0E0FF});
    GfxOverlay* overlay = Overlay();
    const Pixels multitexture = DrawLitScene(image, overlay);
    Load(GFX_INIT_OGL_NO_MULTITEXTURE);
    const Pixels sampled = DrawLitScene(image, overlay);
    EXPECT_TRUE(BlockIs(sampled, 20, 20, 68, 68,
                        [&](int x, int y) { return multitexture.at(x, y); }, 1));
    // And the light map did reach the pixels: its corners differ.
    EXPECT_NE(sampled.at(21, 21), sampled.at(66, 66));
}

TEST_P(OpenGl, Image300x200GetsA512x256TextureAndDrawsUnscaled) {
    std::vector<uint32_t> pixels(300 * 200);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) pixels[y * 300 + x] = 0xFF000000 | (x & 0xFF) << 16 | y << 8 | ((x ^ y) & 0xFF);
    }
    GfxImage* image = Image(300, 200, pixels);
    GLint textureWidth = 0, textureHeight = 0;
    DrawScreen([&] {
        GfxDriver::DrawImage(0, 0, image);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &textureWidth);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &textureHeight);
    });
    EXPECT_EQ(textureWidth, 512);
    EXPECT_EQ(textureHeight, 256);
    const Pixels screen = Screen();
    EXPECT_TRUE(BlockIs(screen, 0, 0, 300, 200,
                        [&](int x, int y) { return pixels[y * 300 + x] | 0xFF000000; }));
    EXPECT_TRUE(BlockIs(screen, 300, 0, kWidth, 200, kClear));
    EXPECT_TRUE(BlockIs(screen, 0, 200, 300, kHeight, kClear));
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

TEST_P(OpenGl, ImagesDrawWholeInPartsTintedAndAfterAnUpdate) {
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
    EXPECT_TRUE(BlockIs(screen, 10, 10, 13, 12, [&](int x, int y) { return pixel(x - 10, y - 10); }));
    EXPECT_TRUE(BlockIs(screen, 20, 10, 22, 12, [&](int x, int y) { return pixel(x - 19, y - 10); }));
    EXPECT_TRUE(BlockIs(screen, 30, 10, 33, 12,
                        [&](int x, int y) { return GFX_MultiplyColor(pixel(x - 30, y - 10), 0xFF808080); },
                        1));
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

TEST_P(OpenGl, TargetsReadBackInPartsAndWhole) {
    for (const int width : {64, 50}) {  // a power of two reads the texture straight
        GfxRenderTarget* target = Target(width, 30, 0x00000000, 0);
        DrawTarget(target, [] {
            for (int y = 0; y < 30; ++y) {
                GfxDriver::FillRect(0, float(y), 50, 1, 0x80000000 | uint32_t(y * 8) << 8 | 0x40, 3);
            }
        });
        const auto scene = [](int, int y) { return 0x80000000 | uint32_t(y * 4) << 8 | 0x20; };
        EXPECT_TRUE(BlockIs(Read(target, 0, 0, 50, 30), 0, 0, 50, 30, scene, 1)) << width;
        EXPECT_TRUE(BlockIs(Read(target, 10, 20, 5, 7), 0, 0, 5, 7,
                            [&](int x, int y) { return scene(x, y + 20); }, 1)) << width;
    }
}

TEST_P(OpenGl, MinimumBlendingKeepsTheSmallerOfEachChannel) {
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

TEST_F(OpenGlDriver, VersionStringsAreReadFromTheirStart) {
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

TEST_F(OpenGlDriver, ExtensionNamesMatchWholeWordsOnly) {
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
