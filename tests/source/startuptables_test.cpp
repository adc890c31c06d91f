#include <gtest/gtest.h>

#include <set>
#include <string>

#include "startuptables.h"

namespace {

TEST(MarkerGrid, ReadsRowByRowAsTheMarkerWindowShowsIt) {
    const char* const rows[MarkerGridRows][MarkerGridColumns] = {
        {"Ladder", "Cave", "Stairs", "Temple", "Castle"},
        {"House", "Dock", "Bank", "Armoury", "Fletcher"},
        {"Potions", "Orcs", "Spiders", "Dragon", "Magic"},
        {"Fruits", "Giant", "Goblin", "Undead", "Boss"},
        {"Tree", "Marker", "Market", "Key", "Treasure"},
    };
    for (uint32_t row = 0; row < MarkerGridRows; ++row)
        for (uint32_t column = 0; column < MarkerGridColumns; ++column)
            EXPECT_EQ(MarkerIconName(int32_t(row * MarkerGridColumns + column)), rows[row][column]);
}

TEST(MarkerGrid, ShowsEveryKindOnce) {
    EXPECT_EQ(MarkerIconCount, 25u);
    const std::set<uint32_t> kinds(std::begin(MarkerIconOrder), std::end(MarkerIconOrder));
    EXPECT_EQ(kinds.size(), MarkerIconCount);
    EXPECT_EQ(*kinds.rbegin(), MarkerIconCount - 1);
    EXPECT_STREQ(MarkerKindNames[12], "Castle");
    EXPECT_STREQ(MarkerKindNames[13], "Fletcher");
}

TEST(MarkerGrid, NoCellHasNoName) {
    EXPECT_EQ(MarkerIconName(-1), "");
    EXPECT_EQ(MarkerIconName(25), "");
}

}  // namespace
