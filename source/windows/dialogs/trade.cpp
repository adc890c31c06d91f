#include "windows/dialogs/trade.h"

#include <algorithm>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "item.h"
#include "itemplace.h"
#include "mouse.h"
#include "protocol.h"
#include "render.h"
#include "screen.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/itemgrid.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint16_t OwnContainer = 255, PartnerContainer = 254;
constexpr uint32_t CancelButton = 56, AcceptButton = 57;
constexpr int32_t Columns = 8, Rows = 3, GridLeft = 39, OwnTop = 71, PartnerTop = 232;
constexpr int32_t OwnNameY = 52, PartnerNameY = 213;
constexpr uint32_t White = 0xFFFFFFFF, AcceptedColour = 0xC080F580, PreparingColour = 0xC0FFFFFF;

int32_t CellX(int32_t i) { return GridLeft + i % Columns * ItemGrid::Cell; }
int32_t CellY(int32_t top, int32_t i) { return top + i / Columns * ItemGrid::Cell; }

// The cell of a grid under a window-relative point whose hit area starts at `top`, or 255.
uint8_t CellAt(int32_t dx, int32_t dy) {
    if (dx < 0 || dy < 0 || dx >= Columns * ItemGrid::Cell || dy >= Rows * ItemGrid::Cell)
        return ItemGrid::NoSlot;
    return uint8_t(dy / ItemGrid::Cell * Columns + dx / ItemGrid::Cell);
}

void DrawStatus(Font* font, int32_t x, int32_t y, uint8_t accepted) {
    if (font)
        font->DrawTextRight(x, y, accepted ? "Accepted" : "Preparing Offer",
                            accepted ? AcceptedColour : PreparingColour);
}

}  // namespace

Trade::Trade(Core* core, std::string partner) : Window(core), partner(std::move(partner)) {
    Build();
}

Trade::~Trade() {
    for (Item* item : own) delete item;
    for (Item* item : partnerOffer) delete item;
}

void Trade::Build() {
    ResetLayout();
    width = 394;
    height = 413;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    movable = 1;
    ownAccepted = partnerAccepted = 0;
    CreateSurface();
    name = "Trading";
    typeId = WindowType::Trade;
    font = core->GetFont(2);
    countFont = core->GetFont(1);
    AddPushButton(12, height - 28, CancelButton, "cancel");
    AddPushButton(width - 66, height - 28, AcceptButton, "accept");
    AddCloseButton();
}

void Trade::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

Item* Trade::GetItem(uint8_t slot) const { return slot < own.size() ? own[slot] : nullptr; }

// Every change of an offer withdraws both acceptances.
void Trade::Insert(std::vector<Item*>& offer, Item* item, uint8_t slot) {
    offer.insert(offer.begin() + std::min<size_t>(slot, offer.size()), item);
    ownAccepted = partnerAccepted = 0;
    dirty = 1;
}

void Trade::Remove(std::vector<Item*>& offer, uint8_t slot) {
    if (slot >= offer.size() || !offer[slot]) return;
    delete offer[slot];
    offer.erase(offer.begin() + slot);
    ownAccepted = partnerAccepted = 0;
    dirty = 1;
}

void Trade::Replace(std::vector<Item*>& offer, Item* item, uint8_t slot) {
    Remove(offer, slot);
    Insert(offer, item, slot);
}

void Trade::InsertItemA(Item* item, uint8_t slot) { Insert(own, item, slot); }
void Trade::InsertItemB(Item* item, uint8_t slot) { Insert(partnerOffer, item, slot); }
void Trade::RemoveItemA(uint8_t slot) { Remove(own, slot); }
void Trade::RemoveItemB(uint8_t slot) { Remove(partnerOffer, slot); }
void Trade::ReplaceItemA(Item* item, uint8_t slot) { Replace(own, item, slot); }
void Trade::ReplaceItemB(Item* item, uint8_t slot) { Replace(partnerOffer, item, slot); }

uint8_t Trade::OwnSlotAt(int32_t px, int32_t py) const {
    return CellAt(px - x - (GridLeft - 2), py - y - (OwnTop - 2));
}

uint8_t Trade::PartnerSlotAt(int32_t px, int32_t py) const {
    return CellAt(px - x - (GridLeft - 2), py - y - PartnerTop);
}

void Trade::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Trade::PaintContent() {
    PaintBoxBackground();
    if (font) {
        if (core->player) font->DrawText(40, OwnNameY, core->player->name, White);
        font->DrawText(40, PartnerNameY, partner, White);
    }
    for (int32_t top : {OwnTop, PartnerTop}) {
        ItemGrid::PaintFrame(render, GridLeft - 6, top - 6, Columns, Rows);
        const std::vector<Item*>& offer = top == OwnTop ? own : partnerOffer;
        for (int32_t i = 0; i < Cells; ++i)
            ItemGrid::PaintSlot(render, CellX(i), CellY(top, i), i < int32_t(offer.size()));
        DrawOffer(offer, top, false, 0, 0);
    }
}

// Only the entries that have a cell are drawn.
void Trade::DrawOffer(const std::vector<Item*>& offer, int32_t top, bool animated, int32_t originX,
                      int32_t originY) {
    const int32_t shown = std::min<int32_t>(Cells, int32_t(offer.size()));
    for (int32_t i = 0; i < shown; ++i) {
        Item* item = offer[size_t(i)];
        if (item && bool(item->animated) == animated)
            item->DrawIcon(originX + CellX(i) + 2, originY + CellY(top, i) + 2, countFont);
    }
}

void Trade::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    DrawStatus(font, x + width - 39, y + OwnNameY, ownAccepted);
    DrawStatus(font, x + width - 39, y + PartnerNameY, partnerAccepted);
    const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
    if (mouse && core->inputModes[InputDrop]) {
        const uint8_t cell = OwnSlotAt(mouse->x, mouse->y);
        if (cell < Cells) ItemGrid::PaintDropMark(render, x + CellX(cell), y + CellY(OwnTop, cell));
    }
    DrawOffer(own, OwnTop, true, x, y);
    DrawOffer(partnerOffer, PartnerTop, true, x, y);
    DrawButtons();
}

void Trade::OnMouseDown(int32_t mx, int32_t my) {
    Window::OnMouseDown(mx, my);
    if (dragging || resizing) return;
    const uint8_t cell = OwnSlotAt(mx, my);
    Item* item = GetItem(cell);
    if (!item) return;
    core->useItemX = ItemPlace::TradeSlot;
    core->useItemY = OwnContainer;
    core->useItemZ = cell;
    core->dragTo = item;
    core->inputModes[InputDragArmed] = 1;
}

void Trade::OnMouseUp(int32_t mx, int32_t my) {
    Window::OnMouseUp(mx, my);
    Protocol* connection = core->activeConnection;
    if (core->inputModes[InputDrop]) {
        const uint8_t cell = OwnSlotAt(mx, my);
        if (cell >= Cells) return;
        core->dropX = ItemPlace::TradeSlot;
        core->dropY = OwnContainer;
        core->dropZ = cell;
        const bool withinOffer =
            core->useItemX == ItemPlace::TradeSlot && core->useItemY == core->dropY;
        if (own.size() >= Cells && !(withinOffer && own.size() == Cells)) {
            core->AddNotification(2, "You've got no more trade slots.");
            return;
        }
        core->DropThing();
        return;
    }
    if (!connection) return;
    const uint8_t ownCell = OwnSlotAt(mx, my), partnerCell = PartnerSlotAt(mx, my);
    if (core->inputModes[InputDragArmed]) {
        if (Item* item = GetItem(ownCell))
            connection->SendLookSlotItem(uint8_t(OwnContainer), ownCell, uint16_t(item->shapeId));
    } else if (partnerCell < partnerOffer.size() && partnerOffer[partnerCell]) {
        connection->SendLookSlotItem(uint8_t(PartnerContainer), partnerCell,
                                     uint16_t(partnerOffer[partnerCell]->shapeId));
    }
}

void Trade::OnCommand(Button* button) {
    if (button->id == ButtonId::Close || button->id == CancelButton) {
        OnSubmit();
    } else if (button->id == AcceptButton) {
        ownAccepted = 1;
        if (core->activeConnection) core->activeConnection->SendTradeAccept();
    }
}

void Trade::OnSubmit() {
    if (Window* split = core->FindWindow(WindowType::Split)) split->Close();
    if (core->activeConnection) core->activeConnection->SendTradeCancel();
    core->RemoveWindow(this);
}
