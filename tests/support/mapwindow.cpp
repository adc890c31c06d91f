#include "support/mapwindow.h"

#include "mappage.h"
#include "mappart.h"
#include "mapstruct.h"
#include "protocolstate.h"
#include "support/recordingdriver.h"
#include "windows/dialogs/map.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/windowtypes.h"

MapLabel Label(uint16_t id, uint16_t x, uint16_t y, uint8_t kind, const std::string& text,
               uint8_t journal) {
    MapLabel label;
    label.id = id;
    label.x = x;
    label.y = y;
    label.icon = kind;
    label.text = text;
    label.flag = journal;
    return label;
}

std::vector<uint8_t> MarkerRequest(uint16_t id, uint16_t x, uint16_t y, uint8_t kind,
                                   const std::string& text) {
    std::vector<uint8_t> bytes = {72,
                                  uint8_t(id),
                                  uint8_t(id >> 8),
                                  uint8_t(x),
                                  uint8_t(x >> 8),
                                  uint8_t(y),
                                  uint8_t(y >> 8),
                                  kind,
                                  uint8_t(text.size())};
    for (const char c : text) bytes.push_back(uint8_t(c));
    return bytes;
}

void MapWindowTest::SetUp() {
    StartedCore::SetUp();
    RecordingDriver::Install();
    connection = std::make_unique<RecordingConnection>(core, StateGame);
    startedDriver = core->mapDriver;
    driver = std::make_unique<MapDriver>(core);
    core->mapDriver = driver.get();
}

void MapWindowTest::TearDown() {
    core->mapDriver = startedDriver;
    StartedCore::TearDown();
    driver.reset();
    connection.reset();
}

MapPart& MapWindowTest::Atlas(uint16_t pageWidth, uint16_t pageHeight, uint16_t px, uint16_t py) {
    auto world = std::make_unique<MapStruct>();
    world->id = 1;
    world->isWorld = 1;
    world->loaded = 1;
    world->name = "Veltor";
    auto page = std::make_unique<MapPage>();
    page->width = pageWidth;
    page->height = pageHeight;
    auto part = std::make_unique<MapPart>();
    part->pageRect = {0, 0, pageWidth, pageHeight};
    part->worldRect = {WorldX0, WorldY0, uint16_t(WorldX0 + pageWidth),
                       uint16_t(WorldY0 + pageHeight)};
    MapPart& shown = *part;
    page->parts.push_back(std::move(part));
    world->pages.push_back(std::move(page));
    driver->currentMap = driver->worldMap = world.get();
    driver->maps.push_back(std::move(world));
    driver->selection.x = px ? px : uint16_t(WorldX0 + pageWidth / 2);
    driver->selection.y = py ? py : uint16_t(WorldY0 + pageHeight / 2);
    return shown;
}

Map* MapWindowTest::Open() {
    auto* map = new Map(core);
    core->AddWindow(map);
    return map;
}

std::string MapWindowTest::ShownMessage() const {
    const auto* box = static_cast<const Message*>(core->FindWindow(WindowType::Message));
    return box ? box->text : "";
}

std::string MapWindowTest::ShownMessageTitle() const {
    const Window* box = core->FindWindow(WindowType::Message);
    return box ? box->name : "";
}

std::vector<std::vector<uint8_t>> MapWindowTest::Sent() { return connection->SentSinceLastCall(); }
