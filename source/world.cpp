#include "world.h"

#include <algorithm>

#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "motions.h"
#include "notification.h"
#include "paragraphs.h"
#include "throws.h"
#include "tile.h"
#include "weather.h"

namespace {

// The flagged list's timer: how long an emptied list lingers, and where a list filled again
// starts.
constexpr uint64_t FlaggedLingerMs = 5000;
constexpr uint64_t FlaggedResumeMs = 255;
constexpr uint64_t FlaggedRestartMs = 1000;

}  // namespace

World::World(Core* owner) : createdAt(owner->frameTimeMs), owner(owner) {
    ResetView();
    paragraphs = new Paragraphs(owner);
    motions = new Motions(owner);
    throws = new Throws(owner);
    notification = new Notification(owner);
    weather = new Weather(owner);
    lightOverlay = GFX_CreateOverlay(0);
    if (owner->options.layers) SetSmoothRendering(true);
}

World::~World() {
    DeleteFadeTargets();
    delete throws;
    throws = nullptr;
    delete motions;
    motions = nullptr;
    delete paragraphs;
    paragraphs = nullptr;
    delete notification;
    notification = nullptr;
    delete weather;
    weather = nullptr;
    ClearLayers();
    GFX_DeleteOverlay(lightOverlay);
    previousCentre = viewCentre = Position{0, 0, 0};
}

void World::DeleteFadeTargets() {
    GFX_DeleteRenderTarget(fadeInTarget);
    GFX_DeleteRenderTarget(fadeOutTarget);
    fadeInTarget = fadeOutTarget = nullptr;
}

void World::SetSmoothRendering(bool on) {
    if (!on) {
        DeleteFadeTargets();
        // A fade under way ends: its cells are the layers' own again.
        fadeIn.active = fadeOut.active = 0;
        revealedFlag = coveredFlag = 0;
        ComputeOcclusion();
        return;
    }
    if (fadeInTarget) return;
    viewJumped = 1;
    fadeInTarget = GFX_CreateRenderTarget(FadeWidth, FadeHeight, 0, 0, 0);
    fadeOutTarget = GFX_CreateRenderTarget(FadeWidth, FadeHeight, 0, 0, 0);
}

Layer* World::FindLayer(int32_t z) const {
    auto at = std::find_if(layers.begin(), layers.end(),
                           [&](const Layer* layer) { return layer->z == z; });
    return at == layers.end() ? nullptr : *at;
}

Layer* World::GetLayer(uint8_t z) {
    if (Layer* layer = FindLayer(z)) return layer;
    auto above = std::find_if(layers.begin(), layers.end(),
                              [&](const Layer* layer) { return layer->z > z; });
    return *layers.insert(above, new Layer(owner, z));
}

Tile* World::GetTile(uint32_t packed, uint8_t z) {
    return GetTileXY(uint16_t(packed), uint16_t(packed >> 16), z);
}

Tile* World::GetTileXY(uint16_t x, uint16_t y, uint8_t z) { return GetLayer(z)->GetTile(x, y); }

Tile* World::GetTileIfExists(uint32_t packed, uint8_t z) {
    return GetLayer(z)->GetSlot(uint16_t(packed), uint16_t(packed >> 16));
}

Tile* World::CreateTile(Position position) {
    return GetLayer(position.z)->CreateTile(position.x, position.y);
}

Tile* World::TileAt(const Layer* layer, int32_t x, int32_t y) {
    if (!layer || x < 0 || y < 0 || x > 0xFFFF || y > 0xFFFF) return nullptr;
    return layer->GetTile(uint16_t(x), uint16_t(y));
}

bool World::HasThings(const Tile* tile) { return tile && !tile->things.empty(); }

const Position* World::PlayerPosition() const {
    return owner->player ? &owner->player->position : nullptr;
}

void World::AddCreature(Creature* creature) {
    creatures.push_back(creature);
    if (!creature->flagged) return;
    flaggedCreatures.push_back(creature);
    if (flaggedCreatures.size() > 1) return;
    // The list fills again: the timer starts anew, or a list emptied a moment ago takes up
    // about where it was.
    const uint64_t now = owner->frameTimeMs;
    if (flaggedTimer.state != FlaggedTimer::Emptied) flaggedTimer.time = now;
    else if (flaggedTimer.time >= now && flaggedTimer.time - now < FlaggedResumeMs)
        flaggedTimer.time -= FlaggedResumeMs;
    else flaggedTimer.time = now - FlaggedRestartMs;
    flaggedTimer.state = FlaggedTimer::Filled;
}

void World::RemoveFlaggedCreature(Creature* creature) {
    auto at = std::find(flaggedCreatures.begin(), flaggedCreatures.end(), creature);
    if (at == flaggedCreatures.end()) return;
    flaggedCreatures.erase(at);
    if (!flaggedCreatures.empty()) return;
    flaggedTimer.state = FlaggedTimer::Emptied;
    flaggedTimer.time = owner->frameTimeMs + FlaggedLingerMs;
}

void World::RemoveCreature(Creature* creature) {
    auto at = std::find(creatures.begin(), creatures.end(), creature);
    if (at == creatures.end()) return;  // not the world's to delete
    creatures.erase(at);
    for (const Position& where : {creature->position, creature->drawPosition})
        if (Tile* tile = TileAt(FindLayer(where.z), where.x, where.y))
            tile->RemoveCreature(creature);
    RemoveFlaggedCreature(creature);
    owner->targets.erase(std::remove(owner->targets.begin(), owner->targets.end(), creature),
                         owner->targets.end());
    if (owner->player == creature) owner->player = nullptr;
    if (owner->hoverCreature == creature) owner->hoverCreature = nullptr;
    if (owner->followTarget == creature) owner->followTarget = nullptr;
    DropOverhangs(creature);
    delete creature;
}

void World::Shift(Position centre) {
    std::vector<Creature*> leaving;
    for (Creature* creature : creatures)
        if (creature != owner->player && !IsNearView(creature->position, centre))
            leaving.push_back(creature);
    for (Creature* creature : leaving) RemoveCreature(creature);
    viewJumped = 1;  // the next view rebuild makes no fade comparison
}

void World::DropOverhangs(const Creature* creature) {
    for (Layer* layer : layers) {
        for (Tile* tile : layer->slots) {
            if (!tile) continue;
            std::vector<Overhang>& entries = tile->overhangs;
            entries.erase(std::remove_if(entries.begin(), entries.end(),
                                         [&](const Overhang& entry) {
                                             return !creature || entry.creature == creature;
                                         }),
                          entries.end());
        }
    }
}

Creature* World::GetCreature(uint32_t id) const {
    auto at = std::find_if(creatures.begin(), creatures.end(),
                           [&](const Creature* creature) { return creature->id == id; });
    return at == creatures.end() ? nullptr : *at;
}

void World::AddLightThing(Thing* thing) { lightSources.push_back(thing); }

void World::RemoveLightThing(Thing* thing) {
    auto at = std::find(lightSources.begin(), lightSources.end(), thing);
    if (at != lightSources.end()) lightSources.erase(at);
    if (owner->dragTo == thing) owner->dragTo = nullptr;
}

void World::ClearEffects() {
    for (EffectList* list :
         {static_cast<EffectList*>(motions), static_cast<EffectList*>(paragraphs),
          static_cast<EffectList*>(throws)})
        if (list) list->Clear();
}

void World::DetachCreatures() {
    while (!creatures.empty()) RemoveCreature(creatures.back());
}

void World::ClearLayers() {
    for (Layer* layer : layers) delete layer;
    layers.clear();
}

void World::DeleteTiles() {
    for (uint16_t column = 0; column < LayerColumns; ++column)
        for (uint16_t row = 0; row < LayerRows; ++row)
            GetLayer(cellFloor[SlotIndex(column, row)])->DeleteTile(column, row);
}
