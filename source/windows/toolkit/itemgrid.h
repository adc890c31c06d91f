#pragma once
// The item grids of the dialogs: the skinned frame around cells of 40 pixels, the slot
// backgrounds, and the slot rectangles a window hit-tests its item slots with.
#include <cstdint>
#include <vector>

class Render;

namespace ItemGrid {

constexpr int32_t Cell = 40;
// What a grid of n rows or columns measures with its frame: n cells and the outer edges.
constexpr int32_t FramedSize(int32_t cells) { return cells * Cell + 9; }
constexpr uint8_t NoSlot = 255;

// A window-relative item slot.
struct SlotRect {
    int32_t x, y;
    uint8_t width = 36, height = 36;
    uint8_t index;
};

// The frame around columns x rows cells whose outer corner is (left, top); the first cell's
// slot lies at (left + 6, top + 6).
void PaintFrame(Render* render, int32_t left, int32_t top, int32_t columns, int32_t rows);
// A filled or an empty slot background (36 x 36) at (x, y).
void PaintSlot(Render* render, int32_t x, int32_t y, bool filled);
// The mark of the slot an item would be dropped on.
void PaintDropMark(Render* render, int32_t x, int32_t y);
// The index of the slot under the window-relative point, each slot's box grown by 2 pixels on
// every side so that the gap between cells still hits; NoSlot when none is.
uint8_t SlotAt(const std::vector<SlotRect>& slots, int32_t px, int32_t py);

}  // namespace ItemGrid
