// What the drawing benchmarks share: the scene, its textures, the window, the frame clock and
// the counters of draw calls and texture binds.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace Bench {

constexpr int Width = 800;
constexpr int Height = 600;
constexpr int SpriteSize = 32;
constexpr int SpriteTextures = 5;
constexpr int FontWidth = 128;
constexpr int FontHeight = 64;
constexpr int GlyphWidth = 8;
constexpr int GlyphHeight = 12;
const int SceneSizes[] = {500, 2000, 8000};

// One quad of the scene: a 32 x 32 sprite, a filled rectangle, or a tinted glyph (a part of
// the font texture).
struct Op {
    enum Kind { Sprite, Fill, Glyph } kind;
    int texture;  // sprite texture index
    float x, y, w, h;
    float sx, sy;     // glyph: top-left corner in the font texture
    uint32_t colour;  // fill colour or glyph tint
};

// n sprites in runs of eight from one texture, a fill every sixteen sprites and an eight-glyph
// word every eight sprites; the same for every n in the same order.
std::vector<Op> MakeScene(int n);

// Pixels 0xAARRGGBB, rows top first: sprite textures (32 x 32, with transparent corners) and
// the font (128 x 64).
std::vector<uint32_t> SpritePixels(int texture);
std::vector<uint32_t> FontPixels();

// A visible Width x Height window without frame.
HWND OpenWindow();

// Replaces the program's imports of glBegin and glBindTexture with counting ones.
void InstallCounters();
// Counts one draw call or texture bind of the frame being measured.
void CountDrawCall();
void CountTextureBind();
// Waits until OpenGL has drawn everything asked of it.
void FinishOpenGl();

struct FrameFigures {
    double medianMs;
    long drawCalls;     // glBegin calls of one frame
    long textureBinds;  // glBindTexture calls of one frame
};

// Runs warm-up frames, then `frames` frames, each followed by `finish` (waiting until the
// drawing is done) before the clock stops.
FrameFigures Measure(int frames, const std::function<void()>& drawFrame,
                     const std::function<void()>& finish = FinishOpenGl);

// Frames measured for a scene of n sprites.
int FramesFor(int n);

void Print(const char* program, int n, const FrameFigures& figures);

}  // namespace Bench
