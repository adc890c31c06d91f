#include "support/drawntext.h"

#include <cstdio>

#include "support/testcore.h"

namespace {

struct Glyph {
    int32_t x, y;
    uint32_t colour;
    char character;
};

// "DrawImagePartTinted(x,y,sx,sy,5,8,colour,img:N)" of a glyph cell of the test font.
bool ReadGlyph(const std::string& call, Glyph& glyph) {
    float x, y, sx, sy, w, h;
    unsigned colour;
    if (std::sscanf(call.c_str(), "DrawImagePartTinted(%g,%g,%g,%g,%g,%g,0x%X,img:", &x, &y, &sx,
                    &sy, &w, &h, &colour) != 7)
        return false;
    const int32_t column = int32_t(sx) / 6, row = int32_t(sy) / 9;
    glyph = {int32_t(x), int32_t(y), colour, char(row * 16 + column)};
    return true;
}

}  // namespace

std::vector<DrawnText> DrawnTexts(const std::vector<std::string>& log) {
    std::vector<DrawnText> runs;
    int32_t nextX = 0;
    for (const std::string& call : log) {
        Glyph glyph;
        if (!ReadGlyph(call, glyph)) continue;
        DrawnText* run = runs.empty() ? nullptr : &runs.back();
        const int32_t gap = glyph.x - nextX;
        if (run && run->y == glyph.y && run->colour == glyph.colour && gap >= 0 &&
            gap % TestCharWidth == 0) {
            run->text.append(size_t(gap / TestCharWidth), ' ');
            run->text += glyph.character;
        } else {
            runs.push_back({glyph.x, glyph.y, glyph.colour, std::string(1, glyph.character)});
        }
        nextX = glyph.x + TestCharWidth;
    }
    return runs;
}

std::vector<std::string> DrawnTextsIn(const std::vector<std::string>& log, uint32_t colour) {
    std::vector<std::string> texts;
    for (const DrawnText& run : DrawnTexts(log))
        if (run.colour == colour) texts.push_back(run.text);
    return texts;
}
