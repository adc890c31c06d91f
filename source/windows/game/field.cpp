#include "windows/game/field.h"

#include <algorithm>
#include <cmath>

#include "core.h"
#include "driver/gfxcore.h"
#include "driver/gfxdriver.h"
#include "platform.h"
#include "render.h"
#include "tile.h"
#include "weather.h"
#include "windows/game/padding.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

// With `elastic` the field shows the view less half a tile on every side.
constexpr int32_t ElasticWidth = Field::SurfaceWidth - TileSize;
constexpr int32_t ElasticHeight = Field::SurfaceHeight - TileSize;
constexpr float ElasticInset = TileSize / 2;
// The surface is drawn 3 pixels larger on every side than the viewport.
constexpr int32_t Bleed = 3;
constexpr uint64_t FadeInMs = 512;

}  // namespace

Field::Field(Core* core, Padding* padding) : Window(core), padding(padding) { Build(); }

Field::~Field() {
    if (padding && padding->field == this) padding->field = nullptr;
}

void Field::Build() {
    ResetLayout();
    if (padding)
        SetRect(padding->Layout(int32_t(std::min<uint32_t>(core->clientWidth, INT32_MAX)),
                                int32_t(std::min<uint32_t>(core->clientHeight, INT32_MAX))));
    typeId = WindowType::Field;
    builtAt = core->frameTimeMs;
    font = core->GetFont(1);
    fadeIn = 1;
    CreateSurface();
}

void Field::SetRect(const WindowRect& rect) {
    x = rect.x;
    y = rect.y;
    width = rect.w;
    height = rect.h;
}

void Field::CreateSurface() {
    dirty = 1;
    surfaceWidth = SurfaceWidth;
    surfaceHeight = SurfaceHeight;
    if (surface) GFX_DeleteRenderTarget(surface);
    surface = GFX_CreateRenderTarget(SurfaceWidth, SurfaceHeight, 0,
                                     core->options.pixel ? 0 : GfxFlagLinear, 0);
}

void Field::ApplyEsthetics() { CreateSurface(); }

void Field::Place(int32_t screenWidth, int32_t screenHeight) {
    if (padding) SetRect(padding->Layout(screenWidth, screenHeight));
}

void Field::GiveConsoleRect(int32_t requestedHeight) {
    if (padding) SetRect(padding->LayoutForConsole(requestedHeight));
}

bool Field::HitTest(int32_t px, int32_t py) {
    if (!padding) return false;
    const WindowRect& area = padding->drawArea;
    return px >= area.x && px < area.x + area.w && py >= area.y && py < area.y + area.h;
}

// Painted every frame, whatever the dirty flag says.
void Field::Paint() {
    World* world = core->world;
    NeedsPaint();  // lets go of a surface the device cannot hold
    dirty = 0;
    if (!world || !surface) return;
    world->UpdateCreatures();
    GFX_BeginFrame(surface);
    ApplyShake();
    world->Draw();
    if (shaking) GFX_RestoreOrigin();
    GFX_EndFrame();
}

void Field::ApplyShake() {
    const World* world = core->world;
    const int32_t amplitude = world && world->weather ? world->weather->GetShakeAmplitude() : 0;
    shaking = amplitude > 0;
    if (!shaking) return;
    shakeX = float(Random() % (amplitude + 1) - amplitude / 2);
    shakeY = float(Random() % (amplitude + 1) - amplitude / 2);
    GFX_SetOrigin(shakeX, shakeY);
}

void Field::Draw() {
    World* world = core->world;
    const bool elastic = core->options.elastic != 0;
    const float w = float(width), h = float(height);
    if (surface && world && width > 0 && height > 0) {
        // The world is drawn at whole pixels of its scroll; the rest moves the picture.
        const float camX = world->scrollX, camY = world->scrollY;
        if (elastic)
            GfxDriver::DrawTargetPartScaled(float(x - Bleed), float(y - Bleed), w + 2 * Bleed,
                                            h + 2 * Bleed, camX + ElasticInset, camY + ElasticInset,
                                            ElasticWidth, ElasticHeight, surface);
        else
            GfxDriver::DrawTargetScaled(
                float(x - Bleed) + (std::floor(camX) - camX) * w / SurfaceWidth,
                float(y - Bleed) + (std::floor(camY) - camY) * w / SurfaceWidth, w + 2 * Bleed,
                h + 2 * Bleed, surface);
    }
    if (world) {
        const float scale = w / float(elastic ? ElasticWidth : SurfaceWidth);
        if (shaking) GFX_SetOrigin(shakeX * scale, shakeY * scale);
        world->Tick(x, y, width, height);
        if (shaking) GFX_RestoreOrigin();
    }
    if (fadeIn) {
        const uint64_t elapsed = core->frameTimeMs - builtAt;
        if (elapsed < FadeInMs)
            render->FillRect(x, y, width, height,
                             uint32_t(255 - std::min<uint64_t>(255, elapsed / 2)) << 24);
        else fadeIn = 0;
    }
}
