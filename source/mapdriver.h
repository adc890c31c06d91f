#pragma once
// The world-map atlas and the explored-area save. The atlas's directory is read at start-up; a
// map's record is loaded and deciphered when the game server first selects that map (the key
// travels with the selection). The first selection of the world map opens the logged-in
// account's explored-area mask, which each position update lowers around the player; the world
// map picture is composed from the base page and two cloud layers whose transparency follows
// the mask. Deleting the driver writes every account's mask back to the save.
#include <cstdint>
#include <memory>
#include <vector>

#include "gameaccount.h"
#include "mapselection.h"
#include "mapstruct.h"

class Core;
class SpanReader;
struct GfxImage;
struct GfxRenderTarget;

class MapDriver {
public:
    explicit MapDriver(Core* core);
    virtual ~MapDriver();
    MapDriver(const MapDriver&) = delete;
    MapDriver& operator=(const MapDriver&) = delete;

    // The server's map selection. Refused (false, nothing changes) when the map cannot be
    // loaded with the key, the selection names no part of it, or the world map is not the
    // three pages of one size it must be.
    bool SetMap(const MapSelection& next);
    // The server's position update: refreshes the map windows, reveals the explored area around
    // the player and recomposes the map. Refused (false, nothing changes) when the selection
    // names no part of the current map.
    bool UpdatePosition(const MapSelection& next);
    // Recomposes mapTarget from the base page and the cloud layers.
    void Render();
    // The lowest id from 1 up that no label of the list carries.
    static uint16_t NextFreeMarkerId(const std::vector<MapLabel>& labels);
    // The page and the part of the current map the selection names, or null.
    MapPage* SelectedPage() const;
    MapPart* SelectedPart() const;

    Core* core;
    std::vector<std::unique_ptr<MapStruct>> maps;        // the atlas's directory, in file order
    std::vector<std::unique_ptr<GameAccount>> accounts;  // the save's directory, then new ones
    uint8_t accountOpened = 0;
    uint8_t cloudShown = 1;
    int32_t width = 0;  // the world map in tiles, one pixel a tile
    int32_t height = 0;
    MapRect worldRect;              // world rectangle of the world map's first page's first part
    GfxImage* baseImage = nullptr;  // the world map's pages 0, 1 and 2 (owned by the pages)
    GfxImage* cloudImage1 = nullptr;
    GfxImage* cloudImage2 = nullptr;
    GfxImage* brushImage = nullptr;
    int32_t revealRadius = 40;
    int32_t brushWidth = 81;
    int32_t brushHeight = 81;
    GfxRenderTarget* mapTarget = nullptr;
    GfxRenderTarget* cloudTarget1 = nullptr;
    GfxRenderTarget* cloudTarget2 = nullptr;
    MapSelection selection;
    MapStruct* currentMap = nullptr;
    MapStruct* worldMap = nullptr;
    GameAccount* account = nullptr;  // the logged-in account's record, once opened
    // Something in the save could not be read: the file it had is kept as a backup when the
    // save is written again.
    uint8_t saveDamaged = 0;

private:
    static MapRect ReadRect(SpanReader& reader);
    void ReadMapDirectory();
    MapStruct* LoadMap(uint16_t id, const uint8_t key[16]);
    void ReadMapRecord(MapStruct& map, const uint8_t* record, size_t size);
    bool IsUsableWorldMap(const MapStruct& map) const;
    void OpenAccount();
    void RevealAround();
    GfxImage* BuildBrush() const;
    void ApplyMaskToClouds();
    void RenderCloudTargets();
    void DrawBrushOnClouds();

    // The explored-area save (mapdriversave.cpp).
    void ReadSaveDirectory();
    GameAccount* FindAccount(uint32_t accountId) const;
    // Reads an account's record and carries its mask onto the world rectangle. Answers null, or
    // the text that tells what is wrong with the record.
    const char* LoadAccountRecord(GameAccount& record);
    void StartFreshMask(GameAccount& record) const;
    void SaveGameFile();
    bool WriteGameFile(const char* path);
};
