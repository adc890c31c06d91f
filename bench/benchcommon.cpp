#include "benchcommon.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

#include "benchdx9.h"
#include "drivercalls.h"

namespace Bench {

std::vector<Op> MakeScene(int n) {
    std::vector<Op> scene;
    const float columns = (Width - SpriteSize) / 7.0f;
    for (int i = 0; i < n; ++i) {
        const float x = float(i * 37 % (Width - SpriteSize));
        const float y = float(i * 53 % (Height - SpriteSize));
        scene.push_back(
            {Op::Sprite, i / 8 % SpriteTextures, x, y, SpriteSize, SpriteSize, 0, 0, 0xFFFFFFFF});
        if (i % 16 == 15) {
            scene.push_back({Op::Fill, 0, x * 0.5f, y, 60, 20, 0, 0, 0x80203040});
        }
        if (i % 8 == 7) {
            const float wordX = float(i * 11 % int(columns)) * 7;
            for (int letter = 0; letter < 8; ++letter) {
                const int glyph = (i + letter * 5) % 128;
                scene.push_back({Op::Glyph, 0, wordX + letter * 7.0f, y + 8, GlyphWidth,
                                 GlyphHeight, float(glyph % 16 * GlyphWidth),
                                 float(glyph / 16 % 5 * GlyphHeight), 0xFFE0D080});
            }
        }
    }
    return scene;
}

std::vector<uint32_t> SpritePixels(int texture) {
    std::vector<uint32_t> pixels(SpriteSize * SpriteSize);
    for (int y = 0; y < SpriteSize; ++y) {
        for (int x = 0; x < SpriteSize; ++x) {
            const bool corner = (x < 4 || x >= 28) && (y < 4 || y >= 28);
            const uint32_t red = uint32_t(x * 8 + texture * 40) & 0xFF;
            const uint32_t green = uint32_t(y * 8);
            const uint32_t blue = uint32_t(texture * 50);
            pixels[y * SpriteSize + x] = corner ? 0 : 0xFF000000 | red << 16 | green << 8 | blue;
        }
    }
    return pixels;
}

std::vector<uint32_t> FontPixels() {
    std::vector<uint32_t> pixels(FontWidth * FontHeight);
    for (int y = 0; y < FontHeight; ++y) {
        for (int x = 0; x < FontWidth; ++x) {
            pixels[y * FontWidth + x] = (x * 7 + y * 3) % 5 < 2 ? 0xFFFFFFFF : 0;
        }
    }
    return pixels;
}

HWND OpenWindow(int width, int height) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VeltorBench";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "VeltorBench", "bench", WS_POPUP | WS_VISIBLE, 0, 0, width,
                                  height, nullptr, nullptr, windowClass.hInstance, nullptr);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return window;
}

namespace {

double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

}  // namespace

void FinishOpenGl() { glFinish(); }

std::function<void()> CountDriverCalls(void* direct3dDevice) {
    if (!direct3dDevice) {
        DriverCalls::CountOpenGl();
        return FinishOpenGl;
    }
    DriverCalls::CountDirect3D9(direct3dDevice);
    return [direct3dDevice] { FinishDirect3D9(direct3dDevice); };
}

FrameFigures Measure(int frames, const std::function<void()>& drawFrame,
                     const std::function<void()>& finish) {
    for (int i = 0; i < 20; ++i) {
        drawFrame();
        finish();
    }
    std::vector<double> times;
    FrameFigures figures = {};
    for (int i = 0; i < frames; ++i) {
        DriverCalls::Take();
        const double start = NowMs();
        drawFrame();
        finish();
        times.push_back(NowMs() - start);
        const DriverCalls::Counts counts = DriverCalls::Take();
        figures.drawCalls = counts.drawCalls;
        figures.textureBinds = counts.textureBinds;
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    figures.medianMs = times[times.size() / 2];
    return figures;
}

int FramesFor(int n) { return n <= 500 ? 400 : n <= 2000 ? 200 : 100; }

int TextureRuns(const std::vector<Op>& scene) {
    int runs = 0;
    int texture = -1;  // none yet; the font is SpriteTextures
    for (const Op& op : scene) {
        if (op.kind == Op::Fill) continue;
        const int drawn = op.kind == Op::Sprite ? op.texture : SpriteTextures;
        if (drawn != texture) ++runs;
        texture = drawn;
    }
    return runs;
}

void Print(const char* program, int n, const FrameFigures& figures, int textureRuns) {
    std::printf("%s n=%d ms=%.3f draws=%ld binds=%ld runs=%d\n", program, n, figures.medianMs,
                figures.drawCalls, figures.textureBinds, textureRuns);
    std::fflush(stdout);
}

}  // namespace Bench
