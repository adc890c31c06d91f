#include "chatmarkup.h"

#include "font.h"

namespace {

// Each opening tints the colour in force 40 % towards its colour (alpha 0).
struct ColourCode {
    const char* code;
    uint32_t colour;
};
constexpr ColourCode OpeningCodes[] = {
    {"{r:", 0xE00000}, {"{g:", 0x00E000}, {"{b:", 0x0000E0},
    {"{y:", 0xE0E000}, {"{m:", 0xE000E0}, {"{c:", 0x00E0E0},
};
constexpr const char* ClosingCode = "}";
constexpr uint32_t PopColour = 0;  // five zero bytes: back to the colour before
constexpr int32_t MaxCodesEach = 255;

}  // namespace

int32_t ReplaceColourCode(std::string& text, const std::string& code, uint32_t colour,
                          int32_t limit) {
    const std::string escape = MakeColorCode(colour);
    int32_t replaced = 0;
    for (size_t at = text.find(code); at != std::string::npos && replaced < limit;
         at = text.find(code, at)) {
        size_t length = code.size();
        const size_t after = at + length;
        if (after + 1 < text.size() && text[after] == ' ') ++length;
        text.replace(at, length, escape);
        at += escape.size();
        ++replaced;
    }
    return replaced;
}

void ReplaceColourCodes(std::string& text) {
    int32_t openings = 0;
    for (const ColourCode& opening : OpeningCodes)
        openings += ReplaceColourCode(text, opening.code, opening.colour, MaxCodesEach);
    ReplaceColourCode(text, ClosingCode, PopColour, openings);
}

int32_t ReplaceEmoticon(std::string& text, const std::string& emoticon, uint8_t icon) {
    const std::string mark = MakeSmileyMark(icon);
    int32_t replaced = 0;
    for (size_t at = text.find(emoticon); at != std::string::npos;
         at = text.find(emoticon, at + mark.size())) {
        text.replace(at, emoticon.size(), mark);
        ++replaced;
    }
    return replaced;
}

void ReplaceEmoticons(std::string& text) {
    for (const Emoticon& row : EmoticonTable) ReplaceEmoticon(text, row.text, row.icon);
}
