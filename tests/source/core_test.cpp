#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core.h"
#include "driver/gfxdriver.h"
#include "support/startup.h"
#include "windows/toolkit/window.h"
#include "windows/toolkit/windowtypes.h"

namespace {

Core* StartCore(uint8_t patchedFlag = 0) {
    return new Core(GetModuleHandleA(nullptr), SW_HIDE, patchedFlag);
}

TEST(StartUp, ReadsEveryDataFileAndShowsTheMainScreen) {
    FakePlatform fake;
    TemporaryFolder folder;
    WriteStartupData(StartupDataVersions());
    Core* core = StartCore();

    EXPECT_EQ(core->dataVersion, 255u);  // one bit from each of the eight files
    EXPECT_EQ(core->clientVersion, 0u);  // test programs carry no version resource
    EXPECT_EQ(core->steamReady, 0);
    EXPECT_EQ(core->engine, DriverOpenGL);
    ASSERT_EQ(core->statusEffects.size(), 31u);
    EXPECT_EQ(core->statusEffects[6].name, "Fighting");
    EXPECT_EQ(core->statusEffects[30].name, "Blessed");
    ASSERT_EQ(core->windows.size(), 1u);
    EXPECT_EQ(core->windows[0]->typeId, 1u);  // the main screen
    EXPECT_EQ(core->activeWindow, core->windows[0]);

    char className[32], title[32];
    GetClassNameA(core->hwnd, className, sizeof className);
    GetWindowTextA(core->hwnd, title, sizeof title);
    EXPECT_STREQ(className, "Quarvel");
    EXPECT_STREQ(title, "Veltor");
    EXPECT_TRUE(fake.boxes.empty());

    delete core;
    DrainMessages();
}

struct MissingFile {
    const char* name;
    const char* message;
};

class MissingDataFile : public ::testing::TestWithParam<MissingFile> {};

TEST_P(MissingDataFile, EndsStartUpWithAnErrorBox) {
    FakePlatform fake;
    TemporaryFolder folder;
    auto versions = StartupDataVersions();
    versions.erase(GetParam().name);
    WriteStartupData(versions);

    try {
        StartCore();
        FAIL() << "start-up went on without " << GetParam().name;
    } catch (const ProgramExit& exit) {
        EXPECT_NE(exit.code, 0u);
    }
    DiscardFailedStart();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "Veltor - Error");
    EXPECT_EQ(fake.boxes[0].text, GetParam().message);
    EXPECT_EQ(fake.boxes[0].owner, nullptr);
    EXPECT_EQ(fake.boxes[0].type, UINT(MB_OK));
}

INSTANTIATE_TEST_SUITE_P(
    EveryFile, MissingDataFile,
    ::testing::Values(MissingFile{"Veltor.shapes", "Failed to load \"data/Veltor.shapes\"."},
                      MissingFile{"Veltor.data", "Failed to load \"data/Veltor.data\"."},
                      MissingFile{"Veltor.maps", "Failed to load \"Veltor.maps\"."},
                      MissingFile{"Veltor.books", "Failed to load \"Veltor.books\"."},
                      MissingFile{"Veltor.quests", "Failed to load \"Veltor.quests\"."},
                      MissingFile{"Veltor.skin", "Failed to load \"Veltor.skin\"."},
                      MissingFile{"Veltor.font", "Failed to load \"Veltor.font\"."},
                      MissingFile{"Veltor.spells", "Failed to load \"Veltor.spells\"."}));

TEST(StartUp, FallsBackToTheOtherDriverWhenTheConfiguredOneFails) {
    FakePlatform fake;
    TemporaryFolder folder;
    WriteStartupData(StartupDataVersions());
    fake.drivers[DriverOpenGL] = DriverOutcome::Fails;
    Core* core = StartCore();

    EXPECT_EQ(fake.driverRequests, (std::vector<uint32_t>{DriverOpenGL, DriverDirectX}));
    EXPECT_EQ(LoadedDriverId(), DriverDirectX);
    EXPECT_EQ(core->engine, DriverDirectX);
    delete core;
    DrainMessages();
}

TEST(StartUp, WithoutAnyDriverEndsWithTheDriverErrorBox) {
    FakePlatform fake;
    TemporaryFolder folder;
    WriteStartupData(StartupDataVersions());
    fake.drivers.clear();

    try {
        StartCore();
        FAIL() << "start-up went on without a graphics driver";
    } catch (const ProgramExit& exit) {
        EXPECT_NE(exit.code, 0u);
    }
    DiscardFailedStart();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "Veltor - Graphic Driver Error");
    EXPECT_EQ(fake.driverRequests, (std::vector<uint32_t>{DriverOpenGL, DriverDirectX}));
}

TEST(StartUp, AWindowClassThatCannotBeRegisteredIsFatal) {
    FakePlatform fake;
    TemporaryFolder folder;
    WriteStartupData(StartupDataVersions());
    WNDCLASSA taken = {};
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = GetModuleHandleA(nullptr);
    taken.lpszClassName = "Quarvel";
    ASSERT_NE(RegisterClassA(&taken), 0);

    EXPECT_THROW(StartCore(), ProgramExit);
    DiscardFailedStart();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Failed to register class.");
    EXPECT_EQ(fake.boxes[0].title, "Veltor - Error");
}

TEST(StartUp, PatchedFlagOpensAStatusBox) {
    FakePlatform fake;
    TemporaryFolder folder;
    WriteStartupData(StartupDataVersions());
    Core* core = StartCore(1);
    EXPECT_NE(core->FindWindow(WindowType::Status), nullptr);
    delete core;
    DrainMessages();
}

TEST_F(StartedCore, FatalErrorShowsTheTextAndEndsWithAFailureCode) {
    try {
        core->FatalError("Invalid book id.");
        FAIL() << "FatalError returned";
    } catch (const ProgramExit& exit) {
        EXPECT_NE(exit.code, 0u);
    }
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Invalid book id.");
    EXPECT_EQ(fake.boxes[0].title, "Veltor - Error");
    EXPECT_EQ(fake.boxes[0].owner, nullptr);
    EXPECT_EQ(fake.boxes[0].type, UINT(MB_OK));
}

TEST_F(StartedCore, AddFontReplacesAnEntryAndUnknownIdsGiveNull) {
    // Stand-in pointers: the fonts are only stored and compared here, never used.
    int first = 0, second = 0;
    Font* a = reinterpret_cast<Font*>(&first);
    Font* b = reinterpret_cast<Font*>(&second);
    core->AddFont(7, a);
    EXPECT_EQ(core->GetFont(7), a);
    core->AddFont(7, b);
    EXPECT_EQ(core->GetFont(7), b);
    EXPECT_EQ(core->GetFont(99), nullptr);
    EXPECT_EQ(core->fonts.count(99), 1u);  // the look-up leaves an empty entry
    core->fonts.erase(7);
}

TEST_F(StartedCore, ToggleStatusShownFlipsKnownIndexesOnly) {
    core->ToggleStatusShown(3);
    EXPECT_EQ(core->statusEffects[3].shown, 0);
    core->ToggleStatusShown(3);
    EXPECT_EQ(core->statusEffects[3].shown, 1);
    core->ToggleStatusShown(31);  // past the table: nothing
    EXPECT_EQ(core->statusEffects.size(), 31u);
}

// Records what still exists when a window of the list is deleted at shut-down.
struct ShutdownProbe : Window {
    bool* shapesAlive;
    explicit ShutdownProbe(Core* owner, bool* shapesAlive) : shapesAlive(shapesAlive) {
        core = owner;
    }
    ~ShutdownProbe() override { *shapesAlive = core->shapes != nullptr; }
};

TEST(Shutdown, DeletesTheWindowsBeforeTheShapeTable) {
    FakePlatform fake;
    TemporaryFolder folder;
    WriteStartupData(StartupDataVersions());
    Core* core = StartCore();
    bool shapesAlive = false;
    core->AddWindow(new ShutdownProbe(core, &shapesAlive));
    delete core;
    DrainMessages();
    EXPECT_TRUE(shapesAlive);
}

}  // namespace

namespace {

// The test client takes avatar auto_character and leaves the next one for the next client,
// also after this client writes its settings again at exit.
TEST(StartUp, TestClientAdvancesTheAvatarForTheNextRun) {
    FakePlatform fake;
    TemporaryFolder folder;
    WriteStartupData(StartupDataVersions());
    {
        std::ofstream config("data/Veltor.config", std::ios::binary);
        config << "      testing = true\r\nauto_character = 2\r\nauto_increment = 3\r\n";
    }
    Core* core = new Core(GetModuleHandleA(nullptr), SW_HIDE, 0);
    EXPECT_EQ(core->testWalker.runCharacter, 2);
    EXPECT_EQ(core->targetFps, 5u);
    delete core;
    DrainMessages();

    std::ifstream written("data/Veltor.config", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("auto_character = 0\r\n"), std::string::npos) << text;
}

}  // namespace
