#pragma once
#include <cstdint>

// The game server's choice of map, page and part, and the player's place on it.
struct MapSelection {
    uint16_t mapId = 0;
    uint8_t key[16] = {};  // the map record's key
    int32_t page = 0;      // page of the map (from a signed byte)
    int32_t part = 0;      // part of that page (from a signed byte)
    uint16_t x = 0;        // the player's world tile
    uint16_t y = 0;
    uint8_t z = 0;
};
