// The social and character lists Core keeps while the player is in the game: friends and foes,
// the party and its invitations, muted names, house guests, targets, the ability bar, the stat
// table and the guild entries. Server messages fill them, and a change marks the window that
// shows the list dirty. Names compare byte for byte, so every look-up is case-sensitive.
#include <algorithm>
#include <iterator>
#include <vector>

#include "core.h"
#include "creature.h"
#include "netbuffer.h"
#include "windows/dialogs/house.h"
#include "windows/game/friendlist.h"
#include "windows/toolkit/window.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint8_t StatusFighting = 6;

// Ability-bar message bytes: a skip of n slots (n follows), and one empty slot.
constexpr uint8_t BarSkip = 254;
constexpr uint8_t BarEmpty = 255;
constexpr uint32_t BarSlots = 254;

template <typename List>
auto FindByName(List& list, const std::string& name) {
    return std::find_if(list.begin(), list.end(), [&](const auto& e) { return e.name == name; });
}

template <typename List>
auto FindById(List& list, uint32_t id) {
    return std::find_if(list.begin(), list.end(), [&](const auto& e) { return e.id == id; });
}

template <typename List>
void EraseFirstWithId(List& list, uint32_t id) {
    auto found = FindById(list, id);
    if (found != list.end()) list.erase(found);
}

// The first record named oldName takes the new name; false when no record has that name.
template <typename List>
bool RenameFirst(List& list, const std::string& oldName, const std::string& newName) {
    auto found = FindByName(list, oldName);
    if (found == list.end()) return false;
    found->name = newName;
    return true;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

void EraseFirstName(std::vector<std::string>& names, const std::string& name) {
    auto found = std::find(names.begin(), names.end(), name);
    if (found != names.end()) names.erase(found);
}

// Stat ids come in three runs (from 17, from 32 and from 48) that are packed one after another
// into the table; the position wraps at 256 like the byte it is.
uint8_t StatPosition(uint8_t id) {
    return static_cast<uint8_t>(id < 32 ? id - 17 : id < 48 ? id - 30 : id - 38);
}

// Positions past the table the character message filled are ignored.
void SetStatByte(std::vector<StatEntry>& table, uint8_t id, uint32_t byte, uint8_t value) {
    const uint8_t position = StatPosition(id);
    if (position < table.size()) table[position].bytes[byte] = value;
}

void AppendTarget(Core& core, Creature* creature) {
    core.targets.push_back(creature);
    creature->selectedAt = core.frameTimeMs;
}

void RebuildSpellbar(Core& core) {
    if (Window* bar = core.FindWindow(WindowType::Spellbar)) bar->OnOpen();
}

std::vector<GuildInfo> GuildsMarked(const std::vector<GuildInfo>& guilds, bool marked) {
    std::vector<GuildInfo> chosen;
    std::copy_if(guilds.begin(), guilds.end(), std::back_inserter(chosen),
                 [&](const GuildInfo& guild) { return (guild.invitation != 0) == marked; });
    return chosen;
}

}  // namespace

// --- Friends and foes ---------------------------------------------------------------------------

void Core::AddFriend(const FriendRecord& record) {
    // Before the first name that sorts after it, so equal names keep their arrival order. A
    // linear search, since a rename may have left the list out of order.
    auto place = std::find_if(friends.begin(), friends.end(),
                              [&](const FriendRecord& other) { return record.name < other.name; });
    friends.insert(place, record);
    MarkWindowsDirty(WindowType::Friendlist);
}

void Core::UpdateFriend(uint32_t id, uint8_t state, uint8_t second, const std::string& text) {
    auto found = FindById(friends, id);
    if (found != friends.end()) {
        found->state = state;
        found->second = second;
        found->text = text;
    }
    MarkWindowsDirty(WindowType::Friendlist);
}

void Core::RemoveFriend(uint32_t id) {
    EraseFirstWithId(friends, id);
    MarkWindowsDirty(WindowType::Friendlist);
}

// The record keeps its place: the list is not sorted again.
void Core::RenameFriend(const std::string& oldName, const std::string& newName) {
    if (RenameFirst(friends, oldName, newName)) MarkWindowsDirty(WindowType::Friendlist);
}

bool Core::IsOwnName(const std::string& name) const {
    return name == (player ? player->name : avatarName);
}

bool Core::IsOnFriendList(const std::string& name) {
    return FindByName(friends, name) != friends.end();
}

std::string Core::FriendsTitle() {
    const bool anyFoe = std::any_of(friends.begin(), friends.end(),
                                    [](const FriendRecord& record) { return record.foe != 0; });
    return anyFoe ? "Friends & Foes" : "Friends";
}

void Core::AddFoe(const std::string& name) { foes.push_back(name); }

void Core::ToggleFoe(const std::string& name) {
    auto found = FindByName(friends, name);
    if (found == friends.end()) return;
    if (found->foe == 0) foes.push_back(name);
    else EraseFirstName(foes, name);
    found->foe = found->foe ? 0 : 1;
    // The list shows the foe mark, so it is repainted as well as re-measured.
    MarkWindowsDirty(WindowType::Friendlist);
    if (auto* list = dynamic_cast<Friendlist*>(FindWindow(WindowType::Friendlist)))
        list->UpdateScroll();
    // The status panel shows the friends title, which may have changed.
    if (paneltopWindow) paneltopWindow->Refresh();
}

// --- Party and invitations ----------------------------------------------------------------------

void Core::AddPartyMember(uint32_t id, const std::string& name, uint8_t first, uint8_t second) {
    const uint8_t leader = party.empty() ? 1 : 0;
    party.push_back({id, name, first, second, leader});
}

void Core::RemovePartyMember(uint32_t id) { EraseFirstWithId(party, id); }

void Core::ClearParty() { party.clear(); }

void Core::SetPartyLeader(uint32_t id) {
    for (PartyMember& member : party) member.leader = member.id == id ? 1 : 0;
}

void Core::RenamePartyMember(const std::string& oldName, const std::string& newName) {
    if (RenameFirst(party, oldName, newName)) MarkWindowsDirty(WindowType::Partylist);
}

PartyMember Core::FindPartyMember(uint32_t id) {
    auto found = FindById(party, id);
    return found != party.end() ? *found : PartyMember{};
}

PartyMember Core::FindPartyMemberByName(const std::string& name) {
    auto found = FindByName(party, name);
    return found != party.end() ? *found : PartyMember{};
}

bool Core::IsPartyMember(const std::string& name) { return FindByName(party, name) != party.end(); }

bool Core::IsPartyLeaderSelf() {
    if (!player) return false;
    auto leader = std::find_if(party.begin(), party.end(),
                               [](const PartyMember& member) { return member.leader != 0; });
    return leader != party.end() && leader->id == player->id;
}

void Core::AddPartyInvite(uint32_t id, const std::string& name) {
    partyInvites.push_back({id, name});
}

bool Core::HasPartyInvite(uint32_t id) { return FindById(partyInvites, id) != partyInvites.end(); }

void Core::RemovePartyInvite(uint32_t id) { EraseFirstWithId(partyInvites, id); }

// --- Muted names and house guests ---------------------------------------------------------------

void Core::AddMuted(const std::string& name) { muted.push_back(name); }

bool Core::IsMuted(const std::string& name) { return Contains(muted, name); }

void Core::RemoveMuted(const std::string& name) { EraseFirstName(muted, name); }

void Core::RenameMuted(const std::string& oldName, const std::string& newName) {
    auto found = std::find(muted.begin(), muted.end(), oldName);
    if (found != muted.end()) *found = newName;
}

void Core::RenameHouseGuest(const std::string& oldName, const std::string& newName) {
    if (!RenameFirst(houseInfo.guests, oldName, newName)) return;
    ReloadHouseGuests(*this);
    MarkWindowsDirty(WindowType::House);
}

// --- Targets ------------------------------------------------------------------------------------

// Mode 0 makes the creature (when given) the only target, mode 1 adds a named creature that is
// not a target yet, mode 2 removes it.
void Core::SelectTarget(uint8_t mode, Creature* creature) {
    switch (mode) {
        case 0:
            targets.clear();
            if (creature) AppendTarget(*this, creature);
            break;
        case 1:
            if (creature && !IsTarget(creature) && !creature->IsUnnamed())
                AppendTarget(*this, creature);
            break;
        case 2: {
            auto found = std::find(targets.begin(), targets.end(), creature);
            if (found != targets.end()) targets.erase(found);
            break;
        }
        default: break;
    }
}

bool Core::IsTarget(Creature* creature) {
    return std::find(targets.begin(), targets.end(), creature) != targets.end();
}

Creature* Core::FindTargetById(uint32_t id) {
    auto found = std::find_if(targets.begin(), targets.end(),
                              [&](const Creature* creature) { return creature->id == id; });
    return found != targets.end() ? *found : nullptr;
}

// --- Ability bar --------------------------------------------------------------------------------

// A slot holds one ability: a new entry replaces the slot's old one and goes last, as it came.
// So the list cannot grow past the slots the server can name, however often it sends them.
void Core::AddSpellEntry(uint32_t slot, uint32_t value) {
    auto same = std::find_if(spellPairs.begin(), spellPairs.end(),
                             [&](const SpellBarEntry& entry) { return entry.slot == slot; });
    if (same != spellPairs.end()) spellPairs.erase(same);
    spellPairs.push_back({slot, value});
}

// The message carries the whole bar, so it replaces the list. Per slot from 0: BarSkip and a
// count leave that many slots empty, BarEmpty leaves one empty, any other byte is the low byte
// of an ability id whose high byte follows. A message cut short changes nothing.
void Core::LoadSpellBar(NetBuffer& message) {
    std::vector<SpellBarEntry> entries;
    for (uint32_t slot = 0; slot < BarSlots && !message.Failed();) {
        const uint8_t low = message.GetByte();
        if (low == BarSkip) {
            slot += message.GetByte();
        } else if (low == BarEmpty) {
            ++slot;
        } else {
            const uint8_t high = message.GetByte();
            entries.push_back({slot, uint32_t(low | high << 8)});
            ++slot;
        }
    }
    if (message.Failed()) return;
    ResetSpells();
    spellPairs.clear();
    for (const SpellBarEntry& entry : entries) AddSpellEntry(entry.slot, entry.value);
    RebuildSpellbar(*this);
}

void Core::LoadSpellBarSlot(NetBuffer& message) {
    const uint8_t slot = message.GetByte();
    const uint16_t value = message.GetU16();
    if (!message.Failed()) AddSpellEntry(slot, value);
    RebuildSpellbar(*this);
}

// --- Stat table and guild entries ---------------------------------------------------------------

void Core::SetStatValue0(uint8_t id, uint8_t value) { SetStatByte(statTable, id, 0, value); }
void Core::SetStatValue1(uint8_t id, uint8_t value) { SetStatByte(statTable, id, 1, value); }
void Core::SetStatValue2(uint8_t id, uint8_t value) { SetStatByte(statTable, id, 2, value); }

std::vector<GuildInfo> Core::UnmarkedEntries() { return GuildsMarked(guilds, false); }
std::vector<GuildInfo> Core::MarkedEntries() { return GuildsMarked(guilds, true); }

// --- Logging out --------------------------------------------------------------------------------

bool Core::IsStatusActive(uint8_t index) {
    return index < statusEffects.size() && statusEffects[index].active;
}

// Whether the logout question may let the player go: not while fighting, unless the player's
// state byte allows it or the game is halted (the player died, or went on after a server crash).
bool Core::CheckPlayerFlag() {
    if (player && player->isPrivileged()) return true;
    return !IsStatusActive(StatusFighting) || gameHalted;
}
