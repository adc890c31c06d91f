#include "windows/dialogs/map.h"

#include <algorithm>

#include "core.h"
#include "mapdriver.h"
#include "mappart.h"
#include "protocol.h"
#include "windows/toolkit/windowtypes.h"

Map::Map(Core* core) : Window(core) { typeId = WindowType::Map; }

void Map::UpdateView() {}

void Map::RenderMarkerLayer() {}

void Map::RemoveMarker(int32_t id) {
    if (MapPart* part = core->mapDriver ? core->mapDriver->SelectedPart() : nullptr) {
        std::vector<MapLabel>& markers = part->markers;
        const auto found = std::find_if(markers.begin(), markers.end(), [id](const MapLabel& m) {
            return int16_t(m.id) == int16_t(id);
        });
        if (found != markers.end()) markers.erase(found);
    }
    if (core->activeConnection) core->activeConnection->SendMarkerRemove(uint8_t(id));
}
