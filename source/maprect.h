#pragma once
#include <cstdint>

// A rectangle of the world map: x0, y0 inclusive, x1, y1 exclusive; in world tiles or in pixels
// of a map page.
struct MapRect {
    uint16_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    // The extents as signed values: a rectangle whose corners are swapped has a negative one.
    int32_t Width() const { return int32_t(x1) - x0; }
    int32_t Height() const { return int32_t(y1) - y0; }
    bool operator==(const MapRect& other) const {
        return x0 == other.x0 && y0 == other.y0 && x1 == other.x1 && y1 == other.y1;
    }
};
