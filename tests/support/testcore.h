#pragma once
// A Core for unit tests: start values only, the null graphics driver, an 800 x 600 client area,
// an empty image table and the test font as fonts 1 and 2; nothing is loaded and no window is
// opened.
#include <memory>

#include "core.h"

// The test font: every character from 32 up is a 5 x 8 glyph that moves the pen 7 pixels, and
// lines are 12 pixels apart.
constexpr int32_t TestGlyphAdvance = 6;
constexpr int32_t TestLetterSpacing = 1;
constexpr int32_t TestCharWidth = TestGlyphAdvance + TestLetterSpacing;
constexpr int32_t TestLineHeight = 12;

Font* MakeTestFont(Core* core, uint32_t id);
// Installs the null driver, configured for the 800 x 600 client area and clipped to all of it; a
// graphics-layer message box fails the test instead of waiting.
void UseNullDriver();
std::unique_ptr<Core> MakeTestCore();
