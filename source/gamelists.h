#pragma once
// The records of the lists Core keeps while the player is in the game (friends, party, guilds,
// house guests, the ability bar, the stat table and the per-avatar panel layouts) and of the
// status effects the server switches.
#include <cstdint>
#include <string>
#include <vector>

struct FriendRecord {
    uint32_t id;
    uint8_t state;
    std::string name;
    uint8_t second;
    std::string text;
    uint8_t foe;
};

struct PartyMember {
    uint32_t id;
    std::string name;
    uint8_t first;
    uint8_t second;
    uint8_t leader;
};

struct PartyInvite {
    uint32_t id;
    std::string name;
};

struct HouseGuest {
    std::string name;
    uint32_t role;
};

// The player's own house, as the server last sent it.
struct HouseInfo {
    uint32_t houseId{};
    uint16_t type{};
    uint16_t size{};  // square metres
    uint32_t rent{};  // copper coins
    uint32_t secondsToDue{};
    uint8_t daysToDue{};    // whole days left to the next rent payment, at most 255
    uint64_t receivedAt{};  // wall-clock milliseconds the countdown starts from
    std::string town;
    std::string nameFirst;
    std::string nameSecond;
    std::vector<HouseGuest> guests;
};

struct GuildMember {
    std::string name;
    uint8_t flags;
    uint32_t value;
};

struct GuildInfo {
    uint32_t id;
    std::string name;
    uint32_t value;
    uint8_t invitation;  // 1: an invitation to join the guild; 0: the player's own guild
    uint8_t flag;
    std::vector<GuildMember> members;
};

struct SpellBarEntry {
    uint32_t slot;
    uint32_t value;
};

struct StatEntry {
    uint8_t bytes[3];
};

struct PanelRecord {
    std::string name;
    std::vector<std::string> right;
    std::vector<std::string> left;
};

// Indexes into Core::statusEffects that the client itself acts on.
constexpr uint8_t StatusDrunk = 9;

struct StatusEffect {
    uint32_t index;
    std::string name;
    uint8_t shown;
    uint8_t active;
};
