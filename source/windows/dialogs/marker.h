#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

// The map marker dialog: keeps where it was opened and the marker it edits, the least its
// callers need.
class Marker : public Window {
public:
    Marker(Core* core, int32_t screenX, int32_t screenY);
    // Edits the custom marker of the id instead of adding one.
    void EditMarker(int32_t id);

    int32_t editedId = -1;  // none: the dialog adds a marker
};
