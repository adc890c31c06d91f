#pragma once
// Comparing and printing window rectangles in test expectations.
#include <ostream>

#include "windows/toolkit/window.h"

inline bool operator==(const WindowRect& a, const WindowRect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

inline std::ostream& operator<<(std::ostream& out, const WindowRect& rect) {
    return out << "(" << rect.x << ", " << rect.y << ", " << rect.w << ", " << rect.h << ")";
}
