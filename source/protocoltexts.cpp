// Texts the client words itself from a code or a few numbers: the fixed server texts (op 95),
// the damage line (op 20), the experience line (op 22) and the player's death (op 252).
#include <algorithm>
#include <cctype>
#include <string>

#include "core.h"
#include "creature.h"
#include "item.h"
#include "motions.h"
#include "notification.h"
#include "protocol.h"
#include "tile.h"
#include "windows/game/channel.h"
#include "windows/game/console.h"
#include "windows/game/container.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

// How a fixed text is shown: a message box with its title, or a notification line of a kind.
struct ServerText {
    uint8_t code;
    const char* boxTitle;  // null: a notification line
    uint8_t kind;
    const char* text;
};

constexpr uint8_t FirstSkillCode = 84, LastSkillCode = 95, LevelCode = 80;
constexpr uint8_t MissingFriendCode = 1, KnownFriendCode = 2, ContainerFullCode = 25;

const ServerText ServerTexts[] = {
    {1, "Friendlist", 0, "This 'friend' does not exist."},
    {2, "Friendlist", 0, "This friend is already in your list."},
    {3, "Friendlist", 0, "This 'friend' is not in your list."},
    {4, "Shop", 0, "You cannot sell this item in this shop."},
    {5, "Shop", 0, "You can only sell empty containers."},
    {6, nullptr, 1, "This player is not online."},
    {7, nullptr, 1, "The level difference between you and this player is too high."},
    {8, nullptr, 2, "You cannot throw this item there."},
    {9, nullptr, 2, "This container is already open."},
    {10, nullptr, 2, "You need more mana."},
    {11, "Shop", 0, "You do not have enough money."},
    {12, nullptr, 2, "A creature blocks this item's usability."},
    {13, nullptr, 2, "This tile is stacked full."},
    {14, nullptr, 2, "This door is locked."},
    {15, nullptr, 2, "This key does not fit."},
    {16, nullptr, 2, "You feel hungry."},
    {17, nullptr, 2, "You feel too full."},
    {18, nullptr, 2, "You need to wield a distance weapon."},
    {19, nullptr, 2, "You need to wield a melee weapon."},
    {20, nullptr, 2, "You need both hands to wield a two-handed weapon."},
    {21, nullptr, 2, "Free both of your hands to wield this weapon."},
    {22, nullptr, 2, "You ran out of mana."},
    {23, nullptr, 2, "You've lost your target."},
    {24, nullptr, 2, "Target is out of range."},
    {25, nullptr, 2, "Container is full."},
    {26, nullptr, 2, "Slot is full."},
    {27, "Guild", 0, "No player by this name exists."},
    {33, nullptr, 10, "You have been cured from poison."},
    {80, nullptr, 4, "Your level has increased!"},
    {81, nullptr, 4, "Your strength has increased!"},
    {82, nullptr, 4, "Your dexterity has increased!"},
    {83, nullptr, 4, "Your wisdom has increased!"},
    {84, nullptr, 4, "Your sword skill has increased!"},
    {85, nullptr, 4, "Your dagger skill has increased!"},
    {86, nullptr, 4, "Your polearm skill has increased!"},
    {87, nullptr, 4, "Your hammer skill has increased!"},
    {88, nullptr, 4, "Your defense skill has increased!"},
    {89, nullptr, 4, "Your archery skill has increased!"},
    {90, nullptr, 4, "Your throwing skill has increased!"},
    {91, nullptr, 4, "Your firearms skill has increased!"},
    {92, nullptr, 4, "Your nature skill has increased!"},
    {93, nullptr, 4, "Your destruction skill has increased!"},
    {94, nullptr, 4, "Your protection skill has increased!"},
    {95, nullptr, 4, "Your support skill has increased!"},
    {101, "Shop", 0, "Unable to trade this item beacuse your main container is full."},
};

// The colour and the word of a damage type; types without a colour add a plain line.
struct DamageLook {
    uint8_t type;
    uint8_t red, green, blue;
    const char* word;  // null: none
};

const DamageLook DamageLooks[] = {
    {3, 128, 224, 128, "poison"}, {4, 128, 128, 224, "magic"}, {5, 160, 160, 160, nullptr},
    {6, 196, 96, 224, nullptr},   {7, 224, 224, 32, nullptr},  {8, 224, 160, 64, "fire"},
    {9, 183, 218, 226, "frost"},  {10, 32, 190, 224, nullptr}, {11, 128, 160, 224, nullptr},
    {12, 224, 160, 160, nullptr},
};

constexpr uint8_t LineAlpha = 224, WhiteAlpha = 255;
constexpr int32_t HealthScale = 200;
constexpr uint8_t DeathKind = 5;
constexpr uint8_t ExperienceNumberKind = 1;

Channel* InfoChannel(Core* core) {
    auto* console = dynamic_cast<Console*>(core->consoleWindow);
    return console ? console->FindChannel(ChannelId::Info) : nullptr;
}

void MarkPlayerTextsDirty(Core* core) {
    if (core->consoleWindow) core->consoleWindow->dirty = 1;
    core->MarkWindowsDirty(WindowType::Character);
}

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(uint8_t(c)));
    return text;
}

// A creature named by a common noun reads "a rat", "an orc"; any other by its own name.
std::string AttackerName(const Creature& creature) {
    if (!creature.privileged || creature.flagged) return creature.name;
    const std::string name = Lower(creature.name);
    const bool vowel = std::string("aeiou").find(name[0]) != std::string::npos;
    return std::string(vowel ? "an " : "a ") + name;
}

}  // namespace

void Protocol::server_text() {
    const uint8_t code = inBuffer.GetByte();
    if (inBuffer.Failed()) return;
    const auto* entry = std::find_if(std::begin(ServerTexts), std::end(ServerTexts),
                                     [code](const ServerText& text) { return text.code == code; });
    if (entry == std::end(ServerTexts)) return;
    if (code == MissingFriendCode || code == KnownFriendCode) {
        if (!pendingFriends.empty()) pendingFriends.pop_front();
        if (!pendingFriendGroups.empty()) pendingFriendGroups.pop_front();
        if (!pendingFriendNotes.empty()) pendingFriendNotes.pop_front();
    }
    if (entry->boxTitle) {
        core->ShowMessage(entry->boxTitle, entry->text, 0);
        return;
    }
    if (code == ContainerFullCode && core->useItemY <= 0xFF)
        if (Container* container = core->FindContainerWindow(uint8_t(core->useItemY)))
            container->Highlight();
    if (core->world) core->world->notification->Add(entry->kind, entry->text);
    if (code == LevelCode || (code >= FirstSkillCode && code <= LastSkillCode))
        ScheduleScreenshot();
}

// Fields: the attacker's creature id, the damage type, the amount.
void Protocol::hitpoint_text() {
    const uint32_t attackerId = inBuffer.GetU32();
    const uint8_t type = inBuffer.GetByte();
    const uint16_t amount = inBuffer.GetU16();
    Creature* player = core->player;
    if (inBuffer.Failed() || !player) return;
    core->hp -= amount;
    if (core->maxHp > 0)
        player->SetHealth(uint8_t(std::clamp(int64_t(core->hp) * HealthScale / core->maxHp,
                                             int64_t(0), int64_t(HealthScale))));
    Channel* info = InfoChannel(core);
    if (core->options.damage && info) {
        std::string line = "You've lost " + std::to_string(amount) + " hitpoint";
        if (amount != 1) line += "s";
        const Creature* attacker = core->world ? core->world->GetCreature(attackerId) : nullptr;
        if (attacker && !attacker->IsUnnamed()) line += " by " + AttackerName(*attacker);
        const auto* look = std::find_if(std::begin(DamageLooks), std::end(DamageLooks),
                                        [type](const DamageLook& l) { return l.type == type; });
        const bool coloured = look != std::end(DamageLooks);
        if (coloured && look->word) line += std::string(" due to ") + look->word;
        line += ".";
        if (coloured) info->AddLine(look->red, look->green, look->blue, LineAlpha, line);
        else info->AddSpeakerText("", line);
    }
    MarkPlayerTextsDirty(core);
}

// Fields: the amount, then the level progress.
void Protocol::experience_text() {
    const uint16_t amount = inBuffer.GetU16();
    const uint32_t progress = inBuffer.GetVarint();
    if (inBuffer.Failed()) return;
    core->experienceNext = progress;
    if (amount == 0) return;
    core->experience += amount;
    if (core->player && core->world)
        core->world->motions->Add(core->player, ExperienceNumberKind, amount);
    Channel* info = InfoChannel(core);
    if (core->options.experience && info)
        info->AddLine(WhiteAlpha, WhiteAlpha, WhiteAlpha, WhiteAlpha,
                      "You've gained " + std::to_string(amount) + " experience point" +
                          (amount > 1 ? "s." : "."));
    MarkPlayerTextsDirty(core);
}

// Fields: the corpse's item record. The server closes the connection after it.
void Protocol::death() {
    ItemRecord corpse;
    const bool known = ReadItem(corpse);
    if (inBuffer.Failed()) return;
    Creature* player = core->player;
    if (known && player && core->world) {
        Tile* tile = core->world->GetTile(player->position.Packed(), player->position.z);
        if (!tile) {
            core->OnDisconnect("death: unknown tile location for enter shape.");
            return;
        }
        tile->AddThing(new Item(core, corpse.shapeId, corpse.subId, player->position.x,
                                player->position.y, player->position.z, corpse.count, ItemIdle));
    }
    if (core->world) core->world->notification->Add(DeathKind, "You are dead");
    ScheduleScreenshot();
    if (Channel* info = InfoChannel(core)) {
        info->AddLine(WhiteAlpha, WhiteAlpha, WhiteAlpha, WhiteAlpha, "You are dead.");
        info->AddSpeakerText(
            "", "Login again to be reincarnated in the temple of the last town you visited.");
    }
    core->gameHalted = 1;
}
