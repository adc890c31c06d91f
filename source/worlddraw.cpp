// The World's frame: the creatures' update with the camera and the hover picking, the world
// image of the visible floors with markers, missiles, floor fades, rain and snow, and the pass
// over the field on screen with names, bars, speech, floating numbers and notification lines.
#include <algorithm>
#include <cmath>

#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "item.h"
#include "itempart.h"
#include "motions.h"
#include "mouse.h"
#include "notification.h"
#include "paragraphs.h"
#include "screen.h"
#include "throws.h"
#include "tile.h"
#include "weather.h"
#include "windows/game/field.h"
#include "windows/game/padding.h"
#include "world.h"

namespace {

// The camera.
constexpr float StartRate = 0.4f;
constexpr float ScrollLimit = 16;
constexpr float CloseLag = 8;  // below this the standing player's camera settles faster
constexpr float SettleBoost = 1.5f;
constexpr float LagUnit = 16;  // a lag of this many units accelerates the camera
constexpr float StepTimeUnit = 250;

// The light overlay over the world image: two cells left of and above it, a cell a tile.
constexpr float OverlayBorder = 2 * TilePixels;
constexpr uint32_t OverlayOutside = 0xFF000000;
constexpr int32_t LightGridStride = LightColumns * 4;

// Markers drawn after the player's floor.
constexpr uint8_t MarkerAlpha = 40;
constexpr int32_t LastPosition = 0xFFFF;

// A floor fade runs 512 ms: t counts 0..255 in steps of 2 ms.
constexpr double FadeSteps = 256;
constexpr double FadeMsPerStep = 2;

// Rain and snow fall on the view cells of 27 x 23 tiles from (-32, -32) of the world image.
constexpr int32_t SkyColumns = LayerColumns, SkyRows = LayerRows;
constexpr int32_t SkyLeftColumns = 10, SkyTopRows = 8;
// Snow thickens in three stages by its value.
constexpr int32_t LightSnowBelow = 102, HeavySnowFrom = 136;
constexpr float SnowBlend = 34;
constexpr int32_t SnowAlphaLimit = 180;
constexpr int32_t SnowShift = TilePixels / 2;

// Names are drawn this far above the creature's box.
constexpr float NameLift = 12;
// Other creatures are drawn 8 pixels up and left of their tile, a quarter of it.
constexpr float ShiftFraction = 0.25f;
constexpr float SeatedLift = 8;

// The cubic ease-in-out over 0..255.
double Ease(double t) {
    const double half = 127.5, u = t / half;
    if (u < 1) return half * u * u * u;
    const double v = u - 2;
    return half * (v * v * v + 2);
}

uint8_t FadeAlpha(double value) { return uint8_t(std::clamp(value, 0.0, 255.0)); }

float Lift(const Creature& creature) {
    return creature.elevation - (creature.seated ? SeatedLift : 0);
}

}  // namespace

// --- Per-frame update --------------------------------------------------------------------------

void World::UpdateCreatures() {
    DropOverhangs();
    const std::vector<Creature*> walking = creatures;
    for (Creature* creature : walking) {
        if (std::find(creatures.begin(), creatures.end(), creature) == creatures.end()) continue;
        creature->UpdateWalk();
        creature->RegisterOverhangs();
    }
    UpdateCamera();
    Creature* player = owner->player;
    if (player && weather) weather->Render();

    owner->hoverCreature = nullptr;
    owner->hoverPart = nullptr;
    owner->hoverTile = nullptr;
    const Mouse* mouse = owner->screen ? owner->screen->mouse : nullptr;
    Window* field = owner->fieldWindow;
    if (!player || !mouse || !field || !field->HitTest(mouse->x, mouse->y)) return;

    Creature* creature = PickCreature(mouse->x, mouse->y, true);
    const bool aiming =
        owner->inputModes[InputSpellTarget] != 0 || owner->inputModes[InputUseWith] != 0;
    if (creature && (creature != player || aiming) && !creature->notTargetable) {
        owner->hoverCreature = creature;
        return;
    }
    Tile* tile = PickThing(mouse->x, mouse->y, true, false);
    if (!tile || tile->things.empty() || tile->z != player->position.z) return;
    owner->hoverTile = tile;
    const Item* item = static_cast<Item*>(owner->dragFrom);
    if (item && item->movable && !item->parts.empty()) owner->hoverPart = item->parts.front().get();
}

void World::ResetView() {
    baseOffsetX = baseOffsetY = 0;
    cameraX = cameraY = 0;
    scrollX = scrollY = 0;
    cameraRate = StartRate;
    cameraUpdatedAt = owner->frameTimeMs;
}

void World::UpdateCamera() {
    const Creature* player = owner->player;
    if (!owner->options.elastic || !player) return;
    const uint64_t now = owner->frameTimeMs;
    const float stepTime = float(player->groundSpeed) * float(player->stepSpeed) / StepTimeUnit;
    const float elapsed = float(int64_t(now - cameraUpdatedAt));
    cameraUpdatedAt = now;
    cameraRate = stepTime > 0 ? elapsed / stepTime : 1;
    const float dx = player->offsetX + baseOffsetX - cameraX;
    const float dy = player->offsetY + baseOffsetY - cameraY;
    const float ax = std::fabs(dx), ay = std::fabs(dy);
    if (!player->walking && ((ax > 0 && ax < CloseLag) || (ay > 0 && ay < CloseLag)))
        cameraRate *= SettleBoost;
    if (ax == 0 || ax >= CloseLag) {
        const float m = std::max(ax, ay) / LagUnit;
        cameraAcceleration = m >= 1 ? m * m : 1;
        cameraRate *= cameraAcceleration;
    }
    // A long frame must not carry the camera past the player and back.
    cameraRate = std::clamp(cameraRate, 0.0f, 1.0f);
    scrollX = std::clamp(cameraX + cameraRate * dx - baseOffsetX, -ScrollLimit, ScrollLimit);
    scrollY = std::clamp(cameraY + cameraRate * dy - baseOffsetY, -ScrollLimit, ScrollLimit);
    cameraX = baseOffsetX + scrollX;
    cameraY = baseOffsetY + scrollY;
}

void World::RunAfterFrame() {
    if (!rebuildDeferred) return;
    rebuildDeferred = 0;
    RebuildView(deferredFloor);
}

// --- The world image ---------------------------------------------------------------------------

void World::Draw() {
    const Creature* player = owner->player;
    if (owner->testWalker.testing || !player || GetFieldView().Empty()) return;
    const Position centre = player->position;
    const bool elastic = owner->options.elastic != 0;
    const float originX = std::floor(scrollX), originY = std::floor(scrollY);
    if (!elastic) GFX_SetOrigin(-originX, -originY);
    if (lightingEnabled) {
        ComputeLight();
        GFX_SetOverlayRect(lightOverlay, -OverlayBorder, -OverlayBorder, TilePixels, TilePixels);
        GFX_UpdateOverlay(lightOverlay, OverlayOutside, LightColumns, LightRows, lightGrid,
                          LightGridStride);
        GFX_ApplyOverlay(lightOverlay);
    }

    for (Layer* layer : layers) {
        if (!renderAllLayers && layer->z - centre.z != renderLayer) continue;
        if (showAll) layer->DrawAll(centre);
        else layer->Draw(centre);
        if (layer->z == centre.z) DrawMarkers();
        if (throws) throws->Update(centre, centre.z, uint8_t(layer->z));
    }
    if (throws) throws->Retire();
    if (owner->options.layers && !showAll && !viewJumped) DrawFades(centre);
    DrawRainAndSnow(centre);
    if (weather) weather->DrawLayer();

    if (lightingEnabled) GFX_ApplyOverlay(nullptr);
    if (!elastic) GFX_RestoreOrigin();
}

void World::DrawMarkers() {
    Creature* hovered = owner->hoverCreature;
    Creature* followed = owner->followTarget;
    if (owner->hoverPart) owner->hoverPart->DrawOutline(LastPosition, LastPosition, MarkerAlpha);
    const std::vector<Creature*> targets = owner->targets;
    for (Creature* target : targets)
        if (target != hovered && target != followed)
            target->DrawMarker(LastPosition, LastPosition, MarkerAlpha);
    if (hovered && hovered != followed)
        hovered->DrawMarker(LastPosition, LastPosition, MarkerAlpha);
    if (followed) followed->DrawMarker(LastPosition, LastPosition, MarkerAlpha);
}

// The fade-in shows the cells a floor change revealed as they were, fading out over the new
// view; the fade-out shows the newly covered cells fading away. An image the device lost is left
// out until it is drawn again.
void World::DrawFades(const Position& player) {
    const uint64_t now = owner->frameTimeMs;
    if (fadeIn.active && fadeInTarget) {
        const double t = double(int64_t(now - fadeIn.start)) / FadeMsPerStep;
        const float x = float((fadeIn.at.x - player.x) * TilePixels - TilePixels);
        const float y = float((fadeIn.at.y - player.y) * TilePixels - TilePixels);
        const bool lost = GFX_CheckRenderTarget(fadeInTarget);
        if (t >= FadeSteps) {
            fadeIn.active = 0;
            if (!lost) GfxDriver::DrawTarget(x, y, fadeInTarget);
            // The revealed cells are the layers' own again.
            revealedFlag = 0;
            RebuildView(uint8_t(ceiling - 1));
        } else if (!lost) {
            GfxDriver::DrawTargetTinted(x, y, uint32_t(FadeAlpha(Ease(t))) << 24 | 0xFFFFFF,
                                        fadeInTarget);
        }
    }
    if (fadeOut.active && fadeOutTarget) {
        const double t = double(int64_t(now - fadeOut.start)) / FadeMsPerStep;
        if (t >= FadeSteps) {
            fadeOut.active = 0;
        } else if (!GFX_CheckRenderTarget(fadeOutTarget)) {
            const float x = float((fadeOut.at.x - player.x - 1) * TilePixels);
            const float y = float((fadeOut.at.y - player.y - 1) * TilePixels);
            GfxDriver::DrawTargetTinted(x, y, uint32_t(FadeAlpha(255 - Ease(t))) << 24 | 0xFFFFFF,
                                        fadeOutTarget);
        }
    }
}

// Rain and snow fall where the sky is open; the pictures come from the two 4 x 4 grids of the
// shared interface items, whose cells repeat over the map.
void World::DrawRainAndSnow(const Position& player) {
    const int32_t rain = weather ? weather->RainValue() : 0;
    const int32_t snow = weather ? weather->SnowValue() : 0;
    if (rain <= 0 && snow <= 0) return;
    const int32_t snowAlpha = std::min(2 * snow, SnowAlphaLimit);
    const float blend = std::clamp(float(snow - LightSnowBelow) / SnowBlend, 0.0f, 1.0f);
    for (int32_t row = 0; row < SkyRows; ++row) {
        for (int32_t column = 0; column < SkyColumns; ++column) {
            const int32_t mapX = player.x - SkyLeftColumns + column;
            const int32_t mapY = player.y - SkyTopRows + row;
            if (!skyExposed[SlotIndex(mapX, mapY)]) continue;
            const int32_t x = (column - 1) * TilePixels, y = (row - 1) * TilePixels;
            const size_t i = size_t(mapX & 3), j = size_t(mapY & 3);
            if (Item* drop = rain > 0 ? owner->interfaceItems.gridA[i][j] : nullptr)
                drop->DrawTinted(x, y, uint8_t(std::min(rain, 255)));
            Item* flake = snow > 0 ? owner->interfaceItems.gridB[i][j] : nullptr;
            if (!flake) continue;
            if (snow < LightSnowBelow) {
                flake->DrawTinted(x, y, uint8_t(snowAlpha));
            } else if (snow < HeavySnowFrom) {
                const uint8_t fading = uint8_t(float(snowAlpha) * (1 - blend));
                const uint8_t rising = uint8_t(float(snowAlpha) * blend);
                flake->DrawTinted(x, y, fading);
                flake->DrawTinted(x, y, rising);
                flake->DrawTinted(x + SnowShift, y + SnowShift, rising);
            } else {
                flake->DrawTinted(x, y, uint8_t(snowAlpha));
                flake->DrawTinted(x + SnowShift, y + SnowShift, uint8_t(snowAlpha));
            }
        }
    }
}

// --- Over the field on screen ------------------------------------------------------------------

void World::Tick(int32_t x, int32_t y, int32_t w, int32_t h) {
    Creature* player = owner->player;
    const FieldView view = GetFieldView();
    if (!player || view.Empty()) return;
    const Options& options = owner->options;
    const bool elastic = options.elastic != 0;
    const float scale = float(w) / float(elastic ? ElasticWorldImageWidth : WorldImageWidth);
    const float s = float(view.tileSize);
    const float shift = float(view.originX - view.x);  // the `elastic` half tile
    const bool hudHidden = options.hudscreen && (owner->screenshotPending || owner->screenshotBusy);

    GFX_SetOrigin(-scrollX * scale, -scrollY * scale);
    if (lightingEnabled) {
        const float border = std::trunc((elastic ? 2.5f : 2.0f) * s);
        GFX_SetOverlayRect(lightOverlay, float(x) - border, float(y) - border, std::trunc(s),
                           std::trunc(s));
        GFX_ApplyOverlay(lightOverlay);
    }

    const Position& centre = player->position;
    if (!hudHidden) {
        const std::vector<Creature*> shown = creatures;
        for (Creature* creature : shown) {
            if (creature == player || creature->position.z != centre.z) continue;
            const float e = Lift(*creature);
            const float nameX = (float(creature->position.x - centre.x + CentreColumn) +
                                 (creature->offsetX - e) / TilePixels) *
                                    s +
                                float(x) + shift + s * ShiftFraction;
            const float nameY = (float(creature->position.y - centre.y + CentreRow) +
                                 (creature->offsetY - e) / TilePixels) *
                                    s +
                                float(y) + shift - s * ShiftFraction - NameLift;
            const bool inSight =
                visibleFloor[SlotIndex(creature->position.x, creature->position.y)] <= centre.z;
            creature->DrawOverlay(nameX, nameY, inSight ? 1 : 0);
        }
    }

    // The player stands at the middle of the view; with `elastic` the origin follows its walk.
    GFX_RestoreOrigin();
    float lift = 0;
    if (elastic) {
        GFX_SetOrigin(std::floor((player->offsetX - player->elevation) * scale),
                      std::floor((player->offsetY - player->elevation) * scale));
    } else {
        GFX_SetOrigin(-scrollX * scale, -scrollY * scale);
        lift = Lift(*player) * s / TilePixels;
    }
    if (!hudHidden)
        player->DrawOverlay(float(view.originX) + CentreColumn * s + s / 2 - lift,
                            float(view.originY) + CentreRow * s - lift - NameLift, 1);

    GFX_ApplyOverlay(nullptr);
    if (paragraphs) paragraphs->Draw(x, y, w, h);
    if (motions) motions->Update(x, y, w, h);
    GFX_RestoreOrigin();
    if (Padding* frame =
            owner->fieldWindow ? static_cast<Field*>(owner->fieldWindow)->padding : nullptr)
        frame->BlitField();
    if (notification) notification->Draw(x, y, w, h);
}
