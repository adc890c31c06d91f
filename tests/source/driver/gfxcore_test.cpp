// The graphics layer under the null and the recording driver.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "support/recordingdriver.h"

namespace {

using Calls = std::vector<std::string>;

std::vector<std::string> shownMessages;

void CaptureMessage(const char* title, const char* text) {
    shownMessages.push_back(std::string(title) + "|" + text);
}

std::string OldestError() {
    char text[256];
    return GFX_LastError(text, sizeof text) ? text : "";
}

class GfxLayer : public ::testing::Test {
protected:
    void SetUp() override {
        gfxMessageBox = CaptureMessage;
        shownMessages.clear();
        GFX_ClearErrors();
        RecordingDriver::Install();
        GFX_Configure(640, 480, 0, 4);
        GFX_FlushConfig();
        RecordingDriver::Take();
    }
    void TearDown() override {
        for (GfxRenderTarget* target : targets) GFX_DeleteRenderTarget(target);
        for (GfxImage* image : images) GFX_DeleteImage(image);
        for (GfxOverlay* overlay : overlays) GFX_DeleteOverlay(overlay);
        GFX_Unload();
        GFX_ClearErrors();
        GFX_RestoreOrigin();
    }

    GfxRenderTarget* Target(int32_t w, int32_t h, uint32_t colour, uint32_t flags, uint32_t user) {
        targets.push_back(GFX_CreateRenderTarget(w, h, colour, flags, user));
        return targets.back();
    }
    GfxImage* Image(int32_t w, int32_t h, const void* pixels, int32_t stride, uint32_t flags,
                    uint32_t user = 0) {
        GfxImage* image = GFX_CreateImage(w, h, pixels, stride, flags, user);
        if (image) images.push_back(image);
        return image;
    }
    GfxOverlay* Overlay(uint32_t user) {
        overlays.push_back(GFX_CreateOverlay(user));
        return overlays.back();
    }

    std::vector<GfxRenderTarget*> targets;
    std::vector<GfxImage*> images;
    std::vector<GfxOverlay*> overlays;
};

// --- error queue ---

TEST_F(GfxLayer, ErrorQueueKeepsTheFirstSixteenAndShowsTheOldest) {
    for (int i = 1; i <= 17; ++i) {
        GFX_SetErrorSource(("error " + std::to_string(i)).c_str(), "src/driver/gfxdx9.cpp", i);
        GFX_PushError();
    }
    EXPECT_EQ(GFX_ErrorCount(), 16);
    EXPECT_EQ(OldestError(), "\nERROR\nerror 1 [gfxdx9.cpp:1]\n");
    EXPECT_EQ(GFX_PopError(), 15);
    EXPECT_EQ(OldestError(), "\nERROR\nerror 2 [gfxdx9.cpp:2]\n");
    while (GFX_ErrorCount() > 1) GFX_PopError();
    EXPECT_EQ(OldestError(), "\nERROR\nerror 16 [gfxdx9.cpp:16]\n");  // the 17th was dropped
    EXPECT_EQ(GFX_PopError(), 0);
    EXPECT_EQ(GFX_PopError(), 0);
    EXPECT_EQ(GFX_LastError(nullptr, 0), 0);
}

TEST_F(GfxLayer, ErrorSourceKeepsOnlyTheFileName) {
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {
        {"C:\\build\\source/driver\\gfxopengl.cpp", "\nERROR\nfailed [gfxopengl.cpp:7]\n"},
        {"/home/dev/source/driver/gfxcore.cpp", "\nERROR\nfailed [gfxcore.cpp:7]\n"},
        {"gfxnull.cpp", "\nERROR\nfailed [gfxnull.cpp:7]\n"},
    };
    for (const auto& c : cases) {
        GFX_SetErrorSource("failed", c.path, 7);
        GFX_PushError();
        EXPECT_EQ(OldestError(), c.expected) << c.path;
        GFX_PopError();
    }
}

TEST_F(GfxLayer, FormatErrorFillsThePlaceholderAndPrintsEveryOtherPercentAsItIs) {
    GFX_SetErrorSource("FramePreload (error) - %s", "gfxdx9.cpp", 3);
    GFX_FormatError("100% of %d %s %n");
    GFX_PushError();
    EXPECT_EQ(OldestError(), "\nERROR\nFramePreload (error) - 100% of %d %s %n [gfxdx9.cpp:3]\n");
    GFX_PopError();

    GFX_SetErrorSource("texture 50%d%n full", "gfxdx9.cpp", 4);  // no placeholder: unchanged
    GFX_FormatError("ignored");
    GFX_PushError();
    EXPECT_EQ(OldestError(), "\nERROR\ntexture 50%d%n full [gfxdx9.cpp:4]\n");
}

TEST_F(GfxLayer, LongErrorsAreCutTo255Characters) {
    const std::string message(400, 'x');
    GFX_SetErrorSource(message.c_str(), "a.cpp", 1);
    GFX_FormatError("y");
    GFX_PushError();
    const std::string text = OldestError();
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.substr(0, 8), "\nERROR\nx");
}

TEST_F(GfxLayer, LastErrorCutsToTheDestinationSize) {
    GFX_SetErrorSource("abc", "f.c", 1);  // entry "\nERROR\nabc [f.c:1]\n", 19 characters
    GFX_PushError();
    EXPECT_EQ(GFX_LastError(nullptr, 0), 20);
    char text[8];
    std::memset(text, '#', sizeof text);
    EXPECT_EQ(GFX_LastError(text, 5), 5);
    EXPECT_STREQ(text, "\nERR");
    EXPECT_EQ(text[5], '#');
    EXPECT_EQ(GFX_LastError(text, 0), 0);
    EXPECT_EQ(text[0], '\n');  // untouched
    char whole[20];
    EXPECT_EQ(GFX_LastError(whole, sizeof whole), 20);
    EXPECT_STREQ(whole, "\nERROR\nabc [f.c:1]\n");
}

// --- records ---

TEST_F(GfxLayer, RenderTargetAlphaModeComesFromFlagsAndClearColour) {
    const struct {
        uint32_t flags, colour, mode, storedColour;
    } cases[] = {
        {0, 0x80000000, GfxAlphaBlended, 0x80000000},
        {0, 0x00000000, GfxAlphaCutout, 0x00000000},
        {0, 0xFF000000, GfxAlphaOpaque, 0xFF000000},
        {0, 0x01123456, GfxAlphaBlended, 0x01123456},
        {GfxAlphaOpaque, 0x00123456, GfxAlphaOpaque, 0xFF123456},
        {GfxAlphaCutout, 0x01000000, GfxAlphaCutout, 0xFF000000},
        {GfxAlphaCutout, 0x00ABCDEF, GfxAlphaCutout, 0x00ABCDEF},
        {GfxAlphaBlended, 0x40ABCDEF, GfxAlphaBlended, 0x40ABCDEF},
    };
    for (const auto& c : cases) {
        const uint32_t otherFlags = GfxFlagLinear | GfxFlagKeep;
        const GfxRenderTarget* target = Target(8, 8, c.colour, c.flags | otherFlags, 0);
        EXPECT_EQ(target->flags, c.mode | otherFlags) << std::hex << c.flags << " " << c.colour;
        EXPECT_EQ(target->clearColour, c.storedColour) << std::hex << c.flags << " " << c.colour;
    }
}

// A driver that cannot hold any render target: it queues why, as the real drivers do.
void RefuseTarget(GfxRenderTarget*) { GFX_PUSH_ERROR("render target too large for a texture"); }

TEST_F(GfxLayer, APreparedTargetTheDeviceCannotHoldLeavesTheQueueAsItWas) {
    GfxRenderTarget* target = Target(64, 64, 0, 0, 7);
    EXPECT_TRUE(GFX_PrepareRenderTarget(target));
    EXPECT_NE(target->driverObject, nullptr);
    EXPECT_EQ(GFX_ErrorCount(), 0);

    GFX_PUSH_ERROR("earlier");
    GfxDriver::CreateTarget = RefuseTarget;
    GfxRenderTarget* refused = Target(1 << 20, 64, 0, 0, 8);
    EXPECT_FALSE(GFX_PrepareRenderTarget(refused));
    EXPECT_EQ(refused->driverObject, nullptr);
    // The earlier error stays, and a later one queues behind it.
    EXPECT_EQ(GFX_ErrorCount(), 1);
    EXPECT_NE(OldestError().find("earlier"), std::string::npos);
    GFX_PUSH_ERROR("later");
    EXPECT_EQ(GFX_PopError(), 1);
    EXPECT_NE(OldestError().find("later"), std::string::npos);
    // Painting into such a target is still the driver error it always was.
    GFX_ClearErrors();
    GFX_BeginFrame(refused);
    GFX_EndFrame();
    EXPECT_GT(GFX_ErrorCount(), 0);
}

TEST_F(GfxLayer, ImageAlphaModeIsScannedFromItsPixels) {
    const uint32_t opaque[4] = {0xFF000000, 0xFFFFFFFF, 0xFF123456, 0xFF000001};
    const uint32_t oneHole[4] = {0xFF000000, 0x00FFFFFF, 0xFF123456, 0xFF000001};
    const uint32_t halfSeen[4] = {0xFF000000, 0x00FFFFFF, 0x80123456, 0xFF000001};
    // Rows of 2 pixels 12 bytes apart: the padding pixel's alpha 0x80 must not be read.
    const uint32_t padded[6] = {0xFF000000, 0xFF000000, 0x80000000,
                                0xFF000000, 0xFF000000, 0x80000000};
    const struct {
        int32_t w, h;
        const void* pixels;
        int32_t stride;
        uint32_t flags, mode;
    } cases[] = {
        {2, 2, opaque, 8, 0, GfxAlphaOpaque},
        {2, 2, oneHole, 8, 0, GfxAlphaCutout},
        {2, 2, halfSeen, 8, 0, GfxAlphaBlended},
        {2, 2, padded, 12, 0, GfxAlphaOpaque},
        {0, 0, opaque, 0, 0, GfxAlphaOpaque},
        {2, 2, nullptr, 0, 0, GfxAlphaBlended},
        {2, 2, halfSeen, 8, GfxAlphaOpaque, GfxAlphaOpaque},
    };
    for (const auto& c : cases) {
        const GfxImage* image = Image(c.w, c.h, c.pixels, c.stride, c.flags);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->flags & GfxFlagAlphaMode, c.mode) << c.w << "x" << c.h << " " << c.pixels;
    }
}

TEST_F(GfxLayer, ImageCopiesRowsByStrideOrStartsTransparent) {
    const uint32_t source[6] = {1, 2, 0xDEAD, 3, 4, 0xDEAD};
    GfxImage* image = Image(2, 2, source, 12, 0);
    EXPECT_EQ(std::vector<uint32_t>(image->pixels, image->pixels + 4),
              (std::vector<uint32_t>{1, 2, 3, 4}));
    GfxImage* blank = Image(3, 1, nullptr, 0, 0);
    EXPECT_EQ(std::vector<uint32_t>(blank->pixels, blank->pixels + 3),
              (std::vector<uint32_t>{0, 0, 0}));
    EXPECT_EQ(GFX_ImageWidth(image), 2);
    EXPECT_EQ(GFX_ImageHeight(image), 2);
    EXPECT_EQ(GFX_ImagePixels(image), image->pixels);
}

TEST_F(GfxLayer, ImageSizesThatCannotBeAllocatedAreRefused) {
    const struct {
        int32_t w, h;
    } refused[] = {{-1, 4},      {4, -1},         {65536, 65536},
                   {INT_MAX, 2}, {0x40000000, 1}, {INT_MAX, INT_MAX}};
    for (const auto& size : refused) {
        EXPECT_EQ(GFX_CreateImage(size.w, size.h, nullptr, 0, 0, 0), nullptr)
            << size.w << "x" << size.h;
    }
    EXPECT_EQ(gfxState.images, nullptr);
    EXPECT_NE(Image(0, 0, nullptr, 0, 0), nullptr);
}

TEST_F(GfxLayer, UpdateImageCopiesInsideTheImageOnly) {
    GfxImage* image = Image(4, 4, nullptr, 0, 0, 7);
    image->driverObject = reinterpret_cast<void*>(1);  // as if a driver had drawn it
    const uint32_t block[4] = {0xA, 0xB, 0xC, 0xD};
    GFX_UpdateImage(image, 2, 1, 2, 2, block, 8);
    EXPECT_EQ(image->pixels[1 * 4 + 2], 0xAu);
    EXPECT_EQ(image->pixels[1 * 4 + 3], 0xBu);
    EXPECT_EQ(image->pixels[2 * 4 + 2], 0xCu);
    EXPECT_EQ(image->pixels[2 * 4 + 3], 0xDu);
    EXPECT_EQ(RecordingDriver::Take(), Calls{"UpdateImage(img:7,2,1,2,2)"});

    const struct {
        int32_t x, y, w, h;
    } outside[] = {{3, 3, 2, 2}, {-1, 0, 2, 2}, {0, 0, 5, 1}, {0, 0, -1, 1}, {INT_MAX, 0, 2, 1}};
    for (const auto& r : outside) GFX_UpdateImage(image, r.x, r.y, r.w, r.h, block, 8);
    EXPECT_EQ(RecordingDriver::Take(), Calls{});
    EXPECT_EQ(image->pixels[15], 0u);
}

// --- origin and clip ---

TEST_F(GfxLayer, ClipIntersectsWithTheOriginAppliedAndStaysEmptyAfterAMiss) {
    GFX_BeginFrame(nullptr);
    RecordingDriver::Take();
    GFX_SetOrigin(10, 20);
    GFX_SetOrigin(5, 0);
    GFX_SetClip(0, 0, 100, 100);
    GFX_SetClip(-20, -30, 50, 500);
    GFX_SetClip(200, 0, 10, 10);  // misses
    GFX_SetClip(0, 0, 100, 100);
    EXPECT_EQ(RecordingDriver::Take(), (Calls{"SetClip(15,20,115,120)", "SetClip(15,20,45,120)",
                                              "SetClip(0,0,0,0)", "SetClip(0,0,0,0)"}));
    GFX_ResetClip();
    EXPECT_EQ(RecordingDriver::Take(), Calls{"SetClip(0,0,640,480)"});
    GFX_EndFrame();
}

TEST_F(GfxLayer, ClipThatOnlyTouchesTheClipEdgeLetsNothingThrough) {
    GFX_BeginFrame(nullptr);
    const struct {
        float x, y, w, h;
        const char* applied;
    } cases[] = {
        {640, 10, 20, 20, "SetClip(0,0,0,0)"},           // right edge
        {-20, 10, 20, 20, "SetClip(0,0,0,0)"},           // left edge
        {10, 480, 20, 20, "SetClip(0,0,0,0)"},           // bottom edge
        {10, -20, 20, 20, "SetClip(0,0,0,0)"},           // top edge
        {639, 479, 20, 20, "SetClip(639,479,640,480)"},  // one pixel inside
    };
    for (const auto& c : cases) {
        GFX_ResetClip();
        RecordingDriver::Take();
        GFX_SetClip(c.x, c.y, c.w, c.h);
        EXPECT_EQ(RecordingDriver::Take(), Calls{c.applied}) << c.x << "," << c.y;
    }
    GFX_EndFrame();
}

TEST_F(GfxLayer, ClipStackRestoresInReverseOrderBeyondItsFirstCapacity) {
    GFX_BeginFrame(nullptr);
    for (int i = 0; i < 100; ++i) {
        GFX_PushClip();
        GFX_SetClip(float(i), 0, 1000, 400);  // each level narrows the left edge to i
    }
    for (int i = 99; i >= 0; --i) {
        GFX_PopClip();
        EXPECT_EQ(gfxState.clip.x0, i == 0 ? 0 : i - 1) << i;
    }
    EXPECT_EQ(gfxState.clip.x1, 640);
    EXPECT_TRUE(gfxState.clipStack.empty());
    GFX_EndFrame();
}

TEST_F(GfxLayer, ResetClipTakesTheYoungestSavedClipWithoutRemovingIt) {
    GFX_BeginFrame(nullptr);
    GFX_SetClip(10, 10, 100, 100);
    GFX_PushClip();
    GFX_SetClip(20, 20, 10, 10);
    RecordingDriver::Take();
    GFX_ResetClip();
    GFX_ResetClip();
    EXPECT_EQ(RecordingDriver::Take(), (Calls{"SetClip(10,10,110,110)", "SetClip(10,10,110,110)"}));
    EXPECT_EQ(gfxState.clipStack.size(), 1u);
    GFX_PopClip();
    GFX_PopClip();  // unmatched: nothing to restore, nothing read
    EXPECT_EQ(RecordingDriver::Take(), Calls{"SetClip(10,10,110,110)"});
    GFX_EndFrame();
}

TEST_F(GfxLayer, BeginFrameResetsClipOriginAndStackToTheSurface) {
    GfxRenderTarget* target = Target(64, 32, 0, 0, 5);
    GFX_SetOrigin(3, 3);
    GFX_PushClip();
    GFX_BeginFrame(target);
    EXPECT_EQ(RecordingDriver::Take(), (Calls{"CreateTarget(rt:5)", "BeginFrame(rt:5)"}));
    EXPECT_TRUE(gfxState.clipStack.empty());
    EXPECT_EQ(gfxState.originX, 0);
    GFX_ResetClip();
    EXPECT_EQ(RecordingDriver::Take(), Calls{"SetClip(0,0,64,32)"});
    GFX_SetOrigin(1, 2);
    GFX_EndFrame();
    EXPECT_EQ(gfxState.originX, 0);
    EXPECT_EQ(gfxState.originY, 0);
    GFX_BeginFrame(target);  // created already
    GFX_EndFrame();
    EXPECT_EQ(RecordingDriver::Take(), (Calls{"EndFrame()", "BeginFrame(rt:5)", "EndFrame()"}));
}

TEST_F(GfxLayer, TilesStartAtTheScrollOffsetAndCoverTheRectangle) {
    const struct {
        float x, w, offset, tile;
        std::vector<float> starts;
    } cases[] = {
        {10, 25, 3, 10, {7, 17, 27}}, {10, 25, -3, 10, {3, 13, 23, 33}},
        {10, 20, 20, 10, {10, 20}},   {10, 20, 0, 0, {}},
        {10, 0, 0, 10, {}},
    };
    for (const auto& c : cases) {
        std::vector<float> starts;
        GFX_ForEachTile(c.x, 0, c.w, 1, c.offset, 0, c.tile, 5,
                        [&](float x, float) { starts.push_back(x); });
        EXPECT_EQ(starts, c.starts) << c.x << " " << c.w << " " << c.offset << " " << c.tile;
    }
}

// --- helpers ---

TEST_F(GfxLayer, ScratchBufferGrowsInKilobyteStepsAndRefusesTheImpossible) {
    GFX_FreeScratchBuffer();
    void* buffer = GFX_ScratchBuffer(1024);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(gfxState.scratchSize, 2048u);
    EXPECT_EQ(GFX_ScratchBuffer(2000), buffer);
    EXPECT_EQ(GFX_ScratchBuffer(2048), buffer);
    ASSERT_NE(GFX_ScratchBuffer(2049), nullptr);
    EXPECT_EQ(gfxState.scratchSize, 3072u);
    EXPECT_EQ(GFX_ScratchBuffer(uint64_t(1) << 40), nullptr);
    EXPECT_EQ(GFX_ScratchBuffer(uint64_t(UINT32_MAX) * 4), nullptr);
    EXPECT_NE(GFX_ScratchBuffer(100), nullptr);
    GFX_FreeScratchBuffer();
    EXPECT_EQ(gfxState.scratchSize, 0u);
}

TEST(GfxNextPowerOfTwo, IsTheSmallestPowerNotBelow) {
    const struct {
        int32_t n, power;
    } cases[] = {{INT_MIN, 1},
                 {-5, 1},
                 {0, 1},
                 {1, 1},
                 {2, 2},
                 {3, 4},
                 {300, 512},
                 {640, 1024},
                 {1024, 1024},
                 {1025, 2048},
                 {0x40000000, 0x40000000},
                 {0x40000001, 0},
                 {INT_MAX, 0}};
    for (const auto& c : cases) EXPECT_EQ(GFX_NextPowerOfTwo(c.n), c.power) << c.n;
}

TEST(GfxColours, WorkPerChannelAlphaIncluded) {
    EXPECT_EQ(GFX_LerpColor(0, 0x10203040, 0xFFFFFFFF), 0x10203040u);
    EXPECT_EQ(GFX_LerpColor(255, 0x10203040, 0xFFFFFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(GFX_LerpColor(128, 0x00000000, 0xFFFFFFFF), 0x80808080u);
    EXPECT_EQ(GFX_LerpColor(51, 0xFF000000, 0x00FF0000), 0xCC330000u);
    EXPECT_EQ(GFX_AverageColor(0xFF000000, 0x01020304), 0x80010102u);
    EXPECT_EQ(GFX_MultiplyColor(0x80FF4000, 0xFF808080), 0x80802000u);
    EXPECT_EQ(GFX_MultiplyColor(0x12345678, 0xFFFFFFFF), 0x12345678u);
}

// --- overlays sampled on the processor ---

class GfxSampledOverlay : public GfxLayer {
protected:
    void SetUp() override {
        GfxLayer::SetUp();
        GFX_InstallSampledOverlayOps();
        overlay = Overlay(1);
        GFX_SetOverlayRect(overlay, 10, 20, 4, 2);
        GFX_UpdateOverlay(overlay, 0xFF0000FF, 2, 2, pixels, 8);
        GFX_ApplyOverlay(overlay);
    }
    // Rows top first: (0,0) black, (1,0) white, (0,1) red, (1,1) green.
    const uint32_t pixels[4] = {0xFF000000, 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00};
    GfxOverlay* overlay = nullptr;
};

TEST_F(GfxSampledOverlay, SamplesPixelsOnCornersAndMixesBetween) {
    const struct {
        float x, y;
        uint32_t colour;
    } cases[] = {
        {10, 20, 0xFF000000},  // on pixel (0, 0)
        {14, 22, 0xFF00FF00},  // on pixel (1, 1)
        {12, 20, 0xFF7F7F7F},  // half way along x: weight 127
        {10, 21, 0xFF7F0000},  // half way along y
        {12, 21, 0xFF7F7F3F},  // both: rows mixed along x, then along y
        {8, 20, 0xFF000080},   // left of the overlay: outside colour mixed in
        {18, 20, 0xFF0000FF},  // right of it: outside only
        {11, 20.5f,
         GFX_LerpColor(63, GFX_LerpColor(63, 0xFF000000, 0xFFFFFFFF),
                       GFX_LerpColor(63, 0xFFFF0000, 0xFF00FF00))},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GFX_SampleOverlay(c.x, c.y), c.colour) << c.x << "," << c.y;
    }
}

TEST_F(GfxSampledOverlay, FollowsTheAppliedOverlayOnly) {
    GfxOverlay* other = Overlay(2);
    GFX_UpdateOverlay(other, 0xFF123456, 0, 0, nullptr, 0);
    GFX_SetOverlayRect(other, 0, 0, 1, 1);
    EXPECT_EQ(GFX_SampleOverlay(10, 20), 0xFF000000u);  // `other` is not applied

    GFX_SetOrigin(-10, -20);
    GFX_SetOverlayRect(overlay, 20, 40, 4, 2);  // the origin moves it back to (10, 20)
    GFX_RestoreOrigin();
    EXPECT_EQ(GFX_SampleOverlay(14, 22), 0xFF00FF00u);

    GFX_ApplyOverlay(other);
    EXPECT_EQ(GFX_SampleOverlay(10, 20), 0xFF123456u);  // no pixels: outside everywhere
    GFX_ApplyOverlay(nullptr);
    EXPECT_EQ(GFX_SampleOverlay(10, 20), 0xFFFFFFFFu);
    GFX_ApplyOverlay(overlay);
    GFX_DeleteOverlay(overlay);
    overlays.erase(overlays.begin());
    EXPECT_EQ(GFX_SampleOverlay(10, 20), 0xFFFFFFFFu);
}

TEST_F(GfxSampledOverlay, NewPixelsOfTheAppliedOverlayTakeEffectAtOnce) {
    const uint32_t single = 0xFF804020;
    GFX_UpdateOverlay(overlay, 0xFF000000, 1, 1, &single, 4);
    EXPECT_EQ(GFX_SampleOverlay(10, 20), 0xFF804020u);
    EXPECT_EQ(GFX_SampleOverlay(14, 20), 0xFF000000u);
    GFX_UpdateOverlay(overlay, 0xFFABCDEF, -3, 5, &single, 4);  // no usable size: outside only
    EXPECT_EQ(overlay->pixelWidth, 0);
    EXPECT_EQ(GFX_SampleOverlay(10, 20), 0xFFABCDEFu);
}

// --- drivers and frames ---

TEST_F(GfxLayer, UnknownDriverCodesLeaveTheNullDriver) {
    for (uint32_t code : {0u, 0x12345678u, DriverNull, DriverDirectX}) {
        GFX_Init(code, 0, 'F');
        EXPECT_EQ(GfxDriver::GetDriverId(), DriverNull) << std::hex << code;
        EXPECT_TRUE(gfxState.dirty);
    }
}

TEST(GfxInitGuard, AnythingButFEndsTheProcessAtOnce) {
    EXPECT_EXIT(GFX_Init(DriverNull, 0, 'G'), ::testing::ExitedWithCode(1), "");
}

TEST_F(GfxLayer, DriverChangeReleasesEveryDriverObjectFirst) {
    GfxRenderTarget* target = Target(4, 4, 0, 0, 1);
    GfxImage* image = Image(1, 1, nullptr, 0, 0, 2);
    GfxOverlay* overlay = Overlay(3);
    GFX_BeginFrame(target);
    GFX_EndFrame();
    image->driverObject = reinterpret_cast<void*>(1);
    GFX_ApplyOverlay(overlay);
    RecordingDriver::Take();
    GFX_Init(0, 0, 'F');
    EXPECT_EQ(RecordingDriver::Take(), (Calls{"DeleteTarget(rt:1)", "DeleteImage(img:2)",
                                              "DeleteOverlay(ov:3)", "Unload()"}));
    EXPECT_EQ(target->driverObject, nullptr);
    EXPECT_EQ(image->driverObject, nullptr);
    EXPECT_EQ(overlay->driverObject, nullptr);
    EXPECT_TRUE(GFX_CheckRenderTarget(target));
}

TEST_F(GfxLayer, NullDriverTakesTargetsAsDrawnAndReadsZeros) {
    GFX_Init(0, 0, 'F');
    GFX_FlushConfig();
    GfxRenderTarget* target = Target(16, 16, 0, 0, 0);
    EXPECT_TRUE(GFX_CheckRenderTarget(target));
    GFX_BeginFrame(target);
    GFX_EndFrame();
    EXPECT_FALSE(GFX_CheckRenderTarget(target));

    uint8_t screen[2 * 12];
    std::memset(screen, 0xAB, sizeof screen);
    GfxDriver::ReadScreen(0, 0, 2, 2, screen, 12);
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 12; ++i) EXPECT_EQ(screen[row * 12 + i], i < 8 ? 0 : 0xAB);
    }
    GfxOverlay* overlay = Overlay(0);
    GFX_ApplyOverlay(overlay);
    GFX_ApplyOverlay(nullptr);
    GFX_ApplyOverlay(nullptr);
    EXPECT_EQ(GfxDriver::GetDriverId(), DriverNull);
}

TEST_F(GfxLayer, FrameWithoutFlushedConfigurationRunsOnTheNullDriver) {
    GFX_Configure(800, 600, 0, 4);
    GFX_BeginFrame(nullptr);
    EXPECT_EQ(GfxDriver::GetDriverId(), DriverNull);
    EXPECT_FALSE(gfxState.dirty);
    EXPECT_EQ(shownMessages,
              std::vector<std::string>{
                  "Driver error.|Preparing frame without flushing the driver config."});
    GfxDriver::FillRect(0, 0, 1, 1, 0, 3);
    GFX_EndFrame();
    EXPECT_EQ(RecordingDriver::Take(), Calls{"Unload()"});
}

TEST_F(GfxLayer, ErrorsOfAFrameUnloadTheDriverAtItsEndAndStayQueued) {
    GFX_BeginFrame(nullptr);
    GFX_PUSH_ERROR("driver failed");
    EXPECT_EQ(GfxDriver::GetDriverId(), RecordingDriver::Id);
    GFX_EndFrame();
    EXPECT_EQ(RecordingDriver::Take(), (Calls{"BeginFrame(null)", "EndFrame()", "Unload()"}));
    EXPECT_EQ(GfxDriver::GetDriverId(), DriverNull);
    EXPECT_EQ(GFX_ErrorCount(), 1);
    EXPECT_NE(OldestError().find("driver failed [gfxcore_test.cpp:"), std::string::npos);
}

TEST_F(GfxLayer, TargetThatCannotBeCreatedEndsTheFrameOnTheNullDriver) {
    GfxDriver::CreateTarget = [](GfxRenderTarget*) {};  // a driver that fails to create it
    GfxRenderTarget* target = Target(4, 4, 0, 0, 9);
    GFX_BeginFrame(target);
    GfxDriver::FillRect(0, 0, 1, 1, 0, 3);
    GFX_EndFrame();
    EXPECT_EQ(GfxDriver::GetDriverId(), DriverNull);
    EXPECT_EQ(GFX_ErrorCount(), 1);
    EXPECT_NE(OldestError().find("render target could not be created"), std::string::npos);
}

TEST_F(GfxLayer, BindRefusesWhatIsNoWindow) {
    GFX_Bind(reinterpret_cast<HWND>(0x7FFF0));
    EXPECT_EQ(GfxDriver::window, nullptr);
    EXPECT_EQ(GfxDriver::GetDriverId(), DriverNull);
    EXPECT_NE(OldestError().find("GFX_Bind: invalid window handle [gfxcore.cpp:"),
              std::string::npos);
    GFX_ClearErrors();
    GFX_Bind(nullptr);
    EXPECT_EQ(GFX_ErrorCount(), 0);
}

TEST_F(GfxLayer, ReadsOfATargetStayInsideIt) {
    GfxRenderTarget* target = Target(8, 4, 0, 0, 4);
    uint32_t pixels[32];
    GFX_ReadRenderTarget(target, 0, 0, 8, 4, pixels, 32);  // not drawn yet
    GFX_BeginFrame(target);
    GFX_EndFrame();
    RecordingDriver::Take();
    GFX_ReadRenderTarget(target, 0, 0, 8, 4, pixels, 32);
    GFX_ReadRenderTarget(target, 6, 2, 2, 2, pixels, 32);
    GFX_ReadRenderTarget(target, 7, 0, 2, 1, pixels, 32);
    GFX_ReadRenderTarget(target, 0, 0, 0, 4, pixels, 32);
    GFX_ReadRenderTarget(target, -1, 0, 1, 1, pixels, 32);
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{"ReadTarget(rt:4,0,0,8,4,ptr,32)", "ReadTarget(rt:4,6,2,2,2,ptr,32)"}));
}

}  // namespace
