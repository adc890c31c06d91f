#include "windows/dialogs/map.h"

#include <algorithm>
#include <cmath>

#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "driver/gfxdriver.h"
#include "font.h"
#include "gameaccount.h"
#include "mapdriver.h"
#include "mappage.h"
#include "mappart.h"
#include "mapstruct.h"
#include "mouse.h"
#include "protocol.h"
#include "render.h"
#include "screen.h"
#include "startuptables.h"
#include "windows/game/action.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t WindowWidth = 700, WindowHeight = 500;
constexpr int32_t ViewInset = 5, ViewTop = 21;
constexpr uint16_t OverlayImage = 6, MarkerIconImage = 10;
constexpr float IconSize = float(MarkerIconSize);
constexpr uint32_t LayerFlags = GfxFlagLinear;
constexpr uint8_t FirstNoIconKind = 240;
constexpr uint32_t DragCursor = 3;
constexpr uint32_t White = 0xFFFFFFFF;
constexpr uint32_t CrossEdge = 0xFF000000, CrossFill = 0xC096E61E;
// Below this zoom the town names fade out, reaching nothing at the smallest zoom.
constexpr float TownFadeZoom = 0.6f;
constexpr float TownFadeRange = 0.1f;
// A town's name is as visible as the tile this far below its label is explored.
constexpr int32_t TownMaskRow = 20;
constexpr float WheelDivisor = 1000.0f;
constexpr float TilePixels = 32.0f;
constexpr uint32_t TooltipFill = 0xA0000000, TooltipEdge = 0x2CFFFFFF, TooltipText = 0xE0FFFFFF;
constexpr int32_t TooltipHeight = 28;

bool HasIcon(const MapLabel& label) { return label.icon >= 1 && label.icon < FirstNoIconKind; }

MapPart* FirstPart(const MapStruct* map) {
    if (!map || map->pages.empty() || !map->pages[0] || map->pages[0]->parts.empty())
        return nullptr;
    return map->pages[0]->parts[0].get();
}

float Clamp(float value, float limit) { return std::max(std::min(value, limit), 0.0f); }

}  // namespace

Map::Map(Core* core) : Window(core) { Build(); }

Map::~Map() { GFX_DeleteRenderTarget(layer); }

bool Map::CanOpen(const Core* core) {
    const MapDriver* driver = core->mapDriver;
    return driver && FirstPart(driver->currentMap) && driver->worldMap;
}

void Map::Build() {
    width = WindowWidth;
    height = WindowHeight;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    ResetLayout();
    font = core->GetFont(1);
    movable = 1;
    draggingMap = 0;
    baseScroll = scroll = followOffset = {0, 0};
    view = {ViewInset, ViewTop, width - 2 * ViewInset, height - ViewTop - 6};
    MapDriver* driver = core->mapDriver;
    mapStruct = driver ? driver->currentMap : nullptr;
    part = FirstPart(mapStruct);
    page = part ? mapStruct->pages[0].get() : nullptr;
    isWorldMap = mapStruct && mapStruct->id == 1;
    pageWidth = page ? page->width : 0;
    pageHeight = page ? page->height : 0;
    GFX_DeleteRenderTarget(layer);
    layer = page ? GFX_CreateRenderTarget(pageWidth, pageHeight, 0, LayerFlags, 0) : nullptr;
    zoom = 1.0f;
    minZoom = 0.5f;
    maxZoom = 1.5f;
    CreateSurface();
    name = mapStruct ? mapStruct->name : "";
    typeId = WindowType::Map;
    labelFont = core->GetFont(4);
    follow = 1;
    UpdateView();
    follow = 0;
    RenderMarkerLayer();
    AddCloseButton();
}

void Map::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

// --- Coordinates --------------------------------------------------------------------------------

MapPoint Map::ScrollLimits(float atZoom, bool whole) const {
    float w = float(pageWidth) / atZoom, h = float(pageHeight) / atZoom;
    if (whole) {
        w = std::trunc(w);
        h = std::trunc(h);
    }
    return {w - float(view.w), h - float(view.h)};
}

MapPoint Map::ClampScroll(MapPoint wished, bool wholeLimits) const {
    const MapPoint limit = ScrollLimits(zoom, wholeLimits);
    return {Clamp(wished.x, limit.x), Clamp(wished.y, limit.y)};
}

MapPoint Map::ScreenToPage(int32_t sx, int32_t sy) const {
    MapPoint offset = scroll;
    if (follow) offset = {offset.x + followOffset.x, offset.y + followOffset.y};
    return {(float(sx - (x + view.x)) + offset.x) * zoom,
            (float(sy - (y + view.y)) + offset.y) * zoom};
}

MapPoint Map::DrawingOrigin() const {
    MapPoint offset = scroll;
    if (follow) offset = {offset.x + followOffset.x, offset.y + followOffset.y};
    return {float(x + view.x) - offset.x, float(y + view.y) - offset.y};
}

bool Map::InView(int32_t mx, int32_t my) const {
    return mx >= x + view.x && mx < x + view.x + view.w && my >= y + view.y &&
           my < y + view.y + view.h;
}

bool Map::CurrentMouse(int32_t& mx, int32_t& my) const {
    const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
    if (!mouse) return false;
    mx = mouse->x;
    my = mouse->y;
    return true;
}

bool Map::PlayerOnPage(MapPoint& at) const {
    const MapDriver* driver = core->mapDriver;
    if (!driver || !driver->worldMap || driver->worldMap->pages.empty() || pageWidth <= 0 ||
        pageHeight <= 0)
        return false;
    const MapSelection& selection = driver->selection;
    const auto& parts = driver->worldMap->pages[0]->parts;
    if (selection.part < 0 || size_t(selection.part) >= parts.size()) return false;
    const MapPart& p = *parts[size_t(selection.part)];
    at.x = float(int32_t(selection.x) - p.worldRect.x0) / float(pageWidth) *
               float(p.pageRect.Width()) +
           float(p.pageRect.x0);
    at.y = float(int32_t(selection.y) - p.worldRect.y0) / float(pageHeight) *
               float(p.pageRect.Height()) +
           float(p.pageRect.y0);
    return true;
}

void Map::UpdateView() {
    MapPoint player;
    if (!follow || !PlayerOnPage(player)) return;
    const int32_t halfW = view.w / 2, halfH = view.h / 2;
    MapPoint target, limit;
    const auto place = [&] {
        target = {player.x / zoom - float(halfW), player.y / zoom - float(halfH)};
        limit = ScrollLimits(zoom, true);
    };
    const auto overshoot = [](float wished, float max) {
        return wished < 0 ? -wished : wished > max ? max - wished : 0.0f;
    };
    place();
    const float ox = overshoot(target.x, limit.x), oy = overshoot(target.y, limit.y);
    if (ox != 0 || oy != 0) {
        const float reach =
            std::max(ox / float(std::max(halfW, 1)), oy / float(std::max(halfH, 1)));
        zoom = std::clamp(zoom - 2 * reach, minZoom, maxZoom);
        place();
    }
    baseScroll = {Clamp(target.x, limit.x), Clamp(target.y, limit.y)};
    scroll = baseScroll;
}

void Map::UpdateFollowOffset() {
    followOffset = {0, 0};
    const Creature* player = core->player;
    if (!player || !player->walking) return;
    const int32_t floor = int32_t(player->position.z) - player->targetPosition.z;
    const float tilesX = float(int32_t(player->position.x) - player->targetPosition.x + floor);
    const float tilesY = float(int32_t(player->position.y) - player->targetPosition.y + floor);
    followOffset = {(tilesX + player->offsetX / TilePixels) / zoom,
                    (tilesY + player->offsetY / TilePixels) / zoom};
}

// --- Mouse --------------------------------------------------------------------------------------

void Map::CloseMarkerDialog() {
    if (Window* dialog = core->FindWindow(WindowType::Marker)) dialog->Close();
}

void Map::OnMouseDown(int32_t mx, int32_t my) {
    CloseMarkerDialog();
    if (InView(mx, my)) {
        dragAnchorX = mx;
        dragAnchorY = my;
        draggingMap = 1;
        follow = 0;
        core->SetCursor(DragCursor);
    } else if (movable) {
        dragging = 1;
        anchorX = mx - x;
        anchorY = my - y;
    }
}

void Map::OnMouseUp(int32_t mx, int32_t my) {
    if (draggingMap) {
        baseScroll = ClampScroll(
            {baseScroll.x - float(mx - dragAnchorX), baseScroll.y - float(my - dragAnchorY)}, true);
        scroll = baseScroll;
        draggingMap = 0;
        dirty = 1;
    }
    dragging = 0;
}

void Map::OnWheel(int32_t mx, int32_t my, int32_t delta) {
    const float step = float(core->options.inverse ? delta : -delta) / WheelDivisor;
    const float next = std::clamp(zoom * (1 + step), minZoom, maxZoom);
    if (next == zoom) return;
    const float px = float(mx - (x + view.x)), py = float(my - (y + view.y));
    const float before = zoom;
    const MapPoint wished = {(baseScroll.x + px) * zoom / next - px,
                             (baseScroll.y + py) * zoom / next - py};
    zoom = next;
    baseScroll = ClampScroll(wished, true);
    scroll = baseScroll;
    dirty = 1;
    if ((before < 1.0f) != (zoom < 1.0f)) RenderMarkerLayer();
}

// --- Markers ------------------------------------------------------------------------------------

void Map::AddMarker(uint32_t screenX, uint32_t screenY, const std::string& text, uint8_t kind) {
    if (!part) return;
    MapLabel marker;
    marker.id = MapDriver::NextFreeMarkerId(part->markers);
    if (marker.id > MaxMarkers) {
        core->ShowMessage("Map Marker", "You've reached the limit of 500 markers.", 0);
        return;
    }
    const MapPoint at = ScreenToPage(int32_t(screenX), int32_t(screenY));
    marker.x = uint16_t(int32_t(at.x));
    marker.y = uint16_t(int32_t(at.y));
    marker.icon = kind;
    marker.text = text;
    part->markers.push_back(marker);
    if (Protocol* connection = core->activeConnection)
        connection->SendMarkerAdd(marker.id, uint16_t(marker.x + part->worldRect.x0),
                                  uint16_t(marker.y + part->worldRect.y0), kind, text);
}

void Map::EditMarker(int32_t id, const std::string& text, uint8_t kind) {
    if (!part) return;
    for (MapLabel& marker : part->markers) {
        if (int16_t(marker.id) != int16_t(id)) continue;
        marker.text = text;
        marker.icon = kind;
        if (Protocol* connection = core->activeConnection) {
            connection->SendMarkerRemove(uint8_t(id));
            connection->SendMarkerAdd(marker.id, uint16_t(marker.x + part->worldRect.x0),
                                      uint16_t(marker.y + part->worldRect.y0), kind, text);
        }
        return;
    }
}

MapLabel Map::FindMarker(int32_t id) const {
    if (part)
        for (const MapLabel& marker : part->markers)
            if (int16_t(marker.id) == int16_t(id)) return marker;
    MapLabel none;
    none.id = uint16_t(-1);
    return none;
}

void Map::RemoveMarker(int32_t id) {
    if (part) {
        std::vector<MapLabel>& markers = part->markers;
        const auto found = std::find_if(markers.begin(), markers.end(), [id](const MapLabel& m) {
            return int16_t(m.id) == int16_t(id);
        });
        if (found != markers.end()) markers.erase(found);
    }
    // The request names the low byte of the id: the server reads one byte.
    if (core->activeConnection) core->activeConnection->SendMarkerRemove(uint8_t(id));
}

// --- Hit test and menu --------------------------------------------------------------------------

const MapLabel* Map::HitIcon(const std::vector<MapLabel>& labels, int32_t mx, int32_t my) const {
    const float size = IconSize / std::max(zoom, 1.0f);
    const MapPoint origin = DrawingOrigin();
    const int32_t qx = int32_t(float(int32_t(float(mx) - origin.x)) + size * 0.5f);
    const int32_t qy = int32_t(float(int32_t(float(my) - origin.y)) + size * 0.5f);
    for (const MapLabel& label : labels) {
        if (!HasIcon(label)) continue;
        const float lx = float(int16_t(label.x)) / zoom, ly = float(int16_t(label.y)) / zoom;
        if (lx <= float(qx) && float(qx) < lx + size && ly <= float(qy) && float(qy) < ly + size)
            return &label;
    }
    return nullptr;
}

const MapLabel* Map::HitAny(int32_t mx, int32_t my) const {
    if (!part) return nullptr;
    const MapLabel* hit = nullptr;
    if (core->options.smarkers) hit = HitIcon(part->markers, mx, my);
    if (!hit && core->options.sjournal) hit = HitIcon(part->journalMarkers, mx, my);
    if (!hit) hit = HitIcon(part->labels, mx, my);
    return hit;
}

MapLabel Map::PickAt(int32_t mx, int32_t my) const {
    if (const MapLabel* hit = HitAny(mx, my)) return *hit;
    MapLabel none;
    none.id = uint16_t(-1);
    return none;
}

void Map::OnRightClick(int32_t mx, int32_t my) {
    CloseMarkerDialog();
    if (!InView(mx, my)) return;
    draggingMap = 0;
    const MapLabel picked = PickAt(mx, my);
    const int16_t id = int16_t(picked.id);
    const std::string title = picked.flag ? picked.text : id > 0 ? "Marker" : "Map";
    auto* menu = new Action(core, this, title, uint32_t(id));
    if (picked.flag) {
        menu->AddEntry(ActionCode::ShowJournalEntry, "Show journal entry");
    } else if (id > 0) {
        menu->AddEntry(ActionCode::EditMarker, "Edit marker");
        menu->AddEntry(ActionCode::RemoveMarker, "Remove marker");
    } else {
        menu->AddEntry(ActionCode::AddMarker, "Add marker");
    }
    menu->AddEntry(0, "-");
    menu->AddEntry(ActionCode::CenterView, "Center view");
    if (zoom != minZoom) menu->AddEntryWithHint(ActionCode::ZoomIn, "Zoom in", "+");
    if (zoom != maxZoom) menu->AddEntryWithHint(ActionCode::ZoomOut, "Zoom out", "-");
    menu->AddEntry(ActionCode::InvertScrolling, "Invert scrolling");
    menu->AddEntry(0, "-");
    const Options& options = core->options;
    menu->AddEntryWithHint(options.smarkers ? ActionCode::HideCustomMarkers
                                            : ActionCode::ShowCustomMarkers,
                           "Custom markers", options.smarkers ? "Hide" : "Show");
    menu->AddEntryWithHint(options.sjournal ? ActionCode::HideJournalMarkers
                                            : ActionCode::ShowJournalMarkers,
                           "Journal markers", options.sjournal ? "Hide" : "Show");
    menu->AddEntryWithHint(options.stowns ? ActionCode::HideTownNames : ActionCode::ShowTownNames,
                           "Town names", options.stowns ? "Hide" : "Show");
    menu->Open(mx, my);
    core->AddWindow(menu);
}

// --- Commands -----------------------------------------------------------------------------------

void Map::OnSubmit() { Close(); }

void Map::OnCommand(Button* button) {
    if (button->id == ButtonId::Close || button->id == ButtonId::Ok) Close();
}

void Map::Close() {
    CloseMarkerDialog();
    core->RemoveWindow(this);
}

// --- Drawing ------------------------------------------------------------------------------------

void Map::RenderMarkerLayer() {
    if (!layer) return;
    GFX_BeginFrame(layer);
    if (!isWorldMap && page && page->texture) render->DrawImagePtr(0, 0, page->texture);
    if (zoom >= 1.0f) DrawLabels(1.0f);
    GFX_EndFrame();
}

void Map::DrawIcons(const std::vector<MapLabel>& labels, float scale) {
    for (const MapLabel& label : labels) {
        if (!HasIcon(label)) continue;
        render->DrawSkinPartTintedF(float(int16_t(label.x)) / scale - IconSize / 2,
                                    float(int16_t(label.y)) / scale - IconSize / 2,
                                    (label.icon - 1) * int32_t(MarkerIconSize), 0,
                                    int32_t(MarkerIconSize), int32_t(MarkerIconSize), White,
                                    MarkerIconImage);
    }
}

void Map::DrawLabels(float scale) {
    const Options& options = core->options;
    if (options.stowns) {
        const MapDriver* driver = core->mapDriver;
        const GameAccount* account = isWorldMap && driver ? driver->account : nullptr;
        const int32_t lineHeight = labelFont ? labelFont->lineHeight : 0;
        for (const MapLabel& label : part->labels) {
            if (label.icon != 0 || label.text.empty() || !labelFont) continue;
            const int32_t lx = int16_t(label.x), ly = int16_t(label.y);
            float alpha = 255.0f;
            if (account) {
                const int32_t row = ly + TownMaskRow;
                if (lx >= 0 && lx < driver->width && row >= 0 && row < driver->height) {
                    const size_t cell = size_t(row) * size_t(driver->width) + size_t(lx);
                    if (cell < account->mask.size()) alpha -= float(account->mask[cell]);
                }
            }
            float ty = float(ly) / scale;
            if (zoom < 1.0f) {
                if (zoom < TownFadeZoom) alpha = alpha * (zoom - minZoom) / TownFadeRange;
                ty = ty - float(lineHeight / 2) + float(lineHeight / 2) / zoom;
            }
            if (alpha <= 0) continue;
            const uint32_t colour = uint32_t(std::min(alpha, 255.0f)) << 24 | 0x00FFFFFF;
            labelFont->DrawTextCenteredF(float(lx) / scale, ty, label.text, colour);
        }
        DrawIcons(part->labels, scale);
    }
    if (options.sjournal) DrawIcons(part->journalMarkers, scale);
    if (options.smarkers) DrawIcons(part->markers, scale);
}

void Map::PaintContent() {
    render->DrawFrame2(0, 0, width, height);
    if (font) font->DrawTextCentered(width / 2, 6, name, White);
    render->DrawFrame1(3, 19, width - 6, height - 23);
}

void Map::Paint() {
    if (!NeedsPaint()) return;
    PaintCached([this] { PaintContent(); });
    RenderMarkerLayer();
}

void Map::DrawCross() {
    MapPoint player;
    if (!PlayerOnPage(player)) return;
    const float cx = player.x / zoom + followOffset.x, cy = player.y / zoom + followOffset.y;
    render->FillRectF(cx - 2, cy - 3, 5, 7, CrossEdge);
    render->FillRectF(cx - 3, cy - 2, 7, 5, CrossEdge);
    render->FillRectF(cx - 2, cy - 2, 5, 5, CrossFill);
}

void Map::Draw() {
    DrawCached([this] { PaintContent(); });
    DrawButtons();
    if (!part) return;
    int32_t mx = 0, my = 0;
    if (draggingMap && CurrentMouse(mx, my))
        scroll = ClampScroll({baseScroll.x + float(dragAnchorX - mx),
                              baseScroll.y + float(dragAnchorY - my)},
                             false);
    UpdateFollowOffset();
    const MapPoint origin = DrawingOrigin();
    GFX_PushClip();
    GFX_SetClip(float(x + view.x), float(y + view.y), float(view.w), float(view.h));
    GFX_SetOrigin(origin.x, origin.y);
    const float scaledW = float(pageWidth) / zoom, scaledH = float(pageHeight) / zoom;
    const MapDriver* driver = core->mapDriver;
    if (isWorldMap && driver && driver->mapTarget)
        GfxDriver::DrawTargetScaled(0, 0, scaledW, scaledH, driver->mapTarget);
    if (layer) GfxDriver::DrawTargetScaled(0, 0, scaledW, scaledH, layer);
    if (zoom < 1.0f) DrawLabels(zoom);
    DrawCross();
    GFX_SetOrigin(-origin.x, -origin.y);
    GFX_PopClip();
    render->DrawSkinScaled(x + view.x, y + view.y, view.w, view.h, OverlayImage);
    DrawTooltip();
}

void Map::DrawTooltip() {
    const Options& options = core->options;
    if (!options.smarkers && !options.sjournal) return;
    const Window* topWindow = core->windows.empty() ? nullptr : core->windows.back();
    if (topWindow != this && topWindow &&
        (topWindow->typeId == WindowType::Action || topWindow->typeId == WindowType::Marker ||
         topWindow->typeId == WindowType::Input))
        return;
    int32_t mx = 0, my = 0;
    if (!font || !CurrentMouse(mx, my) || !InView(mx, my)) return;
    const MapLabel* hit = HitAny(mx, my);
    if (!hit) return;
    std::string text;
    if (hit->flag) text = MakeColorCode(0xAA, 0xE0, 0xAA, 0xE0) + "\x95  ";
    text += MakeColorCode(0xFF, 0xFF, 0xFF, 0xE0) + hit->text;
    const float size = IconSize / std::max(zoom, 1.0f);
    const MapPoint origin = DrawingOrigin();
    const int32_t w = font->MeasureText(text);
    const int32_t left = int32_t(float(int16_t(hit->x)) / zoom - float(w / 2) - 12 + origin.x);
    const int32_t top = int32_t(float(int16_t(hit->y)) / zoom - size / 2 - TooltipHeight - size +
                                origin.y + size / 2);
    render->FillRect(left, top, w + 25, TooltipHeight, TooltipFill);
    render->DrawRect(left, top, w + 25, TooltipHeight, TooltipEdge);
    font->DrawText(left + 12, top + 8, text, TooltipText);
}
