// Creature messages of the game state: the creature record, creatures coming and going, steps,
// turns, health, numbers, looks, speed, effects, sitting and typing marks, and the target list.
#include <algorithm>
#include <string>

#include "converttext.h"
#include "core.h"
#include "creature.h"
#include "item.h"
#include "layer.h"
#include "motions.h"
#include "notification.h"
#include "protocol.h"
#include "shapes.h"
#include "tile.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

// The light shape list ends with this byte in the place of a low byte.
const uint8_t LightListEnd = 255;
// Creature moves that change floor: north-west one up, south-east one down.
const uint8_t StepUp = 16, StepDown = 32;
const uint32_t NorthWest = 7, SouthEast = 3;

bool Bit(uint8_t byte, int bit) { return (byte >> bit & 1) != 0; }

std::string PositionText(const char* label, Position at) {
    return std::string(label) + std::to_string(at.x) + ", y : " + std::to_string(at.y) +
           ", z : " + std::to_string(at.z);
}

// The diagnostic for a record whose id is already in the world.
std::string DuplicateText(const Creature& existing, uint16_t x, uint16_t y, uint8_t z,
                          uint32_t id) {
    return "read_creature: creature already found. (" + existing.name +
           PositionText(" x: ", {x, y, z}) + ", id: " + std::to_string(id) +
           PositionText("; pos: x: ", existing.position) +
           PositionText("; from: x: ", existing.serverPosition) +
           PositionText("; to: x: ", existing.targetPosition) + ")";
}

void SetFlags(Creature& creature, uint8_t flags, uint8_t flags2) {
    creature.hidden = Bit(flags, 0);
    creature.playerFlag = Bit(flags, 1) || Bit(flags2, 0);
    creature.talk = Bit(flags, 3);
    creature.partyMember = Bit(flags, 4);
    creature.privileged = Bit(flags, 5);
    creature.typing = Bit(flags, 6);
    creature.notPushable = Bit(flags2, 0);
    creature.examineOnly = Bit(flags2, 3);
    creature.flagged = Bit(flags2, 1);
}

}  // namespace

bool Protocol::ReadLightShapes(std::vector<Shape*>& shapes) {
    while (!closed) {
        const uint8_t low = inBuffer.GetByte();
        if (inBuffer.Failed()) return false;
        if (low == LightListEnd) return true;
        const uint16_t id = uint16_t(low | inBuffer.GetByte() << 8);
        if (Shape* shape = core->GetShape(id)) shapes.push_back(shape);
    }
    return false;
}

bool Protocol::read_creature(Tile*& tile, Layer* layer, uint16_t x, uint16_t y, uint8_t z) {
    const uint32_t id = inBuffer.GetU32();
    const uint16_t shapeId = inBuffer.GetU16();
    if (inBuffer.Failed()) return false;
    if (const Creature* existing = FindCreature(id)) {
        FailFatally(DuplicateText(*existing, x, y, z, id));
        return false;
    }
    const Shape* shape = core->GetShape(shapeId);
    if (!shape) {
        FailFatally("read_creature: unknown shape id.");
        return false;
    }
    const uint32_t subId = shape->hasPalette ? inBuffer.GetU32() : 0;
    const uint8_t health = std::min(inBuffer.GetByte(), FullHealth);
    const uint16_t speed = inBuffer.GetU16();
    const uint8_t flags = inBuffer.GetByte();
    const uint8_t flags2 = Bit(flags, 7) ? inBuffer.GetByte() : 0;
    std::string name = inBuffer.GetString();
    ConvertText(name);
    std::vector<Shape*> lights;
    if (!ReadLightShapes(lights)) return false;
    // The effects around the creature, read before the creature enters the world.
    struct DirectionEffect {
        int8_t dx;
        int8_t dy;
        ItemRecord item;
    };
    std::vector<DirectionEffect> effects;
    if (Bit(flags2, 2)) {
        const uint8_t count = inBuffer.GetByte();
        for (uint8_t i = 0; i < count && !inBuffer.Failed(); ++i) {
            DirectionEffect effect;
            effect.dx = int8_t(inBuffer.GetByteOrZero());
            effect.dy = int8_t(inBuffer.GetByteOrZero());
            if (!ReadItem(effect.item)) {
                FailFatally("read_creature_has_effect: unknown shape id.");
                return false;
            }
            effects.push_back(effect);
        }
    }
    if (inBuffer.Failed()) return false;

    if (!tile) tile = layer->CreateTile(x, y);
    auto* creature = new Creature(core, id, shapeId, subId, lights, Position{x, y, z}, name, health,
                                  speed, uint8_t(Bit(flags, 2)));
    SetFlags(*creature, flags, flags2);
    core->world->AddCreature(creature);
    tile->AddCreature(creature);
    if (id == playerId) core->player = creature;
    for (const DirectionEffect& effect : effects) {
        const ItemRecord& item = effect.item;
        auto* look = new Item(core, item.shapeId, item.subId, 0, 0, 0, item.count, ItemEffect);
        look->looping = 1;
        creature->AddToDirectionList(effect.dx, effect.dy, look);
    }
    return true;
}

void Protocol::creature_appear() {
    const Position at = ReadRelative();
    if (!core->player || !core->world) {
        core->OnDisconnect("creature_appear: unknown player position.");
        return;
    }
    Layer* layer = core->world->GetLayer(at.z);
    Tile* tile = layer->GetTile(at.x, at.y);
    if (!tile) {
        core->OnDisconnect("creature_appear: unknown tile location.");
        return;
    }
    read_creature(tile, layer, at.x, at.y, at.z);
}

// Also when the creature's tile is gone: the world lets go of it in every case.
void Protocol::creature_remove() {
    const uint32_t id = inBuffer.GetU32();
    if (!NeedWorld("creature_remove: no world.")) return;
    if (Creature* creature = FindCreature(id)) core->world->RemoveCreature(creature);
}

void Protocol::creature_turn() {
    const uint32_t id = inBuffer.GetU32();
    const uint8_t direction = inBuffer.GetByte();
    if (inBuffer.Failed()) return;
    Creature* creature = FindCreature(id);
    if (!creature) {
        core->OnDisconnect("creature_turn: unknown creature id.");
        return;
    }
    if (id != playerId) creature->FaceDelta(DirectionDeltaX(direction), DirectionDeltaY(direction));
}

void Protocol::creature_move(bool forced) {
    const uint32_t id = inBuffer.GetU32();
    StepRecord record;
    uint8_t direction;
    if (forced) {
        record.forced = 1;
        record.forcedValue = inBuffer.GetU16();
        const uint8_t byte = inBuffer.GetByte();
        direction = byte & 15;
        record.forcedFlag = uint8_t(byte >> 7);
    } else {
        direction = inBuffer.GetByte();
    }
    if (inBuffer.Failed() || id == playerId) return;
    Creature* creature = FindCreature(id);
    if (!creature) {
        core->OnDisconnect("creature_move: unknown creature id " + std::to_string(id) + "(" +
                           std::to_string(kind) + ")");
        return;
    }
    record.direction = direction == StepUp     ? NorthWest
                       : direction == StepDown ? SouthEast
                                               : direction;
    record.floorChange = direction == StepUp ? 1 : direction == StepDown ? -1 : 0;
    if (!creature->Step(record)) core->world->RemoveCreature(creature);
}

void Protocol::creature_status() {
    const uint32_t id = inBuffer.GetU32();
    const uint8_t health = inBuffer.GetByte();
    if (inBuffer.Failed()) return;
    Creature* creature = FindCreature(id);
    if (!creature) {
        core->OnDisconnect("creature_status: unknown creature id.");
        return;
    }
    creature->SetHealth(std::min(health, FullHealth));
}

void Protocol::creature_damage() {
    const uint32_t id = inBuffer.GetU32();
    const uint8_t health = inBuffer.GetByte();
    const uint8_t numberKind = inBuffer.GetByte();
    const uint16_t value = inBuffer.GetU16();
    if (inBuffer.Failed()) return;
    Creature* creature = FindCreature(id);
    if (!creature) {
        core->OnDisconnect("creature_damage: unknown creature id.");
        return;
    }
    creature->SetHealth(std::min(health, FullHealth));
    if (!creature->hidden) core->world->motions->Add(creature, numberKind, value);
}

void Protocol::creature_rename() {
    const uint32_t id = inBuffer.GetU32();
    const std::string name = inBuffer.GetString();
    if (inBuffer.Failed() || !NeedWorld("creature_rename: no world.")) return;
    if (Creature* creature = FindCreature(id)) creature->name = name;
}

void Protocol::creature_reshape() {
    const uint32_t id = inBuffer.GetU32();
    ItemRecord look;
    look.shapeId = inBuffer.GetU16();
    const Shape* shape = core->GetShape(look.shapeId);
    if (!shape) {
        FailFatally("creature_reshape: unknown shape id.");
        return;
    }
    look.subId = shape->hasPalette ? inBuffer.GetU32() : 0;
    if (inBuffer.Failed()) return;
    Creature* creature = FindCreature(id);
    if (!creature) {
        core->OnDisconnect("creature_reshape: unknown creature id.");
        return;
    }
    creature->Reshape(look.shapeId, look.subId);
    if (creature == core->player) core->MarkWindowsDirty(WindowType::Character);
}

void Protocol::creature_lights() {
    const uint32_t id = inBuffer.GetU32();
    std::vector<Shape*> lights;
    if (!ReadLightShapes(lights) || !NeedWorld("creature_lights: no world.")) return;
    if (Creature* creature = FindCreature(id)) creature->SetLightShapes(lights);
}

void Protocol::creature_respeed() {
    const uint32_t id = inBuffer.GetU32();
    const uint16_t speed = inBuffer.GetU16();
    if (inBuffer.Failed()) return;
    Creature* creature = FindCreature(id);
    if (!creature) {
        core->OnDisconnect("creature_respeed: unknown creature id.");
        return;
    }
    creature->speed = speed;
}

void Protocol::walk_refused() {
    if (core->world) core->world->notification->Add(2, "You cannot walk there.");
    if (core->player) core->player->CancelWalk();
}

void Protocol::target_lost() {
    const uint8_t mode = inBuffer.GetByte();
    const uint32_t id = inBuffer.GetU32();
    Creature* creature = FindCreature(id);
    switch (mode) {
        case 0:
            if (creature) {
                core->SelectTarget(0, creature);
            } else if (!core->targets.empty()) {
                const std::string plural = core->targets.size() > 1 ? "s" : "";
                if (core->world)
                    core->world->notification->Add(2, "You've lost your target" + plural + ".");
                core->SelectTarget(0, nullptr);
            }
            break;
        case 1:
            if (creature) core->SelectTarget(1, creature);
            break;
        case 2:
            if (Creature* target = core->FindTargetById(id)) core->SelectTarget(2, target);
            break;
        default: break;
    }
}

void Protocol::creature_sitting() {
    const uint32_t id = inBuffer.GetU32();
    const uint8_t state = inBuffer.GetByte();
    if (!NeedWorld("creature_sitting: no world.")) return;
    Creature* creature = FindCreature(id);
    if (!creature) return;
    const uint8_t sitting = state == 1;
    if (creature == core->player) {
        creature->sitReady = 1;
        if (sitting == creature->seated) return;
    }
    creature->SetSitting(sitting);
}

void Protocol::creature_number() {
    const uint32_t id = inBuffer.GetU32();
    const uint8_t numberKind = inBuffer.GetByte();
    const uint16_t value = inBuffer.GetU16();
    if (!NeedWorld("creature_number: no world.")) return;
    Creature* creature = FindCreature(id);
    if (creature && !creature->hidden) core->world->motions->Add(creature, numberKind, value);
}

void Protocol::creature_typing(bool on) {
    const uint32_t id = inBuffer.GetU32();
    if (!NeedWorld("creature_typing: no world.")) return;
    if (Creature* creature = FindCreature(id)) creature->typing = on;
}

void Protocol::banned() {
    core->gameHalted = 1;
    if (!core->player) return;
    core->player->banned = 1;
    if (core->world) core->world->notification->Add(3, "You have been banned.");
}

Creature* Protocol::ReadCreatureEffect(int32_t& dx, int32_t& dy, Item*& item) {
    const uint32_t id = inBuffer.GetU32();
    dx = int8_t(inBuffer.GetByteOrZero());
    dy = int8_t(inBuffer.GetByteOrZero());
    ItemRecord record;
    if (!ReadItem(record)) {
        FailFatally("creature_effect: unknown shape id.");
        return nullptr;
    }
    if (inBuffer.Failed()) return nullptr;
    Creature* creature = FindCreature(id);
    if (!creature) {
        core->OnDisconnect("creature_effect: unknown creature id.");
        return nullptr;
    }
    item = new Item(core, record.shapeId, record.subId, 0, 0, 0, record.count, ItemEffect);
    return creature;
}

void Protocol::creature_effect74() {
    int32_t dx, dy;
    Item* item = nullptr;
    Creature* creature = ReadCreatureEffect(dx, dy, item);
    if (!creature) return;
    if (creature->hidden) {
        delete item;
        return;
    }
    item->looping = 1;
    creature->AddToDirectionList(dx, dy, item);
}

void Protocol::creature_effect75() {
    int32_t dx, dy;
    Item* item = nullptr;
    Creature* creature = ReadCreatureEffect(dx, dy, item);
    if (!creature) return;
    if (creature->hidden) delete item;
    else creature->AddToDirectionList(dx, dy, item);
}

void Protocol::creature_effect76() {
    int32_t dx, dy;
    Item* item = nullptr;
    Creature* creature = ReadCreatureEffect(dx, dy, item);
    if (!creature) return;
    if (auto* running = static_cast<Item*>(creature->FindEffect(dx, dy, item)))
        running->SyncAnimation();
    delete item;
}
