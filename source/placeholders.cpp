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

MapDriver::MapDriver(Core* owner) : owner(owner) {
    ReadDataVersion(owner, "data/Veltor.maps", "Veltor.maps");
}

MapDriver::~MapDriver() = default;

bool PlaceJournalMarkers(MapDriver*, const std::vector<JournalMarker>&) { return false; }

// --- World model and network --------------------------------------------------------------------

void Creature::Walk(uint32_t) {}
void Creature::StampTime() {}
World::~World() = default;
void World::UpdateCreatures() {}

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
// No recording can be started yet: nothing to keep.
void Protocol::RecordClientMessage(const NetworkMessage&) {}

// --- Windows ------------------------------------------------------------------------------------

Desktop::Desktop(Core* core) : Window(core) { typeId = 1; }

Padding::Padding(Core* core, Window* owner) : Window(core) {
    this->owner = owner;
    typeId = 13;
}

Field::Field(Core* core, Padding* padding) : Window(core), padding(padding) { typeId = 14; }

Channel::Channel(uint8_t id) : id(id) {}

void Channel::AddLine(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha, const std::string& text) {
    lines.push_back({text, uint32_t(alpha) << 24 | uint32_t(red) << 16 | uint32_t(green) << 8 | blue});
}

void Channel::SetTabMark(uint8_t mark) { tabMark = mark; }

Console::Console(Core* core) : Window(core) { typeId = 11; }

Channel* Console::FindChannel(uint8_t id) {
    for (const auto& channel : channels)
        if (channel->id == id) return channel.get();
    return nullptr;
}

// --- Game start and end (the least start-up and shut-down use) ------------------------------

// While in combat (status effect 6) the player may not leave the game.
bool Core::CheckPlayerFlag() { return !(statusEffects.size() > 6 && statusEffects[6].active); }

void Core::MoveThing(Thing*, bool, bool, uint8_t) {}

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

// --- Front screens and game dialogs -------------------------------------------------------------

Avatars::Avatars(Core* core) : Window(core) { typeId = 130; }

void Avatars::SetAvatarList(std::vector<AvatarEntry> list) { avatars = std::move(list); }
void Avatars::AddAvatar(AvatarEntry entry) { avatars.push_back(std::move(entry)); }
void Avatars::DeleteSelected() { ++deletions; }
void Avatars::RestoreSelected() { ++restorations; }
void Avatars::Close() { state = 3; }

Link::Link(Core* core) : Window(core) { typeId = 100; }

Look::Look(Core* core, std::string title, std::string text, int32_t x, int32_t y,
           uint8_t hintStyle)
    : Window(core),
      openedAt(core->frameTimeMs),
      title(std::move(title)),
      text(std::move(text)),
      hintStyle(hintStyle) {
    this->x = x;
    this->y = y;
    typeId = 61;
}

void Look::Draw() {
    if (core->frameTimeMs - openedAt >= static_cast<uint64_t>(lifetimeMs)) state = 3;
}

Shop::Shop(Core* core) : Window(core) { typeId = 159; }
void Shop::ConfirmSell() { ++salesConfirmed; }
