#include "windows/toolkit/itemgrid.h"

#include "render.h"

namespace ItemGrid {
namespace {

// Skin pieces of the frame (image 1): 8 x 8 junctions, 32-pixel edges.
struct SkinPiece {
    int32_t sx, sy, w, h;
};
constexpr SkinPiece TopLeft = {87, 27, 8, 8}, TopJoin = {95, 27, 8, 8}, TopRight = {103, 27, 8, 8},
                    LeftJoin = {87, 35, 8, 8}, Cross = {95, 35, 8, 8}, RightJoin = {103, 35, 8, 8},
                    BottomLeft = {87, 43, 8, 8}, BottomJoin = {95, 43, 8, 8},
                    BottomRight = {103, 43, 8, 8};
constexpr SkinPiece TopEdge = {85, 59, 32, 6}, RowSeparator = {85, 66, 32, 4},
                    BottomEdge = {85, 71, 32, 6};
constexpr SkinPiece LeftEdge = {54, 41, 6, 32}, ColumnSeparator = {61, 41, 4, 32},
                    RightEdge = {66, 41, 6, 32};
constexpr SkinPiece FilledSlot = {256, 56, 36, 36}, EmptySlot = {256, 96, 36, 36},
                    DropMark = {256, 136, 36, 36};
// How far the hit box of a slot reaches past its 36 pixels.
constexpr int32_t HitMargin = 2;

void DrawPiece(Render* render, int32_t x, int32_t y, const SkinPiece& piece) {
    render->DrawSkinPart(x, y, piece.sx, piece.sy, piece.w, piece.h, SkinAtlasId);
}

// The junction piece at grid line (column c of k, row r of n).
const SkinPiece& Junction(int32_t c, int32_t k, int32_t r, int32_t n) {
    if (r == 0) return c == 0 ? TopLeft : c == k ? TopRight : TopJoin;
    if (r == n) return c == 0 ? BottomLeft : c == k ? BottomRight : BottomJoin;
    return c == 0 ? LeftJoin : c == k ? RightJoin : Cross;
}

}  // namespace

void PaintFrame(Render* render, int32_t left, int32_t top, int32_t columns, int32_t rows) {
    for (int32_t r = 0; r <= rows; ++r)
        for (int32_t c = 0; c <= columns; ++c)
            DrawPiece(render, left + c * Cell, top + r * Cell, Junction(c, columns, r, rows));
    for (int32_t c = 0; c < columns; ++c) {
        const int32_t edgeX = left + 8 + c * Cell;
        DrawPiece(render, edgeX, top + 2, TopEdge);
        for (int32_t r = 1; r < rows; ++r)
            DrawPiece(render, edgeX, top + r * Cell + 2, RowSeparator);
        DrawPiece(render, edgeX, top + rows * Cell, BottomEdge);
    }
    for (int32_t r = 0; r < rows; ++r) {
        const int32_t edgeY = top + 8 + r * Cell;
        DrawPiece(render, left + 2, edgeY, LeftEdge);
        for (int32_t c = 1; c < columns; ++c)
            DrawPiece(render, left + c * Cell + 2, edgeY, ColumnSeparator);
        DrawPiece(render, left + columns * Cell, edgeY, RightEdge);
    }
}

void PaintSlot(Render* render, int32_t x, int32_t y, bool filled) {
    DrawPiece(render, x, y, filled ? FilledSlot : EmptySlot);
}

void PaintDropMark(Render* render, int32_t x, int32_t y) { DrawPiece(render, x, y, DropMark); }

uint8_t SlotAt(const std::vector<SlotRect>& slots, int32_t px, int32_t py) {
    for (const SlotRect& slot : slots) {
        if (px >= slot.x - HitMargin && px < slot.x + slot.width + HitMargin &&
            py >= slot.y - HitMargin && py < slot.y + slot.height + HitMargin)
            return slot.index;
    }
    return NoSlot;
}

}  // namespace ItemGrid
