// What the drawing benchmarks share: the scene, its textures, the window and the frame clock.
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

// A visible window of the given size without frame.
HWND OpenWindow(int width, int height);

// Waits until OpenGL has drawn everything asked of it.
void FinishOpenGl();

// Counts the calls of the driver in use from now on and gives the finish that waits for its
// drawing: the Direct3D 9 device's, or OpenGL's when the device is null.
std::function<void()> CountDriverCalls(void* direct3dDevice);

struct FrameFigures {
    double medianMs;
    long drawCalls;     // of one frame (DriverCalls)
    long textureBinds;  // of one frame (DriverCalls)
};

// Runs warm-up frames, then `frames` frames, each followed by `finish` (waiting until the
// drawing is done) before the clock stops. The calls are counted once DriverCalls counts them.
FrameFigures Measure(int frames, const std::function<void()>& drawFrame,
                     const std::function<void()>& finish = FinishOpenGl);

// Frames measured for a scene of n sprites.
int FramesFor(int n);

// The changes of texture between consecutive textured quads of the scene, the first included:
// the fewest texture binds a frame can do.
int TextureRuns(const std::vector<Op>& scene);

void Print(const char* program, int n, const FrameFigures& figures, int textureRuns);

}  // namespace Bench
