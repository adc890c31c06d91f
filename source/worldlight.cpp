// The light grid of the World: the ambient colour of the weather, brightened around every light
// that stands in view and is not covered from above, and read back for creature drawing.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "item.h"
#include "shape.h"
#include "weather.h"
#include "world.h"

namespace {

// The player's cell of the grid.
constexpr int32_t PlayerGridX = 12, PlayerGridY = 10;
// Lights stand within this window about the player: columns -10..13 and rows -8..11.
constexpr int32_t LightWindowLeft = 10, LightWindowTop = 8;
constexpr int32_t LightWindowColumns = 24, LightWindowRows = 20;
// Lights are yellowish: their blue is weaker.
constexpr float BlueWeakening = 1.5f;
// How much of a creature's light passes a shading floor, by its height.
constexpr float ShadedLight = 0.2f, ShadedLightPerHeight = 0.05f;

}  // namespace

bool World::LightsFrom(const Position& player, const Position& at, uint8_t floor) const {
    const int32_t column = at.x - player.x + LightWindowLeft;
    const int32_t row = at.y - player.y + LightWindowTop;
    return column >= 0 && column < LightWindowColumns && row >= 0 && row < LightWindowRows &&
           floor < cover[SlotIndex(at.x, at.y)];
}

// The cell's value lies on the corner of four tiles; a floor above the light that closes the
// view over one of them shades the cell. The tiles next to the player never shade, so that its
// own surroundings stay lit when it stands beside a wall.
bool World::Shaded(const Position& player, int32_t gridX, int32_t gridY, int32_t floor) const {
    for (int32_t dx = 0; dx <= 1; ++dx) {
        for (int32_t dy = 0; dy <= 1; ++dy) {
            const int32_t tileX = gridX - PlayerGridX + dx, tileY = gridY - PlayerGridY + dy;
            if (std::abs(tileX) <= 1 && std::abs(tileY) <= 1) continue;
            if (occlusion[SlotIndex(player.x + tileX, player.y + tileY)] > floor) return true;
        }
    }
    return false;
}

void World::ComputeLight() {
    const uint32_t ambient = weather ? weather->ambientColour : GfxWhite;
    std::fill(std::begin(lightGrid), std::end(lightGrid), ambient);
    const Creature* player = owner->player;
    if (!player) return;
    const Position centre = player->position;
    for (Creature* creature : creatures) {
        if (creature != player && creature->hidden) continue;
        if (LightsFrom(centre, creature->position, creature->position.z))
            creature->AddLights(centre);
    }
    for (Thing* thing : lightSources) {
        const Item* item = static_cast<Item*>(thing);
        const Position at{item->x, item->y, item->z};
        if (!thing->shape || !LightsFrom(centre, at, at.z)) continue;
        SpreadLight(at.x - centre.x + PlayerGridX, at.y - centre.y + PlayerGridY, at.z,
                    TilePixels / 2, TilePixels / 2, thing->shape->lights);
    }
}

void World::SpreadLight(int32_t gridX, int32_t gridY, uint8_t floor, int32_t offsetX,
                        int32_t offsetY, const std::vector<std::unique_ptr<ShapeLight>>& records) {
    const Creature* player = owner->player;
    if (!player) return;
    const Position centre = player->position;
    for (const auto& record : records)
        Spread(gridX, gridY, offsetX, offsetY, *record,
               [&](int32_t x, int32_t y) { return Shaded(centre, x, y, floor) ? 0.0f : 1.0f; });
}

void World::SpreadCreatureLight(const Creature& creature, int32_t gridX, int32_t gridY,
                                uint8_t floor, int32_t offsetX, int32_t offsetY,
                                const std::vector<std::unique_ptr<ShapeLight>>& records) {
    const Creature* player = owner->player;
    if (!player) return;
    const Position centre = player->position;
    // A light carried high passes more of a shading floor.
    const float height = creature.elevation;
    const float dimmed =
        height > 0 ? std::min(1.0f, ShadedLight + ShadedLightPerHeight * height) : ShadedLight;
    for (const auto& record : records)
        Spread(gridX, gridY, offsetX, offsetY, *record, [&](int32_t x, int32_t y) {
            if (!Shaded(centre, x, y, floor)) return 1.0f;
            return Shaded(centre, x, y, floor + 1) ? 0.0f : dimmed;
        });
}

// Each grid cell the mask covers takes the mask's samples about it, weighted by where the light
// stands inside its cell, and keeps the brighter of its value and the light's in every channel.
template <typename Dim>
void World::Spread(int32_t gridX, int32_t gridY, int32_t offsetX, int32_t offsetY,
                   const ShapeLight& record, Dim dim) {
    const int32_t w = int32_t(record.width), h = int32_t(record.height);
    if (w < 2 || h < 2 || record.mask.size() < size_t(w) * size_t(h)) return;  // not built
    // The mask's middle sample falls on the light's point.
    const int32_t centreX = (w - 1) / 2, centreY = (h - 1) / 2;
    // A light further right in its cell takes samples further left into each cell.
    const float ox = float(TilePixels - std::clamp(offsetX, 0, TilePixels));
    const float oy = float(TilePixels - std::clamp(offsetY, 0, TilePixels));
    const float full = float(TilePixels);
    for (int32_t j = 0; j + 1 < h; ++j) {
        const int32_t gy = gridY + j - centreY;
        if (gy < 0 || gy >= LightRows) continue;
        for (int32_t i = 0; i + 1 < w; ++i) {
            const int32_t gx = gridX + i - centreX;
            if (gx < 0 || gx >= LightColumns) continue;
            const float factor = dim(gx, gy);
            if (factor <= 0) continue;
            const uint32_t s00 = record.mask[size_t(j * w + i)];
            const uint32_t s10 = record.mask[size_t(j * w + i + 1)];
            const uint32_t s01 = record.mask[size_t((j + 1) * w + i)];
            const uint32_t s11 = record.mask[size_t((j + 1) * w + i + 1)];
            uint32_t& cell = lightGrid[gx + LightColumns * gy];
            uint32_t merged = 0;
            for (int32_t k = 0; k < 4; ++k) {  // blue, green, red, alpha
                const int32_t shift = 8 * k;
                auto sample = [&](uint32_t value) {
                    const float byte = float((value >> shift) & 0xFF);
                    return k == 0 ? byte / BlueWeakening : byte;
                };
                float value =
                    ((full - oy) * ox * sample(s10) + ox * oy * sample(s11) +
                     (full - ox) * oy * sample(s01) + (full - ox) * (full - oy) * sample(s00)) /
                    (full * full);
                if (k < 3) value *= factor;
                const uint32_t kept = (cell >> shift) & 0xFF;
                merged |= std::max(kept, uint32_t(value)) << shift;
            }
            cell = merged;
        }
    }
}

uint32_t World::GetLightAt(int32_t px, int32_t py) const {
    const int32_t column = px / TilePixels + 2, row = py / TilePixels + 2;
    if (column < 0 || row < 0 || column >= LightColumns || row >= LightRows) return 0;
    const uint32_t colour = lightGrid[row * LightColumns + column];
    return (((colour >> 16) & 0xFF) + ((colour >> 8) & 0xFF) + (colour & 0xFF)) / 3;
}
