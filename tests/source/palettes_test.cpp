#include <gtest/gtest.h>

#include "palettes.h"

namespace {

TEST(Palettes, FindsTheTwoBuiltInPalettesOnly) {
    const Palettes palettes;
    ASSERT_NE(palettes.Find(0), nullptr);
    ASSERT_NE(palettes.Find(1), nullptr);
    EXPECT_EQ(palettes.Find(1)->id, 1u);
    EXPECT_EQ(palettes.Find(2), nullptr);
}

TEST(Palettes, RampPaletteMasksTheKeyByte) {
    const Palettes palettes;
    const Palette& ramps = *palettes.Find(1);
    EXPECT_EQ(ramps.indexMask, 127);
    EXPECT_EQ(ramps.ColorOfKeyByte(0), 0xFFFCFCFCu);
    EXPECT_EQ(ramps.ColorOfKeyByte(128), 0xFFFCFCFCu);
    EXPECT_EQ(ramps.ColorOfKeyByte(255), 0xFF5F0F0Bu);
    EXPECT_EQ(ramps.ColorOfKeyByte(44), 0xFF4EBF20u);
    EXPECT_EQ(ramps.colors[128], 0u);
}

TEST(Palettes, PaletteZeroKeepsOrClears) {
    const Palettes palettes;
    const Palette& keep = *palettes.Find(0);
    EXPECT_EQ(keep.ColorOfKeyByte(0), 0u);
    EXPECT_EQ(keep.ColorOfKeyByte(1), 0xFFFFFFFFu);
    EXPECT_EQ(keep.ColorOfKeyByte(127), 0xFFFFFFFFu);
    EXPECT_EQ(keep.ColorOfKeyByte(128), 0u);
}

}  // namespace
