#pragma once
#include <cstdint>
#include <vector>

#include "maprect.h"

// One account's explored area of the world map: a byte a tile, 255 unexplored, 0 fully seen,
// values between a soft edge.
class GameAccount {
public:
    virtual ~GameAccount() = default;

    uint32_t accountId = 0;
    uint32_t recordOffset = 0;  // in the save file; 0 for a record created in this run
    uint32_t recordEnd = 0;
    MapRect rect;               // the world rectangle the mask covers
    std::vector<uint8_t> mask;  // rect width x height, row-major
    uint8_t loaded = 0;
};
