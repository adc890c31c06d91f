#include "windows/dialogs/shop.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "coins.h"
#include "core.h"
#include "font.h"
#include "item.h"
#include "itemplace.h"
#include "mouse.h"
#include "protocol.h"
#include "render.h"
#include "screen.h"
#include "spell.h"
#include "windows/dialogs/split.h"
#include "windows/game/action.h"
#include "windows/game/actioncodes.h"
#include "windows/game/channel.h"
#include "windows/game/console.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/itemgrid.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using ItemGrid::Cell;

// The server's container numbers of the two lists while an entry is held.
constexpr uint16_t GoodsRow = 253, OfferRow = 249;
// The inventory slot a purchase goes to: equipment slot 2.
constexpr uint8_t BuySlot = 2;
constexpr uint32_t InfoChannel = 240;
// Goods of a guild of learning are abilities named "Ability: <name>".
constexpr size_t AbilityPrefixLength = 9;
// Sale questions and count choices name at most this many items of one stack.
constexpr uint32_t MostShown = 1000;
constexpr int32_t GridLeft = 39, GridTopTrade = 78, GridTopLearn = 98, HintHeight = 20;
constexpr uint32_t TextColour = 0xE0E0E0E0, DarkenColour = 0xA0000000;
constexpr uint8_t HoverAlpha = 90;

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string CopperCoins(uint64_t total) {
    return FormatLargeNumber(total) + " copper coin" + (total == 1 ? "" : "s");
}

std::string PriceHint(uint32_t price) {
    return MakeColorCode(200, 150, 115, 255) + CopperCoins(price);
}

// "a pair of boots" sells as "pairs of boots", "potato" as "potatoes".
std::string Plural(std::string name) {
    const size_t of = name.find(" of ", 1);
    if (of != std::string::npos) return name.insert(of, "s");
    if (!name.empty() && name.back() == 'o') name += "e";
    return name + "s";
}

bool IsLearnShop(const std::string& name) {
    return Lower(name).find("guilds of learning") != std::string::npos;
}

template <typename List>
ShopEntry* EntryAt(const List& list, uint8_t slot) {
    return slot < list.size() ? list[slot] : nullptr;
}

// The buy question and the split window that show an entry end with it.
void ForgetEntry(Core* core, const ShopEntry* entry) {
    for (Window* window : core->windows) {
        auto* box = dynamic_cast<Sure*>(window);
        if (box && box->item == entry) {
            core->RemoveWindow(box);
            break;
        }
    }
    auto* split = dynamic_cast<Split*>(core->FindWindow(WindowType::Split));
    if (split && split->source == entry) split->Close();
}

void DeleteAt(Core* core, std::vector<ShopEntry*>& list, uint8_t slot) {
    if (slot >= list.size()) return;
    ForgetEntry(core, list[slot]);
    delete list[slot];
    list.erase(list.begin() + slot);
}

void InsertAt(std::vector<ShopEntry*>& list, ShopEntry* item, uint8_t slot) {
    list.insert(list.begin() + std::min<size_t>(slot, list.size()), item);
}

}  // namespace

std::string SaleQuestion(uint32_t count, uint64_t total) {
    const std::string white = MakeColorCode(255, 255, 255, 255),
                      grey = MakeColorCode(224, 224, 224, 224);
    std::string text = "Do you want to sell ";
    text += count < 2 ? "this item" : "these " + white + FormatNumber(count) + grey + " items";
    text += " for " + white + CopperCoins(total) + grey + "?";
    // Only sums of a silver coin or more are told in coins.
    if (total >= 100) text += "\nYou will receive " + CoinWords(total) + ".";
    return text;
}

std::string SoldLine(const std::string& name, uint32_t count, uint64_t total) {
    const std::string lower = Lower(name), grey = MakeColorCode(224, 224, 224, 224);
    std::string amount = std::to_string(count);
    if (count == 1)
        amount =
            !lower.empty() && std::string("aeiou").find(lower[0]) != std::string::npos ? "an" : "a";
    return grey + "You've sold " + MakeColorCode(255, 255, 255, 224) + amount + " " +
           (count > 1 ? Plural(lower) : lower) + grey + " for " +
           MakeColorCode(200, 150, 115, 255) + CopperCoins(total) + grey + ".";
}

Shop::Shop(Core* core, std::string name, std::vector<ShopEntry*> goods,
           std::vector<ShopEntry*> offer)
    : Window(core), goods(std::move(goods)), offer(std::move(offer)) {
    this->name = std::move(name);
    Build();
}

Shop::~Shop() {
    for (ShopEntry* item : goods) delete item;
    for (ShopEntry* item : offer) delete item;
}

void Shop::Build() {
    ResetLayout();
    learnMode = IsLearnShop(name);
    ComputeLayout();
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    movable = 1;
    CreateSurface();
    typeId = WindowType::Shop;
    font = core->GetFont(2);
    smallFont = core->GetFont(1);
    AddCloseButton();
    AddPushButton(12, height - 28, ButtonId::Close, "close");
}

void Shop::ComputeLayout() {
    const int32_t goodsCount = int32_t(goods.size()), offerCount = int32_t(offer.size());
    const int32_t half = (goodsCount + offerCount) / 2;
    const int32_t side = std::max(8, int32_t(std::ceil(std::sqrt(double(half)))));
    const int32_t limit = learnMode ? 2 : side - 3;
    for (int32_t c = learnMode ? 7 : 6;; ++c) {
        int32_t g = std::max(1, (goodsCount + c - 1) / c);
        const int32_t o = (offerCount + c - 1) / c;
        if (g + o < limit) {
            g = std::max(1, limit - o - 1);
            if (o == 0) ++g;
        }
        if (g + o <= side && g <= limit && o <= limit) {
            columns = c;
            goodsRows = g;
            offerRows = o;
            break;
        }
    }
    goodsCells = columns * goodsRows;
    offerCells = columns * offerRows;
    x = y = 0;
    width = columns * Cell + 76;
    SetHeight();
}

void Shop::SetHeight() {
    height = goodsRows * Cell + 119 + (offer.empty() ? 0 : (offerRows + 1) * Cell) + HintHeight +
             (learnMode ? HintHeight : 0);
}

int32_t Shop::GridTop() const { return learnMode ? GridTopLearn : GridTopTrade; }
int32_t Shop::OfferTop() const { return GridTop() + goodsRows * Cell + Cell; }

void Shop::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Shop::OnCommand(Button* button) {
    if (button->id == ButtonId::Close) Close();
}

void Shop::Close() {
    if (Window* split = core->FindWindow(WindowType::Split)) split->Close();
    if (core->activeConnection) core->activeConnection->SendShopClose();
    core->RemoveWindow(this);
}

ShopEntry* Shop::GetItem(uint8_t slot) const { return EntryAt(goods, slot); }
ShopEntry* Shop::GetOffer(uint8_t slot) const { return EntryAt(offer, slot); }

void Shop::InsertItem(ShopEntry* item, uint8_t slot) {
    InsertAt(goods, item, slot);
    dirty = 1;
}

void Shop::RemoveItem(uint8_t slot) {
    DeleteAt(core, goods, slot);
    dirty = 1;
}

void Shop::ReplaceItem(ShopEntry* item, uint8_t slot) {
    DeleteAt(core, goods, slot);
    InsertItem(item, slot);
}

void Shop::UpdateItem(uint8_t slot, uint16_t stock, uint32_t price) {
    if (ShopEntry* entry = GetItem(slot)) entry->SetExtra(stock, price);
    dirty = 1;
}

void Shop::SetOfferItem(ShopEntry* item, uint8_t slot) {
    const size_t before = offer.size();
    DeleteAt(core, offer, slot);
    if (item->amount != 0) InsertAt(offer, item, slot);
    else delete item;
    offerRows = int32_t((offer.size() + size_t(columns) - 1) / size_t(columns));
    offerCells = offerRows * columns;
    if (offer.size() != before) {
        SetHeight();
        for (Button* button : buttons)
            if (button->id == ButtonId::Close && button->caption == "close")
                button->y = height - 28;
        Refresh();
    }
    dirty = 1;
}

bool Shop::IsAbilityLearned(const ShopEntry* item) const {
    if (!item || item->name.size() < AbilityPrefixLength) return false;
    const std::string ability = item->name.substr(AbilityPrefixLength);
    return std::any_of(core->spells.begin(), core->spells.end(), [&](const Spell* spell) {
        return spell && spell->usable && spell->name == ability;
    });
}

uint8_t Shop::GoodsSlotAt(int32_t px, int32_t py) const {
    const int32_t dx = px - x - (GridLeft - 2), dy = py - y - (GridTop() - 2);
    if (dx < 0 || dx >= columns * Cell || dy < 0 || dy >= goodsRows * Cell) return ItemGrid::NoSlot;
    return uint8_t(std::min(dx / Cell + dy / Cell * columns, int32_t(ItemGrid::NoSlot)));
}

uint8_t Shop::OfferSlotAt(int32_t px, int32_t py) const {
    const int32_t dx = px - x - (GridLeft - 2), dy = py - y - (OfferTop() - 2);
    if (dx < 0 || dx >= columns * Cell || dy < 0 || dy >= offerRows * Cell) return ItemGrid::NoSlot;
    return uint8_t(std::min(dx / Cell + dy / Cell * columns, int32_t(ItemGrid::NoSlot)));
}

void Shop::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Shop::PaintContent() {
    PaintBoxBackground();
    const int32_t top = GridTop();
    ItemGrid::PaintFrame(render, GridLeft - 6, top - 6, columns, goodsRows);
    if (!offer.empty())
        ItemGrid::PaintFrame(render, GridLeft - 6, OfferTop() - 6, columns, offerRows);
    if (font) {
        font->DrawText(41, 57, "You hold " + FormatNumber(core->shopValue) + " cc (copper coins).",
                       TextColour);
        if (learnMode)
            font->DrawText(41, 77, "Drag an ability to your inventory to learn it.", TextColour);
    }
    for (int32_t i = 0; i < goodsCells; ++i) {
        const int32_t cellX = GridLeft + i % columns * Cell, cellY = top + i / columns * Cell;
        ShopEntry* entry = i < int32_t(goods.size()) ? goods[size_t(i)] : nullptr;
        ItemGrid::PaintSlot(render, cellX, cellY, entry != nullptr);
        if (entry && !entry->animated) DrawGoodsItem(entry, cellX, cellY);
    }
    if (offer.empty()) return;
    if (font)
        font->DrawText(41, top + goodsRows * Cell + 19, "Your sellable inventory:", TextColour);
    for (int32_t j = 0; j < offerCells; ++j)
        ItemGrid::PaintSlot(render, GridLeft + j % columns * Cell, OfferTop() + j / columns * Cell,
                            j < int32_t(offer.size()));
}

void Shop::DrawGoodsItem(ShopEntry* item, int32_t cellX, int32_t cellY) {
    if (!learnMode) {
        item->DrawIconAmount(cellX + 2, cellY + 2, smallFont);
        return;
    }
    item->DrawIcon(cellX + 2, cellY + 2, smallFont);
    if (IsAbilityLearned(item))
        render->DrawBoxStyle2(cellX + 2, cellY + 2, 32, 32, DarkenColour, DarkenColour);
}

void Shop::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    DrawOverlay();
    if (!core->inputModes[InputDrop]) DrawHovered();
    DrawButtons();
}

void Shop::DrawOverlay() {
    const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
    const bool held = core->useItemX == ItemPlace::ShopSlot;
    if (mouse && core->inputModes[InputDrop]) {
        // Over the grid the held item came from, the cell's drop mark; over a grid it may be
        // dropped into, that grid's outline.
        const auto mark = [&](int32_t slot, uint16_t row, int32_t top, int32_t rows) {
            if (held && core->useItemY == row)
                ItemGrid::PaintDropMark(render, x + GridLeft + slot % columns * Cell,
                                        y + top + slot / columns * Cell);
            else
                render->DrawBoxStyle3(x + GridLeft - 6, y + top - 6, ItemGrid::FramedSize(columns),
                                      ItemGrid::FramedSize(rows), 0xFFFFFFFF);
        };
        const uint8_t goodsSlot = GoodsSlotAt(mouse->x, mouse->y);
        const uint8_t offerSlot = OfferSlotAt(mouse->x, mouse->y);
        if (goodsSlot < goodsCells) mark(goodsSlot, GoodsRow, GridTop(), goodsRows);
        else if (offerSlot < offerCells) mark(offerSlot, OfferRow, OfferTop(), offerRows);
    }
    // Only entries that have a cell are drawn.
    for (int32_t i = 0; i < std::min<int32_t>(goodsCells, int32_t(goods.size())); ++i)
        if (goods[size_t(i)]->animated)
            DrawGoodsItem(goods[size_t(i)], x + GridLeft + i % columns * Cell,
                          y + GridTop() + i / columns * Cell);
    for (int32_t j = 0; j < std::min<int32_t>(offerCells, int32_t(offer.size())); ++j)
        offer[size_t(j)]->DrawIconAmount(x + GridLeft + j % columns * Cell + 2,
                                         y + OfferTop() + j / columns * Cell + 2, smallFont);
}

// The entry under the pointer stands out.
void Shop::DrawHovered() {
    const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
    if (!mouse) return;
    int32_t cellX = 0, cellY = 0;
    ShopEntry* entry = nullptr;
    if (const uint8_t slot = GoodsSlotAt(mouse->x, mouse->y); slot < goodsCells && GetItem(slot)) {
        entry = GetItem(slot);
        cellX = x + GridLeft + slot % columns * Cell;
        cellY = y + GridTop() + slot / columns * Cell;
    } else if (const uint8_t slot = OfferSlotAt(mouse->x, mouse->y);
               slot < offerCells && GetOffer(slot)) {
        entry = GetOffer(slot);
        cellX = x + GridLeft + slot % columns * Cell;
        cellY = y + OfferTop() + slot / columns * Cell;
    }
    if (!entry) return;
    entry->DrawTinted(cellX + 2, cellY + 2, HoverAlpha);
    entry->DrawAmountText(cellX + 2, cellY + 2, smallFont);
}

void Shop::Refuse(const std::string& text) { core->AddNotification(2, text); }

void Shop::PickUp(uint16_t row, uint8_t slot, ShopEntry* item) {
    core->useItemX = ItemPlace::ShopSlot;
    core->useItemY = row;
    core->useItemZ = slot;
    core->dragTo = item;
}

void Shop::OnMouseDown(int32_t mx, int32_t my) {
    Window::OnMouseDown(mx, my);
    if (dragging || resizing) return;
    const uint8_t goodsSlot = GoodsSlotAt(mx, my), offerSlot = OfferSlotAt(mx, my);
    if (ShopEntry* entry = goodsSlot < goodsCells ? GetItem(goodsSlot) : nullptr) {
        if (entry->amount == 0) return Refuse("Sorry, this item is sold out.");
        if (learnMode && IsAbilityLearned(entry))
            return Refuse("You've already learned this ability.");
        PickUp(GoodsRow, goodsSlot, entry);
        core->inputModes[InputDragArmed] = 1;
    } else if (ShopEntry* held = offerSlot < offerCells ? GetOffer(offerSlot) : nullptr) {
        PickUp(OfferRow, offerSlot, held);
        core->inputModes[InputDragArmed] = 1;
    }
}

void Shop::OnMouseUp(int32_t mx, int32_t my) {
    Window::OnMouseUp(mx, my);
    Protocol* connection = core->activeConnection;
    const uint8_t goodsSlot = GoodsSlotAt(mx, my), offerSlot = OfferSlotAt(mx, my);
    if (!core->inputModes[InputDrop]) {
        ShopEntry* entry = goodsSlot < goodsCells ? GetItem(goodsSlot) : nullptr;
        ShopEntry* offered = offerSlot < offerCells ? GetOffer(offerSlot) : nullptr;
        if (!connection) return;
        if (entry && (core->inputModes[InputDragArmed] || entry->amount == 0))
            connection->SendLookSlotItem(uint8_t(GoodsRow), goodsSlot, uint16_t(entry->shapeId));
        else if (offered) connection->SendLookShopItem(uint16_t(offered->shapeId), offerSlot);
        return;
    }
    const bool fromShop = core->useItemX == ItemPlace::ShopSlot;
    if (goodsSlot < goodsCells) {
        core->dropX = ItemPlace::ShopSlot;
        core->dropY = GoodsRow;
        core->dropZ = goodsSlot;
        if (fromShop && core->useItemY == GoodsRow) {
            Refuse("Sorry, this is not possible.");
        } else if (fromShop && core->useItemY == OfferRow) {
            ShopEntry* held = GetOffer(core->useItemZ);
            if (!held || !core->dragTo) return;
            core->moveCount = 1;
            if (held->amount > 1) {
                countRecord =
                    std::make_unique<Item>(core, held->shapeId, held->subId, 0, 0, 0,
                                           std::min<uint32_t>(held->amount, MostShown), ItemIdle);
                core->ChooseMoveCount(countRecord.get(), true, 0);
            } else {
                AskSellConfirmation();
            }
        } else {
            core->DropThing();
        }
    } else if (offerSlot < offerCells && fromShop && core->useItemY == GoodsRow) {
        core->dropX = ItemPlace::EquipmentSlot;
        core->dropY = 0;
        core->dropZ = BuySlot;
        core->DropThing();
    }
}

void Shop::OnRightClick(int32_t mx, int32_t my) {
    const uint8_t goodsSlot = GoodsSlotAt(mx, my), offerSlot = OfferSlotAt(mx, my);
    ShopEntry* entry = goodsSlot < goodsCells ? GetItem(goodsSlot) : nullptr;
    ShopEntry* offered = offerSlot < offerCells ? GetOffer(offerSlot) : nullptr;
    if (!entry && !offered) return;
    auto* menu = new Action(core, this, entry ? entry->name : offered->name, 0);
    if (entry) {
        PickUp(GoodsRow, goodsSlot, entry);
        const bool learned = learnMode && IsAbilityLearned(entry);
        if (!learned) {
            menu->AddEntryWithHint(0, "Price", PriceHint(entry->value));
            if (entry->count > 1)
                menu->AddEntryWithHint(0, "Quantity",
                                       MakeColorCode(255, 255, 255, 224) + "per " +
                                           std::to_string(entry->count));
            menu->AddEntry(0, "-");
        }
        if (entry->amount != 0 && !learned)
            menu->AddEntry(ActionCode::BuyItem, learnMode ? "Learn ability" : "Buy item");
        menu->AddEntryWithHint(ActionCode::ExamineItem, "Examine", "LMB");
    } else {
        PickUp(OfferRow, offerSlot, offered);
        menu->AddEntryWithHint(0, "Offer", PriceHint(offered->value));
        if (offered->amount > 1)
            menu->AddEntryWithHint(0, "Quantity", MakeColorCode(255, 255, 255, 224) + "per item");
        menu->AddEntry(0, "-");
        if (offered->amount > 1)
            menu->AddEntry(ActionCode::SellAll,
                           offered->amount == 2
                               ? "Sell both items"
                               : "Sell all " + std::to_string(offered->amount) + " items");
        menu->AddEntry(ActionCode::SellItem, "Sell item");
        menu->AddEntryWithHint(ActionCode::ExamineOffer, "Examine", "LMB");
    }
    menu->Open(mx, my);
    core->AddWindow(menu);
}

void Shop::AskSellConfirmation() {
    const Item* held = static_cast<const Item*>(core->dragTo);
    if (!held) return;
    const uint32_t count = core->moveCount;
    const uint64_t total = uint64_t(held->value) * count;
    auto* record = new Item(core, held->shapeId, held->subId, 0, 0, 0, std::min(count, MostShown),
                            uint16_t(count), held->value, ItemIdle);
    core->moveMultiplier = 1;
    core->AddWindow(new Sure(core, "Selling", SaleQuestion(count, total), Sure::Sell, record, 0));
}

bool Shop::ConfirmSell(const Item* asked) {
    ShopEntry* entry = core->useItemX == ItemPlace::ShopSlot && core->useItemY == OfferRow
                           ? GetOffer(core->useItemZ)
                           : nullptr;
    if (!entry || !asked || entry->shapeId != asked->shapeId || !core->activeConnection)
        return false;
    core->activeConnection->SendShopSell(uint16_t(entry->shapeId), core->useItemZ, core->moveCount);
    return true;
}

void Shop::SellSelected(uint8_t all) {
    ShopEntry* entry = core->useItemY == OfferRow ? GetOffer(core->useItemZ) : nullptr;
    if (!entry || !core->activeConnection) return;
    const uint32_t count = all ? entry->amount : 1;
    core->activeConnection->SendShopSell(uint16_t(entry->shapeId), core->useItemZ, count);
    auto* console = dynamic_cast<Console*>(core->consoleWindow);
    if (Channel* info = console ? console->FindChannel(InfoChannel) : nullptr)
        info->AppendLine(SoldLine(entry->name, count, uint64_t(entry->value) * count));
}
