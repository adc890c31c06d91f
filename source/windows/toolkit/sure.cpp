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
#include "windows/toolkit/itemgrid.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t Cell = ItemGrid::Cell;
constexpr int32_t GridTop = 52;
// What the grid adds to the height of its rows: its edges and the gap to the text below.
constexpr int32_t GridFrameHeight = 27;

// The slot backgrounds of the stacks shown (skin image 1).
constexpr int32_t SlotSkinX = 256, SlotSkinY = 56, EmptySlotSkinY = 16, SlotSize = 36;

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
    ItemGrid::PaintFrame(render, width / 2 - gridColumns * 20 - 4, GridTop, gridColumns, gridRows);
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
        if (!everyFrame)
            render->DrawSkinPart(itemX - 2, itemY - 2, SlotSkinX,
                                 k < stacks ? SlotSkinY : EmptySlotSkinY, SlotSize, SlotSize,
                                 SkinAtlasId);
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
