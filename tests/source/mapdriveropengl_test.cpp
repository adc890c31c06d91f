// The world map composed through the OpenGL driver and read back: every pixel is the base page
// under the fog, the clouds' shadow and the clouds, each as transparent as the explored-area mask
// makes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "driver/gfxcore.h"
#include "support/mapdata.h"

namespace {

constexpr int ShadowOffset = 10;
constexpr int ShadowAlpha = 0x64;

struct Colour {
    float r, g, b;
};

Colour Unpack(uint32_t pixel) {
    return {float(pixel >> 16 & 255), float(pixel >> 8 & 255), float(pixel & 255)};
}

Colour Over(Colour below, Colour above, float alpha) {
    return {above.r * alpha + below.r * (1 - alpha), above.g * alpha + below.g * (1 - alpha),
            above.b * alpha + below.b * (1 - alpha)};
}

class MapOpenGl : public MapDriverTest {
protected:
    void SetUp() override {
        MapDriverTest::SetUp();
        GFX_Init(DriverOpenGL, 0, 'F');
        GFX_Configure(640, 480, 0, 4);
        GFX_FlushConfig();
    }

    std::vector<uint32_t> ReadMap() const {
        std::vector<uint32_t> pixels(size_t(driver->width) * size_t(driver->height));
        GFX_ReadRenderTarget(driver->mapTarget, 0, 0, driver->width, driver->height, pixels.data(),
                             driver->width * 4);
        return pixels;
    }

    // What the map should show at (x, y), worked out from the page pixels and the mask: the
    // cloud layers' colours with the mask as alpha (layer 2 at most its own alpha).
    Colour Expected(const std::vector<uint32_t>& base, const std::vector<uint32_t>& fog,
                    const std::vector<uint32_t>& clouds, int x, int y) const {
        const int w = driver->width;
        const std::vector<uint8_t>& mask = driver->account->mask;
        auto cloudAlpha = [&](int i) {
            return std::min<float>(float(clouds[i] >> 24), float(mask[i])) / 255;
        };
        const int i = y * w + x;
        Colour colour = Over(Unpack(base[i]), Unpack(fog[i]), float(mask[i]) / 255);
        const int sx = x - ShadowOffset, sy = y - ShadowOffset;
        if (sx >= 0 && sy >= 0) {
            colour = Over(colour, {0, 0, 0}, cloudAlpha(sy * w + sx) * ShadowAlpha / 255);
        }
        return Over(colour, Unpack(clouds[i]), cloudAlpha(i));
    }
};

std::vector<uint32_t> Pixels(const GfxImage* image) {
    return std::vector<uint32_t>(image->pixels,
                                 image->pixels + size_t(image->width) * image->height);
}

::testing::AssertionResult Near(uint32_t got, Colour want, int tolerance) {
    const Colour have = Unpack(got);
    const float channels[3][2] = {{have.r, want.r}, {have.g, want.g}, {have.b, want.b}};
    for (const auto& channel : channels) {
        if (std::abs(channel[0] - channel[1]) > float(tolerance)) {
            char text[80];
            snprintf(text, sizeof text, "got %08X, want %.1f,%.1f,%.1f", unsigned(got), want.r,
                     want.g, want.b);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(MapOpenGl, TheComposedMapShowsThePageWhereExploredAndCloudsElsewhere) {
    ASSERT_EQ(GfxDriver::GetDriverId(), DriverOpenGL) << "the OpenGL driver did not start";
    Start();
    // The cloud images as loaded: their colours, and layer 2's own alpha.
    ASSERT_TRUE(driver->SetMap(Selection(1, worldKey, 0, 0, 1100, 1100)));
    const std::vector<uint32_t> base = Pixels(driver->baseImage);
    const std::vector<uint32_t> fog = Pixels(driver->cloudImage1);
    const std::vector<uint32_t> clouds = Pixels(driver->cloudImage2);
    ASSERT_TRUE(Move(1100, 1100));
    ASSERT_TRUE(Move(1180, 1150));
    ASSERT_EQ(GFX_ErrorCount(), 0);

    const std::vector<uint32_t> drawn = ReadMap();
    int explored = 0, covered = 0;
    for (int y = 0; y < driver->height; ++y) {
        for (int x = 0; x < driver->width; ++x) {
            SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
            const uint8_t cell = driver->account->mask[size_t(y) * driver->width + x];
            explored += cell == 0;
            covered += cell == 255;
            ASSERT_TRUE(
                Near(drawn[size_t(y) * driver->width + x], Expected(base, fog, clouds, x, y), 3));
        }
    }
    EXPECT_GT(explored, 20);
    EXPECT_GT(covered, 320 * 240 / 2);

    // Without clouds the map is the base page.
    driver->cloudShown = 0;
    driver->Render();
    const std::vector<uint32_t> plain = ReadMap();
    for (size_t i = 0; i < plain.size(); ++i)
        ASSERT_TRUE(Near(plain[i], Unpack(base[i]), 1)) << "pixel " << i;
}

TEST_F(MapOpenGl, TargetsLostWithTheDriverAreRebuiltFromTheMask) {
    ASSERT_EQ(GfxDriver::GetDriverId(), DriverOpenGL) << "the OpenGL driver did not start";
    Start();
    ASSERT_TRUE(driver->SetMap(Selection(1, worldKey, 0, 0, 1200, 1100)));
    const std::vector<uint32_t> base = Pixels(driver->baseImage);
    const std::vector<uint32_t> fog = Pixels(driver->cloudImage1);
    const std::vector<uint32_t> clouds = Pixels(driver->cloudImage2);
    ASSERT_TRUE(Move(1200, 1100));
    const std::vector<uint32_t> before = ReadMap();

    // A new driver: every texture and target is made again, the clouds from the mask.
    GFX_Init(DriverOpenGL, 0, 'F');
    GFX_Configure(640, 480, 0, 4);
    GFX_FlushConfig();
    driver->Render();
    const std::vector<uint32_t> after = ReadMap();
    for (size_t i = 0; i < after.size(); ++i) {
        const int x = int(i) % driver->width, y = int(i) / driver->width;
        ASSERT_TRUE(Near(after[i], Unpack(before[i]), 2)) << "pixel " << x << "," << y;
        ASSERT_TRUE(Near(after[i], Expected(base, fog, clouds, x, y), 3))
            << "pixel " << x << "," << y;
    }
}

}  // namespace
