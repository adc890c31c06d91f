#pragma once
#include <cstdint>
#include <string>

// A name or icon on a part of a map page: a label of the atlas, a custom marker of the player or
// a quest marker of the journal.
struct MapLabel {
    uint16_t id = 0;   // the marker id of custom markers, a running number for journal markers
    uint16_t x = 0;    // world tile relative to the part's world x0 (16-bit difference)
    uint16_t y = 0;    // world tile relative to the part's world y0
    uint8_t icon = 0;  // 0: a text label such as a town name; else an icon of the map window
    std::string text;
    uint8_t flag = 0;  // 1 for journal markers, 0 for custom markers
};
