#include "windows/dialogs/marker.h"

#include "windows/toolkit/windowtypes.h"

Marker::Marker(Core* core, int32_t screenX, int32_t screenY) : Window(core) {
    typeId = WindowType::Marker;
    x = screenX;
    y = screenY;
}

void Marker::EditMarker(int32_t id) { editedId = id; }
