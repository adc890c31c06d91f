#pragma once
#include <vector>

#include "maplabel.h"
#include "maprect.h"

// A part of a map page: its world rectangle drawn linearly onto its page rectangle, with the
// atlas's labels, the player's markers and the journal's quest markers placed on it.
class MapPart {
public:
    virtual ~MapPart() = default;

    MapRect pageRect;   // pixels of the page
    MapRect worldRect;  // world tiles
    std::vector<MapLabel> labels;
    std::vector<MapLabel> markers;
    std::vector<MapLabel> journalMarkers;
};
