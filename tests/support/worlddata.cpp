#include "support/worlddata.h"

#include "creature.h"
#include "tile.h"
#include "world.h"

void WorldData::SetUp() {
    SpriteData::SetUp();
    shapes = Load("world");
    startUpShapes = core->shapes;
    core->shapes = shapes.get();
    core->frameTimeMs = Start;
    core->options.layers = 0;  // no floor fades unless a test asks for them
    world = core->world = new World(core);
}

void WorldData::TearDown() {
    if (world) world->DetachCreatures();
    delete world;
    core->world = nullptr;
    core->player = nullptr;
    core->shapes = startUpShapes;
    shapes.reset();
    SpriteData::TearDown();
}

Item* WorldData::MakeThing(uint32_t shapeId, Position at, uint32_t kind, uint32_t count) {
    return new Item(core, shapeId, 0, at.x, at.y, at.z, count, kind);
}

Tile* WorldData::MakeTile(Position at, std::initializer_list<uint32_t> shapeIds) {
    Tile* tile = world->CreateTile(at);
    for (uint32_t id : shapeIds) tile->AddThing(MakeThing(id, at));
    return tile;
}

Creature* WorldData::MakeCreature(uint32_t id, Position at, const std::string& name) {
    auto* creature = new Creature(core, id, WorldShape::Walker, 0, {}, at, name, 100, 100, 0);
    world->AddCreature(creature);
    Tile* tile = world->GetTileXY(at.x, at.y, at.z);
    (tile ? tile : world->CreateTile(at))->AddCreature(creature);
    return creature;
}
