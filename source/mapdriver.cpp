// The world-map atlas: its directory, the maps the server selects, the reveal around the player
// and the composition of the world map picture. The explored-area save is in mapdriversave.cpp.
#include "mapdriver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "converttext.h"
#include "core.h"
#include "driver/gfxcore.h"
#include "recordfile.h"
#include "spanreader.h"
#include "weather.h"
#include "windows/dialogs/map.h"
#include "windows/game/panelmap.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"
#include "xtea.h"

namespace {

constexpr const char* AtlasPath = "data/Veltor.maps";
constexpr const char* AtlasUnreadable = "Failed to load \"Veltor.maps\".";
constexpr const char* MapSizeInvalid = "Failed to load map, invalid size.";
constexpr uint16_t WorldMapId = 1;
constexpr size_t CheckSize = 16;
// The world map: the drawn page, then the two cloud layers.
constexpr size_t WorldPageCount = 3;
constexpr uint32_t CloudTargetFlags = GfxAlphaBlended | GfxFlagLinear | GfxFlagKeep;
constexpr uint32_t CloudShadowTint = 0x64000000;
constexpr float CloudShadowOffset = 10.0f;

// The soft edge of the reveal: 4t³ up to one half, then 1 − (2 − 2t)³ / 2. Saved masks carry its
// values, so it is computed in single precision exactly; the x87 unit would keep wider
// intermediate results, hence SSE for this and the next function.
__attribute__((target("sse2,fpmath=sse"))) float MapEase(float t) {
    if (t < 0.5f) return 4 * t * t * t;
    const float u = 2 - 2 * t;
    return 1 - u * u * u / 2;
}

// What a reveal lowers a cell (dx, dy) away from the player to: 0 under the player, rising to
// 255 at the radius and beyond.
__attribute__((target("sse2,fpmath=sse"))) uint8_t RevealLevel(int32_t dx, int32_t dy,
                                                               int32_t radius) {
    const float distance = std::sqrt(float(dx * dx + dy * dy));
    if (distance >= float(radius)) return 255;
    return uint8_t(255 * MapEase(distance / float(radius)));
}

MapPage* FindPage(const MapStruct* map, int32_t page) {
    if (!map || page < 0 || size_t(page) >= map->pages.size()) return nullptr;
    return map->pages[size_t(page)].get();
}

MapPart* FindPart(const MapStruct* map, int32_t page, int32_t part) {
    const MapPage* found = FindPage(map, page);
    if (!found) return nullptr;
    const auto& parts = found->parts;
    return part >= 0 && size_t(part) < parts.size() ? parts[size_t(part)].get() : nullptr;
}

}  // namespace

MapDriver::MapDriver(Core* core) : core(core) {
    ReadMapDirectory();
    ReadSaveDirectory();
}

MapDriver::~MapDriver() {
    GFX_DeleteImage(brushImage);
    for (GfxRenderTarget* target : {mapTarget, cloudTarget1, cloudTarget2})
        GFX_DeleteRenderTarget(target);
    SaveGameFile();
}

MapRect MapDriver::ReadRect(SpanReader& reader) {
    MapRect rect;
    rect.x0 = reader.U16();
    rect.y0 = reader.U16();
    rect.x1 = reader.U16();
    rect.y1 = reader.U16();
    return rect;
}

void MapDriver::ReadMapDirectory() {
    std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(AtlasPath, "rb"), fclose);
    uint32_t version = 0;
    std::vector<RecordEntry> entries;
    if (!file || !ReadRecordDirectory(file.get(), 2, version, entries))
        core->FatalError(AtlasUnreadable);
    core->dataVersion += version;
    for (const RecordEntry& entry : entries) {
        auto map = std::make_unique<MapStruct>();
        map->id = uint16_t(entry.id);
        map->recordOffset = entry.offset;
        map->recordEnd = entry.end;
        maps.push_back(std::move(map));
    }
}

// The entry of the id (else the directory's first), loaded with the key when it is not yet. It
// stays unloaded when the key does not decipher its record; null for an empty directory.
MapStruct* MapDriver::LoadMap(uint16_t id, const uint8_t key[16]) {
    if (maps.empty()) return nullptr;
    auto found =
        std::find_if(maps.begin(), maps.end(), [id](const auto& map) { return map->id == id; });
    MapStruct& map = found != maps.end() ? **found : *maps.front();
    if (map.loaded) return &map;

    std::vector<uint8_t> record;
    if (!ReadFileRange(AtlasPath, map.recordOffset, map.recordEnd, record))
        core->FatalError(AtlasUnreadable);
    // A record without room for its check block, page count and name length fails its check.
    if (record.size() < CheckSize + 2) return &map;
    Xtea cipher;
    cipher.SetKey(key);
    cipher.Decrypt(record.data(), record.size() / 8);
    if (std::memcmp(record.data(), key, CheckSize) == 0)
        ReadMapRecord(map, record.data(), record.size());
    return &map;
}

// Builds the map's pages from its deciphered record; a record shorter than its own counts ends
// the program.
void MapDriver::ReadMapRecord(MapStruct& map, const uint8_t* record, size_t size) {
    SpanReader reader(record, size);
    reader.Bytes(CheckSize);
    const uint8_t pageCount = reader.U8();
    std::string name = reader.Text(reader.U8());
    std::vector<std::unique_ptr<MapPage>> pages;
    for (uint32_t p = 0; p < pageCount && !reader.Failed(); ++p) {
        auto page = std::make_unique<MapPage>();
        page->name = reader.Text(reader.U16());
        ConvertText(page->name);
        page->width = reader.U16();
        page->height = reader.U16();
        const uint8_t* pixels = reader.Bytes(uint64_t(page->width) * page->height * 4);
        if (!pixels) break;
        page->texture =
            GFX_CreateImage(page->width, page->height, pixels, page->width * 4, GfxFlagLinear, 0);
        const uint8_t partCount = reader.U8();
        for (uint32_t q = 0; q < partCount && !reader.Failed(); ++q) {
            auto part = std::make_unique<MapPart>();
            part->pageRect = ReadRect(reader);
            part->worldRect = ReadRect(reader);
            const uint16_t labelCount = reader.U16();
            for (uint32_t l = 0; l < labelCount && !reader.Failed(); ++l) {
                MapLabel label;
                label.x = uint16_t(reader.U16() - part->worldRect.x0);
                label.y = uint16_t(reader.U16() - part->worldRect.y0);
                label.icon = reader.U8();
                label.text = reader.Text(reader.U8());
                ConvertText(label.text);
                part->labels.push_back(std::move(label));
            }
            page->parts.push_back(std::move(part));
        }
        pages.push_back(std::move(page));
    }
    if (reader.Failed()) core->FatalError(MapSizeInvalid);
    ConvertText(name);
    map.name = std::move(name);
    map.pages = std::move(pages);
    map.isWorld = map.id == WorldMapId;
    map.loaded = 1;
}

// The world map's mask, clouds and targets all take the size of the world rectangle: its three
// pages must have that size, one pixel a tile.
bool MapDriver::IsUsableWorldMap(const MapStruct& map) const {
    if (map.pages.size() != WorldPageCount || map.pages[0]->parts.empty()) return false;
    const MapRect& rect = map.pages[0]->parts[0]->worldRect;
    if (rect.Width() <= 0 || rect.Height() <= 0) return false;
    return std::all_of(map.pages.begin(), map.pages.end(), [&rect](const auto& page) {
        return page->texture && page->width == rect.Width() && page->height == rect.Height();
    });
}

MapPage* MapDriver::SelectedPage() const { return FindPage(currentMap, selection.page); }

MapPart* MapDriver::SelectedPart() const {
    return FindPart(currentMap, selection.page, selection.part);
}

bool MapDriver::SetMap(const MapSelection& next) {
    MapStruct* map = LoadMap(next.mapId, next.key);
    if (!map || !map->loaded || !FindPart(map, next.page, next.part)) return false;
    const bool world = next.mapId == WorldMapId;
    if (world && !IsUsableWorldMap(*map)) return false;
    selection = next;
    if (world) worldMap = map;
    currentMap = map;
    if (world && !accountOpened) {
        accountOpened = 1;
        OpenAccount();
    }
    return true;
}

void MapDriver::OpenAccount() {
    baseImage = worldMap->pages[0]->texture;
    cloudImage1 = worldMap->pages[1]->texture;
    cloudImage2 = worldMap->pages[2]->texture;
    worldRect = worldMap->pages[0]->parts[0]->worldRect;
    width = worldRect.Width();
    height = worldRect.Height();

    // A save whose directory could not be read may have held this account's record.
    const char* problem = saveDamaged ? "Game data is corrupted." : nullptr;
    GameAccount* record = FindAccount(core->accountId);
    if (!record) {
        accounts.push_back(std::make_unique<GameAccount>());
        record = accounts.back().get();
        record->accountId = core->accountId;
        StartFreshMask(*record);
    } else if (!record->loaded) {
        problem = LoadAccountRecord(*record);
        if (problem) {
            saveDamaged = 1;
            StartFreshMask(*record);
        }
    }
    // The player is told, and plays on with an unexplored map; the damaged file is kept.
    if (problem) core->ShowMessage("Veltor - Error", problem, 0);
    account = record;
    width = GFX_ImageWidth(baseImage);
    height = GFX_ImageHeight(baseImage);

    brushImage = BuildBrush();
    ApplyMaskToClouds();
    mapTarget = GFX_CreateRenderTarget(width, height, 0x00000000, GfxFlagLinear, 0);
    cloudTarget1 = GFX_CreateRenderTarget(width, height, 0xFFFFFFFF, CloudTargetFlags, 0);
    cloudTarget2 = GFX_CreateRenderTarget(width, height, 0xFFFFFFFF, CloudTargetFlags, 0);
    Render();
    if (Window* minimap = core->FindWindow(WindowType::Panelmap))
        static_cast<Panelmap*>(minimap)->CenterOnPlayer();
}

bool MapDriver::UpdatePosition(const MapSelection& next) {
    if (!FindPart(currentMap, next.page, next.part)) return false;
    selection = next;
    if (Window* window = core->FindWindow(WindowType::Map)) static_cast<Map*>(window)->UpdateView();
    if (Window* minimap = core->FindWindow(WindowType::Panelmap))
        static_cast<Panelmap*>(minimap)->CenterOnPlayer();

    if (!account || !core->player) return true;
    // Nothing is revealed in the dark: light levels whose remainder by 9 is above 3.
    const Weather* weather = core->world ? core->world->weather : nullptr;
    if (weather && (weather->lightValue & 127) % 9 > 3) return true;
    RenderCloudTargets();
    DrawBrushOnClouds();
    RevealAround();
    Render();
    return true;
}

// Lowers the cloud targets' alpha around the player in step with the mask.
void MapDriver::DrawBrushOnClouds() {
    const float x = float(int32_t(selection.x) - worldRect.x0 - revealRadius);
    const float y = float(int32_t(selection.y) - worldRect.y0 - revealRadius);
    for (GfxRenderTarget* target : {cloudTarget1, cloudTarget2}) {
        GFX_BeginFrame(target);
        GfxDriver::DrawImageMin(x, y, brushImage);
        GFX_EndFrame();
    }
}

void MapDriver::RevealAround() {
    if (!account) return;
    const int32_t px = int32_t(selection.x) - worldRect.x0;
    const int32_t py = int32_t(selection.y) - worldRect.y0;
    for (int32_t j = 0; j < brushHeight; ++j) {
        for (int32_t i = 0; i < brushWidth; ++i) {
            const int32_t dx = i - revealRadius, dy = j - revealRadius;
            const int32_t x = px + dx, y = py + dy;
            if (x < 0 || y < 0 || x >= width || y >= height) continue;
            uint8_t& cell = account->mask[size_t(y) * size_t(width) + size_t(x)];
            cell = std::min(cell, RevealLevel(dx, dy, revealRadius));
        }
    }
}

GfxImage* MapDriver::BuildBrush() const {
    std::vector<uint32_t> pixels(size_t(brushWidth) * size_t(brushHeight));
    for (int32_t j = 0; j < brushHeight; ++j) {
        for (int32_t i = 0; i < brushWidth; ++i) {
            const uint32_t alpha = RevealLevel(i - revealRadius, j - revealRadius, revealRadius);
            pixels[size_t(j) * size_t(brushWidth) + size_t(i)] = alpha << 24 | 0x00FFFFFF;
        }
    }
    return GFX_CreateImage(brushWidth, brushHeight, pixels.data(), brushWidth * 4, GfxFlagLinear,
                           0);
}

// Cloud layer 1 takes the mask as its alpha; layer 2 keeps the lower of its own and the mask.
void MapDriver::ApplyMaskToClouds() {
    const size_t count = size_t(width) * size_t(height);
    const uint32_t* fog = GFX_ImagePixels(cloudImage1);
    const uint32_t* clouds = GFX_ImagePixels(cloudImage2);
    std::vector<uint32_t> fogPixels(count), cloudPixels(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t mask = account->mask[i];
        fogPixels[i] = (fog[i] & 0x00FFFFFF) | mask << 24;
        cloudPixels[i] = (clouds[i] & 0x00FFFFFF) | std::min(clouds[i] >> 24, mask) << 24;
    }
    GFX_UpdateImage(cloudImage1, 0, 0, width, height, fogPixels.data(), width * 4);
    GFX_UpdateImage(cloudImage2, 0, 0, width, height, cloudPixels.data(), width * 4);
}

// Redraws the cloud targets from the cloud images when the driver lost any of the three
// targets (or has not drawn them yet).
void MapDriver::RenderCloudTargets() {
    if (!mapTarget || !cloudTarget1 || !cloudTarget2) return;
    if (!GFX_CheckRenderTarget(mapTarget) && !GFX_CheckRenderTarget(cloudTarget1) &&
        !GFX_CheckRenderTarget(cloudTarget2))
        return;
    ApplyMaskToClouds();
    const std::pair<GfxRenderTarget*, GfxImage*> layers[] = {{cloudTarget1, cloudImage1},
                                                             {cloudTarget2, cloudImage2}};
    for (const auto& [target, image] : layers) {
        GFX_BeginFrame(target);
        GfxDriver::FillRect(0, 0, float(width), float(height), 0xFFFFFFFF, GfxAlphaBlended);
        GfxDriver::DrawImageMin(0, 0, image);
        GFX_EndFrame();
    }
}

void MapDriver::Render() {
    if (!mapTarget) return;
    RenderCloudTargets();
    GFX_BeginFrame(mapTarget);
    GfxDriver::DrawImage(0, 0, baseImage);
    if (cloudShown) {
        GfxDriver::DrawTarget(0, 0, cloudTarget1);
        GfxDriver::DrawTargetTinted(CloudShadowOffset, CloudShadowOffset, CloudShadowTint,
                                    cloudTarget2);
        GfxDriver::DrawTarget(0, 0, cloudTarget2);
    }
    GFX_EndFrame();
}

uint16_t MapDriver::NextFreeMarkerId(const std::vector<MapLabel>& labels) {
    // Among 1 .. size + 1 one id is always free.
    std::vector<bool> taken(labels.size() + 2, false);
    for (const MapLabel& label : labels)
        if (label.id < taken.size()) taken[label.id] = true;
    size_t id = 1;
    while (taken[id]) ++id;
    return uint16_t(std::min<size_t>(id, UINT16_MAX));
}
