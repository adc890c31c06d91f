#pragma once
// Map positions and the eight directions: 0 north, 1 north-east, 2 east, 3 south-east, 4 south,
// 5 south-west, 6 west, 7 north-west; the odd ones are the diagonals, 255 means none.
#include <cstdint>

constexpr uint32_t NoDirection = 255;

// x grows eastwards, y southwards; z is the floor.
struct Position {
    uint16_t x = 4;
    uint16_t y = 4;
    uint8_t z = 7;

    // x | y << 16, the form tile look-ups take.
    uint32_t Packed() const { return x | uint32_t(y) << 16; }
    bool operator==(const Position& other) const {
        return x == other.x && y == other.y && z == other.z;
    }
    bool operator!=(const Position& other) const { return !(*this == other); }
};

// +1 for 1, 2, 3; -1 for 5, 6, 7; 0 otherwise (any value outside 0..7 moves nowhere).
inline int32_t DirectionDeltaX(uint32_t direction) {
    return direction >= 1 && direction <= 3 ? 1 : direction >= 5 && direction <= 7 ? -1 : 0;
}

// -1 for 0, 1, 7; +1 for 3, 4, 5; 0 otherwise.
inline int32_t DirectionDeltaY(uint32_t direction) {
    return direction == 0 || direction == 1 || direction == 7 ? -1
           : direction >= 3 && direction <= 5                 ? 1
                                                              : 0;
}

// The position one step away in a direction, on the same floor.
inline Position StepFrom(Position from, uint32_t direction) {
    from.x = uint16_t(from.x + DirectionDeltaX(direction));
    from.y = uint16_t(from.y + DirectionDeltaY(direction));
    return from;
}

// p lies in the server's view about the centre: x from -11 to +12 and y from -9 to +10 away.
inline bool IsNearView(Position p, Position centre) {
    return uint32_t(p.x - centre.x + 11) <= 23 && uint32_t(p.y - centre.y + 9) < 20;
}
