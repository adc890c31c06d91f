#include "fieldview.h"

#include <algorithm>
#include <cmath>

#include "layer.h"

namespace {

constexpr int32_t ViewColumns = 19, ElasticViewColumns = 18;
// What the field adds to its width before dividing it into columns.
constexpr int32_t WidthMargin = 6, PixelWidthMargin = 2;

int32_t FloorDiv(int32_t value, int32_t divisor) {
    const int32_t quotient = value / divisor;
    return value % divisor != 0 && value < 0 ? quotient - 1 : quotient;
}

int32_t ScreenScroll(float worldScroll, int32_t tileSize) {
    return int32_t(std::floor(worldScroll * float(tileSize) / float(TilePixels)));
}

}  // namespace

FieldView::FieldView(int32_t x, int32_t y, int32_t width, int32_t height, bool pixel, bool elastic,
                     float worldScrollX, float worldScrollY)
    : x(x), y(y), width(width), height(height) {
    tileSize = std::max(0, (width + (pixel ? PixelWidthMargin : WidthMargin)) /
                               (elastic ? ElasticViewColumns : ViewColumns));
    const int32_t shift = elastic ? tileSize / 2 : 0;
    originX = x - shift;
    originY = y - shift;
    scrollX = Empty() ? 0 : ScreenScroll(worldScrollX, tileSize);
    scrollY = Empty() ? 0 : ScreenScroll(worldScrollY, tileSize);
}

int32_t FieldView::ColumnAt(int32_t px) const { return FloorDiv(px - originX + scrollX, tileSize); }

int32_t FieldView::RowAt(int32_t py) const { return FloorDiv(py - originY + scrollY, tileSize); }

int32_t FieldView::InTileX(int32_t px) const {
    return (px - originX + scrollX - ColumnAt(px) * tileSize) * TilePixels / tileSize;
}

int32_t FieldView::InTileY(int32_t py) const {
    return (py - originY + scrollY - RowAt(py) * tileSize) * TilePixels / tileSize;
}
