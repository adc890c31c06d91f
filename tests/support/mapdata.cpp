#include "support/mapdata.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "support/creatureworld.h"
#include "support/packbytes.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/windowtypes.h"

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

MapKey KeyFromHex(const std::string& hex) {
    MapKey key{};
    for (size_t i = 0; i < key.size() && 2 * i + 1 < hex.size(); ++i)
        key[i] = uint8_t(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
    return key;
}

std::map<uint16_t, MapKey> SampleMapKeys() {
    std::map<uint16_t, MapKey> keys;
    for (const std::string& line : ReadLines(MAP_TESTDATA "/atlas.txt")) {
        std::istringstream words(line);
        std::string tag, keyTag, hex;
        unsigned id = 0;
        if (words >> tag >> id >> keyTag >> hex && tag == "map")
            keys[uint16_t(id)] = KeyFromHex(hex);
    }
    return keys;
}

MapSelection Selection(uint16_t mapId, const MapKey& key, int32_t page, int32_t part, uint16_t x,
                       uint16_t y) {
    MapSelection selection;
    selection.mapId = mapId;
    std::copy(key.begin(), key.end(), selection.key);
    selection.page = page;
    selection.part = part;
    selection.x = x;
    selection.y = y;
    selection.z = 7;
    return selection;
}

void MapDriverTest::SetUp() {
    StartedCore::SetUp();
    world = std::make_unique<World>(core);
    startedShapes = core->shapes;
    core->shapes = LoadSpriteCase(core, "sample").release();
    player = std::make_unique<Creature>(core, 1, SampleShape::Person, 0, std::vector<Shape*>{},
                                        Position{}, "Player", 100, 100, 0);
    core->world = world.get();
    core->player = player.get();
    worldKey = SampleMapKeys()[1];
    CopyDataFile(MAP_TESTDATA "/Veltor.maps", "Veltor.maps");
}

void MapDriverTest::TearDown() {
    driver.reset();
    core->player = nullptr;
    player.reset();
    delete core->shapes;
    core->shapes = startedShapes;
    core->world = nullptr;
    world.reset();
    StartedCore::TearDown();
}

MapDriver& MapDriverTest::Start() {
    driver = std::make_unique<MapDriver>(core);
    return *driver;
}

bool MapDriverTest::SelectWorld(uint16_t x, uint16_t y) {
    const MapSelection selection = Selection(1, worldKey, 0, 0, x, y);
    return driver->SetMap(selection) && driver->UpdatePosition(selection);
}

bool MapDriverTest::Move(uint16_t x, uint16_t y) {
    MapSelection selection = driver->selection;
    selection.x = x;
    selection.y = y;
    return driver->UpdatePosition(selection);
}

uint8_t MapDriverTest::MaskAt(int32_t x, int32_t y) const {
    const int32_t cx = x - driver->worldRect.x0, cy = y - driver->worldRect.y0;
    return driver->account->mask[size_t(cy) * size_t(driver->width) + size_t(cx)];
}

std::string MapDriverTest::ShownMessage() const {
    const Window* window = core->FindWindow(WindowType::Message);
    return window ? static_cast<const Message*>(window)->text : "";
}
