#include <gtest/gtest.h>

#include <string>

#include "converttext.h"

namespace {

struct Conversion {
    std::string utf8;
    std::string converted;
};

TEST(ConvertText, EachSequenceBecomesTheLowByteOfItsCodePoint) {
    const Conversion cases[] = {
        {"plain text", "plain text"},
        {"\xC3\xA9", "\xE9"},  // é
        {"Caf\xC3\xA9 \xC3\x86r\xC3\xB8", "Caf\xE9 \xC6r\xF8"},
        {"\xE2\x82\xAC", "\xAC"},                        // the euro sign, U+20AC
        {"\xF0\x9F\x92\xA9!", "\xA9!"},                  // U+1F4A9
        {"\xF8\x88\x80\x80\x80", std::string(1, '\0')},  // five bytes, U+200000
        {"\xFC\x84\x80\x80\x80\x81", "\x01"},            // six bytes, U+4000001
        {"\xC0\x80", std::string(1, '\0')},              // an overlong zero still decodes
        {"", ""},
    };
    for (const Conversion& c : cases) {
        std::string text = c.utf8;
        ConvertText(text);
        EXPECT_EQ(text, c.converted) << c.utf8;
    }
}

TEST(ConvertText, ABadSequenceBecomesOneQuestionMark) {
    const Conversion cases[] = {
        {"\xA9", "?"},  // a continuation byte where a lead belongs
        {"a\x80\xBF"
         "b",
         "a??b"},
        {"\xFE\x80", "??"},  // a lead of six continuation bytes, then a stray one
        {"\xFF", "?"},
        {"\xC3", "?"},  // cut short by the end
        {"x\xE2\x82", "x?"},
        {"\xC3"
         "A",
         "?A"},  // a byte that does not continue the sequence
        {"\xE2\x82\xC3\xA9", "?\xE9"},
    };
    for (const Conversion& c : cases) {
        std::string text = c.utf8;
        ConvertText(text);
        EXPECT_EQ(text, c.converted) << c.utf8;
    }
}

}  // namespace
