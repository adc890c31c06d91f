#include "keynames.h"

#include <gtest/gtest.h>

namespace {

// Scan codes of a US keyboard; extended keys plus 256.
TEST(KeyNameTextTest, NamesKeysByTheirStoredCode) {
    const struct {
        uint32_t code;
        const char* name;
    } cases[] = {{0x10, "Q"}, {0x11, "W"}, {0x1E, "A"}, {0x2C, "Z"}, {0x3F, "F5"}};
    for (const auto& keyCase : cases) EXPECT_EQ(KeyNameText(keyCase.code), keyCase.name);
}

TEST(KeyNameTextTest, TheExtendedFlagNamesAnotherKey) {
    // An arrow key and the keypad key with the same scan code.
    const std::string arrow = KeyNameText(0x148), keypad = KeyNameText(0x48);
    EXPECT_FALSE(arrow.empty());
    EXPECT_FALSE(keypad.empty());
    EXPECT_NE(arrow, keypad);
}

TEST(KeyNameTextTest, NamesFitThirtyOneCharactersAndLongNamesAreNotOneCharacter) {
    for (uint32_t code = 0; code < 512; ++code) EXPECT_LE(KeyNameText(code).size(), 31u) << code;
    EXPECT_GT(KeyNameText(0x39).size(), 1u);  // the space bar
}

TEST(KeyNameCacheTest, FollowsTheBindingFromTheFirstCall) {
    KeyNameCache cache;
    for (uint32_t code : {0x3Fu, 0x10u, 0x10u, 0x148u, 0x3Fu})
        EXPECT_EQ(cache.Name(code), KeyNameText(code)) << code;
}

}  // namespace
