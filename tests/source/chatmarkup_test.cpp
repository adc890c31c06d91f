// Colour codes and emoticons of chat and speech texts.
#include "chatmarkup.h"

#include <gtest/gtest.h>

#include <string>

#include "font.h"

namespace {

using namespace std::string_literals;

const std::string Red = "\0\xE0\0\0\0"s;
const std::string Green = "\0\0\xE0\0\0"s;
const std::string Blue = "\0\0\0\xE0\0"s;
const std::string Yellow = "\0\xE0\xE0\0\0"s;
const std::string Magenta = "\0\xE0\0\xE0\0"s;
const std::string Cyan = "\0\0\xE0\xE0\0"s;
const std::string Pop = std::string(5, '\0');

std::string Repeat(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

struct Marked {
    std::string text;
    std::string expected;
};

TEST(ChatMarkup, ColourCodesBecomeEscapes) {
    const Marked cases[] = {
        // The spaces after "{r:" and after "}" go with the codes.
        {"{r: hello} world", Red + "hello" + Pop + "world"},
        // No space follows the opening, and the closing ends the text.
        {"{r:hi }", Red + "hi " + Pop},
        // Nested: the space before "{g:" stays.
        {"{r:a {g:b} c}", Red + "a " + Green + "b" + Pop + "c" + Pop},
        {"{g:1}{b:2}{y:3}{m:4}{c:5}", Green + "1" + Pop + Blue + "2" + Pop + Yellow + "3" + Pop +
                                          Magenta + "4" + Pop + Cyan + "5" + Pop},
        // Codes not in the table, and closings without an opening, stay.
        {"{x:a} {R:b}", "{x:a} {R:b}"},
        {"a}", "a}"},
        // One opening: only the leftmost "}" is replaced, even before the opening.
        {"a} b} {r:c", "a" + Pop + "b} " + Red + "c"},
        // A code at the end, and a space that ends the text, stay escapes and text.
        {"a{r:", "a" + Red},
        {"{r: ", Red + " "},
        // At most 255 of each opening.
        {Repeat("{r:", 256), Repeat(Red, 255) + "{r:"},
        {Repeat("{r:", 255) + Repeat("{g:", 3) + Repeat("}", 259),
         Repeat(Red, 255) + Repeat(Green, 3) + Repeat(Pop, 258) + "}"},
    };
    for (const Marked& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        std::string text = c.text;
        ReplaceColourCodes(text);
        EXPECT_EQ(text, c.expected);
    }
}

TEST(ChatMarkup, ReplacingACodeCountsUpToTheLimit) {
    std::string text = "{r:a{r:b{r:c";
    EXPECT_EQ(ReplaceColourCode(text, "{r:", 0xE00000, 2), 2);
    EXPECT_EQ(text, Red + "a" + Red + "b{r:c");
}

std::string Smiley(uint8_t icon) { return MakeSmileyMark(icon); }

TEST(ChatMarkup, EmoticonsBecomeSmileyMarksInTableOrder) {
    const Marked cases[] = {
        {"hi :) and :-)", "hi " + Smiley(1) + " and " + Smiley(1)},
        {"XXL", Smiley(14) + "L"},
        // "xD" comes before "xx" in the table.
        {"xxD", "x" + Smiley(8)},
        {"http://x", "http" + Smiley(20) + "/x"},
        {"\")\"-(", Smiley(31) + Smiley(32)},
        {":kekw::KEKW:", Smiley(33) + Smiley(33)},
        // Icon 32's mark holds a space byte, which no later row matches.
        {"\"( x", Smiley(32) + " x"},
        {"no emoticon", "no emoticon"},
    };
    for (const Marked& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        std::string text = c.text;
        ReplaceEmoticons(text);
        EXPECT_EQ(text, c.expected);
    }
}

TEST(ChatMarkup, ReplacingAnEmoticonCountsEveryOccurrence) {
    std::string text = "<3<3<";
    EXPECT_EQ(ReplaceEmoticon(text, "<3", 12), 2);
    EXPECT_EQ(text, Smiley(12) + Smiley(12) + "<");
}

TEST(ChatMarkup, EverySmileyIsWrittenBackAsItsIconsText) {
    // The text plain-text conversion writes for each icon, by icon number.
    const char* const writtenBack[] = {"",    ":)", "8-)", ":@",  "oO",  ">)",    ":(",
                                       ":o",  "xD", "--",  "^^",  ":O",  "<3",    ";'(",
                                       "xx",  ":w", "8w",  ";)",  ";p",  ";[",    ":/",
                                       ":s",  ";O", ";m",  ";D",  ":'(", ">/",    ">'D",
                                       ":')", "8]", "8/",  "\")", "\"(", ":kekw:"};
    ASSERT_EQ(EmoticonTable.size(), 55u);
    for (const Emoticon& row : EmoticonTable) {
        SCOPED_TRACE(row.text);
        std::string text = row.text;
        ReplaceEmoticons(text);
        EXPECT_EQ(text, Smiley(row.icon));
        EXPECT_EQ(Font::PlainText(text), writtenBack[row.icon]);
    }
    for (int row = 49; row < 53; ++row) EXPECT_EQ(EmoticonTable[size_t(row)].text[0], '"');
}

}  // namespace
