#include "worldscene.h"

#include <string>

#include "core.h"
#include "creature.h"
#include "item.h"
#include "layer.h"
#include "motions.h"
#include "notification.h"
#include "paragraphs.h"
#include "platform.h"
#include "steprecord.h"
#include "tile.h"
#include "weather.h"
#include "world.h"

namespace {

// Shape ids of the generated sample art (tools/datagen/sprites.py).
constexpr uint32_t Grass = 100, Dirt = 101, StoneFloor = 103, Wall = 110, Tree = 112, Bush = 113;
constexpr uint32_t Chair = 150, Torch = 152, Chest = 153, Stairs = 154, Person = 200;
constexpr uint32_t PersonOutfit = 0x0A472C53;

// The area of a full map message: its top-left tile, size and floors, the player at its centre.
constexpr uint16_t AreaLeft = 0x8FF4, AreaTop = 0x8FF6;
constexpr int32_t AreaColumns = 24, AreaRows = 20;
constexpr uint8_t GroundFloor = 128;
constexpr int32_t PlayerColumn = 11, PlayerRow = 9;
// The house, by area columns and rows of its walls; the door in the south wall.
constexpr int32_t HouseLeft = 13, HouseTop = 3, HouseRight = 20, HouseBottom = 8, DoorColumn = 16;

constexpr int32_t Walkers = 20;
constexpr uint32_t East = 2, West = 6;
constexpr uint64_t StepPeriodMs = 700;

bool HouseWall(int32_t column, int32_t row) {
    const bool edge =
        ((column == HouseLeft || column == HouseRight) && row >= HouseTop && row <= HouseBottom) ||
        ((row == HouseTop || row == HouseBottom) && column >= HouseLeft && column <= HouseRight);
    return edge && !(column == DoorColumn && row == HouseBottom);
}

bool InHouse(int32_t column, int32_t row) {
    return column > HouseLeft && column < HouseRight && row > HouseTop && row < HouseBottom;
}

// The things of an area cell on a floor, bottom first.
std::vector<uint32_t> CellShapes(int32_t column, int32_t row, uint8_t z) {
    const bool wall = HouseWall(column, row);
    if (z != GroundFloor) {
        if (wall) return {StoneFloor, Wall};
        if (InHouse(column, row)) return {StoneFloor};
        return {};
    }
    if (wall) return {StoneFloor, Wall};
    if (column == HouseLeft + 1 && row == HouseTop + 1) return {StoneFloor, Torch};
    if (column == HouseLeft + 2 && row == HouseTop + 2) return {StoneFloor, Chair};
    if (column == HouseRight - 1 && row == HouseTop + 1) return {StoneFloor, Chest};
    if (column == HouseRight - 1 && row == HouseBottom - 1) return {Stairs};
    if (InHouse(column, row)) return {StoneFloor};
    if (column == DoorColumn && row > HouseBottom) return {Dirt};
    if ((column * 7 + row * 13) % 23 == 0) return {Grass, Tree};
    if ((column * 5 + row * 3) % 31 == 0) return {Grass, Bush};
    return {Grass};
}

}  // namespace

WorldScene::WorldScene(Core* core) : core(core) {
    core->EnterGame();
    BuildFloors();
    AddPersons();
    World* world = core->world;
    world->cameraX = world->baseOffsetX;
    world->cameraY = world->baseOffsetY;
    world->scrollX = world->scrollY = 0;
    world->RebuildView(GroundFloor);
    core->ApplyResolution(core->clientWidth, core->clientHeight);
    // Night, with the torch and the lights the persons carry.
    if (world->weather) {
        world->weather->Update(100, 1);
        world->weather->SetLight(-100);
    }
    Creature* speaker = walkers.front();
    if (world->paragraphs) world->paragraphs->Add("Good evening, traveller!", speaker);
    if (world->notification) world->notification->Add(2, "You see a quiet village at night.");
    if (world->motions) {
        for (size_t i = 0; i < walkers.size(); i += 5) world->motions->Add(walkers[i], 1, 17);
    }
}

void WorldScene::BuildFloors() {
    World* world = core->world;
    for (uint8_t z : {uint8_t(GroundFloor - 1), GroundFloor, uint8_t(GroundFloor + 1)}) {
        Layer* layer = world->GetLayer(z);
        for (int32_t row = 0; row < AreaRows; ++row) {
            for (int32_t column = 0; column < AreaColumns; ++column) {
                const std::vector<uint32_t> shapes = CellShapes(column, row, z);
                if (shapes.empty()) continue;
                const uint16_t x = uint16_t(AreaLeft + column), y = uint16_t(AreaTop + row);
                Tile* tile = layer->CreateTile(x, y);
                world->cellFloor[SlotIndex(x, y)] = GroundFloor + 1;
                for (uint32_t shape : shapes) {
                    tile->AddThing(new Item(core, shape, 0, x, y, z, 1, ItemIdle));
                }
            }
        }
    }
}

void WorldScene::AddPersons() {
    World* world = core->world;
    Shape* torch = core->GetShape(Torch);
    const uint64_t now = WallClockMs();
    for (int32_t i = 0; i <= Walkers; ++i) {
        // The player first, at the area's centre; the others in rows south and west of the
        // house, every fourth carrying a light.
        const bool player = i == 0;
        const int32_t column = player ? PlayerColumn : 2 + (i - 1) % 5 * 2;
        const int32_t row = player ? PlayerRow : 4 + (i - 1) / 5 * 3;
        const Position at{uint16_t(AreaLeft + column), uint16_t(AreaTop + row), GroundFloor};
        std::vector<Shape*> lights;
        if (i % 4 == 1 && torch) lights.push_back(torch);
        const std::string name = player ? "Wanderer" : "Villager " + std::to_string(i);
        const uint8_t health = uint8_t(player ? 100 : 10 + i * 4);
        auto* creature = new Creature(core, uint32_t(1000 + i), Person, PersonOutfit, lights, at,
                                      name, health, uint16_t(180 + i * 10), 0);
        Tile* tile = world->GetTile(at.Packed(), at.z);
        if (!tile) tile = world->GetLayer(at.z)->CreateTile(at.x, at.y);
        world->AddCreature(creature);
        tile->AddCreature(creature);
        if (player) {
            core->player = creature;
            continue;
        }
        walkers.push_back(creature);
        nextStep.push_back(now + uint64_t(i) * StepPeriodMs / Walkers);
    }
}

void WorldScene::Walk() {
    const uint64_t now = WallClockMs();
    for (size_t i = 0; i < walkers.size(); ++i) {
        if (!walkers[i] || now < nextStep[i]) continue;
        nextStep[i] = now + StepPeriodMs;
        StepRecord step;
        step.direction = walkers[i]->position.x % 2 == 0 ? East : West;
        // A step out of the player's view takes the creature out of the world.
        if (!walkers[i]->Step(step)) {
            core->world->RemoveCreature(walkers[i]);
            walkers[i] = nullptr;
        }
    }
}
