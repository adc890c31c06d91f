// The view rebuild of the World: which floors and cells are drawn about the player, the cover
// classes of the tiles, the fade images of cells that a floor change reveals or covers, and the
// shelter mask of the falling weather. The passes look floors up without creating them: a
// missing floor has no tiles, so the tables come out the same.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "tile.h"
#include "weather.h"
#include "world.h"

namespace {

constexpr uint8_t NoFade = 255;
// Cells right of column 21 or below row 17 lie beyond the visible field.
constexpr int32_t FieldLastColumn = 21, FieldLastRow = 17;

// The inner view whose lowest closing floor hides the floors below it whole.
constexpr int32_t InnerLeft = 10, InnerTop = 8, InnerColumns = 23, InnerRows = 19;

bool BeyondField(const ViewCell& cell) {
    return cell.column > FieldLastColumn || cell.row > FieldLastRow;
}

uint8_t ClampFloor(int32_t value) { return uint8_t(std::clamp(value, 0, 255)); }

}  // namespace

void World::RebuildView(uint8_t floor) {
    if (gfxState.frameOpen) {
        rebuildDeferred = 1;
        deferredFloor = floor;
        return;
    }
    if (viewJumped) revealedFlag = coveredFlag = 0;
    ceiling = ClampFloor(floor + 1);  // the tables hold floors up to 255
    FindRoof();
    ComputeCover();
    UpdateFade();
    ComputeSideCover();
    if (weather && weather->Falling()) ComputeSkyMask();
    ComputeOcclusion();

    // Without a player the view keeps its last centre.
    const Position* player = PlayerPosition();
    const Position centre = player ? *player : viewCentre;
    if (showAll) {
        visibleLayers = uint32_t(layers.size());
    } else {
        visibleLayers = 0;
        for (Layer* layer : layers) {
            if (layer->z < drawFloor) {
                layer->hidden = 1;
                continue;
            }
            layer->UpdateHidden(centre);
            if (!layer->hidden) ++visibleLayers;
        }
    }

    if (!owner->options.layers) return;
    if (player && revealedFlag && fadeInTarget) {
        fadeIn = FloorFade{1, owner->frameTimeMs, *player};
        GFX_BeginFrame(fadeInTarget);
        GFX_SetOrigin(TilePixels, TilePixels);
        for (Layer* layer : layers) layer->DrawRevealed(*player);
        GFX_RestoreOrigin();
        GFX_EndFrame();
    }
    viewJumped = 0;
}

void World::FindRoof() {
    std::memset(cover, ceiling, sizeof cover);
    std::memset(roofFloor, ceiling, sizeof roofFloor);
    const Position* player = PlayerPosition();
    if (!player) return;
    const int32_t px = player->x, py = player->y;

    // The lowest floor above the player with something over its tile or the tiles north-west
    // of it is the roof.
    const int32_t corner[4][2] = {{px, py}, {px - 1, py}, {px, py - 1}, {px - 1, py - 1}};
    viewTop = player->z;
    for (const Layer* layer : layers) {
        if (layer->z <= player->z || layer->z > ceiling) continue;
        bool roof = false;
        for (const auto& at : corner) {
            if (!HasThings(TileAt(layer, at[0], at[1]))) continue;
            roofFloor[SlotIndex(at[0], at[1])] = uint8_t(layer->z);
            roof = true;
        }
        if (roof) break;
        viewTop = std::max(viewTop, uint8_t(layer->z));
    }

    // A floor-kind-2 thing beside the player roofs the cell beyond it.
    const Layer* own = FindLayer(player->z);
    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            if (std::abs(dx) + std::abs(dy) != 1) continue;
            const Tile* beside = TileAt(own, px + dx, py + dy);
            if (!beside || !beside->HasFloorKind2()) continue;
            viewTop = player->z;
            roofFloor[SlotIndex(px + 2 * dx, py + 2 * dy)] = uint8_t(player->z + 1);
        }
    }
    viewTop = std::min(viewTop, ceiling);
}

void World::ComputeCover() {
    std::memset(topFloor, 0, sizeof topFloor);
    const Position* player = PlayerPosition();
    if (!player) return;
    for (const Layer* layer : layers) {
        if (layer->z > ceiling) continue;
        ForEachViewCell(*player, [&](const ViewCell& cell) {
            if (topFloor[cell.slot] < layer->z && HasThings(layer->GetTile(cell.x, cell.y)))
                topFloor[cell.slot] = uint8_t(layer->z);
        });
    }
    for (uint32_t slot = 0; slot < uint32_t(LayerSlotCount); ++slot) {
        if (roofFloor[slot] >= ceiling) continue;
        const Layer* roof = FindLayer(roofFloor[slot]);
        if (const Tile* tile = roof ? roof->slots[slot] : nullptr) {
            cover[slot] = uint8_t(roof->z);
            FloodCover(roof, tile->x, tile->y);
        }
    }
}

// A roof spreads over every 8-connected cell that has something on a floor at or above it.
void World::FloodCover(const Layer* roof, int32_t x, int32_t y) {
    const uint8_t value = cover[SlotIndex(x, y)];
    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            const uint32_t next = SlotIndex(x + dx, y + dy);
            if (value >= cover[next] || value > topFloor[next]) continue;
            if (!HasThings(TileAt(FindLayer(topFloor[next]), x + dx, y + dy))) continue;
            cover[next] = uint8_t(roof->z);
            FloodCover(roof, x + dx, y + dy);
        }
    }
}

void World::UpdateFade() {
    const Position* player = PlayerPosition();
    if (!owner->options.layers || !player) return;
    previousCentre = viewCentre;
    if (!viewJumped) {
        revealedFlag = coveredFlag = 0;
        std::memset(revealedFrom, NoFade, sizeof revealedFrom);
        std::memset(coveredFrom, NoFade, sizeof coveredFrom);
        // One pass over all slots, leaving out the cells that came in at the wrapped edge.
        for (int32_t i = 0; i < LayerColumns; ++i) {
            const int32_t x = player->x + 2 - i;
            if (player->x < previousCentre.x && x == previousCentre.x - 11) continue;
            for (int32_t j = 0; j < LayerRows; ++j) {
                const int32_t y = player->y + 2 - j;
                if (player->y < previousCentre.y && y == previousCentre.y - 9) continue;
                const uint32_t slot = SlotIndex(x, y);
                if (cover[slot] > coverPrev[slot]) {
                    revealedFrom[slot] = coverPrev[slot];
                    revealedFlag = 1;
                } else if (cover[slot] < coverPrev[slot]) {
                    coveredFrom[slot] = cover[slot];
                    coveredFlag = 1;
                }
            }
        }
        if (coveredFlag && fadeOutTarget) {
            fadeOut = FloorFade{1, owner->frameTimeMs, previousCentre};
            GFX_BeginFrame(fadeOutTarget);
            GFX_SetOrigin(float((player->x - previousCentre.x + 1) * TilePixels),
                          float((player->y - previousCentre.y + 1) * TilePixels));
            for (Layer* layer : layers) layer->DrawNewlyCovered(*player);
            GFX_RestoreOrigin();
            GFX_EndFrame();
        }
    }
    viewCentre = *player;
    std::memcpy(coverPrev, cover, sizeof cover);
}

void World::ComputeSideCover() {
    std::memset(sideCover, 0, sizeof sideCover);
    std::memset(sideRoof, 0, sizeof sideRoof);
    std::memset(sideResult, 0, sizeof sideResult);
    std::memset(shiftedTop, 0, sizeof shiftedTop);
    const Position* player = PlayerPosition();
    if (!player) return;
    for (const Layer* layer : layers) {
        if (layer->z > ceiling) continue;
        ForEachViewCell(*player, [&](const ViewCell& cell) {
            if (layer->z >= cover[cell.slot] || sideCover[cell.slot] >= layer->z) return;
            const Tile* tile = layer->GetTile(cell.x, cell.y);
            if (!tile) return;
            if (tile->HasGround()) sideCover[cell.slot] = uint8_t(layer->z);
            if (tile->HasSolidNonBit6Thing()) sideRoof[cell.slot] = uint8_t(layer->z);
            sideResult[cell.slot] = std::min(sideCover[cell.slot], sideRoof[cell.slot]);
        });
    }

    // At most one write per slot's worth of cells, highest floors first.
    int32_t budget = LayerSlotCount;
    for (auto layer = layers.rbegin(); layer != layers.rend() && budget > 0; ++layer) {
        const int32_t shift = (*layer)->z - player->z;
        for (int32_t column = ViewFirst; column <= ViewLastColumn && budget > 0; ++column) {
            if (column + shift < ViewFirst || column + shift > ViewLastColumn) continue;
            for (int32_t row = ViewFirst; row <= ViewLastRow; ++row) {
                if (row + shift < ViewFirst || row + shift > ViewLastRow) continue;
                const int32_t x = player->x - CentreColumn + column,
                              y = player->y - CentreRow + row;
                const uint32_t slot = SlotIndex(x, y);
                if (shiftedTop[slot] > (*layer)->z || !TileAt(*layer, x, y)) continue;
                shiftedTop[slot] = uint8_t((*layer)->z);
                if (--budget == 0) break;
            }
        }
    }
}

void World::ComputeSkyMask() {
    skyMaskReady = 0;
    for (uint32_t slot = 0; slot < uint32_t(LayerSlotCount); ++slot) {
        const Layer* layer = FindLayer(cellFloor[slot]);
        skyCover[slot] = layer && layer->slots[slot] ? 255 : 0;
    }
    const Position* player = PlayerPosition();
    if (!player) return;

    // Something solid above a cell shelters it; higher floors are looked at along the diagonal
    // the view is drawn with.
    for (const Layer* layer : layers) {
        if (layer->z > ceiling) continue;
        ForEachViewCell(*player, [&](const ViewCell& cell) {
            if (skyCover[cell.slot] >= layer->z) return;
            const int32_t d = cover[cell.slot] < layer->z ? layer->z - cover[cell.slot] : 0;
            const Tile* above = TileAt(layer, cell.x - d, cell.y - d);
            if (HasThings(above) && above->HasSolidNonBit6Thing())
                skyCover[cell.slot] = uint8_t(layer->z);
        });
    }

    // Smoothing: lone sheltered or exposed cells follow their neighbours.
    for (int32_t column = ViewFirst; column <= ViewLastColumn; ++column) {
        for (int32_t row = ViewFirst; row <= ViewLastRow; ++row) {
            const int32_t x = player->x - CentreColumn + column, y = player->y - CentreRow + row;
            int32_t exposed = 0;
            for (int32_t dx = -1; dx <= 1; ++dx)
                for (int32_t dy = -1; dy <= 1; ++dy) {
                    const uint32_t neighbour = SlotIndex(x + dx, y + dy);
                    exposed += cover[neighbour] > skyCover[neighbour];
                }
            const uint32_t slot = SlotIndex(x, y);
            if (skyCover[slot] < cover[slot] && exposed < 3)
                skyCover[slot] = ClampFloor(cover[slot] + 1);
            else if (skyCover[slot] >= cover[slot] && exposed > 6)
                skyCover[slot] = ClampFloor(cover[slot] - 1);
        }
    }
    for (uint32_t slot = 0; slot < uint32_t(LayerSlotCount); ++slot)
        skyExposed[slot] = skyCover[slot] < cover[slot];
    skyMaskReady = 1;
}

void World::ComputeOcclusion() {
    std::memset(occlusion, 0, sizeof occlusion);
    const Position* player = PlayerPosition();
    if (!player) return;
    // The floor shown at a cell is the highest one drawn there in full with something on it;
    // the player's where there is none.
    std::memset(visibleFloor, player->z, sizeof visibleFloor);
    bool shown[LayerSlotCount] = {};
    for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
        const Layer* layer = *it;
        if (layer->z > ceiling) continue;
        const int32_t z = layer->z;
        ForEachViewCell(*player, [&](const ViewCell& cell) {
            Tile* tile = layer->GetTile(cell.x, cell.y);
            if (!tile || z >= cover[cell.slot]) return;
            if ((showAll || occlusion[cell.slot] < z) && !shown[cell.slot] && HasThings(tile)) {
                shown[cell.slot] = true;
                visibleFloor[cell.slot] = uint8_t(z);
            }
            if (showAll) {
                tile->coverClass = CoverNone;
            } else if (occlusion[cell.slot] < z) {
                if (tile->HasBit13Thing()) occlusion[cell.slot] = uint8_t(z);
                tile->coverClass = BeyondField(cell) ? CoverEdge : CoverNone;
            } else if (!revealedFlag || coverPrev[cell.slot] <= z) {
                const bool outer = cell.column < -1 || cell.row < -1 || BeyondField(cell);
                const bool underAll = z < occlusion[SlotIndex(cell.x - 1, cell.y - 1)] &&
                                      z < occlusion[SlotIndex(cell.x - 1, cell.y)] &&
                                      z < occlusion[SlotIndex(cell.x, cell.y - 1)];
                tile->coverClass = outer || underAll ? CoverHidden : CoverEdge;
            } else {
                // A reveal is running and the cell was drawn at this floor before.
                tile->coverClass = BeyondField(cell) ? CoverEdge : CoverNone;
            }
        });
    }

    // The lowest occlusion of the inner view decides the floors hidden whole.
    uint8_t lowest = player->z;
    for (int32_t i = 0; i < InnerColumns; ++i)
        for (int32_t j = 0; j < InnerRows; ++j)
            lowest = std::min(
                lowest, occlusion[SlotIndex(player->x - InnerLeft + i, player->y - InnerTop + j)]);
    drawFloor = std::min(lowest, solidFloor);
    solidFloor = lowest;
}
