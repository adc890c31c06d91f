#include "placeholders.h"

#include <algorithm>
#include <cstring>
#include <deque>

#include "platform.h"
#include "protocol.h"

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

// Screenshots: not taken yet.
void Render::TakeScreenshot() {}

void Core::LoadBooksIndex() { ReadDataVersion(this, "data/Veltor.books", "Veltor.books"); }
void Core::LoadQuests() { ReadDataVersion(this, "data/Veltor.quests", "Veltor.quests"); }
void Core::LoadSpells() { ReadDataVersion(this, "data/Veltor.spells", "Veltor.spells"); }

void ConvertText(std::string& text) {
    std::string converted;
    size_t i = 0;
    while (i < text.size()) {
        const uint8_t lead = uint8_t(text[i]);
        int ones = 0;
        while (ones < 8 && (lead << ones & 0x80)) ++ones;
        const int continuations = ones - 1;
        if (ones == 0 || continuations < 1 || continuations > 5) {
            converted += ones == 0 ? char(lead) : '?';
            ++i;
            continue;
        }
        uint32_t value = lead & (0x7F >> ones);
        size_t next = i + 1;
        for (; next <= i + size_t(continuations); ++next) {
            if (next >= text.size() || (uint8_t(text[next]) & 0xC0) != 0x80) break;
            value = value << 6 | (uint8_t(text[next]) & 0x3F);
        }
        converted += next == i + 1 + size_t(continuations) ? char(value & 0xFF) : '?';
        i = next;
    }
    text = converted;
}

// --- World model and network --------------------------------------------------------------------

void Creature::Walk(uint32_t) {}
World::~World() = default;
void World::UpdateCreatures() {}
Spell::~Spell() = default;

SessionCallback::~SessionCallback() = default;

// The game state: keep-alives only, until its messages are built.
uint8_t Protocol::ParseGame() {
    ++messageCounter;
    const uint8_t op = inBuffer.GetByte();
    if (op == 0)
        --messageCounter;
    else
        core->OnDisconnect("unknown header. (" + std::to_string(op) + ", state: 2, protocol: " +
                           std::to_string(kind) + ")");
    return op;
}

void Protocol::OnSteamCallback(WPARAM, LPARAM) {}
void Protocol::SendTalk(uint8_t, const std::string&) {}

// --- Windows ------------------------------------------------------------------------------------

Window::~Window() = default;
void Window::Paint() {}
void Window::Draw() {}
void Window::Place(int32_t, int32_t) {}
void Window::OnOpen() {}
void Window::Close() { state = 3; }
void Map::UpdateView() {}
void Panelmap::CenterOnPlayer() {}

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

Avatars::Avatars(Core* core) {
    this->core = core;
    typeId = 130;
}

void Avatars::SetAvatarList(std::vector<AvatarEntry> list) { avatars = std::move(list); }
void Avatars::AddAvatar(AvatarEntry entry) { avatars.push_back(std::move(entry)); }
