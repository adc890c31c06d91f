#include "placeholders.h"

#include <algorithm>
#include <cstring>
#include <deque>

#include "platform.h"

// --- Settings file ------------------------------------------------------------------------------

Config::Config(Core* owner, const std::string& path) : owner(owner), path(path) {
    owner->configWidth = 800;
    owner->configHeight = 600;
    owner->depth = 32;
    owner->engine = DriverOpenGL;
    owner->targetFps = 100;
    owner->port = "4080";
    owner->language = "English";
    owner->options.cursor = 1;
    owner->clientWidth = owner->configWidth;
    owner->clientHeight = owner->configHeight;
}

Config::~Config() { Write(); }
void Config::Write() {}

// --- Data files ---------------------------------------------------------------------------------

FILE* OpenDataFile(Core* core, const char* path, const char* shownName) {
    FILE* file = fopen(path, "rb");
    if (!file) core->FatalError(std::string("Failed to load \"") + shownName + "\".");
    return file;
}

void AddDataVersion(Core* core, FILE* file) {
    unsigned char bytes[4];
    if (fread(bytes, 1, 4, file) == 4)
        core->dataVersion += bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24;
}

namespace {

// Opens, adds the leading word and closes one data file.
void ReadDataVersion(Core* core, const char* path, const char* shownName) {
    FILE* file = OpenDataFile(core, path, shownName);
    AddDataVersion(core, file);
    fclose(file);
}

}  // namespace

Shapes::Shapes(Core* owner) : owner(owner) {
    FILE* pixels = OpenDataFile(owner, "data/Veltor.shapes", "data/Veltor.shapes");
    FILE* data = OpenDataFile(owner, "data/Veltor.data", "data/Veltor.data");
    AddDataVersion(owner, data);
    AddDataVersion(owner, pixels);
    fclose(data);
    fclose(pixels);
}

Shapes::~Shapes() = default;
uint32_t Shapes::GetHeaderValue(uint32_t) const { return 0; }

// Screenshots: not taken yet.
void Render::TakeScreenshot() {}

MapDriver::MapDriver(Core* owner) : owner(owner) {
    ReadDataVersion(owner, "data/Veltor.maps", "Veltor.maps");
}

MapDriver::~MapDriver() = default;

void Core::LoadBooksIndex() { ReadDataVersion(this, "data/Veltor.books", "Veltor.books"); }
void Core::LoadQuests() { ReadDataVersion(this, "data/Veltor.quests", "Veltor.quests"); }
void Core::LoadSpells() { ReadDataVersion(this, "data/Veltor.spells", "Veltor.spells"); }

// --- World model and network --------------------------------------------------------------------

Item::Item(Core*, uint32_t, uint32_t, uint16_t, uint16_t, uint8_t, uint32_t, uint32_t) {}
Item::~Item() = default;
void Creature::Walk(uint32_t) {}
World::~World() = default;
void World::UpdateCreatures() {}
Spell::~Spell() = default;

Protocol::~Protocol() = default;
void Protocol::OnSocketEvent(WPARAM, LPARAM) {}
void Protocol::OnSteamCallback(WPARAM, LPARAM) {}
void Protocol::SendPing() {}
void Protocol::SendTalk(uint8_t, const std::string&) {}

// --- Windows ------------------------------------------------------------------------------------

Window::~Window() = default;
void Window::Paint() {}
void Window::Draw() {}
void Window::Place(int32_t, int32_t) {}
void Window::OnOpen() {}
void Window::Close() { state = 3; }

Desktop::Desktop(Core* core) {
    this->core = core;
    typeId = 1;
}

Message::Message(Core* core, const std::string& title, const std::string& text, uint8_t)
    : title(title), text(text) {
    this->core = core;
    typeId = 122;
    modal = 1;
}

Status::Status(Core* core, const std::string& title, const std::string& text, uint32_t kind)
    : title(title), text(text), kind(kind) {
    this->core = core;
    typeId = 121;
    modal = 1;
}

// --- Window list (the least the frame and start-up use) -------------------------------------

Window* Core::AddWindow(Window* window) {
    windows.push_back(window);
    activeWindow = window;
    return window;
}

void Core::RemoveWindow(Window* window) {
    if (!window) return;
    auto found = std::find(windows.begin(), windows.end(), window);
    if (found != windows.end()) windows.erase(found);
    if (focusedInput == window) focusedInput = nullptr;
    if (activeWindow == window) activeWindow = windows.empty() ? nullptr : windows.back();
    delete window;
}

Window* Core::FindWindow(uint32_t type) {
    for (Window* window : windows)
        if (window->typeId == type) return window;
    return nullptr;
}

void Core::OnResize() {
    const std::vector<Window*> copy = windows;
    for (Window* window : copy) window->Place(clientWidth, clientHeight);
    Tick();
}

void Core::ShowMessage(const std::string& title, const std::string& text, uint8_t flag) {
    AddWindow(new Message(this, title, text, flag));
}

void Core::ShowStatus(const std::string& title, const std::string& text) {
    AddWindow(new Status(this, title, text, 0));
}

// --- Game start and end (the least start-up and shut-down use) ------------------------------

void Core::Connect(uint32_t) {}

void Core::OnSocketMessage1(WPARAM wParam, LPARAM lParam) {
    if (connection1) connection1->OnSocketEvent(wParam, lParam);
}

void Core::OnSocketMessage2(WPARAM wParam, LPARAM lParam) {
    if (connection2) connection2->OnSocketEvent(wParam, lParam);
}

void Core::ConfirmLogout() {
    if (!inGame || testWalker.testing) PostQuitMessage(0);
}

void Core::LeaveGame() {
    inGame = 0;
    gameHalted = 0;
    AddWindow(new Desktop(this));
    activeWindow = windows.front();
}

void Core::ClearSessionLists() {
    spellPairs.clear();
    statTable.clear();
    friends.clear();
    partyInvites.clear();
    guilds.clear();
    party.clear();
    pingSamples.clear();
    pingTimes.clear();
    questProgress.clear();
    quests.clear();
}

void Core::ParsePanelData() {}
