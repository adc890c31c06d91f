#include "font.h"

#include <algorithm>
#include <climits>

#include "core.h"
#include "driver/gfxcore.h"
#include "render.h"

namespace {

constexpr uint8_t ColourEscapeByte = 0;
constexpr uint8_t SmileyMarkByte = 1;
constexpr size_t ColourEscapeLength = 5;
constexpr int32_t SmileyAdvance = 13;
constexpr int32_t SmileySize = 12;
constexpr int32_t SmileyRow = 372;
constexpr uint8_t SmileyCount = 33;
constexpr uint32_t SmileyTextColour = 0xE0E0E0E0;
constexpr float SoftEscapeWeight = 0.4f;

// One piece of a text: a colour escape, a smiley mark, a line break or a character. An escape
// cut short by the end of the text ends the text: texts from the server reach these routines.
enum class Piece { End, Colour, Smiley, LineBreak, Char };

struct Token {
    Piece kind;
    size_t length;
    uint32_t value;  // the escape's colour 0xAARRGGBB, the smiley's icon or the character
};

Token NextToken(const std::string& text, size_t i, bool smileys) {
    if (i >= text.size()) return {Piece::End, 0, 0};
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[i + k]); };
    const uint8_t c = byte(0);
    if (c == ColourEscapeByte) {
        if (text.size() - i < ColourEscapeLength) return {Piece::End, 0, 0};
        const uint32_t colour =
            uint32_t(byte(4)) << 24 | uint32_t(byte(1)) << 16 | uint32_t(byte(2)) << 8 | byte(3);
        return {Piece::Colour, ColourEscapeLength, colour};
    }
    if (c == SmileyMarkByte && smileys) {
        if (text.size() - i < 2) return {Piece::End, 0, 0};
        return {Piece::Smiley, 2, byte(1)};
    }
    if (c == 10 || c == 11) return {Piece::LineBreak, 1, c};
    return {Piece::Char, 1, c};
}

bool IsPopEscape(uint32_t escape) {
    const auto channel = [&](int shift) { return int32_t(int8_t(uint8_t(escape >> shift))); };
    return (escape >> 24) == 0 && channel(16) + channel(8) + channel(0) == 0;
}

// The colours a drawing works with: the call's colour at the bottom, escapes on top.
class ColourStack {
public:
    explicit ColourStack(uint32_t base) : colours{base} {}

    // An escape with alpha pushes its colour; one without alpha pushes the current colour
    // moved towards it, unless its bytes sum to 0, which returns to the colour before.
    void Apply(uint32_t escape) {
        if (escape >> 24) {
            colours.push_back(escape);
        } else if (!IsPopEscape(escape)) {
            colours.push_back(Font::BlendColor(Current(), escape, SoftEscapeWeight));
        } else if (colours.size() > 1) {
            colours.pop_back();
        }
    }
    void Replace(uint32_t colour) { colours.back() = colour; }
    uint32_t Current() const { return colours.back(); }

private:
    std::vector<uint32_t> colours;
};

// The width a piece adds to a measured line.
int32_t PieceWidth(const Font& font, const std::string& text, size_t i, const Token& token) {
    switch (token.kind) {
        case Piece::Smiley:
            // The icon is 12 pixels wide; the 13th is the gap to what follows.
            return i + token.length == text.size() ? SmileySize : SmileyAdvance;
        case Piece::LineBreak:
        case Piece::Char: return font.CharWidth(uint8_t(token.value));
        default: return 0;
    }
}

// The index of the last space in text[from, end) where a line may break, npos when none.
// The pieces are walked, so that a 32 among an escape's colour bytes or a smiley's icon number
// is no break point.
size_t LastBreakSpace(const std::string& text, size_t from, size_t end) {
    size_t found = std::string::npos;
    for (size_t i = from; i < end;) {
        const Token token = NextToken(text, i, true);
        if (token.kind == Piece::End) break;
        if (token.kind == Piece::Char && token.value == ' ') found = i;
        i += token.length;
    }
    return found;
}

// x87 arithmetic keeps extra bits unless a value is stored: the colour blend is defined in
// single precision (0.6 × 255 must give 153, not 152).
float Single(float value) {
    volatile float stored = value;
    return stored;
}

uint32_t ScaleAlpha(uint32_t colour, float fade) {
    const float f = std::clamp(fade, 0.0f, 1.0f);
    return uint32_t(float(colour >> 24) * f) << 24 | (colour & 0xFFFFFF);
}

}  // namespace

std::string MakeColorCode(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    return std::string{char(ColourEscapeByte), char(red), char(green), char(blue), char(alpha)};
}

std::string MakeColorCode(uint32_t colour) {
    return MakeColorCode(uint8_t(colour >> 16), uint8_t(colour >> 8), uint8_t(colour),
                         uint8_t(colour >> 24));
}

std::string MakeSmileyMark(uint8_t icon) { return std::string{char(SmileyMarkByte), char(icon)}; }

const std::vector<Emoticon> EmoticonTable = {
    {":)", 1},      {":-)", 1},  {"8-)", 2},   {":@", 3},   {":-@", 3},   {"oO", 4},
    {"o.O", 4},     {">)", 5},   {":(", 6},    {":-(", 6},  {":o", 7},    {":-o", 7},
    {"xD", 8},      {"--", 9},   {"-.-", 9},   {"^^", 10},  {"^.^", 10},  {":O", 11},
    {":-O", 11},    {"<3", 12},  {";(", 13},   {";-(", 13}, {";'(", 13},  {"xx", 14},
    {"x.x", 14},    {"XX", 14},  {"X.X", 14},  {":w", 15},  {":W", 15},   {"8w", 16},
    {"8W", 16},     {";)", 17},  {";-)", 17},  {";p", 18},  {";-p", 18},  {";[", 19},
    {":/", 20},     {":s", 21},  {":S", 21},   {";O", 22},  {";m", 23},   {";M", 23},
    {";D", 24},     {":'(", 25}, {">/", 26},   {">'D", 27}, {":')", 28},  {"8]", 29},
    {"8/", 30},     {"\")", 31}, {"\"-)", 31}, {"\"(", 32}, {"\"-(", 32}, {":kekw:", 33},
    {":KEKW:", 33},
};

struct Font::RunStyle {
    bool lineBreaks = false;  // 10 and 11 start a new line; otherwise they advance like spaces
    bool smileys = false;     // smiley marks draw their icon; otherwise they are plain bytes
    bool stack = true;        // escapes follow the stack rules; otherwise one replaces the colour
    bool fractional = false;  // glyphs go through the float form of the tinted draw
    int32_t smileyLift = 2;   // pixels an icon stands above y
    bool reveal = false;      // stop before the first byte met while the count is above limit
    int32_t limit = 0;
    int32_t step = 0;
    float fade = 1.0f;  // factor on every glyph's alpha; below 1 icons are tinted too
};

Font::Font(Core* core, uint32_t id, GfxImage* image, int32_t letterSpacing, int32_t lineHeight,
           const std::vector<FontGlyphRecord>& glyphTable)
    : core(core),
      render(core->render),
      image(image),
      glyphs{},
      letterSpacing(letterSpacing),
      lineHeight(lineHeight),
      id(id) {
    for (const FontGlyphRecord& record : glyphTable) {
        if (record.code < 256) glyphs[record.code] = record.glyph;
    }
}

Font::~Font() { GFX_DeleteImage(image); }

int32_t Font::CharWidth(uint8_t c) const {
    return (c >= 33 ? glyphs[c].advance : glyphs[32].advance) + letterSpacing;
}

void Font::DrawRun(float x, float y, const std::string& text, uint32_t colour,
                   const RunStyle& style) {
    ColourStack colours(colour);
    float pen = x;
    int32_t shown = 0;
    for (size_t i = 0;;) {
        if (style.reveal && shown > style.limit) return;
        const Token token = NextToken(text, i, style.smileys);
        if (token.kind == Piece::End) return;
        i += token.length;
        if (token.kind == Piece::Colour) {
            style.stack ? colours.Apply(token.value) : colours.Replace(token.value);
            continue;
        }
        if (token.kind == Piece::LineBreak && style.lineBreaks) {
            y += float(lineHeight);
            pen = x;
            continue;
        }
        shown += style.step;
        if (token.kind == Piece::Smiley) {
            DrawSmiley(pen, y - float(style.smileyLift), uint8_t(token.value), style.fade);
            pen += float(SmileyAdvance);
            continue;
        }
        const uint8_t c = uint8_t(token.value);
        const FontGlyph& glyph = glyphs[c];
        if (c >= 33 && glyph.width1 > 1 && glyph.height1 > 1) {
            const uint32_t tint = ScaleAlpha(colours.Current(), style.fade);
            if (style.fractional) {
                render->DrawImagePartTintedF(pen, y, glyph.sx, glyph.sy, glyph.width1 - 1,
                                             glyph.height1 - 1, tint, image);
            } else {
                render->DrawImagePartTinted(int32_t(pen), int32_t(y), glyph.sx, glyph.sy,
                                            glyph.width1 - 1, glyph.height1 - 1, tint, image);
            }
        }
        pen += float(CharWidth(c));
    }
}

void Font::DrawSmiley(float x, float y, uint8_t icon, float fade) {
    if (icon < 1 || icon > SmileyCount) return;
    const int32_t sx = (icon - 1) * SmileySize;
    if (fade >= 1.0f) {
        render->DrawSkinPart(int32_t(x), int32_t(y), sx, SmileyRow, SmileySize, SmileySize,
                             SkinAtlasId);
        return;
    }
    const uint32_t tint = uint32_t(std::clamp(fade, 0.0f, 1.0f) * 255.0f) << 24 | 0xFFFFFF;
    render->DrawSkinPartTiledTinted(int32_t(x), int32_t(y), SmileySize, SmileySize, 0, 0,
                                    SmileySize, SmileySize, sx, SmileyRow, SmileySize, SmileySize,
                                    tint, SkinAtlasId);
}

void Font::DrawText(int32_t x, int32_t y, const std::string& text, uint32_t colour) {
    RunStyle style;
    style.lineBreaks = true;
    DrawRun(float(x), float(y), text, colour, style);
}

void Font::DrawGlyphsF(float x, float y, const std::string& text, uint32_t colour) {
    RunStyle style;
    style.lineBreaks = true;
    style.fractional = true;
    DrawRun(x, y, text, colour, style);
}

int32_t Font::CentredX(int32_t x, const std::string& text) const {
    // The width is halved as an unsigned number.
    return x - int32_t(uint32_t(MeasureText(text)) / 2);
}

void Font::DrawTextCentered(int32_t x, int32_t y, const std::string& text, uint32_t colour) {
    DrawText(CentredX(x, text), y, text, colour);
}

void Font::DrawTextRight(int32_t x, int32_t y, const std::string& text, uint32_t colour) {
    DrawText(x - MeasureText(text), y, text, colour);
}

void Font::DrawTextCenteredF(float x, float y, const std::string& text, uint32_t colour) {
    DrawGlyphsF(x - float(MeasureText(text)) / 2.0f, y, text, colour);
}

void Font::DrawTextRightF(float x, float y, const std::string& text, uint32_t colour) {
    DrawGlyphsF(x - float(MeasureText(text)), y, text, colour);
}

void Font::DrawTextSmileys(int32_t x, int32_t y, const std::string& text) {
    RunStyle style;
    style.smileys = true;
    style.stack = false;
    DrawRun(float(x), float(y), text, SmileyTextColour, style);
}

void Font::DrawTextFaded(int32_t x, int32_t y, const std::string& text, uint32_t colour) {
    RunStyle style;
    style.smileys = true;
    DrawRun(float(x), float(y), text, colour, style);
}

void Font::DrawTextClipped(int32_t x, int32_t y, const std::string& text, uint32_t colour) {
    RunStyle style;
    style.smileys = true;
    style.smileyLift = 1;
    DrawRun(float(CentredX(x, text)), float(y), text, colour, style);
}

void Font::DrawTextSmileysEx(int32_t x, int32_t y, const std::string& text, uint32_t colour,
                             int32_t limit, int32_t step) {
    DrawTextSmileysFade(x, y, text, colour, 1.0f, limit, step);
}

void Font::DrawTextSmileysFade(int32_t x, int32_t y, const std::string& text, uint32_t colour,
                               float fade, int32_t limit, int32_t step) {
    RunStyle style;
    style.smileys = true;
    style.smileyLift = 1;
    style.reveal = true;
    style.limit = limit;
    style.step = step;
    style.fade = fade;
    DrawRun(float(x), float(y), text, colour, style);
}

int32_t Font::MeasureText(const std::string& text) const {
    int32_t width = 0;
    for (size_t i = 0;;) {
        const Token token = NextToken(text, i, true);
        if (token.kind == Piece::End) return width;
        width += PieceWidth(*this, text, i, token);
        i += token.length;
    }
}

int32_t Font::TextWidthCodes(const std::string& text) const {
    int32_t widest = 0, width = 0;
    for (size_t i = 0;;) {
        const Token token = NextToken(text, i, true);
        if (token.kind == Piece::End) return std::max(widest, width);
        if (token.kind == Piece::LineBreak) {
            widest = std::max(widest, width);
            width = 0;
        } else {
            width += PieceWidth(*this, text, i, token);
        }
        i += token.length;
    }
}

int32_t Font::WrappedHeight(const std::string& text, int32_t width) const {
    int32_t height = 0, pen = 0;
    for (size_t i = 0;;) {
        const Token token = NextToken(text, i, true);
        if (token.kind == Piece::End) break;
        if (token.kind == Piece::LineBreak) {
            height += lineHeight;
            pen = 0;
        } else if (token.kind != Piece::Colour) {
            if (pen >= width) {
                height += lineHeight;
                pen = 0;
            }
            pen += token.kind == Piece::Smiley ? SmileyAdvance : CharWidth(uint8_t(token.value));
        }
        i += token.length;
    }
    return height + lineHeight + (pen >= width ? lineHeight : 0);
}

int32_t Font::LastFitIndex(const std::string& text, int32_t width) const {
    if (text.empty()) return 0;
    int32_t sum = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        sum += CharWidth(uint8_t(text[i]));
        if (sum > width) return int32_t(i) - 1;
    }
    return int32_t(text.size()) - 1;
}

int32_t Font::LayoutLines(const std::string& text, std::string* carry, int32_t width) const {
    int32_t sum = 0;
    size_t i = 0;
    for (;;) {
        const Token token = NextToken(text, i, true);
        if (token.kind == Piece::End || token.kind == Piece::LineBreak) break;
        const int32_t advance =
            token.kind == Piece::Smiley ? SmileyAdvance : PieceWidth(*this, text, i, token);
        if (sum + advance > width) break;
        sum += advance;
        i += token.length;
    }
    CarryColours(text, i, carry);
    return int32_t(i);
}

Font::LineBreak Font::BreakLine(const std::string& text, size_t start, size_t fit,
                                int32_t width) const {
    const Token atCut = NextToken(text, fit, true);
    // All of it fits, or an escape cut short ends the text.
    if (atCut.kind == Piece::End) return {fit, text.size(), false};
    if (atCut.kind == Piece::LineBreak || (atCut.kind == Piece::Char && atCut.value == ' '))
        return {fit, fit + 1, false};
    // Not even one piece fits: it gets the line of its own.
    if (fit <= start) return {start + atCut.length, start + atCut.length, false};
    if (const size_t space = LastBreakSpace(text, start, fit); space != std::string::npos)
        return {space, space + 1, false};
    // One word longer than the line: cut it where it fits with a hyphen after it.
    size_t end = size_t(LayoutLines(text, nullptr, width - MeasureText("-")));
    if (end <= start) end = start + NextToken(text, start, true).length;
    return {end, end, true};
}

std::vector<std::string> Font::LayoutParagraph2(const std::string& text, int32_t width,
                                                std::vector<size_t>* starts) const {
    std::vector<std::string> lines;
    std::string carry;
    size_t pos = 0;
    while (pos < text.size()) {
        const std::string rest = carry + text.substr(pos);
        const size_t start = carry.size();
        const LineBreak at =
            BreakLine(rest, start, size_t(LayoutLines(rest, nullptr, width)), width);
        lines.push_back(rest.substr(0, at.end) + (at.hyphen ? "-" : ""));
        if (starts) starts->push_back(pos);
        CarryColours(rest, at.next, &carry);
        pos += at.next - start;
    }
    return lines;
}

int32_t Font::CountVisible(const std::string& text) const {
    int32_t count = 0;
    for (size_t i = 0;;) {
        const Token token = NextToken(text, i, true);
        if (token.kind == Piece::End) return count;
        if (token.kind != Piece::Colour) ++count;
        i += token.length;
    }
}

std::string Font::PlainText(const std::string& text) {
    std::string plain;
    for (size_t i = 0;;) {
        const Token token = NextToken(text, i, true);
        if (token.kind == Piece::End) return plain;
        if (token.kind == Piece::LineBreak) {
            plain += '\n';
        } else if (token.kind == Piece::Char) {
            plain += char(token.value);
        } else if (token.kind == Piece::Smiley) {
            // Icon 13 is written back as its third text, ";'(", every other icon as its first.
            int skip = token.value == 13 ? 2 : 0;
            for (const Emoticon& emoticon : EmoticonTable) {
                if (emoticon.icon == token.value && skip-- == 0) {
                    plain += emoticon.text;
                    break;
                }
            }
        }
        i += token.length;
    }
}

void Font::CarryColours(const std::string& text, size_t end, std::string* carry) {
    if (!carry) return;
    std::vector<uint32_t> inForce;
    bool met = false;
    for (size_t i = 0; i < end;) {
        const Token token = NextToken(text, i, true);
        if (token.kind == Piece::End) break;
        if (token.kind == Piece::Colour) {
            met = true;
            if (!IsPopEscape(token.value)) {
                inForce.push_back(token.value);
            } else if (!inForce.empty()) {
                inForce.pop_back();
            }
        }
        i += token.length;
    }
    if (!met) return;
    carry->clear();
    for (uint32_t escape : inForce) *carry += MakeColorCode(escape);
}

uint32_t Font::BlendColor(uint32_t a, uint32_t b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    const float keep = Single(1.0f - t);
    uint32_t result = a & 0xFF000000;
    for (int shift = 0; shift <= 16; shift += 8) {
        const float from = float((a >> shift) & 0xFF), to = float((b >> shift) & 0xFF);
        const float mixed = Single(Single(from * keep) + Single(to * t));
        result |= (uint32_t(int32_t(mixed)) & 0xFF) << shift;
    }
    return result;
}
