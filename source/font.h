#pragma once
// Bitmap fonts: one image holding every glyph and a table of where each character's glyph lies
// and how far the pen moves after it; measuring, wrapping and drawing of 8-bit text that may
// carry colour escapes (byte 0, R, G, B, A) and smiley marks (byte 1, icon number).
#include <windows.h>
// Win32 maps DrawText to DrawTextA; Font uses it as a method name.
#undef DrawText

#include <cstdint>
#include <string>
#include <vector>

class Core;
class Render;
struct GfxImage;

struct FontGlyph {
    uint16_t sx;
    uint16_t sy;
    uint16_t width1;   // glyph width + 1
    uint16_t height1;  // glyph height + 1
    uint16_t advance;
};

// One record of a font pack's glyph table.
struct FontGlyphRecord {
    uint16_t code;
    FontGlyph glyph;
};

// The five-byte colour escape of drawn text: 0, r, g, b, a.
std::string MakeColorCode(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
// The same escape for a packed 0xAARRGGBB colour.
std::string MakeColorCode(uint32_t colour);
// The two-byte smiley mark of drawn text: 1, icon.
std::string MakeSmileyMark(uint8_t icon);

// The emoticon texts that become smiley marks, in the order they are applied.
struct Emoticon {
    const char* text;
    uint8_t icon;
};
extern const std::vector<Emoticon> EmoticonTable;

class Font {
public:
    // Takes the image; records with a code of 256 or more are ignored, and a later record of a
    // code replaces an earlier one.
    Font(Core* core, uint32_t id, GfxImage* image, int32_t letterSpacing, int32_t lineHeight,
         const std::vector<FontGlyphRecord>& glyphTable);
    virtual ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Drawing. x and y are the pen position of the first line's top-left corner.
    void DrawText(int32_t x, int32_t y, const std::string& text, uint32_t colour);
    void DrawTextCentered(int32_t x, int32_t y, const std::string& text, uint32_t colour);
    void DrawTextRight(int32_t x, int32_t y, const std::string& text, uint32_t colour);
    void DrawTextCenteredF(float x, float y, const std::string& text, uint32_t colour);
    void DrawTextRightF(float x, float y, const std::string& text, uint32_t colour);
    void DrawGlyphsF(float x, float y, const std::string& text, uint32_t colour);
    void DrawTextSmileys(int32_t x, int32_t y, const std::string& text);
    void DrawTextFaded(int32_t x, int32_t y, const std::string& text, uint32_t colour);
    void DrawTextClipped(int32_t x, int32_t y, const std::string& text, uint32_t colour);
    void DrawTextSmileysEx(int32_t x, int32_t y, const std::string& text, uint32_t colour,
                           int32_t limit, int32_t step);
    void DrawTextSmileysFade(int32_t x, int32_t y, const std::string& text, uint32_t colour,
                             float fade, int32_t limit, int32_t step);

    // Measuring and layout.
    int32_t MeasureText(const std::string& text) const;
    int32_t TextWidthCodes(const std::string& text) const;
    int32_t WrappedHeight(const std::string& text, int32_t width) const;
    int32_t LastFitIndex(const std::string& text, int32_t width) const;
    // The number of leading bytes of the text that fit into the width; it stops before a line
    // break. When the counted bytes hold colour escapes, the carry becomes the escapes that give
    // the colour in force at the cut, so that carry + rest draws on in the same colour.
    int32_t LayoutLines(const std::string& text, std::string* carry, int32_t width) const;
    // Where a line ends. The text starts with `start` bytes of carried escapes, and `fit` bytes
    // of it fit the width (LayoutLines). The line is text[0, end), followed by a hyphen when a
    // word longer than a line was cut; the next line starts at `next` (a space or line break
    // the line ends at is skipped). A line never ends inside an escape or a smiley mark, and
    // always takes at least one piece of the text.
    struct LineBreak {
        size_t end;
        size_t next;
        bool hyphen;
    };
    LineBreak BreakLine(const std::string& text, size_t start, size_t fit, int32_t width) const;
    // Lines of at most the width (a single piece wider than it has a line of its own); each
    // line after the first starts with the colour escapes in force where the one before ended.
    // With `starts`, it also gives the offset in the text where each line's own bytes begin.
    std::vector<std::string> LayoutParagraph2(const std::string& text, int32_t width,
                                              std::vector<size_t>* starts = nullptr) const;
    int32_t CountVisible(const std::string& text) const;

    // The pen advance of one byte drawn as a character (codes below 33 advance like a space).
    int32_t CharWidth(uint8_t c) const;

    static std::string PlainText(const std::string& text);
    // When text[0, end) holds colour escapes, the carry becomes the escapes still in force at
    // end (the pushes not undone), which rebuild the same colour stack in front of the rest.
    static void CarryColours(const std::string& text, size_t end, std::string* carry);
    static uint32_t BlendColor(uint32_t a, uint32_t b, float t);

    Core* core;
    Render* render;
    GfxImage* image;
    FontGlyph glyphs[256];
    int32_t letterSpacing;
    int32_t lineHeight;
    uint32_t id;

private:
    struct RunStyle;
    void DrawRun(float x, float y, const std::string& text, uint32_t colour, const RunStyle& style);
    void DrawSmiley(float x, float y, uint8_t icon, float fade);
    int32_t CentredX(int32_t x, const std::string& text) const;
};
