// The world-map atlas and the explored-area save against the data the tools write
// (tools/datagen/maps.py, mapcases.py), under the null or the recording driver.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "driver/gfxcore.h"
#include "mappart.h"
#include "recordfile.h"
#include "support/mapdata.h"
#include "support/packbytes.h"
#include "support/recordingdriver.h"
#include "weather.h"
#include "windows/toolkit/windowtypes.h"

namespace {

namespace fs = std::filesystem;

constexpr uint16_t WorldX0 = 1000, WorldY0 = 1000, WorldX1 = 1320, WorldY1 = 1240;

using Offset = std::pair<int, int>;
using Offsets = std::vector<Offset>;

std::string Format(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

std::string Hex(const std::string& bytes) {
    std::string text;
    for (unsigned char c : bytes) text += Format("%02x", c);
    return text;
}

uint32_t Fnv1a(const GfxImage* image) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(image->pixels);
    uint32_t value = 0x811C9DC5;
    for (size_t i = 0; i < size_t(image->width) * size_t(image->height) * 4; ++i)
        value = (value ^ bytes[i]) * 0x01000193;
    return value;
}

// A loaded map as the tools describe it (atlas.txt), line for line.
void Describe(const MapStruct& map, const MapKey& key, std::vector<std::string>& lines) {
    lines.push_back(Format("map %u key %s name %s", map.id,
                           Hex(std::string(key.begin(), key.end())).c_str(),
                           Hex(map.name).c_str()));
    for (const auto& page : map.pages) {
        lines.push_back(Format(" page %s %u %u %08x", Hex(page->name).c_str(), page->width,
                               page->height, Fnv1a(page->texture)));
        for (const auto& part : page->parts) {
            const MapRect& p = part->pageRect;
            const MapRect& w = part->worldRect;
            lines.push_back(Format("  part %u %u %u %u %u %u %u %u", p.x0, p.y0, p.x1, p.y1, w.x0,
                                   w.y0, w.x1, w.y1));
            for (const MapLabel& label : part->labels) {
                lines.push_back(Format("   label %u %u %u %s", label.x, label.y, label.icon,
                                       Hex(label.text).c_str()));
            }
        }
    }
}

std::vector<uint32_t> AccountIds(const MapDriver& driver) {
    std::vector<uint32_t> ids;
    for (const auto& record : driver.accounts) ids.push_back(record->accountId);
    return ids;
}

// The stored bytes of an account's record in a save file.
std::vector<uint8_t> StoredRecord(const char* path, uint32_t accountId) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(path, "rb"), fclose);
    uint32_t version;
    std::vector<RecordEntry> entries;
    std::vector<uint8_t> bytes;
    if (!file || !ReadRecordDirectory(file.get(), 4, version, entries)) return bytes;
    for (const RecordEntry& entry : entries)
        if (entry.id == accountId) ReadFileRange(path, entry.offset, entry.end, bytes);
    return bytes;
}

std::vector<fs::path> CaseFolders(const char* kind) {
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(fs::path(MAP_TESTDATA) / kind))
        folders.push_back(entry.path());
    std::sort(folders.begin(), folders.end());
    return folders;
}

// --- The atlas -------------------------------------------------------------------------------

TEST_F(MapDriverTest, TheSampleAtlasLoadsEveryMapAsTheToolsDescribeIt) {
    const uint32_t versionBefore = core->dataVersion;
    Start();
    const std::vector<uint8_t> atlas = ReadBytes("data/Veltor.maps");
    EXPECT_EQ(core->dataVersion - versionBefore,
              uint32_t(atlas[0] | atlas[1] << 8 | atlas[2] << 16));
    ASSERT_EQ(driver->maps.size(), 3u);
    EXPECT_EQ(driver->maps.back()->recordEnd, atlas.size());
    for (size_t i = 0; i + 1 < driver->maps.size(); ++i)
        EXPECT_EQ(driver->maps[i]->recordEnd, driver->maps[i + 1]->recordOffset);

    std::vector<std::string> loaded;
    for (const auto& [id, key] : SampleMapKeys()) {
        ASSERT_TRUE(driver->SetMap(Selection(id, key, 0, 0, WorldX0, WorldY0))) << id;
        ASSERT_EQ(driver->currentMap->id, id);
        EXPECT_EQ(driver->currentMap->isWorld, id == 1);
        Describe(*driver->currentMap, key, loaded);
    }
    EXPECT_EQ(loaded, ReadLines(MAP_TESTDATA "/atlas.txt"));
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(MapDriverTest, TheWorldMapOpensTheAccountOnceAndMapsStayLoaded) {
    core->accountId = 42;
    Start();
    const auto keys = SampleMapKeys();
    ASSERT_TRUE(driver->SetMap(Selection(2, keys.at(2), 0, 1, 1210, 1070)));
    EXPECT_EQ(driver->accountOpened, 0);
    EXPECT_EQ(driver->worldMap, nullptr);
    EXPECT_EQ(driver->SelectedPart(), driver->currentMap->pages[0]->parts[1].get());

    ASSERT_TRUE(SelectWorld(1100, 1100));
    EXPECT_EQ(driver->accountOpened, 1);
    ASSERT_NE(driver->account, nullptr);
    EXPECT_EQ(driver->account->accountId, 42u);
    EXPECT_EQ(driver->worldRect, (MapRect{WorldX0, WorldY0, WorldX1, WorldY1}));
    EXPECT_EQ(driver->width, 320);
    EXPECT_EQ(driver->height, 240);
    EXPECT_EQ(driver->baseImage, driver->worldMap->pages[0]->texture);
    for (GfxRenderTarget* target :
         {driver->mapTarget, driver->cloudTarget1, driver->cloudTarget2}) {
        ASSERT_NE(target, nullptr);
        EXPECT_EQ(target->width, 320);
        EXPECT_EQ(target->height, 240);
    }
    EXPECT_EQ(driver->cloudTarget1->flags, 15u);
    EXPECT_EQ(driver->mapTarget->clearColour, 0u);

    // Another account logging in later in the same run keeps the first one's record.
    MapStruct* mines = driver->maps[1].get();
    GameAccount* opened = driver->account;
    core->accountId = 43;
    ASSERT_TRUE(driver->SetMap(Selection(2, {}, 0, 0, 1110, 1070)));  // loaded: no key needed
    EXPECT_EQ(driver->currentMap, mines);
    ASSERT_TRUE(SelectWorld(1101, 1100));
    EXPECT_EQ(driver->account, opened);
    EXPECT_EQ(driver->accounts.size(), 1u);
}

// Damaged and odd atlases (mapcases.py): what loading the directory and selecting maps does.
TEST_F(MapDriverTest, DamagedAtlasesEndTheProgramOddOnesRefuseTheSelection) {
    for (const fs::path& folder : CaseFolders("atlas")) {
        SCOPED_TRACE(folder.filename().string());
        fake.boxes.clear();
        CopyDataFile((folder / "Veltor.maps").string(), "Veltor.maps");
        const std::vector<std::string> lines = ReadLines((folder / "case.txt").string());
        ASSERT_FALSE(lines.empty());
        if (lines[0].rfind("start ", 0) == 0) {
            try {
                Start();
                ADD_FAILURE() << "the directory was accepted";
            } catch (const ProgramExit& exit) {
                EXPECT_NE(exit.code, 0u);
            }
            ASSERT_EQ(fake.boxes.size(), 1u);
            EXPECT_EQ(fake.boxes[0].title, "Veltor - Error");
            EXPECT_EQ(fake.boxes[0].text, lines[0].substr(6));
            continue;
        }
        Start();
        for (const std::string& line : lines) {
            SCOPED_TRACE(line);
            std::istringstream words(line);
            std::string tag, hex, outcome;
            unsigned id;
            int page, part;
            ASSERT_TRUE(words >> tag >> id >> hex >> page >> part >> outcome);
            const MapSelection before = driver->selection;
            MapStruct* mapBefore = driver->currentMap;
            const MapSelection next = Selection(uint16_t(id), KeyFromHex(hex), page, part, 12, 22);
            if (outcome == "fatal") {
                std::string message;
                std::getline(words >> std::ws, message);
                EXPECT_THROW(driver->SetMap(next), ProgramExit);
                ASSERT_EQ(fake.boxes.size(), 1u);
                EXPECT_EQ(fake.boxes[0].text, message);
            } else if (outcome == "refused" || outcome == "unloaded") {
                EXPECT_FALSE(driver->SetMap(next));
                EXPECT_EQ(driver->selection.mapId, before.mapId);
                EXPECT_EQ(driver->selection.page, before.page);
                EXPECT_EQ(driver->currentMap, mapBefore);
                EXPECT_EQ(driver->accountOpened, 0);
                if (outcome == "unloaded") {
                    for (const auto& map : driver->maps) EXPECT_FALSE(map->loaded) << map->id;
                }
            } else {
                ASSERT_TRUE(driver->SetMap(next));
                EXPECT_TRUE(driver->currentMap->loaded);
                EXPECT_EQ(driver->SelectedPart(),
                          driver->currentMap->pages[size_t(page)]->parts[size_t(part)].get());
            }
        }
        driver.reset();
    }
}

TEST_F(MapDriverTest, APositionOnAPartTheMapDoesNotHaveIsRefused) {
    Start();
    ASSERT_TRUE(SelectWorld(1100, 1100));
    const std::vector<uint8_t> mask = driver->account->mask;
    MapSelection next = driver->selection;
    next.x = 1200;
    for (auto [page, part] : Offsets{{0, 1}, {3, 0}, {-1, 0}}) {
        next.page = page;
        next.part = part;
        EXPECT_FALSE(driver->UpdatePosition(next));
        EXPECT_EQ(driver->selection.x, 1100);
    }
    EXPECT_EQ(driver->account->mask, mask);
}

TEST(MapMarkers, NextFreeIdIsTheLowestUnused) {
    auto labels = [](std::vector<uint16_t> ids) {
        std::vector<MapLabel> list;
        for (uint16_t id : ids) list.push_back({id, 0, 0, 1, "", 0});
        return list;
    };
    EXPECT_EQ(MapDriver::NextFreeMarkerId(labels({})), 1);
    EXPECT_EQ(MapDriver::NextFreeMarkerId(labels({1, 2, 4})), 3);
    EXPECT_EQ(MapDriver::NextFreeMarkerId(labels({2, 3})), 1);
    EXPECT_EQ(MapDriver::NextFreeMarkerId(labels({3, 1, 2})), 4);
    EXPECT_EQ(MapDriver::NextFreeMarkerId(labels({900, 1, 65535})), 2);
}

// --- Revealing -------------------------------------------------------------------------------

TEST_F(MapDriverTest, ARevealLowersTheMaskWithASoftEdge) {
    Start();
    ASSERT_TRUE(SelectWorld(1100, 1100));
    EXPECT_EQ(MaskAt(1100, 1100), 0);
    for (auto [dx, dy] : Offsets{{20, 0}, {0, -20}, {-12, 16}})
        EXPECT_EQ(MaskAt(1100 + dx, 1100 + dy), 127);
    for (auto [dx, dy] : Offsets{{40, 0}, {0, 40}, {-29, -29}, {60, 0}})
        EXPECT_EQ(MaskAt(1100 + dx, 1100 + dy), 255);
    EXPECT_EQ(MaskAt(1110, 1100), 15);   // 255 x 4 (1/4)³
    EXPECT_EQ(MaskAt(1130, 1100), 239);  // 255 x (1 - (1/2)³ / 2)
    EXPECT_EQ(MaskAt(1128, 1128), 254);  // just inside the radius

    // A cell already lower than the brush stays; the mask never rises.
    ASSERT_TRUE(Move(1110, 1100));
    EXPECT_EQ(MaskAt(1100, 1100), 0);
    EXPECT_EQ(MaskAt(1110, 1100), 0);
    EXPECT_EQ(MaskAt(1130, 1100), 127);
    EXPECT_EQ(MaskAt(1090, 1100), 15);
}

TEST_F(MapDriverTest, AtTheEdgeOnlyThePartOfTheBrushInsideTheWorldIsRevealed) {
    Start();
    ASSERT_TRUE(SelectWorld(WorldX0, WorldY1 - 1));
    size_t changed = 0;
    for (uint8_t cell : driver->account->mask) changed += cell != 255;
    // Brush cells below 255 with dx >= 0 and dy <= 0: a quarter of the disc with its two radii.
    size_t expected = 0;
    for (int dx = 0; dx <= 40; ++dx)
        for (int dy = -40; dy <= 0; ++dy) expected += MaskAt(WorldX0 + dx, WorldY1 - 1 + dy) != 255;
    EXPECT_EQ(changed, expected);
    EXPECT_EQ(MaskAt(WorldX0, WorldY1 - 1), 0);
    EXPECT_EQ(MaskAt(WorldX0 + 20, WorldY1 - 1), 127);

    // A player off the world reveals nothing and touches nothing outside the mask.
    const std::vector<uint8_t> before = driver->account->mask;
    ASSERT_TRUE(Move(WorldX1 + 41, WorldY0 - 50));
    ASSERT_TRUE(Move(0, 0));
    ASSERT_TRUE(Move(65535, 65535));
    EXPECT_EQ(driver->account->mask, before);
}

TEST_F(MapDriverTest, NothingIsRevealedInTheDarkWithoutAPlayerOrBeforeTheWorldMap) {
    struct Light {
        uint32_t value;
        bool reveals;
    };
    // Low 7 bits modulo 9 above 3 is dark; bit 7 is a flag.
    const Light lights[] = {{0, true},   {3, true},          {4, false},      {8, false},
                            {9, true},   {13, false},        {128 + 9, true}, {128 + 4, false},
                            {127, true}, {0x7FFFFF04, false}};
    Start();
    ASSERT_TRUE(SelectWorld(1100, 1100));
    uint16_t x = 1000;
    for (const Light& light : lights) {
        SCOPED_TRACE(light.value);
        world->weather->lightValue = light.value;
        x += 30;  // inside the last reveal, but not under it
        ASSERT_TRUE(Move(x, 1200));
        EXPECT_EQ(MaskAt(x, 1200) == 0, light.reveals);
    }
    world->weather->lightValue = 0;
    core->player = nullptr;
    ASSERT_TRUE(Move(1300, 1100));
    EXPECT_EQ(MaskAt(1300, 1100), 255);
    core->player = player.get();
    core->world = nullptr;  // no world: no light to consult
    ASSERT_TRUE(Move(1300, 1100));
    EXPECT_EQ(MaskAt(1300, 1100), 0);
    core->world = world.get();

    // Positions on another map before the world map was ever selected reveal nothing.
    driver.reset();
    Start();
    ASSERT_TRUE(driver->SetMap(Selection(3, SampleMapKeys()[3], 0, 0, 1450, 1050)));
    ASSERT_TRUE(Move(1460, 1050));
    EXPECT_EQ(driver->account, nullptr);
}

// --- The explored-area save ------------------------------------------------------------------

// Saves written for other world rectangles keep their explored cells at the same world places.
TEST_F(MapDriverTest, ASavedMaskIsCarriedOverToTheWorldRectangleByPosition) {
    CopyDataFile(MAP_TESTDATA "/carry/Veltor.game", "Veltor.game");
    for (uint32_t accountId : {501u, 502u, 503u, 504u, 505u}) {
        SCOPED_TRACE(accountId);
        core->accountId = accountId;
        Start();
        EXPECT_EQ(AccountIds(*driver), (std::vector<uint32_t>{501, 502, 503, 504, 505}));
        const MapSelection selection = Selection(1, worldKey, 0, 0, 1100, 1100);
        ASSERT_TRUE(driver->SetMap(selection));
        ASSERT_NE(driver->account, nullptr);
        EXPECT_EQ(driver->account->rect, driver->worldRect);
        EXPECT_EQ(driver->account->mask,
                  ReadBytes(MAP_TESTDATA "/carry/" + std::to_string(accountId) + ".mask"));
        EXPECT_EQ(ShownMessage(), "");
        driver.reset();
        CopyDataFile(MAP_TESTDATA "/carry/Veltor.game", "Veltor.game");
    }
}

// Damaged saves (mapcases.py): the player is told, plays on, and nothing is lost: the next save
// holds every account it can, unreadable records as they were stored, and the damaged file is
// kept as Veltor.game.bak.
TEST_F(MapDriverTest, ADamagedSaveIsReportedKeptAndNeverFatal) {
    for (const fs::path& folder : CaseFolders("save")) {
        SCOPED_TRACE(folder.filename().string());
        while (Window* message = core->FindWindow(WindowType::Message)) core->RemoveWindow(message);
        fs::remove("data/Veltor.game.bak");
        const std::string original = (folder / "Veltor.game").string();
        CopyDataFile(original, "Veltor.game");
        std::map<std::string, std::string> expect;
        for (const std::string& line : ReadLines((folder / "case.txt").string())) {
            const size_t space = line.find(' ');
            expect[line.substr(0, space)] = line.substr(space + 1);
        }
        core->accountId = uint32_t(std::stoul(expect["account"]));
        const std::string message = expect["message"] == "-" ? "" : expect["message"];

        Start();
        ASSERT_TRUE(SelectWorld(1150, 1150));
        EXPECT_EQ(ShownMessage(), message);
        EXPECT_EQ(MaskAt(1150, 1150), 0);
        if (!message.empty()) {
            EXPECT_EQ(MaskAt(1300, 1230), 255);  // a fresh mask
        }
        const std::vector<uint8_t> played = driver->account->mask;
        driver.reset();
        EXPECT_TRUE(fake.boxes.empty());

        std::vector<uint32_t> kept;
        std::istringstream ids(expect["kept"]);
        for (uint32_t id; ids >> id;) kept.push_back(id);
        const bool damaged = folder.filename() != "intact";
        EXPECT_EQ(fs::exists("data/Veltor.game.bak"), damaged);
        if (damaged) {
            EXPECT_EQ(ReadBytes("data/Veltor.game.bak"), ReadBytes(original));
        }
        if (folder.filename() == "other-account-damaged") {
            EXPECT_EQ(StoredRecord("data/Veltor.game", 8), StoredRecord(original.c_str(), 8));
        }
        EXPECT_FALSE(fs::exists("data/Veltor.game.new"));

        Start();
        EXPECT_EQ(AccountIds(*driver), kept);
        ASSERT_TRUE(driver->SetMap(Selection(1, worldKey, 0, 0, 1150, 1150)));
        EXPECT_EQ(driver->account->mask, played);
        driver.reset();
    }
}

TEST_F(MapDriverTest, ASaveRemovedWhileRunningIsReportedAndWrittenAnew) {
    CopyDataFile(MAP_TESTDATA "/save/intact/Veltor.game", "Veltor.game");
    core->accountId = 7;
    Start();
    fs::remove("data/Veltor.game");
    ASSERT_TRUE(SelectWorld(1150, 1150));
    EXPECT_EQ(ShownMessage(), "Failed to load \"Veltor.game\".");
    driver.reset();
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_FALSE(fs::exists("data/Veltor.game.bak"));

    Start();
    EXPECT_EQ(AccountIds(*driver), (std::vector<uint32_t>{7}));
}

TEST_F(MapDriverTest, ASaveThatCannotBeWrittenLeavesTheOldOneAndSaysSo) {
    const std::string original = MAP_TESTDATA "/save/intact/Veltor.game";
    CopyDataFile(original, "Veltor.game");
    core->accountId = 7;
    Start();
    ASSERT_TRUE(SelectWorld(1150, 1150));
    fs::create_directories("data/Veltor.game.new");  // the temporary file cannot be made
    driver.reset();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Failed to save \"Veltor.game\".");
    EXPECT_EQ(fake.boxes[0].title, "Veltor - Error");
    EXPECT_EQ(ReadBytes("data/Veltor.game"), ReadBytes(original));
}

TEST_F(MapDriverTest, NoSaveIsWrittenUnlessTheWorldMapWasSelected) {
    Start();
    ASSERT_TRUE(driver->SetMap(Selection(2, SampleMapKeys()[2], 0, 0, 1110, 1070)));
    driver.reset();
    EXPECT_FALSE(fs::exists("data/Veltor.game"));

    CopyDataFile(MAP_TESTDATA "/save/intact/Veltor.game", "Veltor.game");
    Start();
    driver.reset();
    EXPECT_EQ(ReadBytes("data/Veltor.game"), ReadBytes(MAP_TESTDATA "/save/intact/Veltor.game"));
}

// One session of mapcases.py's scenario. With VELTOR_MAPSAVE_DIR set (the end-to-end test
// tests/e2e/test_map_save.py) the session's data comes from there and the save it wrote goes
// back there as written.game, for the tools' reader to check.
TEST_F(MapDriverTest, SessionScenarioSaveReadsBack) {
    const char* exportDir = std::getenv("VELTOR_MAPSAVE_DIR");
    const std::string source = exportDir ? exportDir : MAP_TESTDATA "/scenario";
    CopyDataFile(source + "/Veltor.maps", "Veltor.maps");
    CopyDataFile(source + "/Veltor.game", "Veltor.game");
    Start();
    for (const std::string& line : ReadLines(source + "/moves.txt")) {
        SCOPED_TRACE(line);
        std::istringstream words(line);
        std::string tag, hex;
        words >> tag;
        unsigned id, x, y;
        int page, part;
        if (tag == "account") {
            words >> core->accountId;
        } else if (tag == "light") {
            words >> world->weather->lightValue;
        } else if (tag == "select") {
            ASSERT_TRUE(words >> id >> hex >> page >> part >> x >> y);
            const MapSelection selection =
                Selection(uint16_t(id), KeyFromHex(hex), page, part, uint16_t(x), uint16_t(y));
            ASSERT_TRUE(driver->SetMap(selection));
            ASSERT_TRUE(driver->UpdatePosition(selection));
        } else if (tag == "move") {
            ASSERT_TRUE(words >> page >> part >> x >> y);
            ASSERT_TRUE(Move(uint16_t(x), uint16_t(y)));
        }
    }
    ASSERT_NE(driver->account, nullptr);
    const std::vector<uint8_t> played = driver->account->mask;
    const size_t accounts = driver->accounts.size();
    driver.reset();
    if (exportDir)
        fs::copy_file("data/Veltor.game", source + "/written.game",
                      fs::copy_options::overwrite_existing);

    Start();
    EXPECT_EQ(driver->accounts.size(), accounts);
    ASSERT_TRUE(driver->SetMap(Selection(1, worldKey, 0, 0, 1100, 1100)));
    EXPECT_EQ(driver->account->mask, played);
}

// --- Composition -----------------------------------------------------------------------------

class MapComposition : public MapDriverTest {
protected:
    void SetUp() override {
        MapDriverTest::SetUp();
        RecordingDriver::Install();
        Start();
        EXPECT_TRUE(SelectWorld(1100, 1100));
        // Name the records in the log: targets 1 to 3, the world pages 10 to 12, the brush 13.
        driver->mapTarget->user = 1;
        driver->cloudTarget1->user = 2;
        driver->cloudTarget2->user = 3;
        driver->baseImage->user = 10;
        driver->cloudImage1->user = 11;
        driver->cloudImage2->user = 12;
        driver->brushImage->user = 13;
        RecordingDriver::Take();
    }
};

// The frames and drawing of a log: without the checks whether targets were lost and without
// the driver objects made again on demand.
std::vector<std::string> Drawing(const std::vector<std::string>& log) {
    std::vector<std::string> drawing;
    for (const std::string& line : log)
        if (line.rfind("Create", 0) != 0 && line.rfind("CheckTarget", 0) != 0)
            drawing.push_back(line);
    return drawing;
}

TEST_F(MapComposition, TheMapIsTheBasePageUnderBothCloudLayersAndTheShadow) {
    driver->Render();
    EXPECT_EQ(Drawing(RecordingDriver::Take()),
              (std::vector<std::string>{"BeginFrame(rt:1)", "DrawImage(0,0,img:10)",
                                        "DrawTarget(0,0,rt:2)",
                                        "DrawTargetTinted(10,10,0x64000000,rt:3)",
                                        "DrawTarget(0,0,rt:3)", "EndFrame()"}));
    driver->cloudShown = 0;
    driver->Render();
    EXPECT_EQ(
        Drawing(RecordingDriver::Take()),
        (std::vector<std::string>{"BeginFrame(rt:1)", "DrawImage(0,0,img:10)", "EndFrame()"}));
}

TEST_F(MapComposition, AMoveDrawsTheBrushOnBothCloudTargetsThenRecomposes) {
    ASSERT_TRUE(Move(1150, 1120));
    const std::vector<std::string> log = Drawing(RecordingDriver::Take());
    ASSERT_EQ(log.size(), 12u);
    const std::vector<std::string> start(log.begin(), log.begin() + 6);
    EXPECT_EQ(start, (std::vector<std::string>{"BeginFrame(rt:2)", "DrawImageMin(110,80,img:13)",
                                               "EndFrame()", "BeginFrame(rt:3)",
                                               "DrawImageMin(110,80,img:13)", "EndFrame()"}));
    EXPECT_EQ(log[6], "BeginFrame(rt:1)");
}

TEST_F(MapComposition, LostTargetsAreRedrawnFromTheMask) {
    GFX_ReleaseDriverObjects();  // a device loss: every target's contents are gone
    RecordingDriver::Take();
    driver->Render();
    const std::vector<std::string> log = Drawing(RecordingDriver::Take());
    ASSERT_GE(log.size(), 8u);
    const std::vector<std::string> clouds(log.begin(), log.begin() + 8);
    EXPECT_EQ(clouds,
              (std::vector<std::string>{"BeginFrame(rt:2)", "FillRect(0,0,320,240,0xFFFFFFFF,0x3)",
                                        "DrawImageMin(0,0,img:11)", "EndFrame()",
                                        "BeginFrame(rt:3)", "FillRect(0,0,320,240,0xFFFFFFFF,0x3)",
                                        "DrawImageMin(0,0,img:12)", "EndFrame()"}));
    // The cloud images carry the mask again: layer 1 as its alpha, layer 2 at most the mask.
    const uint32_t* fog = driver->cloudImage1->pixels;
    const uint32_t* clouds2 = driver->cloudImage2->pixels;
    for (size_t i = 0; i < driver->account->mask.size(); ++i) {
        ASSERT_EQ(fog[i] >> 24, driver->account->mask[i]) << i;
        ASSERT_LE(clouds2[i] >> 24, driver->account->mask[i]) << i;
    }
}

TEST_F(MapComposition, TheBrushIsWhiteWithTheRevealAsAlpha) {
    const GfxImage* brush = driver->brushImage;
    ASSERT_EQ(brush->width, 81);
    ASSERT_EQ(brush->height, 81);
    EXPECT_EQ(brush->pixels[40 * 81 + 40], 0x00FFFFFFu);
    EXPECT_EQ(brush->pixels[40 * 81 + 60], 0x7FFFFFFFu);
    EXPECT_EQ(brush->pixels[40 * 81 + 80], 0xFFFFFFFFu);
    EXPECT_EQ(brush->pixels[0], 0xFFFFFFFFu);
    for (int i = 0; i < 81 * 81; ++i) ASSERT_EQ(brush->pixels[i] & 0xFFFFFF, 0xFFFFFFu);
}

}  // namespace

// The journal's markers go onto the selected part, relative to its world origin, numbered by
// their journal record; with no part selected nothing is placed.
TEST_F(MapDriverTest, JournalMarkersArePlacedOnTheSelectedPart) {
    Start();
    MapDriver* const started = core->mapDriver;
    core->mapDriver = driver.get();
    QuestLine line{};
    line.title = "Mill";
    line.markers = {{uint16_t(WorldX0 + 5), uint16_t(WorldY0 + 7), 6, "Mill"}};
    core->quests.push_back({1, 1, "Mill", {line}, 0, {1}});

    core->UpdateQuestMarkers();
    ASSERT_TRUE(SelectWorld(1100, 1100));
    const MapPart* part = driver->SelectedPart();
    EXPECT_TRUE(part->journalMarkers.empty());

    core->UpdateQuestMarkers();
    core->UpdateQuestMarkers();  // rebuilt, not appended
    ASSERT_EQ(part->journalMarkers.size(), 1u);
    const MapLabel& label = part->journalMarkers[0];
    EXPECT_EQ(label.id, 1);
    EXPECT_EQ(label.x, uint16_t(WorldX0 + 5 - part->worldRect.x0));
    EXPECT_EQ(label.y, uint16_t(WorldY0 + 7 - part->worldRect.y0));
    EXPECT_EQ(label.icon, 6);
    EXPECT_EQ(label.text, "Mill");
    EXPECT_EQ(label.flag, 1);
    core->mapDriver = started;
}
