#include "fieldview.h"

#include <gtest/gtest.h>

namespace {

TEST(FieldView, TileSizeFromTheFieldWidth) {
    const struct {
        int32_t width;
        bool pixel, elastic;
        int32_t tileSize;
    } cases[] = {
        {12, false, false, 0},   {13, false, false, 1}, {608, false, false, 32},
        {626, false, false, 33}, {16, true, false, 0},  {17, true, false, 1},
        {608, true, false, 32},  {11, false, true, 0},  {12, false, true, 1},
        {608, false, true, 34},  {15, true, true, 0},   {16, true, true, 1},
        {-40, false, false, 0},
    };
    for (const auto& c : cases) {
        const FieldView view(0, 0, c.width, 100, c.pixel, c.elastic, 0, 0);
        EXPECT_EQ(view.tileSize, c.tileSize) << c.width << " " << c.pixel << c.elastic;
        EXPECT_EQ(view.Empty(), c.tileSize == 0) << c.width;
    }
}

TEST(FieldView, ElasticShiftsTheOriginByHalfATile) {
    const FieldView plain(10, 20, 608, 448, false, false, 0, 0);
    EXPECT_EQ(plain.originX, 10);
    EXPECT_EQ(plain.originY, 20);
    const FieldView elastic(10, 20, 608, 448, false, true, 0, 0);
    EXPECT_EQ(elastic.originX, 10 - 17);
    EXPECT_EQ(elastic.originY, 20 - 17);
}

TEST(FieldView, ScrollIsScaledAndRoundedDown) {
    const FieldView view(0, 0, 608, 448, false, true, 16, -5);  // 34 pixels a tile
    EXPECT_EQ(view.scrollX, 17);
    EXPECT_EQ(view.scrollY, -6);  // -5.3125
    const FieldView empty(0, 0, 10, 10, false, false, 16, 16);
    EXPECT_EQ(empty.scrollX, 0);
}

TEST(FieldView, TilesAndPointsInsideThem) {
    const FieldView view(10, 20, 608, 448, false, false, 3, 0);  // 32 pixels, scrolled 3 right
    EXPECT_EQ(view.ColumnAt(10), 0);
    EXPECT_EQ(view.InTileX(10), 3);
    EXPECT_EQ(view.ColumnAt(38), 0);
    EXPECT_EQ(view.InTileX(38), 31);
    EXPECT_EQ(view.ColumnAt(39), 1);
    EXPECT_EQ(view.InTileX(39), 0);
    // Left of the field the columns go on below 0.
    EXPECT_EQ(view.ColumnAt(6), -1);
    EXPECT_EQ(view.InTileX(6), 31);
    EXPECT_EQ(view.RowAt(19), -1);
    EXPECT_EQ(view.InTileY(19), 31);
    EXPECT_EQ(view.RowAt(20 + 7 * 32 + 16), 7);
    EXPECT_EQ(view.InTileY(20 + 7 * 32 + 16), 16);
    // Another scale: the in-tile position stays on 32 steps.
    const FieldView small(0, 0, 298, 300, false, false, 0, 0);  // 16 pixels a tile
    EXPECT_EQ(small.ColumnAt(40), 2);
    EXPECT_EQ(small.InTileX(40), 16);
    EXPECT_EQ(small.InTileX(47), 30);
}

}  // namespace
