#include "layer.h"

#include "core.h"
#include "tile.h"
#include "world.h"

Layer::Layer(Core* owner, int32_t z) : owner(owner), world(owner->world), z(z) {}

Layer::~Layer() {
    for (Tile*& tile : slots) {
        delete tile;
        tile = nullptr;
    }
}

Tile* Layer::GetSlot(uint16_t x, uint16_t y) const { return slots[SlotIndex(x, y)]; }

Tile* Layer::GetTile(uint16_t x, uint16_t y) const {
    Tile* tile = GetSlot(x, y);
    return tile && tile->x == x && tile->y == y ? tile : nullptr;
}

Tile* Layer::CreateTile(uint16_t x, uint16_t y) {
    Tile*& slot = slots[SlotIndex(x, y)];
    delete slot;
    slot = new Tile(owner, x, y, uint8_t(z));
    return slot;
}

void Layer::DeleteTile(uint16_t x, uint16_t y) {
    Tile*& slot = slots[SlotIndex(x, y)];
    delete slot;
    slot = nullptr;
}

void Layer::MarkTileDirty(uint16_t x, uint16_t y) {
    if (Tile* tile = GetSlot(x, y)) tile->dirty = 1;
}

void Layer::UpdateHidden(Position centre) {
    hidden = 1;
    ForEachViewCell(centre, [&](const ViewCell& cell) {
        if (!hidden || world->cover[cell.slot] <= z) return;
        const Tile* tile = GetTile(cell.x, cell.y);
        if (tile && tile->coverClass != CoverHidden) hidden = 0;
    });
}

template <typename Accept>
void Layer::DrawCells(Position centre, Accept drawn) {
    ForEachViewCell(centre, [&](const ViewCell& cell) {
        Tile* tile = GetTile(cell.x, cell.y);
        if (tile && drawn(cell.slot)) tile->Draw(cell.column * TilePixels, cell.row * TilePixels);
    });
}

void Layer::Draw(Position centre) {
    if (hidden) return;
    // While a reveal fades in, its cells come from the World's fade image instead.
    const bool revealing = world->revealedFlag != 0;
    DrawCells(centre, [&](uint32_t slot) {
        return world->cover[slot] > z && (!revealing || world->revealedFrom[slot] > z);
    });
}

void Layer::DrawAll(Position centre) {
    DrawCells(centre, [](uint32_t) { return true; });
}

void Layer::DrawRevealed(Position centre) {
    if (z <= centre.z) return;
    DrawCells(centre, [&](uint32_t slot) {
        return world->revealedFrom[slot] <= z && world->cover[slot] > z;
    });
}

void Layer::DrawNewlyCovered(Position centre) {
    if (z <= centre.z) return;
    DrawCells(centre, [&](uint32_t slot) {
        return world->coveredFrom[slot] <= z && world->coverPrev[slot] > z;
    });
}
