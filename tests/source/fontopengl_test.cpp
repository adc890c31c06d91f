// A line of text drawn with a sample font through the OpenGL driver into a render target and read
// back: glyph pixels where the layout puts them, in the text's colour, and nothing elsewhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "font.h"
#include "render.h"
#include "support/packbytes.h"
#include "support/startup.h"

namespace {

constexpr int32_t TargetWidth = 200, TargetHeight = 24;
constexpr uint32_t Background = 0xFF000000, TextColour = 0xFF30C050;

class FontOpenGl : public StartedCore {
protected:
    void SetUp() override {
        StartedCore::SetUp();
        GFX_Init(DriverOpenGL, 0, 'F');
        GFX_Configure(640, 480, 0, 4);
        GFX_FlushConfig();
    }
    void TearDown() override {
        GFX_DeleteRenderTarget(target);
        StartedCore::TearDown();
    }

    std::vector<uint32_t> DrawAndReadBack(Font* font, int32_t x, int32_t y,
                                          const std::string& text) {
        target = GFX_CreateRenderTarget(TargetWidth, TargetHeight, Background, 0, 0);
        GFX_BeginFrame(target);
        font->DrawText(x, y, text, TextColour);
        GFX_EndFrame();
        std::vector<uint32_t> pixels(TargetWidth * TargetHeight);
        GFX_ReadRenderTarget(target, 0, 0, TargetWidth, TargetHeight, pixels.data(),
                             TargetWidth * 4);
        return pixels;
    }

    GfxRenderTarget* target = nullptr;
};

TEST_F(FontOpenGl, GlyphsLandWhereTheLayoutPutsThemInTheTextColour) {
    ASSERT_EQ(GfxDriver::GetDriverId(), DriverOpenGL) << "the OpenGL driver did not start";
    CopyDataFile(VELTOR_SAMPLE_DATA "/Veltor.font", "Veltor.font");
    core->render->LoadFonts();
    Font* font = core->GetFont(1);
    ASSERT_NE(font, nullptr);

    const int32_t x = 3, y = 5;
    const std::string text = "Veltor: fog & 42 ways";
    const std::vector<uint32_t> drawn = DrawAndReadBack(font, x, y, text);
    ASSERT_EQ(GFX_ErrorCount(), 0);

    // The coverage the glyphs should leave: per pixel, whether a glyph box lies over it and the
    // highest alpha of the font image under it.
    std::vector<int> covered(drawn.size(), 0), alpha(drawn.size(), 0);
    int32_t pen = x;
    for (unsigned char c : text) {
        const FontGlyph& g = font->glyphs[c];
        for (int j = 0; c >= 33 && j < g.height1 - 1; ++j) {
            for (int i = 0; i < g.width1 - 1; ++i) {
                const int px = pen + i, py = y + j;
                if (px < 0 || px >= TargetWidth || py < 0 || py >= TargetHeight) continue;
                const uint32_t texel =
                    font->image->pixels[(g.sy + j) * font->image->width + g.sx + i];
                covered[py * TargetWidth + px] = 1;
                alpha[py * TargetWidth + px] =
                    std::max<int>(alpha[py * TargetWidth + px], texel >> 24);
            }
        }
        pen += font->CharWidth(c);
    }
    ASSERT_LT(pen, TargetWidth);

    // Over the opaque black target a glyph pixel is the text colour times the image's alpha.
    int inked = 0;
    for (size_t p = 0; p < drawn.size(); ++p) {
        SCOPED_TRACE(testing::Message() << "pixel " << p % TargetWidth << "," << p / TargetWidth);
        if (!covered[p]) {
            ASSERT_EQ(drawn[p] & 0xFFFFFF, Background & 0xFFFFFF);
        }
        inked += alpha[p] >= 128;
        for (int shift : {0, 8, 16}) {
            const int got = (drawn[p] >> shift) & 0xFF;
            const int want = ((TextColour >> shift) & 0xFF) * alpha[p] / 255;
            ASSERT_LE(std::abs(got - want), 2);
        }
    }
    EXPECT_GT(inked, 100);
}

}  // namespace
