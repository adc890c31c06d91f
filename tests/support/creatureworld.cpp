#include "support/creatureworld.h"

#include "creature.h"
#include "item.h"
#include "notification.h"
#include "platform.h"
#include "support/spritedata.h"
#include "support/testcore.h"
#include "tile.h"
#include "world.h"

void CreatureWorld::SetUp() {
    core = MakeTestCore();
    core->shapes = LoadSpriteCase(core.get(), "sample").release();
    core->InitStatusEffects();
    core->frameTimeMs = Start;
    world = new World(core.get());
    core->world = world;
}

void CreatureWorld::TearDown() {
    platform = realPlatform;
    world->DetachCreatures();
    core.reset();
}

Tile* CreatureWorld::Floor(uint16_t x, uint16_t y, uint8_t z, uint32_t shapeId) {
    Tile* tile = world->CreateTile(Position{x, y, z});
    Stack(tile, shapeId);
    return tile;
}

void CreatureWorld::FloorAround(uint16_t x, uint16_t y, int32_t radius, uint8_t z) {
    for (int32_t dx = -radius; dx <= radius; ++dx)
        for (int32_t dy = -radius; dy <= radius; ++dy) Floor(uint16_t(x + dx), uint16_t(y + dy), z);
}

void CreatureWorld::Stack(Tile* tile, uint32_t shapeId) {
    tile->AddThing(new Item(core.get(), shapeId, 0, tile->x, tile->y, tile->z, 1, ItemIdle));
}

Creature* CreatureWorld::Spawn(Position at, const std::string& name, uint16_t speed) {
    auto* creature =
        new Creature(core.get(), nextId++, SampleShape::Person, 0, {}, at, name, 100, speed, 0);
    world->AddCreature(creature);
    Tile* tile = world->GetTile(at.Packed(), at.z);
    if (!tile) tile = world->CreateTile(at);
    tile->AddCreature(creature);
    return creature;
}

Creature* CreatureWorld::SpawnPlayer(Position at, const std::string& name, uint16_t speed) {
    Creature* player = Spawn(at, name, speed);
    core->player = player;
    return player;
}

void CreatureWorld::At(uint64_t ms) { core->frameTimeMs = Start + ms; }

void CreatureWorld::Frame(uint64_t ms) {
    At(ms);
    const std::vector<Creature*> creatures = world->creatures;
    for (Creature* creature : creatures) creature->UpdateWalk();
}

void CreatureWorld::SetStatus(uint8_t index, bool active) {
    core->statusEffects.at(index).active = active;
}

std::vector<std::string> CreatureWorld::Notifications() const {
    std::vector<std::string> lines;
    for (const auto& place : world->notification->places)
        for (const NotificationLine* line : {&place.current, &place.waiting})
            if (line->state != Notification::StateEmpty)
                lines.push_back(std::to_string(line->kind) + ":" + line->text);
    return lines;
}

void CreatureWorld::ClearNotifications() {
    for (auto& place : world->notification->places) place = Notification::Place{};
}
