#include "support/drivertest.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace DriverTest {

namespace {

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
}

}  // namespace

HWND CreateTestWindow(int width, int height) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VeltorGfxTest";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "VeltorGfxTest", "gfx test", WS_POPUP | WS_VISIBLE, 0, 0,
                                  width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return window;
}

HWND TestWindow() {
    static HWND window = CreateTestWindow(WindowWidth, WindowHeight);
    return window;
}

std::string OldestError() {
    char text[256];
    return GFX_LastError(text, sizeof text) ? text : "";
}

::testing::AssertionResult BlockIs(const Pixels& pixels, int x0, int y0, int x1, int y1,
                                   const std::function<uint32_t(int, int)>& expected,
                                   int tolerance) {
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
                                   uint32_t colour, int tolerance) {
    return BlockIs(
        pixels, x0, y0, x1, y1, [colour](int, int) { return colour; }, tolerance);
}

void DriverFixture::SetUp() {
    gfxMessageBox = [](const char* title, const char* text) {
        ADD_FAILURE() << "message box " << title << ": " << text;
    };
    GFX_ClearErrors();
    Load(setup.code, setup.flags);
}

void DriverFixture::TearDown() {
    for (GfxRenderTarget* target : targets) GFX_DeleteRenderTarget(target);
    for (GfxImage* image : images) GFX_DeleteImage(image);
    for (GfxOverlay* overlay : overlays) GFX_DeleteOverlay(overlay);
    EXPECT_EQ(GFX_ErrorCount(), 0) << OldestError();
    GFX_Unload();
    GFX_Bind(nullptr);
    GFX_ClearErrors();
    GFX_KeepPresentedFrames(false);
}

void DriverFixture::Load(uint32_t code, uint32_t flags) {
    GFX_Bind(TestWindow());
    GFX_Init(code, flags, 'F');
    GFX_Configure(WindowWidth, WindowHeight, ClearColour, 4);
    GFX_FlushConfig();
    GFX_KeepPresentedFrames(true);  // the tests read the screen back
    ASSERT_EQ(GfxDriver::GetDriverId(), code) << "the driver was refused on this machine";
}

GfxRenderTarget* DriverFixture::Target(int32_t w, int32_t h, uint32_t colour, uint32_t flags) {
    targets.push_back(GFX_CreateRenderTarget(w, h, colour, flags, 0));
    return targets.back();
}

GfxImage* DriverFixture::Image(int32_t w, int32_t h, const std::vector<uint32_t>& pixels,
                               uint32_t flags) {
    images.push_back(GFX_CreateImage(w, h, pixels.data(), w * 4, flags, 0));
    return images.back();
}

GfxOverlay* DriverFixture::Overlay() {
    overlays.push_back(GFX_CreateOverlay(0));
    return overlays.back();
}

Pixels DriverFixture::Screen() {
    Pixels screen{WindowWidth, WindowHeight,
                  std::vector<uint32_t>(size_t(WindowWidth) * WindowHeight)};
    std::vector<uint32_t> bottomUp(screen.values.size());
    GfxDriver::ReadScreen(0, 0, WindowWidth, WindowHeight, bottomUp.data(), WindowWidth * 4);
    for (int y = 0; y < WindowHeight; ++y) {
        std::copy_n(&bottomUp[size_t(WindowHeight - 1 - y) * WindowWidth], WindowWidth,
                    &screen.values[size_t(y) * WindowWidth]);
    }
    return screen;
}

Pixels DriverFixture::Read(GfxRenderTarget* target, int x, int y, int w, int h) {
    Pixels block{w, h, std::vector<uint32_t>(size_t(w) * h, 0xDEADBEEF)};
    GFX_ReadRenderTarget(target, x, y, w, h, block.values.data(), w * 4);
    return block;
}

void DriverFixture::DrawScreen(const std::function<void()>& draw) {
    GFX_BeginFrame(nullptr);
    draw();
    GFX_EndFrame();
}

void DriverFixture::DrawTarget(GfxRenderTarget* target, const std::function<void()>& draw) {
    GFX_BeginFrame(target);
    draw();
    GFX_EndFrame();
}

}  // namespace DriverTest
