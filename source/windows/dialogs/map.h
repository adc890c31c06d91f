#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

// The world-map window: its zoom and follow switch, and the removal of custom markers; a view
// that does not follow the map driver yet, the least its callers need.
class Map : public Window {
public:
    explicit Map(Core* core);
    // Recomputes the view from the map driver's selection.
    void UpdateView();
    // Redraws the layer of the page image and the markers.
    void RenderMarkerLayer();
    // Removes the custom marker of the id from the map part shown and tells the server, which
    // hears of it even when no marker had the id.
    void RemoveMarker(int32_t id);

    float zoom = 1.0f;
    float minZoom = 0.5f;
    float maxZoom = 1.5f;
    uint8_t follow = 0;  // the view tracks the player
};
