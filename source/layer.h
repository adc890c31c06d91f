#pragma once
// One floor of the visible world: a wrap-around window of 27 x 23 tile slots that covers the
// player's view with a margin, and the passes that walk the view window to draw its tiles.
#include <cstdint>

#include "position.h"

class Core;
class Tile;
class World;

// The slots of a layer and of the World's per-cell tables: the slot of map position (x, y) is
// (x mod 27) x 23 + (y mod 23).
constexpr int32_t LayerColumns = 27;
constexpr int32_t LayerRows = 23;
constexpr int32_t LayerSlotCount = LayerColumns * LayerRows;

// The slot of a map position; coordinates below 0 wrap round like the others.
inline uint32_t SlotIndex(int32_t x, int32_t y) {
    const int32_t column = (x % LayerColumns + LayerColumns) % LayerColumns;
    const int32_t row = (y % LayerRows + LayerRows) % LayerRows;
    return uint32_t(column * LayerRows + row);
}

// The view window about a centre: columns -2 to 24 and rows -2 to 20; cell (c, r) is map
// position (centre.x - 9 + c, centre.y - 7 + r), drawn at pixel (32c, 32r). The window covers
// every slot exactly once.
constexpr int32_t ViewFirst = -2;
constexpr int32_t ViewLastColumn = 24;
constexpr int32_t ViewLastRow = 20;
constexpr int32_t CentreColumn = 9;
constexpr int32_t CentreRow = 7;
constexpr int32_t TilePixels = 32;

struct ViewCell {
    int32_t column, row;
    uint16_t x, y;
    uint32_t slot;
};

// Visits the cells of the view window, rows outer and columns inner. Cells off the map (a
// coordinate below 0 or above 65535) hold no tile and are left out.
template <typename Visit>
void ForEachViewCell(Position centre, Visit visit) {
    for (int32_t row = ViewFirst; row <= ViewLastRow; ++row) {
        const int32_t y = centre.y - CentreRow + row;
        if (y < 0 || y > 0xFFFF) continue;
        for (int32_t column = ViewFirst; column <= ViewLastColumn; ++column) {
            const int32_t x = centre.x - CentreColumn + column;
            if (x < 0 || x > 0xFFFF) continue;
            visit(ViewCell{column, row, uint16_t(x), uint16_t(y), SlotIndex(x, y)});
        }
    }
}

class Layer {
public:
    Layer(Core* owner, int32_t z);
    virtual ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // The slot's tile whatever its position.
    Tile* GetSlot(uint16_t x, uint16_t y) const;
    // The slot's tile only when it is the tile of exactly (x, y).
    Tile* GetTile(uint16_t x, uint16_t y) const;
    // Replaces whatever tile holds the slot by a new empty tile of (x, y).
    Tile* CreateTile(uint16_t x, uint16_t y);
    void DeleteTile(uint16_t x, uint16_t y);
    void MarkTileDirty(uint16_t x, uint16_t y);

    // The passes over the view window about the player's position.
    void UpdateHidden(Position centre);
    void Draw(Position centre);
    void DrawAll(Position centre);
    void DrawRevealed(Position centre);
    void DrawNewlyCovered(Position centre);

    Core* owner;
    World* world;
    int32_t z;
    Tile* slots[LayerSlotCount] = {};  // owned
    uint8_t hidden = 0;

private:
    // Draws the tile of every cell of exact position that `drawn` accepts.
    template <typename Accept>
    void DrawCells(Position centre, Accept drawn);
};
