#pragma once
// Where the world lies on the screen: the game field's rectangle, the size of one tile there, the
// view's origin and the camera's scroll in screen pixels. The player stands at view column 9,
// row 7 (CentreColumn, CentreRow); with the `elastic` option the view shows 18 columns instead
// of 19 and is shifted up and left by half a tile.
#include <cstdint>

struct FieldView {
    // The field's rectangle, the `pixel` and `elastic` options and the camera scroll in world
    // pixels (32 to a tile).
    FieldView(int32_t x, int32_t y, int32_t width, int32_t height, bool pixel, bool elastic,
              float worldScrollX, float worldScrollY);

    // A field too narrow for one pixel a tile shows nothing and finds nothing.
    bool Empty() const { return tileSize == 0; }
    // The view column and row under a screen point.
    int32_t ColumnAt(int32_t px) const;
    int32_t RowAt(int32_t py) const;
    // Where the point lies inside that tile, on a scale of 32 to the tile.
    int32_t InTileX(int32_t px) const;
    int32_t InTileY(int32_t py) const;

    int32_t x, y, width, height;
    int32_t tileSize;
    int32_t originX, originY;
    int32_t scrollX, scrollY;
};
