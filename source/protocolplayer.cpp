// Player messages of the game state: hit points, mana, experience, capacity, statistics, status
// effects, outfits, the abilities' texts, states and bar, and the place on the world map.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "converttext.h"
#include "core.h"
#include "creature.h"
#include "mapdriver.h"
#include "mappart.h"
#include "notification.h"
#include "protocol.h"
#include "spell.h"
#include "weather.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

// The statistics of the player status record, and the end of its updates.
const int StatCount = 15;
const uint8_t StatUpdatesEnd = 255;
// Ability states carry their times in units of 10 ms.
const uint32_t StateTimeUnit = 10;

// The effects of the given indexes become active, all others inactive; indexes past the list
// are ignored.
void SetStatusEffects(Core& core, const std::vector<uint8_t>& activeIndexes) {
    for (StatusEffect& effect : core.statusEffects) effect.active = 0;
    for (const uint8_t index : activeIndexes)
        if (index < core.statusEffects.size()) core.statusEffects[index].active = 1;
}

void SetPoints(Core& core, uint16_t hp, uint16_t mana) {
    core.hp = hp;
    core.mana = mana;
    if (core.player && core.maxHp != 0)
        core.player->SetHealth(uint8_t(std::min(core.hp * 200 / core.maxHp, 200)));
    if (core.options.widescreen) {
        core.MarkWindowsDirty(WindowType::Equipment);
        core.MarkWindowsDirty(WindowType::Spellbar);
    } else {
        core.MarkWindowsDirty(WindowType::Console);
    }
    core.MarkWindowsDirty(WindowType::Character);
}

// The player status record as read, applied only once the whole of it has arrived.
struct PlayerStatus {
    uint16_t maxHp, maxMana, speed, level;
    uint32_t experience, experienceNext, skillPool;
    uint16_t attributePoints;
    uint8_t vocation;
    uint32_t capacity;
    uint16_t hp, mana;
    std::vector<StatEntry> stats;
    std::vector<std::pair<uint8_t, uint8_t>> statUpdates;
    std::vector<uint8_t> activeEffects;
    std::vector<uint32_t> outfits;
    int8_t light;
};

}  // namespace

void Protocol::player_status() {
    PlayerStatus status;
    status.maxHp = inBuffer.GetU16();
    status.maxMana = inBuffer.GetU16();
    status.speed = inBuffer.GetU16();
    status.level = inBuffer.GetU16();
    status.experience = inBuffer.GetU32();
    status.experienceNext = inBuffer.GetU32();
    status.skillPool = inBuffer.GetVarint();
    status.attributePoints = inBuffer.GetU16();
    status.vocation = inBuffer.GetByte();
    status.capacity = inBuffer.GetVarint();
    status.hp = inBuffer.GetU16();
    status.mana = inBuffer.GetU16();
    for (int i = 0; i < StatCount && !inBuffer.Failed(); ++i) {
        const uint8_t a = inBuffer.GetByte();
        const uint8_t b = inBuffer.GetByte();
        status.stats.push_back(StatEntry{{a, b, 0}});
    }
    while (!inBuffer.Failed()) {
        const uint8_t id = inBuffer.GetByte();
        if (id == StatUpdatesEnd || inBuffer.Failed()) break;
        status.statUpdates.emplace_back(id, inBuffer.GetByte());
    }
    status.activeEffects = ReadStatusEffects();
    const uint8_t outfitCount = inBuffer.GetByte();
    for (uint8_t i = 0; i < outfitCount && !inBuffer.Failed(); ++i)
        status.outfits.push_back(inBuffer.GetU16());
    status.light = int8_t(inBuffer.GetByteOrZero());
    if (inBuffer.Failed()) return;

    SetStatusEffects(*core, status.activeEffects);
    core->outfits = std::move(status.outfits);
    core->statTable = std::move(status.stats);
    core->maxHp = status.maxHp;
    core->maxMana = status.maxMana;
    if (core->player) core->player->speed = status.speed;
    core->playerLevel = status.level;
    core->experience = status.experience;
    core->experienceNext = status.experienceNext;
    core->skillPool = status.skillPool;
    core->attributePoints = status.attributePoints;
    core->vocation = status.vocation;
    core->capacity = status.capacity;
    SetPoints(*core, status.hp, status.mana);
    for (const auto& [id, value] : status.statUpdates) core->SetStatValue2(id, value);
    if (core->world && core->world->weather) core->world->weather->SetLight(status.light);
}

void Protocol::player_points() {
    const uint16_t hp = inBuffer.GetU16();
    const uint16_t mana = inBuffer.GetU16();
    if (!inBuffer.Failed()) SetPoints(*core, hp, mana);
}

void Protocol::stat_first_third() {
    const uint8_t id = inBuffer.GetByte();
    const uint8_t first = inBuffer.GetByte();
    const uint8_t third = inBuffer.GetByte();
    core->SetStatValue0(id, first);
    core->SetStatValue2(id, third);
    core->MarkWindowsDirty(WindowType::Character);
}

void Protocol::stat_second() {
    const uint8_t id = inBuffer.GetByte();
    core->SetStatValue1(id, inBuffer.GetByte());
    core->MarkWindowsDirty(WindowType::Character);
}

std::vector<uint8_t> Protocol::ReadStatusEffects() {
    std::vector<uint8_t> indexes;
    const uint8_t count = inBuffer.GetByte();
    for (uint8_t i = 0; i < count && !inBuffer.Failed(); ++i) indexes.push_back(inBuffer.GetByte());
    return indexes;
}

void Protocol::status_effects() {
    const std::vector<uint8_t> activeIndexes = ReadStatusEffects();
    if (inBuffer.Failed()) return;
    SetStatusEffects(*core, activeIndexes);
    core->MarkWindowsDirty(WindowType::Equipment);
}

void Protocol::carried_weight() {
    core->carriedWeight = inBuffer.GetVarint();
    core->shopValue = inBuffer.GetVarint();
    core->MarkWindowsDirty(WindowType::Shop);
}

// Ability texts: records until a flags byte of 0.
void Protocol::creature_effect() {
    while (!closed) {
        const uint8_t flags = inBuffer.GetByte();
        if (flags == 0 || inBuffer.Failed()) return;
        Spell* spell = core->FindSpell(inBuffer.GetU16());
        if (flags & 1) {
            ItemRecord icon;
            if (!ReadItem(icon)) {
                FailFatally("creature_effect: unknown shape id.");
                return;
            }
        }
        std::string texts[5];
        for (int bit = 1; bit <= 5; ++bit)
            if (flags >> bit & 1) texts[bit - 1] = inBuffer.GetStringVar();
        if (!spell || inBuffer.Failed()) continue;
        if (flags & 2) spell->name = texts[0];
        if (flags & 4) {
            ConvertText(texts[1]);
            spell->BuildDescription(texts[1]);
        }
        if (flags & 8) spell->manaText = texts[2];
        if (flags & 16) spell->serverText = texts[3];
    }
}

void Protocol::map_position() {
    MapSelection next = core->mapDriver ? core->mapDriver->selection : MapSelection{};
    next.page = int8_t(inBuffer.GetByteOrZero());
    next.part = int8_t(inBuffer.GetByteOrZero());
    next.x = inBuffer.GetU16();
    next.y = inBuffer.GetU16();
    next.z = inBuffer.GetByte();
    if (inBuffer.Failed()) return;
    if (!core->mapDriver) {
        core->OnDisconnect("map driver error");
        return;
    }
    core->mapDriver->UpdatePosition(next);
}

// All fields are read first: a short message is a read failure, with or without a driver.
void Protocol::select_map() {
    MapSelection next = core->mapDriver ? core->mapDriver->selection : MapSelection{};
    next.mapId = inBuffer.GetU16();
    for (uint8_t& byte : next.key) byte = inBuffer.GetByte();
    next.page = int8_t(inBuffer.GetByteOrZero());
    next.part = int8_t(inBuffer.GetByteOrZero());
    next.x = inBuffer.GetU16();
    next.y = inBuffer.GetU16();
    next.z = inBuffer.GetByte();
    std::vector<MapLabel> markers;
    const uint16_t count = inBuffer.GetU16();
    for (uint16_t i = 0; i < count && !inBuffer.Failed(); ++i) {
        MapLabel marker;
        marker.id = inBuffer.GetU16();
        marker.x = inBuffer.GetU16();
        marker.y = inBuffer.GetU16();
        marker.icon = inBuffer.GetByte();
        marker.text = inBuffer.GetString();
        markers.push_back(marker);
    }
    if (inBuffer.Failed()) return;
    if (!core->mapDriver) {
        core->OnDisconnect("select map: driver error");
        return;
    }
    // A selection the driver refuses (no such map, page or part) leaves the map as it was.
    if (!core->mapDriver->SetMap(next)) return;
    if (MapPart* part = core->mapDriver->SelectedPart()) {
        for (MapLabel& marker : markers) {
            marker.x = uint16_t(marker.x - part->worldRect.x0);
            marker.y = uint16_t(marker.y - part->worldRect.y0);
        }
        part->markers = markers;
    }
    core->mapDriver->UpdatePosition(next);
    core->UpdateQuestMarkers();
}

void Protocol::spell_bar() { core->LoadSpellBar(inBuffer); }
void Protocol::spell_bar_slot() { core->LoadSpellBarSlot(inBuffer); }

void Protocol::spell_state() {
    const uint16_t id = inBuffer.GetU16();
    const uint8_t state = inBuffer.GetByte();
    if (Spell* spell = core->FindSpell(id)) spell->SetState(state);
}

void Protocol::ReadSpellState() {
    const uint16_t id = inBuffer.GetU16();
    const uint8_t state = inBuffer.GetByte();
    const uint16_t total = inBuffer.GetU16();
    const uint16_t left = inBuffer.GetU16();
    if (!inBuffer.Failed())
        core->UpdateSpell(id, state, total * StateTimeUnit, left * StateTimeUnit);
}

void Protocol::spell_states() {
    core->ResetSpells();
    const uint16_t count = inBuffer.GetU16();
    for (uint16_t i = 0; i < count && !inBuffer.Failed(); ++i) ReadSpellState();
}

void Protocol::spell_update() { ReadSpellState(); }

void Protocol::new_outfit() {
    const uint16_t outfit = inBuffer.GetU16();
    if (inBuffer.Failed()) return;
    core->outfits.push_back(outfit);
    if (core->world) core->world->notification->Add(1, "You've received a new outfit!");
}
