// The slots every driver shares, over primitives that log what they are asked to draw: the
// origin, texture coordinates, corner colours, the tiles' clip and the minimum-blending bracket.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "driver/gfxslots.h"
#include "support/recordingdriver.h"

namespace {

using Calls = std::vector<std::string>;

struct FakeTexture {
    int32_t textureWidth, textureHeight;
    float uMax, vMax;
};

// A 48 x 24 image and a 40 x 16 target, each in a 64 x 32 texture.
FakeTexture imageTexture = {64, 32, 0.75f, 0.75f};
FakeTexture targetTexture = {64, 32, 0.625f, 0.5f};
bool bindable = true;
Calls drawn;

std::string Text(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Text(const char* format, ...) {
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

struct LoggingWay {
    static const FakeTexture* BindImage(GfxImage* image) {
        drawn.push_back(Text("bind img:%u", image->user));
        return bindable ? &imageTexture : nullptr;
    }
    using Target = FakeTexture;
    static void BindTarget(const FakeTexture* object, uint32_t flags) {
        drawn.push_back(Text("bind rt%s flags %X", object == &targetTexture ? "" : "?", flags));
    }
    // Top-left and bottom-right corners, colours in the table's order.
    static void Quad(const GfxQuad& q) {
        const std::string coordinates =
            q.textured ? Text("%g,%g,%g,%g", q.us[0], q.vs[0], q.us[2], q.vs[2]) : "untextured";
        drawn.push_back(Text("quad %g,%g,%g,%g %s %X,%X,%X,%X", q.xs[0], q.ys[0], q.xs[2], q.ys[2],
                             coordinates.c_str(), q.colours[0], q.colours[1], q.colours[3],
                             q.colours[2]));
    }
    static void Line(float x0, float y0, float x1, float y1, uint32_t colour0, uint32_t colour1) {
        drawn.push_back(Text("line %g,%g,%g,%g %X,%X", x0, y0, x1, y1, colour0, colour1));
    }
    static void MinimumBlending(bool on) { drawn.push_back(on ? "minimum" : "normal"); }
};

constexpr GfxPrimitiveSet Slots = GFX_SlotSet<LoggingWay>();

TEST(GfxQuad, IsAFanFromTheTopLeftCornerClockwise) {
    const GfxUv uv = {0.25f, 0.5f, 0.75f, 1};
    const GfxQuad textured = GFX_Quad(1, 2, 3, 4, &uv, 0xA, 0xB, 0xC, 0xD);
    EXPECT_EQ(std::vector<float>(textured.xs, textured.xs + 4), (std::vector<float>{1, 3, 3, 1}));
    EXPECT_EQ(std::vector<float>(textured.ys, textured.ys + 4), (std::vector<float>{2, 2, 4, 4}));
    EXPECT_EQ(std::vector<uint32_t>(textured.colours, textured.colours + 4),
              (std::vector<uint32_t>{0xA, 0xB, 0xD, 0xC}));
    EXPECT_TRUE(textured.textured);
    EXPECT_EQ(std::vector<float>(textured.us, textured.us + 4),
              (std::vector<float>{0.25f, 0.75f, 0.75f, 0.25f}));
    EXPECT_EQ(std::vector<float>(textured.vs, textured.vs + 4),
              (std::vector<float>{0.5f, 0.5f, 1, 1}));
    const GfxQuad untextured = GFX_Quad(1, 2, 3, 4, nullptr, 0xA, 0xB, 0xC, 0xD);
    EXPECT_FALSE(untextured.textured);
    EXPECT_EQ(std::vector<float>(untextured.us, untextured.us + 4), std::vector<float>(4, 0));
}

class GfxSlotsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingDriver::Install();
        GFX_Configure(640, 480, 0, 0);
        GFX_FlushConfig();
        image = GFX_CreateImage(48, 24, nullptr, 0, 0, 7);
        target = GFX_CreateRenderTarget(40, 16, 0xFF000000, GfxFlagLinear, 9);
        target->driverObject = &targetTexture;
        GFX_BeginFrame(nullptr);
        GFX_SetOrigin(10, 20);
        RecordingDriver::Take();
        drawn.clear();
        bindable = true;
    }
    void TearDown() override {
        GFX_EndFrame();
        target->driverObject = nullptr;
        GFX_DeleteImage(image);
        GFX_DeleteRenderTarget(target);
        GFX_Unload();
    }

    GfxImage* image = nullptr;
    GfxRenderTarget* target = nullptr;
};

TEST_F(GfxSlotsTest, EverySlotMovesByTheOriginAndDrawsItsCoordinatesAndCorners) {
    const uint32_t a = 0x11223344, b = 0x55667788, c = 0x99AABBCC, d = 0xDDEEFF00;
    const std::string White = "FFFFFFFF,FFFFFFFF,FFFFFFFF,FFFFFFFF";
    const std::string Tint = "11223344,11223344,11223344,11223344";
    const std::string Corners = "11223344,55667788,99AABBCC,DDEEFF00";
    const struct {
        std::function<void()> draw;
        Calls expected;
    } cases[] = {
        {[] { Slots.DrawLine(1, 2, 3, 4, a, 3); }, {"line 11,22,13,24 11223344,11223344"}},
        {[] { Slots.DrawLineGradient(1, 2, 3, 4, a, b, 3); },
         {"line 11,22,13,24 11223344,55667788"}},
        {[] { Slots.FillRect(1, 2, 30, 40, a, 3); }, {"quad 11,22,41,62 untextured " + Tint}},
        {[] { Slots.FillRectGradient(1, 2, 30, 40, a, b, c, d, 3); },
         {"quad 11,22,41,62 untextured " + Corners}},
        {[&] { Slots.DrawTarget(1, 2, target); },
         {"bind rt flags 5", "quad 11,22,51,38 0,0,0.625,0.5 " + White}},
        {[&] { Slots.DrawTargetScaled(1, 2, 30, 40, target); },
         {"bind rt flags 5", "quad 11,22,41,62 0,0,0.625,0.5 " + White}},
        {[&] { Slots.DrawTargetPart(1, 2, 16, 8, 32, 16, target); },
         {"bind rt flags 5", "quad 11,22,43,38 0.25,0.25,0.75,0.75 " + White}},
        {[&] { Slots.DrawTargetPartScaled(1, 2, 30, 40, 16, 8, 32, 16, target); },
         {"bind rt flags 5", "quad 11,22,41,62 0.25,0.25,0.75,0.75 " + White}},
        {[&] { Slots.DrawTargetTinted(1, 2, a, target); },
         {"bind rt flags 5", "quad 11,22,51,38 0,0,0.625,0.5 " + Tint}},
        {[&] { Slots.DrawTargetGradient(1, 2, a, b, c, d, target); },
         {"bind rt flags 5", "quad 11,22,51,38 0,0,0.625,0.5 " + Corners}},
        {[&] { Slots.DrawImage(1, 2, image); },
         {"bind img:7", "quad 11,22,59,46 0,0,0.75,0.75 " + White}},
        {[&] { Slots.DrawImageScaled(1, 2, 30, 40, image); },
         {"bind img:7", "quad 11,22,41,62 0,0,0.75,0.75 " + White}},
        {[&] { Slots.DrawImageTinted(1, 2, a, image); },
         {"bind img:7", "quad 11,22,59,46 0,0,0.75,0.75 " + Tint}},
        {[&] { Slots.DrawImageGradient(1, 2, a, b, c, d, image); },
         {"bind img:7", "quad 11,22,59,46 0,0,0.75,0.75 " + Corners}},
        {[&] { Slots.DrawImagePart(1, 2, 16, 8, 32, 16, image); },
         {"bind img:7", "quad 11,22,43,38 0.25,0.25,0.75,0.75 " + White}},
        {[&] { Slots.DrawImagePartTinted(1, 2, 16, 8, 32, 16, a, image); },
         {"bind img:7", "quad 11,22,43,38 0.25,0.25,0.75,0.75 " + Tint}},
        {[&] { Slots.DrawImageMin(1, 2, image); },
         {"minimum", "bind img:7", "quad 11,22,59,46 0,0,0.75,0.75 " + White, "normal"}},
        // Scrolled by 5: the first tile starts 5 left of the rectangle.
        {[&] { Slots.DrawImageTiled(1, 2, 50, 30, 5, 0, image); },
         {"bind img:7", "quad 6,22,54,46 0,0,0.75,0.75 " + White,
          "quad 54,22,102,46 0,0,0.75,0.75 " + White, "quad 6,46,54,70 0,0,0.75,0.75 " + White,
          "quad 54,46,102,70 0,0,0.75,0.75 " + White}},
        // Scroll offsets taken into 0 to the tile size: -13 as 3 of 16, 12 as 2 of 10.
        {[&] {
             Slots.DrawImagePartTiledGradient(1, 2, 20, 10, -13, 12, 16, 10, 16, 8, 32, 16, a, b, c,
                                              d, image);
         },
         {"bind img:7", "quad 8,20,24,30 0.25,0.25,0.75,0.75 " + Corners,
          "quad 24,20,40,30 0.25,0.25,0.75,0.75 " + Corners,
          "quad 8,30,24,40 0.25,0.25,0.75,0.75 " + Corners,
          "quad 24,30,40,40 0.25,0.25,0.75,0.75 " + Corners}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        cases[i].draw();
        EXPECT_EQ(std::exchange(drawn, {}), cases[i].expected) << "case " << i;
    }
}

TEST_F(GfxSlotsTest, TiledSlotsClipToTheirRectangleAndRestoreTheClip) {
    GFX_SetClip(0, 0, 300, 200);
    RecordingDriver::Take();
    Slots.DrawImageTiled(1, 2, 50, 30, 5, 0, image);
    Slots.DrawImagePartTiledGradient(-20, 2, 50, 30, 0, 0, 8, 8, 0, 0, 8, 8, 0, 0, 0, 0, image);
    EXPECT_EQ(RecordingDriver::Take(), (Calls{"SetClip(11,22,61,52)", "SetClip(10,20,310,220)",
                                              "SetClip(10,22,40,52)", "SetClip(10,20,310,220)"}));
    EXPECT_TRUE(gfxState.clipStack.empty());
}

TEST_F(GfxSlotsTest, NothingIsDrawnOrClippedWithoutATexture) {
    bindable = false;
    target->driverObject = nullptr;
    Slots.DrawTarget(1, 2, target);
    Slots.DrawTargetPartScaled(1, 2, 3, 4, 5, 6, 7, 8, target);
    Slots.DrawImagePartTinted(1, 2, 3, 4, 5, 6, 0, image);
    Slots.DrawImageTiled(1, 2, 50, 30, 5, 0, image);
    Slots.DrawImageMin(1, 2, image);
    EXPECT_EQ(drawn, (Calls{"bind img:7", "bind img:7", "minimum", "bind img:7", "normal"}));
    EXPECT_EQ(RecordingDriver::Take(), Calls{});
}

}  // namespace
