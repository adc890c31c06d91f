// Helpers for the tests of the real graphics drivers: a window of their own on the test run's X
// display, pixel blocks read back from render targets and the screen, block comparisons, and a
// fixture that loads a driver and deletes the records a test made.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "driver/gfxcore.h"

namespace DriverTest {

constexpr int WindowWidth = 400;
constexpr int WindowHeight = 300;
constexpr uint32_t ClearColour = 0xFF202020;

// A visible window without frame of the given size at the screen's top left, its first messages
// handled.
HWND CreateTestWindow(int width, int height);
// A visible WindowWidth x WindowHeight window without frame, made once per test program.
HWND TestWindow();

// The text of the oldest entry of the layer's error queue, or "".
std::string OldestError();

// A read-back surface: pixels 0xAARRGGBB, rows top first.
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> values;
    uint32_t at(int x, int y) const { return values[size_t(y) * width + x]; }
};

// Every pixel of the block (x0, y0)..(x1, y1) equals `expected(x, y)` within `tolerance` per
// channel; reports the first miss.
::testing::AssertionResult BlockIs(const Pixels& pixels, int x0, int y0, int x1, int y1,
                                   const std::function<uint32_t(int, int)>& expected,
                                   int tolerance = 0);
::testing::AssertionResult BlockIs(const Pixels& pixels, int x0, int y0, int x1, int y1,
                                   uint32_t colour, int tolerance = 0);

// A driver code and the init flags it is loaded with, named for the test output.
struct DriverSetup {
    const char* name;
    uint32_t code;
    uint32_t flags;
};
inline void PrintTo(const DriverSetup& setup, std::ostream* out) { *out << setup.name; }

// Loads its driver on the test window before every test (message boxes fail the test) and
// unloads it after; the records made through it are deleted, and no error may be left queued.
// Presented frames are kept for the screen read-back meanwhile.
class DriverFixture : public ::testing::Test {
public:
    explicit DriverFixture(const DriverSetup& setup) : setup(setup) {}

    void SetUp() override;
    void TearDown() override;

    // Loads a driver, configured for the whole window; asserts that it started.
    static void Load(uint32_t code, uint32_t flags);

    GfxRenderTarget* Target(int32_t w, int32_t h, uint32_t colour, uint32_t flags);
    GfxImage* Image(int32_t w, int32_t h, const std::vector<uint32_t>& pixels, uint32_t flags = 0);
    GfxOverlay* Overlay();

    // The whole screen as the player saw it last.
    static Pixels Screen();
    // The block (x, y, w, h) of a target.
    static Pixels Read(GfxRenderTarget* target, int x, int y, int w, int h);
    // One frame of the screen, or of a target.
    static void DrawScreen(const std::function<void()>& draw);
    static void DrawTarget(GfxRenderTarget* target, const std::function<void()>& draw);

    const DriverSetup setup;

private:
    std::vector<GfxRenderTarget*> targets;
    std::vector<GfxImage*> images;
    std::vector<GfxOverlay*> overlays;
};

}  // namespace DriverTest
