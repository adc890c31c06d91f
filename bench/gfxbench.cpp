// The benchmark scene drawn through the graphics layer: with the OpenGL driver, or with the
// Direct3D 9 driver when the first argument is "dx9".
#include <cstdio>
#include <cstring>

#include "benchcommon.h"
#include "driver/gfxcore.h"

int main(int argc, char** argv) {
    const bool direct3d = argc > 1 && std::strcmp(argv[1], "dx9") == 0;
    const uint32_t driver = direct3d ? DriverDirectX : DriverOpenGL;
    const char* program = direct3d ? "dx9" : "layer";
    HWND window = Bench::OpenWindow(Bench::Width, Bench::Height);
    GFX_Bind(window);
    GFX_Init(driver, 0, 'F');
    GFX_Configure(Bench::Width, Bench::Height, 0xFF000000, 4);
    GFX_FlushConfig();
    if (GfxDriver::GetDriverId() != driver) {
        std::fprintf(stderr, "gfxbench: the %s driver was refused\n", program);
        return 1;
    }
    std::vector<GfxImage*> sprites;
    for (int i = 0; i < Bench::SpriteTextures; ++i) {
        const std::vector<uint32_t> pixels = Bench::SpritePixels(i);
        sprites.push_back(GFX_CreateImage(Bench::SpriteSize, Bench::SpriteSize, pixels.data(),
                                          Bench::SpriteSize * 4, 0, i));
    }
    const std::vector<uint32_t> fontPixels = Bench::FontPixels();
    GfxImage* font = GFX_CreateImage(Bench::FontWidth, Bench::FontHeight, fontPixels.data(),
                                     Bench::FontWidth * 4, 0, 99);
    const std::function<void()> finish = Bench::CountDriverCalls(direct3d ? DX9_Device() : nullptr);

    for (const int n : Bench::SceneSizes) {
        const std::vector<Bench::Op> scene = Bench::MakeScene(n);
        const Bench::FrameFigures figures = Bench::Measure(
            Bench::FramesFor(n),
            [&] {
                GFX_BeginFrame(nullptr);
                for (const Bench::Op& op : scene) {
                    switch (op.kind) {
                        case Bench::Op::Sprite:
                            GfxDriver::DrawImage(op.x, op.y, sprites[op.texture]);
                            break;
                        case Bench::Op::Fill:
                            GfxDriver::FillRect(op.x, op.y, op.w, op.h, op.colour, 3);
                            break;
                        case Bench::Op::Glyph:
                            GfxDriver::DrawImagePartTinted(op.x, op.y, op.sx, op.sy, op.w, op.h,
                                                           op.colour, font);
                            break;
                    }
                }
                GFX_EndFrame();
            },
            finish);
        Bench::Print(program, n, figures, Bench::TextureRuns(scene));
    }
    const int errors = GFX_ErrorCount();
    for (GfxImage* image : sprites) GFX_DeleteImage(image);
    GFX_DeleteImage(font);
    GFX_Unload();
    return errors == 0 ? 0 : 1;
}
