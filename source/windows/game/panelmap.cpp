#include "windows/game/panelmap.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "mapdriver.h"
#include "mappart.h"
#include "render.h"
#include "startuptables.h"
#include "windows/game/action.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint16_t FieldShadeImage = 6, MarkerIconImage = 10;
constexpr int32_t IconSize = int32_t(MarkerIconSize);
constexpr uint32_t MarkerColour = 0xFFFFFFFF;
// The window is as high as its view is wide, plus its title band and frame.
constexpr int32_t ViewInset = 5, ViewTop = 21, ExtraHeight = 17;
constexpr uint32_t MarkerLayerFlags = GfxAlphaBlended | GfxFlagLinear;
// Above 1.0 the markers fade out over this much zoom.
constexpr float MarkerFadeZoom = 0.2f;
// A wheel notch of 120 changes the zoom by 12 %.
constexpr float WheelDivisor = 1000.0f;
constexpr float TilePixels = 32.0f;
constexpr uint32_t CrossEdge = 0xFF000000, CrossFill = 0xC096E61E;

// The offset of a view of `view` pixels into a page of `page` map pixels at the zoom, from the
// wished scroll: the page's far edge stays at the view's, and a page no larger than the view is
// never scrolled.
int32_t ClampedOffset(float scroll, int32_t page, float zoom, int32_t view) {
    const int32_t limit = int32_t(float(page) / zoom) - view;
    return std::max(0, std::min(int32_t(scroll), limit));
}

// The player's slide towards the tile it walks to, in whole screen pixels at the zoom; a floor
// change counts in both directions.
WindowRect WalkSlide(const Creature* player, float zoom) {
    if (!player || !player->walking) return {0, 0, 0, 0};
    const int32_t floor = int32_t(player->position.z) - player->targetPosition.z;
    const float tilesX = float(int32_t(player->position.x) - player->targetPosition.x + floor);
    const float tilesY = float(int32_t(player->position.y) - player->targetPosition.y + floor);
    return {int32_t((tilesX + player->offsetX / TilePixels) / zoom),
            int32_t((tilesY + player->offsetY / TilePixels) / zoom), 0, 0};
}

}  // namespace

Panelmap::Panelmap(Core* core, Panel* column) : Panellist(core, column) { Build(); }

Panelmap::~Panelmap() { GFX_DeleteRenderTarget(markerLayer); }

void Panelmap::Build() {
    ResetLayout();
    ClearButtons();
    MoveToColumnTop();
    height = width + ExtraHeight;
    view = {ViewInset, ViewTop, width - 2 * ViewInset, width - 2 * ViewInset};
    titleHeight = TitleBand;
    movable = 1;
    zoom = 1.0f;
    minZoom = 0.5f;
    maxZoom = 1.5f;
    follow = 1;
    typeId = WindowType::Panelmap;
    name = "Map";
    font = core->GetFont(1);
    CreateSurface();
    GFX_DeleteRenderTarget(markerLayer);
    markerLayer = GFX_CreateRenderTarget(view.w + 2, view.h + 2, 0, MarkerLayerFlags, 0);
    AddCollapseButton()->x = width - 21;
    if (ShownPart()) CenterOnPlayer();
}

void Panelmap::CreateSurface() {
    dirty = 1;
    surfaceWidth = width;
    surfaceHeight = height;
    GFX_DeleteRenderTarget(surface);
    surface = GFX_CreateRenderTarget(width, height, 0, 0, 0);
}

GfxRenderTarget* Panelmap::ShownPage() const {
    const MapDriver* driver = core->mapDriver;
    if (!driver || !driver->mapTarget || driver->currentMap != driver->worldMap) return nullptr;
    return driver->mapTarget;
}

const MapPart* Panelmap::ShownPart() const {
    return ShownPage() ? core->mapDriver->SelectedPart() : nullptr;
}

void Panelmap::CopyPageSize() {
    pageWidth = core->mapDriver->width;
    pageHeight = core->mapDriver->height;
}

int32_t Panelmap::OffsetX() const { return ClampedOffset(scrollX, pageWidth, zoom, view.w); }
int32_t Panelmap::OffsetY() const { return ClampedOffset(scrollY, pageHeight, zoom, view.h); }

uint32_t Panelmap::MarkerAlpha() const {
    const float share = std::clamp(1 - (zoom - 1) / MarkerFadeZoom, 0.0f, 1.0f);
    return uint32_t(255 * share);
}

void Panelmap::CenterOnPlayer() {
    const MapPart* part = ShownPart();
    if (!part) return;
    CopyPageSize();
    // A page of no size has no place for the player.
    if (pageWidth <= 0 || pageHeight <= 0) return;
    const MapSelection& at = core->mapDriver->selection;
    const MapRect& world = part->worldRect;
    const MapRect& pixels = part->pageRect;
    const float px = float(int32_t(at.x) - world.x0) / float(pageWidth) * float(pixels.Width()) +
                     float(pixels.x0);
    const float py = float(int32_t(at.y) - world.y0) / float(pageHeight) * float(pixels.Height()) +
                     float(pixels.y0);
    const int32_t halfW = view.w / 2, halfH = view.h / 2;

    float fx = 0, fy = 0;
    int32_t maxX = 0, maxY = 0;
    const auto place = [&] {
        fx = px / zoom - float(halfW);
        fy = py / zoom - float(halfH);
        maxX = int32_t(float(pageWidth) / zoom) - view.w;
        maxY = int32_t(float(pageHeight) / zoom) - view.h;
    };
    // How far the centred view would pass the page's edge.
    const auto overshoot = [](float wished, int32_t limit) {
        return wished < 0 ? -wished : wished > float(limit) ? wished - float(limit) : 0.0f;
    };
    place();
    const float dx = overshoot(fx, maxX), dy = overshoot(fy, maxY);
    if (dx != 0 || dy != 0) {
        // Zooming in by twice the overshot share of the half view lets the player be centred
        // (or nearly); at either edge, not only the left and top ones.
        const float reach =
            std::max(dx / float(std::max(halfW, 1)), dy / float(std::max(halfH, 1)));
        zoom = std::max(minZoom, zoom - 2 * reach);
        place();
    }
    scrollX = std::max(0.0f, std::min(fx, float(maxX)));
    scrollY = std::max(0.0f, std::min(fy, float(maxY)));
    RenderMarkers();
}

void Panelmap::RenderMarkers() {
    if (!ShownPart() || !markerLayer) return;
    GFX_BeginFrame(markerLayer);
    GFX_SetOrigin(float(1 - OffsetX()), float(1 - OffsetY()));
    DrawMarkers();
    GFX_EndFrame();
}

void Panelmap::DrawMarkers() {
    const MapPart* part = ShownPart();
    const auto drawList = [this](const std::vector<MapLabel>& labels) {
        for (const MapLabel& label : labels) {
            if (label.icon == 0) continue;  // a text label
            const float lx = float(int16_t(label.x)) / zoom - float(IconSize / 2);
            const float ly = float(int16_t(label.y)) / zoom - float(IconSize / 2);
            render->DrawSkinPartTintedF(lx, ly, (label.icon - 1) * IconSize, 0, IconSize, IconSize,
                                        MarkerColour, MarkerIconImage);
        }
    };
    drawList(part->labels);
    if (core->options.sjournal) drawList(part->journalMarkers);
    if (core->options.smarkers) drawList(part->markers);
}

void Panelmap::Paint() {
    const bool repaint = NeedsPaint();
    PaintCached([this] {
        DrawTitle();
        if (!collapsed) render->DrawFrame1(3, 19, width - 6, height - 23);
    });
    GfxRenderTarget* page = ShownPage();
    if (!page) return;
    if (GFX_CheckRenderTarget(page)) core->mapDriver->Render();
    if (repaint || GFX_CheckRenderTarget(markerLayer)) RenderMarkers();
}

void Panelmap::Draw() {
    if (core->testWalker.testing) return;
    if (!core->options.widescreen || core->options.panel) DrawDragLine();
    DrawSurface();
    if (!collapsed) DrawMap();
    DrawButtons();
}

void Panelmap::DrawMap() {
    GfxRenderTarget* page = ShownPage();
    if (!page || GFX_CheckRenderTarget(page)) return;
    CopyPageSize();
    const WindowRect slide = follow ? WalkSlide(core->player, zoom) : WindowRect{0, 0, 0, 0};
    const float left = float(x + view.x), top = float(y + view.y);
    GFX_PushClip();
    GFX_SetClip(left, top, float(view.w), float(view.h));
    const float originX = left - float(slide.x + OffsetX());
    const float originY = top - float(slide.y + OffsetY());
    GFX_SetOrigin(originX, originY);
    GfxDriver::DrawTargetScaled(0, 0, float(pageWidth) / zoom, float(pageHeight) / zoom, page);
    GFX_SetOrigin(-originX, -originY);
    if (core->options.smarkers || core->options.sjournal)
        GfxDriver::DrawTargetTinted(left - float(slide.x) - 1, top - float(slide.y) - 1,
                                    MarkerAlpha() << 24 | 0x00FFFFFF, markerLayer);
    GFX_PopClip();

    const float cx = left + float(view.w / 2), cy = top + float(view.h / 2);
    render->FillRectF(cx - 2, cy - 3, 5, 7, CrossEdge);
    render->FillRectF(cx - 3, cy - 2, 7, 5, CrossEdge);
    render->FillRectF(cx - 2, cy - 2, 5, 5, CrossFill);
    render->DrawSkinScaled(x + view.x, y + view.y, view.w, view.h, FieldShadeImage);
}

void Panelmap::OnMouseDown(int32_t mx, int32_t my) {
    if (movable && my < y + std::min(titleHeight, height)) {
        dragging = 1;
        anchorX = mx - x;
        anchorY = my - y;
    }
}

void Panelmap::OnRightClick(int32_t mx, int32_t my) {
    auto* menu = new Action(core, this, name, 0);
    if (my < y + std::min(titleHeight, height)) {
        AddPanelMenu(menu);
    } else {
        menu->AddEntryWithHint(ActionCode::LargeMap, "Large map",
                               core->FindWindow(WindowType::Map) ? "Close" : "Open");
        menu->AddEntry(ActionCode::MarkMyLocation, "Mark my location");
    }
    menu->Open(mx, my);
    core->AddWindow(menu);
}

void Panelmap::OnWheel(int32_t, int32_t, int32_t delta) {
    const float step = float(core->options.inverse ? delta : -delta) / WheelDivisor;
    const float before = zoom;
    zoom = std::clamp((step + 1) * zoom, minZoom, maxZoom);
    CenterOnPlayer();
    if (zoom != before) dirty = 1;
}
