#include "core.h"

#include <winsock2.h>

#include "config.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "mapdriver.h"
#include "platform.h"
#include "render.h"
#include "screen.h"
#include "shapes.h"
#include "spell.h"
#include "steam.h"
#include "version.h"
#include "windows/toolkit/window.h"
#include "world.h"

namespace {

const char* const StatusEffectNames[] = {"",
                                         "Electrified",
                                         "Hasted by buff",
                                         "Paralysed",
                                         "Burning",
                                         "Poisoned",
                                         "Fighting",
                                         "Bleeding",
                                         "Sedative",
                                         "Drunk",
                                         "Frightened",
                                         "PVP-enabled area",
                                         "Sword (unused)",
                                         "Hasted by equipment",
                                         "Slowed by buff",
                                         "Slowed by equipment",
                                         "Defense buff",
                                         "Defense debuff",
                                         "Magic damage buff",
                                         "Magic damage debuff",
                                         "Physical damage buff",
                                         "Physical damage debuff",
                                         "Cursed",
                                         "Frozen",
                                         "Stunned",
                                         "Hungry",
                                         "Regeneration Buff",
                                         "Regeneration Debuff",
                                         "Recently in PVP combat",
                                         "Movement constrained",
                                         "Blessed"};

}  // namespace

Core::Core(HINSTANCE hInstance, int32_t nCmdShow, uint8_t patchedFlag)
    : hInstance(hInstance), nCmdShow(nCmdShow), patchedFlag(patchedFlag) {
    Init();
}

void Core::ResetDefaults() {
    RegisterBoxAnswers();
    clientVersion = 0;
    dataVersion = 0;
    steamEnabled = 1;
    steamReady = 0;
    useItemX = dropX = 4;
    useItemY = dropY = 4;
    useItemZ = dropZ = 7;
    connectKind = 0;
    loginName.clear();
    password.clear();
    pingTimes.clear();
    pingSamples.clear();
    lastPingSent = 0;
    frameCounter = 0;
    fpsFrames = 0;
    frameTimeMs = 0;
    fpsWindowStart = WallClockMs();
    fps = 0;
    fpsText = "0";
    frameTimes.clear();
    frameStats = {};
    driverFlags = 0;
    screenshotDeadline = 0;
    screenshotBusy = 0;
    testWalker = {};
    hp = maxHp = 0;
    nobleDaysLeft = 0;
    gameHalted = 0;
    accountId = 0;
    followTarget = nullptr;
}

void Core::Init() {
    pressedButton = nullptr;
    activeWindow = focusedInput = nullptr;
    connection1 = connection2 = activeConnection = nullptr;
    world = nullptr;
    player = nullptr;
    consoleWindow = leftPanel = fieldWindow = equipmentWindow = rightPanel = paneltopWindow =
        nullptr;
    containerPanel = nullptr;
    dragTo = dragFrom = nullptr;
    targetingSpell = nullptr;
    targets.clear();
    inGame = pingOutstanding = screenshotPending = 0;
    for (uint8_t& mode : inputModes) mode = 0;
    steamReady = 0;
    steamEnabled = 1;
    maximized = 0;
    frameSkipped = 0;

    ResetDefaults();
    clientVersion = ReadClientVersion();
    InitStatusEffects();
    config = new Config(this, "data/Veltor.config");
    shapes = new Shapes(this);
    render = new Render(this);
    if (steamEnabled) steamReady = Steam::Start();
    mapDriver = new MapDriver(this);
    CreateInterfaceItems();
    LoadBooksIndex();
    LoadQuests();

    EnumerateDisplayModes();
    SetResolution();
    screen = new Screen(this, clientWidth, clientHeight, depth, fullscreen);
    if (!screen->RegisterClass(hInstance)) FatalError("Failed to register class.");
    if (!screen->PrepareScreen()) FatalError("Failed to prepare screen.");
    hwnd = screen->CreateMainWindow(hInstance);
    if (!hwnd) FatalError("Failed to create window.");

    StartGraphics();
    render->LoadSkin();
    render->LoadFonts();
    LoadSpells();
    LeaveGame();
    if (patchedFlag) ShowStatus("Patched", "Veltor has successively been patched.");
    StartWinsock();
    ShowWindow(hwnd, maximized ? SW_SHOWMAXIMIZED : nCmdShow);
    UpdateWindow(hwnd);

    if (testWalker.testing) {
        targetFps = 5;
        loginName = testWalker.autoUsername;
        password = testWalker.autoPassword;
        testWalker.runCharacter = testWalker.autoCharacter;
        if (testWalker.autoIncrement != 0) {
            // The next test client takes the next avatar, also when this one writes the
            // settings again at exit; this run keeps its own.
            testWalker.autoCharacter = static_cast<int32_t>(
                (int64_t(testWalker.autoCharacter) + 1) % testWalker.autoIncrement);
            config->Write();
        }
        connectKind = 1;
        Connect(0);
    }
}

// Each interface item is built from a shape id of the sprite data's header list.
void Core::CreateInterfaceItems() {
    auto build = [this](uint32_t headerIndex, uint16_t x, uint16_t y) {
        return new Item(this, shapes->GetHeaderValue(headerIndex), 0, x, y, 0, 1, 0);
    };
    for (uint32_t i = 0; i < 3; ++i) interfaceItems.single[i] = build(i, 0, 0);
    interfaceItems.single[3] =
        shapes->GetHeaderValue(5) ? build(5, 0, 0) : interfaceItems.single[1];
    for (uint16_t i = 0; i < 4; ++i) {
        for (uint16_t j = 0; j < 4; ++j) {
            interfaceItems.gridA[i][j] = build(4, i, j);
            interfaceItems.gridB[i][j] = build(6, i, j);
        }
    }
}

// Binds the graphics layer and starts the configured driver, or the other one when it fails.
void Core::StartGraphics() {
    GFX_Bind(hwnd);
    if (ReinitDriver(engine) == DriverNull) {
        ShowMessageBox(nullptr, "Failed to start a graphics driver.",
                       "Veltor - Graphic Driver Error", MB_OK);
        ExitProgram(FatalExitCode);
    }
}

// Networking is optional: without Winsock 2 the client still starts.
void Core::StartWinsock() {
    WSADATA data;
    const bool started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (started && LOBYTE(data.wVersion) == 2) return;
    if (started) WSACleanup();
    ShowStatus("Internet", "Failed to initialise WSA.");
}

// Everything that draws or refers to sprites goes before the shape table and the fonts.
Core::~Core() {
    for (Spell* spell : spells) delete spell;
    spells.clear();
    DeleteWindowsExcept(nullptr);
    DeleteClosedWindows();
    activeWindow = focusedInput = nullptr;

    if (interfaceItems.single[3] != interfaceItems.single[1]) delete interfaceItems.single[3];
    for (uint32_t i = 0; i < 3; ++i) delete interfaceItems.single[i];
    for (auto& row : interfaceItems.gridA)
        for (Item* item : row) delete item;
    for (auto& row : interfaceItems.gridB)
        for (Item* item : row) delete item;
    interfaceItems = {};

    delete render;
    render = nullptr;
    delete mapDriver;
    mapDriver = nullptr;
    delete screen;
    screen = nullptr;
    CloseConnection(0);
    DeleteClosedConnections();
    DeleteWorld();
    delete shapes;
    shapes = nullptr;
    delete config;
    config = nullptr;

    Steam::Shutdown();
    for (auto& entry : fonts) delete entry.second;
    fonts.clear();
    ClearSessionLists();
    GFX_Unload();
    if (hwnd) DestroyWindow(hwnd);
    hwnd = nullptr;
    UnregisterClassA("Quarvel", hInstance);
}

void Core::FatalError(const std::string& text) {
    ShowMessageBox(nullptr, text.c_str(), "Veltor - Error", MB_OK);
    ExitProgram(FatalExitCode);
}

Font* Core::GetFont(uint32_t id) { return fonts[id]; }

void Core::AddFont(uint32_t id, Font* font) { fonts[id] = font; }

void Core::InitStatusEffects() {
    for (const char* name : StatusEffectNames) AddStatusEffectName(name);
}

void Core::AddStatusEffectName(const std::string& name) {
    statusEffects.push_back({static_cast<uint32_t>(statusEffects.size()), name, 1, 0});
}

void Core::ToggleStatusShown(uint32_t index) {
    if (index < statusEffects.size()) statusEffects[index].shown ^= 1;
}

void Core::SetHost(const std::string& text) { host = text; }
void Core::SetPort(const std::string& text) { port = text; }
void Core::SetLanguage(const std::string& text) { language = text; }
