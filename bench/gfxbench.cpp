// The benchmark scene drawn through the graphics layer with the OpenGL driver.
#include <cstdio>

#include "benchcommon.h"
#include "driver/gfxcore.h"

int main() {
    HWND window = Bench::OpenWindow();
    GFX_Bind(window);
    GFX_Init(GFX_DRIVER_OGL, 0, 'F');
    GFX_Configure(Bench::kWidth, Bench::kHeight, 0xFF000000, 4);
    GFX_FlushConfig();
    if (GfxDriver::GetDriverId() != GFX_DRIVER_OGL) {
        std::fprintf(stderr, "gfxbench: the OpenGL driver was refused\n");
        return 1;
    }
    std::vector<GfxImage*> sprites;
    for (int i = 0; i < Bench::kSpriteTextures; ++i) {
        const std::vector<uint32_t> pixels = Bench::SpritePixels(i);
        sprites.push_back(GFX_CreateImage(Bench::kSpriteSize, Bench::kSpriteSize, pixels.data(),
                                          Bench::kSpriteSize * 4, 0, i));
    }
    const std::vector<uint32_t> fontPixels = Bench::FontPixels();
    GfxImage* font = GFX_CreateImage(Bench::kFontWidth, Bench::kFontHeight, fontPixels.data(),
                                     Bench::kFontWidth * 4, 0, 99);
    Bench::InstallCounters();

    for (const int n : Bench::kSceneSizes) {
        const std::vector<Bench::Op> scene = Bench::MakeScene(n);
        const Bench::FrameFigures figures = Bench::Measure(Bench::FramesFor(n), [&] {
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
                    GfxDriver::DrawImagePartTinted(op.x, op.y, op.sx, op.sy, op.w, op.h, op.colour,
                                                   font);
                    break;
                }
            }
            GFX_EndFrame();
        });
        Bench::Print("layer", n, figures);
    }
    const int errors = GFX_ErrorCount();
    for (GfxImage* image : sprites) GFX_DeleteImage(image);
    GFX_DeleteImage(font);
    GFX_Unload();
    return errors == 0 ? 0 : 1;
}
