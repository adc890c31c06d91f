#include "windows/toolkit/sure.h"

#include <algorithm>
#include <map>

#include "core.h"
#include "font.h"
#include "item.h"
#include "mouse.h"
#include "render.h"
#include "screen.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t Cell = 40;
constexpr int32_t GridTop = 52;
// What the grid adds to the height of its rows: its edges and the gap to the text below.
constexpr int32_t GridFrameHeight = 27;

// Skin pieces of the item grid's frame (image 1): 8 x 8 junctions, 32-pixel edges.
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
constexpr SkinPiece Slot = {256, 56, 36, 36}, EmptySlot = {256, 16, 36, 36};

void DrawPiece(Render* render, int32_t x, int32_t y, const SkinPiece& piece) {
    render->DrawSkinPart(x, y, piece.sx, piece.sy, piece.w, piece.h, SkinAtlasId);
}

// The junction piece at grid line (column c of k, row r of n).
const SkinPiece& Junction(int32_t c, int32_t k, int32_t r, int32_t n) {
    if (r == 0) return c == 0 ? TopLeft : c == k ? TopRight : TopJoin;
    if (r == n) return c == 0 ? BottomLeft : c == k ? BottomRight : BottomJoin;
    return c == 0 ? LeftJoin : c == k ? RightJoin : Cross;
}

struct Answers {
    Sure::YesHandler yes = nullptr;
    Sure::NoHandler no = nullptr;
};

std::map<uint32_t, Answers>& AnswerTable() {
    static std::map<uint32_t, Answers> table;
    return table;
}

Answers AnswersOf(uint32_t action) {
    const auto found = AnswerTable().find(action);
    return found == AnswerTable().end() ? Answers{} : found->second;
}

}  // namespace

void Sure::SetAnswers(uint32_t action, YesHandler yes, NoHandler no) {
    AnswerTable()[action] = {yes, no};
}

Sure::Sure(Core* core, std::string title, std::string text, uint32_t action)
    : Window(core), text(std::move(text)), action(action) {
    name = std::move(title);
    Build();
}

Sure::Sure(Core* core, std::string title, std::string text, uint32_t action, Item* item,
           uint8_t moveArg)
    : Window(core), item(item), moveArg(moveArg), text(std::move(text)), action(action) {
    name = std::move(title);
    Build();
}

Sure::~Sure() {
    if (OwnsItem()) delete item;
}

bool Sure::IsItemQuestion() const {
    return action == Buy || action == SellQuestion || action == Sell;
}

// The shop's own sale and the server's sell question hand their item to the box; the buy box
// shows an item of the shop window.
bool Sure::OwnsItem() const { return action == SellQuestion || action == Sell; }

int32_t Sure::StackCount() const { return std::max<int32_t>(core->moveMultiplier, 1); }

void Sure::Build() {
    ResetLayout();
    font = core->GetFont(2);
    showGrid = 0;
    gridColumns = gridRows = 1;
    int32_t gridWidth = 0, gridHeight = 0;
    if (IsItemQuestion()) {
        const int32_t stacks = StackCount();
        showGrid = stacks > 1;
        if (stacks > 1) {
            gridColumns = static_cast<uint8_t>(stacks < 8    ? stacks
                                               : stacks < 16 ? (stacks + 1) / 2
                                                             : 8);
            gridRows = static_cast<uint8_t>((stacks + gridColumns - 1) / gridColumns);
        }
        // A grid taller than the client area shows the rows that fit above one line of the
        // question, which names the whole count.
        const int32_t roomHeight = RoomInClientArea().height;
        if (roomHeight > 0) {
            const int32_t lineHeight = font ? font->lineHeight : 0;
            const int32_t fittingRows =
                (roomHeight - BoxFrameHeight - GridFrameHeight - lineHeight) / Cell;
            gridRows = static_cast<uint8_t>(std::clamp<int32_t>(fittingRows, 1, gridRows));
        }
        gridWidth = gridColumns * Cell;
        gridHeight = gridRows * Cell + GridFrameHeight;
    }
    x = y = 0;
    FittedText fitted = FitBoxText(text, gridWidth, BoxFrameWidth, BoxFrameHeight + gridHeight);
    fittedText = std::move(fitted.text);
    width = fitted.width;
    height = fitted.height;
    Place(static_cast<int32_t>(core->clientWidth), static_cast<int32_t>(core->clientHeight));
    CreateSurface();
    movable = 1;
    modal = 1;
    typeId = WindowType::Sure;
    titleHeight = 22;
    const bool linking = action == LinkSteam;
    AddPushButton(width - 66, height - 28, ButtonId::Yes, linking ? "link" : "yes");
    AddPushButton(12, height - 28, ButtonId::No, linking ? "skip" : "no");
    AddCloseButton();
}

void Sure::PaintContent() {
    PaintBoxBackground();
    if (!IsItemQuestion()) {
        if (font) font->DrawText(32, 51, fittedText, BoxTextColour);
    } else if (item) {
        item->Refresh(0);
        PaintGrid();
        DrawCells(0, 0, false);
        if (font) font->DrawText(32, 78 + gridRows * Cell, fittedText, BoxTextColour);
    }
}

void Sure::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Sure::PaintGrid() {
    const int32_t columns = gridColumns, rows = gridRows;
    const int32_t left = width / 2 - columns * 20 - 4;
    for (int32_t r = 0; r <= rows; ++r)
        for (int32_t c = 0; c <= columns; ++c)
            DrawPiece(render, left + c * Cell, GridTop + r * Cell, Junction(c, columns, r, rows));
    for (int32_t c = 0; c < columns; ++c) {
        const int32_t edgeX = left + 8 + c * Cell;
        DrawPiece(render, edgeX, GridTop + 2, TopEdge);
        for (int32_t r = 1; r < rows; ++r)
            DrawPiece(render, edgeX, GridTop + r * Cell + 2, RowSeparator);
        DrawPiece(render, edgeX, GridTop + rows * Cell, BottomEdge);
    }
    for (int32_t r = 0; r < rows; ++r) {
        const int32_t edgeY = GridTop + 8 + r * Cell;
        DrawPiece(render, left + 2, edgeY, LeftEdge);
        for (int32_t c = 1; c < columns; ++c)
            DrawPiece(render, left + c * Cell + 2, edgeY, ColumnSeparator);
        DrawPiece(render, left + columns * Cell, edgeY, RightEdge);
    }
}

// The cells of the grid, at an origin: painted once into the surface with their slot
// backgrounds and a still item, or drawn every frame on the screen for an animated item.
void Sure::DrawCells(int32_t originX, int32_t originY, bool everyFrame) {
    const bool animated = item && item->animated;
    if (everyFrame && !animated) return;
    const int32_t left = width / 2 - gridColumns * 20 - 4;
    const int32_t stacks = showGrid ? StackCount() : 1;
    for (int32_t k = 0; k < gridColumns * gridRows; ++k) {
        const int32_t itemX = originX + left + 8 + Cell * (k % gridColumns);
        const int32_t itemY = originY + 60 + Cell * (k / gridColumns);
        if (!everyFrame) DrawPiece(render, itemX - 2, itemY - 2, k < stacks ? Slot : EmptySlot);
        if (item && k < stacks && animated == everyFrame) DrawItemAt(itemX, itemY);
    }
}

void Sure::DrawItemAt(int32_t itemX, int32_t itemY) {
    Font* labelFont = core->GetFont(1);
    if (action == Sell) item->DrawIconAmount(itemX, itemY, labelFont);
    else item->DrawIcon(itemX, itemY, labelFont);
}

void Sure::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    if (IsItemQuestion()) DrawCells(x, y, true);
    DrawButtons();
}

void Sure::OnSubmit() { Answer(); }

Sure::Outcome Sure::Answer() {
    // A box that already answered waits for the next frame to remove it: a second Enter or click
    // must not run the action again.
    if (answered || state == 3) return Outcome::Closing;
    const YesHandler yes = AnswersOf(action).yes;
    const Outcome outcome = yes ? yes(*this) : Outcome::Closing;
    if (outcome == Outcome::Closing) {
        answered = 1;
        state = 3;
    }
    return outcome;
}

void Sure::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Sure::OnCommand(Button* button) {
    if (button->id == ButtonId::Yes) {
        Core* app = core;
        // The release that pressed a refused "yes" must not reach what the refusal opened.
        if (Answer() == Outcome::Kept && app->screen && app->screen->mouse)
            app->screen->mouse->swallowRelease = 1;
    } else if (button->id == ButtonId::No || button->id == ButtonId::Close) {
        Close();
    }
}

void Sure::Close() {
    if (answered) return;
    answered = 1;
    if (const NoHandler no = AnswersOf(action).no) no(*this);
    if (OwnsItem()) {
        delete item;
        item = nullptr;
    }
    core->RemoveWindow(this);
}
