#pragma once
// Reads back the text that the test font (testcore.h) drew into a recording driver's log: every
// glyph call gives its character by its place in the font image, and glyphs of one colour on one
// line, each a character width after the last, make one run. A gap of whole character widths
// reads as spaces.
#include <cstdint>
#include <string>
#include <vector>

struct DrawnText {
    int32_t x, y;
    uint32_t colour;
    std::string text;

    bool operator==(const DrawnText& other) const {
        return x == other.x && y == other.y && colour == other.colour && text == other.text;
    }
};

std::vector<DrawnText> DrawnTexts(const std::vector<std::string>& log);
// The texts of the runs drawn in one colour, in drawing order.
std::vector<std::string> DrawnTextsIn(const std::vector<std::string>& log, uint32_t colour);
