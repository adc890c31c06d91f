// Text layout and drawing with a synthetic font of known advances: every printable character
// advances 5 and is 5 x 8 pixels, the space advances 3, "-" 2 and "W" 9; the letter spacing is 1
// and lines are 10 apart. So a character is 6 wide, a space 4, a hyphen 3 and a smiley 13.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "font.h"
#include "render.h"
#include "support/recordingdriver.h"
#include "support/startup.h"

namespace {

using Calls = std::vector<std::string>;
using namespace std::string_literals;

constexpr uint32_t FontImageUser = 77;

std::vector<FontGlyphRecord> SyntheticGlyphs() {
    std::vector<FontGlyphRecord> table;
    for (uint16_t code = 32; code < 127; ++code) {
        const uint16_t advance = code == ' ' ? 3 : code == '-' ? 2 : code == 'W' ? 9 : 5;
        table.push_back({code, {uint16_t(code * 8), 16, 6, 9, advance}});
    }
    return table;
}

std::string Escape(uint32_t colour) {
    return MakeColorCode(uint8_t(colour >> 16), uint8_t(colour >> 8), uint8_t(colour),
                         uint8_t(colour >> 24));
}

const std::string Red = Escape(0xFFFF0000);
const std::string Green = Escape(0xFF00FF00);
const std::string Pop = std::string(5, '\0');

std::string Smiley(uint8_t icon) { return "\x01"s + char(icon); }

// The recorder's line for glyph c drawn at (x, y) in a colour.
std::string Glyph(char c, int x, int y, uint32_t colour) {
    char line[128];
    snprintf(line, sizeof line, "DrawImagePartTinted(%d,%d,%d,16,5,8,0x%X,img:%u)", x, y,
             uint8_t(c) * 8, unsigned(colour), unsigned(FontImageUser));
    return line;
}

std::string SmileyCell(uint8_t icon, int x, int y) {
    char line[96];
    snprintf(line, sizeof line, "DrawImagePart(%d,%d,%d,372,12,12,img:1)", x, y, (icon - 1) * 12);
    return line;
}

class FontTest : public StartedCore {
protected:
    void SetUp() override {
        StartedCore::SetUp();
        RecordingDriver::Install();
        core->render->GetImage(1) = GFX_CreateImage(4, 4, nullptr, 0, 0, 1);
        font = new Font(core, 9, GFX_CreateImage(8, 8, nullptr, 0, 0, FontImageUser), 1, 10,
                        SyntheticGlyphs());
    }
    void TearDown() override {
        delete font;
        StartedCore::TearDown();
    }

    Font* font = nullptr;
};

// --- Measuring ----------------------------------------------------------------------------------

struct Measured {
    std::string text;
    int32_t width;    // MeasureText
    int32_t visible;  // CountVisible
};

TEST_F(FontTest, MeasuresCharactersSpacesEscapesAndSmileys) {
    const Measured cases[] = {
        {"ab", 12, 2},
        {"a\tb", 16, 3},                 // a tab measures as a space
        {"a b\nc", 26, 5},               // a line break too, in one line's width
        {"a" + Red + "b" + Pop, 12, 2},  // escapes take no room
        {Smiley(5), 12, 1},              // a smiley ending the text is 12 wide
        {Smiley(5) + Smiley(6), 25, 2},
        {"a" + Smiley(5) + "b", 25, 3},
        {"ab\0\x01\x02"s, 12, 2},      // an escape cut short ends the text
        {"ab\0\x01\x02\x03"s, 12, 2},  // one byte short too
        {"ab\x01"s, 12, 2},            // so does a smiley mark without its icon
    };
    for (const Measured& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(font->MeasureText(c.text), c.width);
        EXPECT_EQ(font->CountVisible(c.text), c.visible);
    }
}

TEST_F(FontTest, WidestLineOfSeveral) {
    EXPECT_EQ(font->TextWidthCodes("ab\nabcd" + Red +
                                   "\x0b"
                                   "a"),
              24);
    EXPECT_EQ(font->TextWidthCodes(""), 0);
}

TEST_F(FontTest, WrappedHeightStartsALineForACharacterAtTheWidth) {
    EXPECT_EQ(font->WrappedHeight("ab\ncd", 100), 20);
    // Pen 6, 12 | 6, 12 | 6, 12: three lines, and one more because the pen ended at the width.
    EXPECT_EQ(font->WrappedHeight("abcdef", 12), 40);
    EXPECT_EQ(font->WrappedHeight("", 12), 10);
}

TEST_F(FontTest, LastFitIndexIsTheLastCharacterWithinTheWidth) {
    EXPECT_EQ(font->LastFitIndex("abcd", 13), 1);
    EXPECT_EQ(font->LastFitIndex("abcd", 24), 3);
    EXPECT_EQ(font->LastFitIndex("abcd", 5), -1);
    EXPECT_EQ(font->LastFitIndex("", 5), 0);
}

// --- Fitting and wrapping
// -------------------------------------------------------------------------

TEST_F(FontTest, LayoutLinesCountsTheBytesThatFit) {
    EXPECT_EQ(font->LayoutLines("abcd", nullptr, 20), 3);
    EXPECT_EQ(font->LayoutLines("ab\ncd", nullptr, 100), 2);
    EXPECT_EQ(font->LayoutLines("a" + Smiley(5) + "b", nullptr, 19), 3);
    EXPECT_EQ(font->LayoutLines("a" + Smiley(5) + "b", nullptr, 18), 1);
    EXPECT_EQ(font->LayoutLines("ab\0\x01"s, nullptr, 100), 2);
    EXPECT_EQ(font->LayoutLines("", nullptr, 100), 0);
}

TEST_F(FontTest, LayoutLinesLeavesTheColourInForceInTheCarry) {
    std::string carry = "unchanged";
    font->LayoutLines("abc", &carry, 100);
    EXPECT_EQ(carry, "unchanged");
    font->LayoutLines(Red + "ab" + Green + "cd", &carry, 12);
    EXPECT_EQ(carry, Red + Green);
    font->LayoutLines(Red + "a" + Pop + "b", &carry, 100);
    EXPECT_EQ(carry, "");
    // Prepending the carry, as the callers do, gives the same carry again.
    carry = Red;
    font->LayoutLines(carry + "abc", &carry, 100);
    EXPECT_EQ(carry, Red);
}

TEST_F(FontTest, ParagraphBreaksAfterTheLastSpaceThatFits) {
    EXPECT_EQ(font->LayoutParagraph2("aa bb cc", 30), (std::vector<std::string>{"aa bb", "cc"}));
    EXPECT_EQ(font->LayoutParagraph2("ab\n\ncd", 30), (std::vector<std::string>{"ab", "", "cd"}));
    EXPECT_EQ(font->LayoutParagraph2("", 30), std::vector<std::string>{});
}

TEST_F(FontTest, WordLongerThanALineIsCutWithAHyphen) {
    const auto lines = font->LayoutParagraph2("abcdefghij", 30);
    EXPECT_EQ(lines, (std::vector<std::string>{"abcd-", "efgh-", "ij"}));
    for (const std::string& line : lines) EXPECT_LE(font->MeasureText(line), 30);
}

TEST_F(FontTest, ParagraphTakesOneCharacterWhenNoneFits) {
    EXPECT_EQ(font->LayoutParagraph2("WW", 5), (std::vector<std::string>{"W", "W"}));
}

TEST_F(FontTest, ColourIsCarriedOntoWrappedLines) {
    EXPECT_EQ(font->LayoutParagraph2(Red + "aa bb cc", 30),
              (std::vector<std::string>{Red + "aa bb", Red + "cc"}));
    // The second line rebuilds both colours, so its pop returns to red as the whole text would.
    EXPECT_EQ(
        font->LayoutParagraph2(Red + "aa " + Green + "bb cc" + Pop + "dd", 30),
        (std::vector<std::string>{Red + "aa " + Green + "bb", Red + Green + "cc" + Pop + "dd"}));
}

TEST_F(FontTest, SpaceAmongAnEscapesColourBytesIsNoBreakPoint) {
    const std::string spaces = Escape(0xFF202020);
    EXPECT_EQ(font->LayoutParagraph2("aaaa" + spaces + "bbbb", 30),
              (std::vector<std::string>{"aaaa" + spaces + "-", spaces + "bbbb"}));
}

// Whether a line ends at a piece boundary: walked from its start, no escape or smiley mark
// runs past its end.
bool EndsBetweenPieces(const std::string& line) {
    size_t i = 0;
    while (i < line.size()) i += line[i] == '\0' ? 5 : line[i] == '\x01' ? 2 : 1;
    return i == line.size();
}

TEST_F(FontTest, WrappedLinesNeverEndInsideAnEscapeOrSmileyMark) {
    // Escapes holding spaces (32) and smileys whose icon is a space byte (icon 32) among words.
    const std::string spaces = Escape(0xFF202020);
    const std::string text = "ab " + spaces + "cd" + Smiley(32) + "ef " + Red + Smiley(5) +
                             "gh ij" + Pop + "kl" + Smiley(20) + " m";
    for (int32_t width = 1; width <= 60; ++width) {
        SCOPED_TRACE(width);
        for (const std::string& line : font->LayoutParagraph2(text, width))
            EXPECT_TRUE(EndsBetweenPieces(line)) << testing::PrintToString(line);
    }
}

TEST_F(FontTest, WordCutAfterASmileyKeepsTheMarkWhole) {
    EXPECT_EQ(font->LayoutParagraph2(Smiley(5) + "bcd", 14),
              (std::vector<std::string>{Smiley(5) + "-", "b-", "cd"}));
}

TEST_F(FontTest, AVeryLongWordOnANarrowPageEnds) {
    const std::string word(10000, 'a');
    const auto lines = font->LayoutParagraph2(word, 20);
    ASSERT_EQ(lines.size(), 5000u);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(font->MeasureText(line), 20);
        joined += line.substr(0, line.size() - (line.back() == '-' ? 1 : 0));
    }
    EXPECT_EQ(joined, word);
}

TEST_F(FontTest, ExactFitEndsTheLineAtTheSpace) {
    // "aa bb" is 28 pixels wide.
    EXPECT_EQ(font->LayoutParagraph2("aa bb cc", 28), (std::vector<std::string>{"aa bb", "cc"}));
    const Font::LineBreak at = font->BreakLine("aa bb cc", 0, 5, 28);
    EXPECT_EQ(at.end, 5u);
    EXPECT_EQ(at.next, 6u);
    EXPECT_FALSE(at.hyphen);
}

TEST_F(FontTest, TextEndingInAMarkByteIsLaidOut) {
    for (const std::string& text : {"abc\0"s, "abc\x01"s, "abc de\0\x01\x02"s, "\0"s, "\x01"s}) {
        SCOPED_TRACE(testing::PrintToString(text));
        // Every line takes at least one byte.
        for (int32_t width : {5, 12, 100})
            EXPECT_LE(font->LayoutParagraph2(text, width).size(), text.size());
    }
}

TEST_F(FontTest, EscapeCutShortEndsTheParagraph) {
    EXPECT_EQ(font->LayoutParagraph2("ab\0\x01\x02"s, 30), std::vector<std::string>{"ab"});
    EXPECT_EQ(font->LayoutParagraph2("ab\0\x01\x02\x03"s, 30), std::vector<std::string>{"ab"});
}

// --- Plain text and colours ---------------------------------------------------------------------

TEST_F(FontTest, PlainTextTurnsSmileyMarksBackIntoEmoticons) {
    EXPECT_EQ(Font::PlainText("hi " + Smiley(1) + Red + " " + Smiley(13) + Smiley(32) + Smiley(40) +
                              "\x0b"
                              "x" +
                              Pop),
              "hi :) ;'(\"(\nx");
    EXPECT_EQ(Font::PlainText(Smiley(33) + "ab\0\x01"s), ":kekw:ab");
    EXPECT_EQ(Font::PlainText("ab\0\x01\x02\x03"s), "ab");
    EXPECT_EQ(Font::PlainText("ab\x01"s), "ab");
}

TEST_F(FontTest, EmoticonTableHasFiftyFiveTextsForThirtyThreeIcons) {
    ASSERT_EQ(EmoticonTable.size(), 55u);
    EXPECT_STREQ(EmoticonTable.front().text, ":)");
    EXPECT_EQ(EmoticonTable.back().icon, 33);
}

TEST_F(FontTest, SoftEscapeBlendsFourTenthsTowardsItsColour) {
    EXPECT_EQ(Font::BlendColor(0xFF0000FF, 0x00FF0000, 0.4f), 0xFF660099u);
    EXPECT_EQ(Font::BlendColor(0x80102030, 0xFFFFFFFF, 2.0f), 0x80FFFFFFu);
}

TEST_F(FontTest, LaterGlyphRecordReplacesAndCodesFrom256AreIgnored) {
    Font other(core, 3, nullptr, 0, 12,
               {{65, {1, 1, 1, 1, 1}}, {65, {2, 2, 2, 2, 2}}, {300, {9, 9, 9, 9, 9}}});
    EXPECT_EQ(other.glyphs[65].sx, 2);
    EXPECT_EQ(other.glyphs[300 & 0xFF].advance, 0);
}

// --- Drawing ------------------------------------------------------------------------------------

TEST_F(FontTest, EscapeWithAlphaSetsTheColourOfWhatFollows) {
    font->DrawText(5, 7, "A" + Escape(0xFF123456) + "B", 0xFF808080);
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{Glyph('A', 5, 7, 0xFF808080), Glyph('B', 11, 7, 0xFF123456)}));
}

TEST_F(FontTest, AColourEscapeIsAZeroAndTheFourComponents) {
    const std::string escape = MakeColorCode(255, 128, 128, 192);
    EXPECT_EQ(escape, "\x00\xFF\x80\x80\xC0"s);
    font->DrawText(0, 0, escape + "A", 0xFFFFFFFF);
    EXPECT_EQ(RecordingDriver::Take(), (Calls{Glyph('A', 0, 0, 0xC0FF8080)}));
}

TEST_F(FontTest, TintEscapeMovesTheCurrentColourTowardsIt) {
    font->DrawText(0, 0, "A" + MakeColorCode(255, 0, 0, 0) + "B", 0xFF0000FF);
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{Glyph('A', 0, 0, 0xFF0000FF), Glyph('B', 6, 0, 0xFF660099)}));
}

TEST_F(FontTest, PopEscapeReturnsToTheColourBeforeAndKeepsTheCallsColour) {
    font->DrawText(0, 0, "A" + Red + "B" + Pop + "C" + Pop + "D", 0xFF808080);
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{Glyph('A', 0, 0, 0xFF808080), Glyph('B', 6, 0, 0xFFFF0000),
                     Glyph('C', 12, 0, 0xFF808080), Glyph('D', 18, 0, 0xFF808080)}));
}

TEST_F(FontTest, LineBreaksStartANewLineAndSmileyMarksArePlainBytes) {
    font->DrawText(3, 4,
                   "A\nB \x01"
                   "C"s,
                   0xFFFFFFFF);
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{Glyph('A', 3, 4, 0xFFFFFFFF), Glyph('B', 3, 14, 0xFFFFFFFF),
                     Glyph('C', 17, 14, 0xFFFFFFFF)}));
}

TEST_F(FontTest, CentredAndRightAlignedTextEndsWhereAsked) {
    font->DrawTextCentered(50, 0, "ab", 0xFFFFFFFF);
    font->DrawTextRight(50, 0, "ab", 0xFFFFFFFF);
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{Glyph('a', 44, 0, 0xFFFFFFFF), Glyph('b', 50, 0, 0xFFFFFFFF),
                     Glyph('a', 38, 0, 0xFFFFFFFF), Glyph('b', 44, 0, 0xFFFFFFFF)}));
}

TEST_F(FontTest, SmileysAreDrawnAboveTheLineAndUnknownIconsNot) {
    font->DrawTextSmileys(10, 20, "a" + Smiley(3) + "b" + Smiley(40) + "c");
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{Glyph('a', 10, 20, 0xE0E0E0E0), SmileyCell(3, 16, 18),
                     Glyph('b', 29, 20, 0xE0E0E0E0), Glyph('c', 48, 20, 0xE0E0E0E0)}));
}

TEST_F(FontTest, RevealingStopsOnceTheCountPassesTheLimit) {
    font->DrawTextSmileysEx(0, 0, "abc", 0xFFFFFFFF, 15, 10);
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{Glyph('a', 0, 0, 0xFFFFFFFF), Glyph('b', 6, 0, 0xFFFFFFFF)}));
}

TEST_F(FontTest, FadedTextScalesAlphaAndTintsSmileys) {
    font->DrawTextSmileysFade(0, 10, "a" + Smiley(2), 0xFF102030, 0.5f, 100, 1);
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{Glyph('a', 0, 10, 0x7F102030),
                     "DrawImagePartTiledGradient(6,9,12,12,0,0,12,12,12,372,12,12,0x7FFFFFFF,"
                     "0x7FFFFFFF,0x7FFFFFFF,0x7FFFFFFF,img:1)"}));
}

TEST_F(FontTest, DrawingStopsAtAnEscapeCutShort) {
    font->DrawTextFaded(0, 0, "ab\0\x01\x02"s, 0xFFFFFFFF);
    font->DrawText(0, 0, "c\0"s, 0xFFFFFFFF);
    font->DrawText(0, 0, "d\0\x01\x02\x03"s, 0xFFFFFFFF);
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{Glyph('a', 0, 0, 0xFFFFFFFF), Glyph('b', 6, 0, 0xFFFFFFFF),
                     Glyph('c', 0, 0, 0xFFFFFFFF), Glyph('d', 0, 0, 0xFFFFFFFF)}));
}

}  // namespace
