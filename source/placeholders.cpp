#include "placeholders.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <initializer_list>

#include "creature.h"
#include "platform.h"
#include "protocol.h"
#include "world.h"


// --- World model and network --------------------------------------------------------------------

FieldEffect::~FieldEffect() = default;

EffectList::EffectList(Core* owner) : owner(owner) {}
EffectList::~EffectList() { Clear(); }
void EffectList::Clear() {
    for (FieldEffect* effect : effects) delete effect;
    effects.clear();
}

void Paragraphs::Add(const std::string& text, Creature*) { texts.push_back(text); }

Weather::Weather(Core* owner) : owner(owner) {}
Weather::~Weather() = default;
void Weather::Update(uint32_t value, uint8_t) { lightValue = value; }
void Weather::Scroll(float dx, float dy) {
    scrollX += dx;
    scrollY += dy;
}

// Built with the world's picking and drawing: the talk hint and the per-frame creature pass.
void World::ShowTalkHint(int32_t, int32_t, Creature*, Creature*) {}
// The least path search: one step straight towards the goal on the same floor.
bool World::WalkTo(Creature* creature, Position goal) {
    creature->path.clear();
    const Position from = creature->position;
    if (goal.z != from.z || goal == from) return false;
    const int32_t dx = goal.x > from.x ? 1 : goal.x < from.x ? -1 : 0;
    const int32_t dy = goal.y > from.y ? 1 : goal.y < from.y ? -1 : 0;
    for (uint8_t direction = 0; direction < 8; ++direction)
        if (DirectionDeltaX(direction) == dx && DirectionDeltaY(direction) == dy) creature->path.push_back(direction);
    return true;
}
Tile* World::PickThing(int32_t, int32_t, uint8_t) { return nullptr; }
void World::AddShapeLight(Shape*, int32_t, int32_t, int32_t, int32_t, uint8_t) {}
void World::AddItemLight(Item*, int32_t, int32_t) {}
void World::UpdateCreatures() {
    DropOverhangs();
    for (Creature* creature : creatures) creature->UpdateWalk();
}

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
void Map::UpdateView() {}
void Panelmap::CenterOnPlayer() {}

Padding::Padding(Core* core, Window* owner) : Window(core) {
    this->owner = owner;
    typeId = 13;
}

Field::Field(Core* core, Padding* padding) : Window(core), padding(padding) { typeId = 14; }

Friendlist::Friendlist(Core* core) : Window(core) { typeId = 52; }

Channel::Channel(uint8_t id) : id(id) {}

void Channel::AddLine(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha, const std::string& text) {
    lines.push_back({text, uint32_t(alpha) << 24 | uint32_t(red) << 16 | uint32_t(green) << 8 | blue, ""});
}

void Channel::SetTabMark(uint8_t mark) { tabMark = mark; }

Console::Console(Core* core) : Window(core) { typeId = 11; }

Channel* Console::FindChannel(uint8_t id) {
    for (const auto& channel : channels)
        if (channel->id == id) return channel.get();
    return nullptr;
}

void Friendlist::UpdateScroll() {
    scrollTotal = static_cast<int32_t>(core->friends.size()) * 13 + 4;
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

// --- Game screen --------------------------------------------------------------------------------

void Channel::AddNamedLine(const std::string& text, Creature*) { lines.push_back({text, 0, ""}); }

void Channel::AddSpeakerText(const std::string& speaker, const std::string& text) {
    lines.push_back({text, 0, speaker});
}

Chatbox::Chatbox(Core* core) : Window(core) {}

Channel* Chatbox::FindChannel(uint32_t id) {
    auto found = channels.find(id);
    return found == channels.end() ? nullptr : &found->second;
}

void Chatbox::SelectNextTab() {
    if (!channels.empty()) selectedTab = (selectedTab + 1) % channels.size();
}

void Chatbox::SelectPreviousTab() {
    if (!channels.empty()) selectedTab = (selectedTab + channels.size() - 1) % channels.size();
}

Action::Action(Core* core, uint32_t, std::string title, uint32_t subjectId)
    : Window(core), title(std::move(title)), subjectId(subjectId) {}

void Action::AddEntry(uint32_t code, const std::string& label) { entries.push_back({code, label, ""}); }

void Action::AddEntryWithHint(uint32_t code, const std::string& label, const std::string& hint) {
    entries.push_back({code, label, hint});
}

void Action::Open(int32_t screenX, int32_t screenY) {
    x = screenX;
    y = screenY;
}

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
