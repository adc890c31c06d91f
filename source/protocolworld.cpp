// World messages of the game state: the full area, the steps and floor changes with their new
// strips of tiles, the area re-read, things entering, leaving and changing on tiles, effects and
// missiles. All positions are relative to the player's.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "core.h"
#include "creature.h"
#include "item.h"
#include "layer.h"
#include "protocol.h"
#include "shapes.h"
#include "throws.h"
#include "tile.h"
#include "weather.h"
#include "world.h"

namespace {

// The view is 24 x 20 tiles; the player stands at column 11, row 9.
const uint8_t AreaColumns = 24, AreaRows = 20;
const int32_t PlayerColumn = 11, PlayerRow = 9;
// A fresh area's frame: the top-left tile before the message's offsets, and the player's floor.
const uint16_t AreaLeft = 0x8FF4, AreaTop = 0x8FF6;
const uint8_t AreaFloor = 128;

// Markers of the tile stream; below FirstMarker a byte starts an item.
const uint8_t FirstMarker = 250, CreatureMarker = 252, DirtyRunMarker = 253, RunMarker = 254,
              EndMarker = 255;

const uint32_t NorthWest = 7, SouthEast = 3;

// The strips of tiles a step in a direction brings into view, a row before a column; (left,
// top) is the new view's top-left tile.
std::vector<TileRect> StepStrips(uint32_t direction, uint16_t left, uint16_t top) {
    const uint16_t right = uint16_t(left + AreaColumns - 1), bottom = uint16_t(top + AreaRows - 1);
    const TileRect topRow{left, top, AreaColumns, 1}, bottomRow{left, bottom, AreaColumns, 1};
    const uint8_t shortColumn = AreaRows - 1;
    switch (direction) {
        case 0: return {topRow};
        case 1: return {topRow, TileRect{right, uint16_t(top + 1), 1, shortColumn}};
        case 2: return {TileRect{right, top, 1, AreaRows}};
        case 3: return {TileRect{right, top, 1, shortColumn}, bottomRow};
        case 4: return {bottomRow};
        case 5: return {TileRect{left, top, 1, shortColumn}, bottomRow};
        case 6: return {TileRect{left, top, 1, AreaRows}};
        default: return {topRow, TileRect{left, uint16_t(top + 1), 1, shortColumn}};
    }
}

}  // namespace

void Protocol::world_light() {
    const uint16_t word = inBuffer.GetU16();
    if (core->world && core->world->weather) core->world->weather->Update(word, 0);
}

void Protocol::world_shake() {
    const uint8_t amplitude = inBuffer.GetByte();
    const uint16_t duration = inBuffer.GetU16();
    if (core->world && core->world->weather) core->world->weather->AddShake(amplitude, 0, duration);
}

void Protocol::map_full() {
    World* world = core->world;
    if (mapReceived && world) {
        world->ClearLayers();
        world->DetachCreatures();
        world->ClearEffects();
        core->SelectTarget(0, nullptr);
        core->followTarget = nullptr;
        core->dragTo = nullptr;
        core->hoverCreature = nullptr;
        core->hoverTile = nullptr;
        core->hoverPart = nullptr;
    }
    const uint32_t tag = inBuffer.GetU32();
    const uint8_t offsets = tag != 0 ? inBuffer.GetByte() : 0;
    const uint8_t viewOffset = inBuffer.GetByte();
    const uint8_t up = inBuffer.GetByte();
    const uint8_t down = inBuffer.GetByte();
    const uint16_t light = inBuffer.GetU16();
    if (!NeedWorld("map_full: no world.")) return;
    topFloor = uint8_t(AreaFloor + up);
    if (world->weather) world->weather->Update(light, 1);
    const TileRect area{uint16_t(AreaLeft + (offsets & 15)), uint16_t(AreaTop + (offsets >> 4)),
                        AreaColumns, AreaRows};
    if (!ReadFloors("map_full", AreaFloor, up, down, {area}, true)) return;

    core->CloseContainerWindows();
    world->ResetView();
    world->viewJumped = 1;
    world->RebuildView(uint8_t(AreaFloor + viewOffset));
    if (!mapReceived) {
        core->ApplyResolution(core->clientWidth, core->clientHeight);
        mapReceived = 1;
    } else if (core->player) {
        core->player->serverSteps.clear();
    }
}

bool Protocol::ReadFloors(const char* handler, int32_t base, uint8_t up, uint8_t down,
                          const std::vector<TileRect>& rects, bool deleteFirst) {
    if (base + up > 255 || base - down < 0) {
        core->OnDisconnect(std::string(handler) + ": floors out of range.");
        return false;
    }
    int32_t skip = 0;
    auto readFloor = [&](int32_t z) {
        for (const TileRect& rect : rects)
            if (!read_tiles(rect, skip, uint8_t(z), deleteFirst)) return false;
        return true;
    };
    for (int32_t z = base; z <= base + up; ++z)
        if (!readFloor(z)) return false;
    for (int32_t z = base - 1; z >= base - down; --z)
        if (!readFloor(z)) return false;
    return true;
}

bool Protocol::read_tiles(TileRect rect, int32_t& skip, uint8_t z, bool deleteFirst) {
    Layer* layer = core->world->GetLayer(z);
    for (int32_t row = 0; row < rect.h; ++row) {
        for (int32_t column = 0; column < rect.w; ++column) {
            const uint16_t x = uint16_t(rect.x + column), y = uint16_t(rect.y + row);
            if (deleteFirst) layer->DeleteTile(x, y);
            if (skip > 0) {
                --skip;
            } else if (!ReadPosition(x, y, z, layer, skip)) {
                return false;
            }
        }
    }
    return true;
}

// The markers of one position, up to the one that ends it.
bool Protocol::ReadPosition(uint16_t x, uint16_t y, uint8_t z, Layer* layer, int32_t& skip) {
    Tile* tile = nullptr;
    while (!closed) {
        const uint8_t marker = inBuffer.GetByte();
        if (inBuffer.Failed()) return false;
        if (marker < FirstMarker) {
            ItemRecord item;
            item.shapeId = uint16_t(marker | inBuffer.GetByte() << 8);
            if (!ReadItemRest(item)) {
                FailFatally("read_item: unknown shape id. (item)");
                return false;
            }
            if (!tile) {
                tile = layer->CreateTile(x, y);
                core->world->cellFloor[SlotIndex(x, y)] = topFloor;
            }
            tile->AddThing(new Item(core, item.shapeId, item.subId, x, y, z, item.count, ItemIdle));
        } else if (marker == CreatureMarker) {
            if (!read_creature(tile, layer, x, y, z)) return false;
        } else if (marker == DirtyRunMarker || marker == RunMarker) {
            if (marker == DirtyRunMarker) layer->MarkTileDirty(x, y);
            skip = int32_t(std::min<uint32_t>(inBuffer.GetVarStop(), INT32_MAX));
            return !inBuffer.Failed();
        } else if (marker == EndMarker) {
            return true;
        } else {
            FailFatally("read_tile: failed to read the world data.");
            return false;
        }
    }
    return false;
}

bool Protocol::world_transition(StepRecord& out, uint32_t direction, int32_t floorChange) {
    out = StepRecord{};
    out.direction = direction;
    out.floorChange = floorChange;
    if (direction > 7) {
        core->OnDisconnect("unknown direction in world transition");
        return false;
    }
    if (!core->player || !core->world) {
        core->OnDisconnect("world_transition: unknown player position.");
        return false;
    }
    Position at = StepFrom(core->player->serverPosition, direction);
    const int32_t z = at.z + floorChange;
    if (z < 0 || z > 255) {
        core->OnDisconnect("world_transition: floors out of range.");
        return false;
    }
    at.z = uint8_t(z);
    core->world->Shift(at);

    const uint8_t viewOffset = inBuffer.GetByte();
    const uint8_t up = inBuffer.GetByte();
    const uint8_t down = inBuffer.GetByte();
    out.stepValue = inBuffer.GetU16();
    topFloor = uint8_t(at.z + up);
    const std::vector<TileRect> strips =
        StepStrips(direction, uint16_t(at.x - PlayerColumn), uint16_t(at.y - PlayerRow));
    const bool read = ReadFloors("world_transition", at.z, up, down, strips, true);
    out.viewFloor = uint32_t(viewOffset + at.z);
    return read;
}

void Protocol::StepPlayer(uint32_t direction, int32_t floorChange) {
    StepRecord record;
    if (world_transition(record, direction, floorChange) && core->player)
        core->player->Step(record);
}

void Protocol::world_step() { StepPlayer(inBuffer.GetByte(), 0); }
void Protocol::world_floor_up() { StepPlayer(NorthWest, 1); }
void Protocol::world_floor_down() { StepPlayer(SouthEast, -1); }

void Protocol::world_move_force() {
    if (!core->player) {
        FailFatally("world_move_force: unknown creature");
        return;
    }
    const uint16_t value = inBuffer.GetU16();
    const uint8_t byte = inBuffer.GetByte();
    StepRecord record;
    if (!world_transition(record, byte & 15, 0) || !core->player) return;
    record.forced = 1;
    record.forcedValue = value;
    record.forcedFlag = uint8_t(byte >> 7);
    core->player->Step(record);
}

void Protocol::world_modify() {
    if (!core->player) {
        FailFatally("world_modify: unknown creature");
        return;
    }
    const uint8_t up = inBuffer.GetByte();
    const uint8_t down = inBuffer.GetByte();
    const Position at = core->player->serverPosition;
    topFloor = uint8_t(at.z + up);
    if (at.z + up > 255 || at.z - down < 0) {
        core->OnDisconnect("world_modify: floors out of range.");
        return;
    }
    core->world->DeleteTiles();
    const TileRect area{uint16_t(at.x - PlayerColumn), uint16_t(at.y - PlayerRow), AreaColumns,
                        AreaRows};
    ReadFloors("world_modify", at.z, up, down, {area}, false);
}

void Protocol::shape_enter() {
    const Position at = ReadRelative();
    const uint8_t index = inBuffer.GetByte();
    ItemRecord item;
    if (!ReadItem(item)) {
        FailFatally("shape_enter: Unknown shape id.");
        return;
    }
    Tile* tile = core->player && core->world ? core->world->GetTileXY(at.x, at.y, at.z) : nullptr;
    if (!tile) {
        core->OnDisconnect("shape_enter: unknown tile location for enter shape.");
        return;
    }
    tile->InsertThing(index, new Item(core, item.shapeId, item.subId, at.x, at.y, at.z, item.count,
                                      ItemEnter));
}

void Protocol::shape_leave() {
    const Position at = ReadRelative();
    const uint8_t index = inBuffer.GetByte();
    Tile* tile = core->player && core->world ? core->world->GetTileXY(at.x, at.y, at.z) : nullptr;
    if (!tile) {
        core->OnDisconnect("shape_leave: Unknown tile location for leave shape.");
        return;
    }
    tile->RemoveThing(index);
}

void Protocol::reshape() {
    const Position at = ReadRelative();
    const uint8_t index = inBuffer.GetByte();
    ItemRecord item;
    if (!ReadItem(item)) {
        FailFatally("reshape: unknown shape id ");
        return;
    }
    Tile* tile = core->player && core->world ? core->world->GetTileXY(at.x, at.y, at.z) : nullptr;
    if (!tile) {
        core->OnDisconnect("reshape: unknown tile location for reshape shape.");
        return;
    }
    tile->ReplaceThing(index, new Item(core, item.shapeId, item.subId, at.x, at.y, at.z, item.count,
                                       ItemEnter));
    core->world->ComputeOcclusion();
}

void Protocol::change_sub_id() {
    const Position at = ReadRelative();
    const uint8_t index = inBuffer.GetByte();
    const uint32_t subId = inBuffer.GetU32();
    if (!core->player || !core->world) return;
    if (Tile* tile = core->world->GetTileXY(at.x, at.y, at.z)) tile->ChangeThingSubId(index, subId);
}

void Protocol::change_count() {
    const Position at = ReadRelative();
    const uint8_t index = inBuffer.GetByte();
    const uint16_t count = inBuffer.GetVar15();
    if (!core->player || !core->world) return;
    if (Tile* tile = core->world->GetTileXY(at.x, at.y, at.z)) tile->ChangeThingCount(index, count);
}

void Protocol::world_effect() {
    const Position at = ReadRelative();
    ItemRecord item;
    if (!ReadItem(item)) {
        FailFatally("world_effect: unknown shape id.");
        return;
    }
    if (!core->player || !core->world) {
        core->OnDisconnect("world_effect: unknown tile location for the effect.");
        return;
    }
    Tile* tile = core->world->GetTileXY(at.x, at.y, at.z);
    if (!tile) tile = core->world->CreateTile(at);
    tile->AddThing(
        new Item(core, item.shapeId, item.subId, at.x, at.y, at.z, item.count, ItemEffect));
}

namespace {

// The eight-way direction of a flight: straight when one axis clearly dominates, else diagonal
// (a ratio of exactly 2 : 1 is diagonal).
uint32_t FlightDirection(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
    const int32_t adx = std::abs(fromX - toX), ady = std::abs(fromY - toY);
    const int32_t difference = std::abs(adx - ady);
    if (difference > std::min(adx, ady)) {
        if (ady <= difference && fromX != toX) return fromX < toX ? 2 : 6;
        return fromY > toY ? 0 : 4;
    }
    if (fromY < toY) return fromX < toX ? 3 : 5;
    return fromX < toX ? 1 : 7;
}

}  // namespace

void Protocol::throw_effect() {
    if (!core->player) {
        FailFatally("throw effect: no reference position");
        return;
    }
    const int8_t fromDx = int8_t(inBuffer.GetByteOrZero());
    const int8_t fromDy = int8_t(inBuffer.GetByteOrZero());
    const int8_t toDx = int8_t(inBuffer.GetByteOrZero());
    const int8_t toDy = int8_t(inBuffer.GetByteOrZero());
    const int8_t dz = int8_t(inBuffer.GetByteOrZero());
    const uint8_t reach = inBuffer.GetByte();
    ItemRecord item;
    if (!ReadItem(item)) {
        FailFatally("throw effect: unknown shape id.");
        return;
    }
    const Position& centre = core->player->serverPosition;
    const Position from{uint16_t(centre.x + fromDx), uint16_t(centre.y + fromDy),
                        uint8_t(centre.z + dz)};
    const Position to{uint16_t(centre.x + toDx), uint16_t(centre.y + toDy), from.z};
    if (from == to || !core->world) return;
    const Shape* shape = core->GetShape(item.shapeId);
    const uint32_t direction = FlightDirection(fromDx, fromDy, toDx, toDy);
    auto* missile =
        new Item(core, shape->directionIds[direction], item.subId, 0, 0, 0, item.count, ItemEffect);
    core->world->throws->Add(from, from.z, to, to.z, reach, missile);
}
