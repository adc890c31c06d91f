#pragma once
// A started Core with a recording connection in the game and a map driver whose current map is
// an in-memory world map of one page, for the world map window and its marker dialog.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mapdriver.h"
#include "maplabel.h"
#include "support/recordingconnection.h"
#include "support/startup.h"

class Map;
class MapPart;

MapLabel Label(uint16_t id, uint16_t x, uint16_t y, uint8_t kind, const std::string& text,
               uint8_t journal = 0);
// The payload of request 72.
std::vector<uint8_t> MarkerRequest(uint16_t id, uint16_t x, uint16_t y, uint8_t kind,
                                   const std::string& text);

class MapWindowTest : public StartedCore {
protected:
    static constexpr uint16_t WorldX0 = 1000, WorldY0 = 1000;

    void SetUp() override;
    void TearDown() override;

    // The world map with one page of the size showing the world from (WorldX0, WorldY0), one
    // pixel a tile, its one part covering the page; the player at a world tile, by default the
    // page's middle (the window then opens at zoom 1).
    MapPart& Atlas(uint16_t pageWidth, uint16_t pageHeight, uint16_t px = 0, uint16_t py = 0);
    // A new world map window in the window list.
    Map* Open();
    // The text and title of the message box shown, or empty ones.
    std::string ShownMessage() const;
    std::string ShownMessageTitle() const;
    // The requests sent since the last call.
    std::vector<std::vector<uint8_t>> Sent();

    std::unique_ptr<RecordingConnection> connection;
    std::unique_ptr<MapDriver> driver;
    MapDriver* startedDriver = nullptr;
};
