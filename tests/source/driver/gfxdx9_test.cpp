// What only the Direct3D 9 driver does: its textures, its lines, a device reset on a new
// configuration, and the error of a render target it cannot create. What both drivers draw
// alike is in gfxdrivers_test.cpp.
#include <gtest/gtest.h>

#include <d3d9.h>

#include <string>
#include <vector>

#include "support/drivertest.h"

namespace {

using namespace DriverTest;

class Direct3D9 : public DriverFixture, public ::testing::WithParamInterface<uint32_t> {
public:
    Direct3D9() : DriverFixture({"Direct3D9", DriverDirectX, GetParam()}) {}
};

INSTANTIATE_TEST_SUITE_P(, Direct3D9, ::testing::Values(0, GFX_INIT_DX9_NO_MULTITEXTURE),
                         [](const ::testing::TestParamInfo<uint32_t>& info) {
                             return info.param == 0 ? "AllFeatures" : "NoMultitexture";
                         });

TEST_P(Direct3D9, LinesCoverThePixelsFromTheirStartUpToTheirEnd) {
    DrawScreen([] {
        GfxDriver::DrawLine(0, 0, 10, 0, 0xFFFFFFFF, 3);
        GfxDriver::DrawLine(30, 10, 30, 20, 0xFFFFFFFF, 3);
        GFX_SetOrigin(100, 100);
        GfxDriver::DrawLineGradient(0, 0, 4, 0, 0xFF000000, 0xFFFFFFFF, 3);
    });
    const Pixels screen = Screen();
    const auto lit = [](int x, int y) {
        const bool horizontal = y == 0 && x < 10;
        const bool vertical = x == 30 && y >= 10 && y < 20;
        return horizontal || vertical ? 0xFFFFFFFF : kClear;
    };
    EXPECT_TRUE(BlockIs(screen, 0, 0, 40, 30, lit));
    // The gradient runs from its start colour towards its end colour over pixels 100 to 103.
    EXPECT_EQ(screen.at(100, 100), 0xFF000000u);
    EXPECT_LT(screen.at(101, 100) & 0xFF, screen.at(103, 100) & 0xFF);
    EXPECT_EQ(screen.at(104, 100), kClear);
}

TEST_P(Direct3D9, Image100x30GetsA128x32TextureTransparentBeyondTheImage) {
    std::vector<uint32_t> pixels(100 * 30);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = 0xFF000000 | uint32_t(i * 2654435761u >> 8);  // opaque, scattered colours
    }
    GfxImage* image = Image(100, 30, pixels);
    D3DSURFACE_DESC level = {};
    std::vector<uint32_t> texels;
    DrawScreen([&] {
        GfxDriver::DrawImage(0, 0, image);
        // Texels beyond the image: the part right of it and below it draws nothing.
        GfxDriver::DrawImagePart(200, 0, 100, 0, 28, 32, image);
        GfxDriver::DrawImagePart(200, 100, 0, 30, 128, 2, image);
        IDirect3DBaseTexture9* bound = nullptr;
        ASSERT_EQ(DX9_Device()->GetTexture(0, &bound), D3D_OK);
        auto* texture = static_cast<IDirect3DTexture9*>(bound);
        texture->GetLevelDesc(0, &level);
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        for (UINT y = 0; y < level.Height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(
                static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch);
            texels.insert(texels.end(), row, row + level.Width);
        }
        texture->UnlockRect(0);
        bound->Release();
    });
    ASSERT_EQ(level.Width, 128u);
    ASSERT_EQ(level.Height, 32u);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 128; ++x) {
            const uint32_t expected = x < 100 && y < 30 ? pixels[y * 100 + x] : 0;
            ASSERT_EQ(texels[y * 128 + x], expected) << "texel (" << x << ", " << y << ")";
        }
    }
    const Pixels screen = Screen();
    EXPECT_TRUE(BlockIs(screen, 0, 0, 100, 30, [&](int x, int y) { return pixels[y * 100 + x]; }));
    EXPECT_TRUE(BlockIs(screen, 100, 0, kWidth, kHeight, kClear));
    EXPECT_TRUE(BlockIs(screen, 0, 30, 100, kHeight, kClear));
}

TEST_P(Direct3D9, NewConfigurationResetsTargetsAndKeepsImageTextures) {
    GfxRenderTarget* target = Target(16, 16, 0xFF00FF00, 0);
    GfxImage* image = Image(2, 1, {0xFFFF0000, 0xFF0000FF});
    DrawTarget(target, [&] { GfxDriver::DrawImage(0, 0, image); });
    const void* texture = image->driverObject;
    ASSERT_NE(texture, nullptr);

    GFX_Configure(300, 200, 0xFF000080, 4);
    GFX_FlushConfig();
    EXPECT_EQ(target->driverObject, nullptr);  // redrawn by its owner on its next use
    EXPECT_TRUE(GFX_CheckRenderTarget(target));
    EXPECT_EQ(image->driverObject, texture);

    DrawTarget(target, [&] { GfxDriver::DrawImage(0, 0, image); });
    DrawScreen([&] { GfxDriver::DrawTarget(10, 10, target); });
    const Pixels screen = Screen();  // 400 x 300 asked, 300 x 200 drawn
    const auto scene = [](int x, int y) {
        if (x < 10 || y < 10 || x >= 26 || y >= 26) return 0xFF000080u;
        if (y > 10) return 0xFF00FF00u;
        return x == 10 ? 0xFFFF0000u : x == 11 ? 0xFF0000FFu : 0xFF00FF00u;
    };
    EXPECT_TRUE(BlockIs(screen, 0, 0, 300, 200, scene));
    EXPECT_TRUE(BlockIs(screen, 300, 0, kWidth, kHeight, 0));
    EXPECT_TRUE(BlockIs(screen, 0, 200, 300, kHeight, 0));
}

TEST_P(Direct3D9, TargetThatCannotBeCreatedQueuesWhyAndTheFrameEndUnloads) {
    GfxRenderTarget* huge = Target(1 << 20, 1 << 20, 0xFF000000, 0);
    DrawTarget(huge, [] { GfxDriver::FillRect(0, 0, 10, 10, 0xFFFFFFFF, 3); });
    const std::string error = OldestError();
    EXPECT_EQ(error.rfind("\nERROR\nDX9::FramePreload (error) - ", 0), 0u) << error;
    EXPECT_NE(error.find(" [gfxdx9.cpp:"), std::string::npos) << error;
    EXPECT_EQ(huge->driverObject, nullptr);
    EXPECT_EQ(GfxDriver::GetDriverId(), DriverNull);
    GFX_ClearErrors();
}

}  // namespace
