// The bank and the merchants' shops: their opening, contents, the server's sale question and
// their closing.
#include <algorithm>
#include <string>
#include <vector>

#include "converttext.h"
#include "core.h"
#include "item.h"
#include "protocol.h"
#include "windows/dialogs/bank.h"
#include "windows/dialogs/shop.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/windowtypes.h"

namespace {

const char* const UnknownShopShape = "shop_open: unknown shape id.";
// Markers of the bank's slot list; below FirstMarker a byte starts a shape id.
const uint8_t FirstMarker = 250, RunMarker = 254, EndMarker = 255;
// A run of this length also ends the list.
const uint32_t RunEnd = 255;

Shop* OpenShop(Core* core) { return dynamic_cast<Shop*>(core->FindWindow(WindowType::Shop)); }

void DeleteAll(std::vector<ShopEntry*>& items) {
    for (ShopEntry* item : items) delete item;
    items.clear();
}

}  // namespace

ShopEntry* Protocol::ReadShopEntry(bool offer) {
    ItemRecord record;
    if (!ReadItem(record)) {
        FailFatally(UnknownShopShape);
        return nullptr;
    }
    uint16_t amount;
    uint32_t price;
    if (offer) {
        amount = uint16_t(inBuffer.GetVarint());
        price = inBuffer.GetVarint();
    } else {
        amount = inBuffer.GetU16();
        price = inBuffer.GetU32();
    }
    std::string name = inBuffer.GetString();
    if (inBuffer.Failed()) return nullptr;
    auto* item = new ShopEntry(core, record.shapeId, record.subId, 0, 0, 0, record.count, amount,
                               price, ItemIdle);
    item->name = std::move(name);
    return item;
}

void Protocol::RemoveQuestion(uint32_t action) {
    auto* box = dynamic_cast<Sure*>(core->FindWindow(WindowType::Sure));
    if (box && box->action == action) core->RemoveWindow(box);
}

void Protocol::shop_open() {
    std::string title = inBuffer.GetString();
    ConvertText(title);
    if (OpenShop(core)) shop_close();
    std::vector<ShopEntry*> goods, offer;
    const uint8_t goodsCount = inBuffer.GetByte();
    for (uint8_t i = 0; i < goodsCount && !inBuffer.Failed(); ++i) {
        ShopEntry* entry = ReadShopEntry(false);
        if (entry) goods.push_back(entry);
    }
    const uint8_t offerCount = uint8_t(inBuffer.GetVarint());
    for (uint8_t i = 0; i < offerCount && !inBuffer.Failed(); ++i) {
        ShopEntry* entry = ReadShopEntry(true);
        if (entry) offer.push_back(entry);
    }
    if (inBuffer.Failed() || closed) {
        DeleteAll(goods);
        DeleteAll(offer);
        return;
    }
    core->AddWindow(new Shop(core, title, std::move(goods), std::move(offer)));
}

void Protocol::shop_items() {
    const uint8_t slot = uint8_t(inBuffer.GetVarint());
    ShopEntry* entry = ReadShopEntry(true);
    if (!entry) return;
    if (Shop* shop = OpenShop(core)) shop->SetOfferItem(entry, slot);
    else delete entry;
}

void Protocol::shop_item_update() {
    const uint8_t slot = inBuffer.GetByte();
    const uint16_t stock = inBuffer.GetU16();
    const uint32_t price = inBuffer.GetU32();
    if (inBuffer.Failed()) return;
    if (Shop* shop = OpenShop(core)) shop->UpdateItem(slot, stock, price);
}

// The server's close sends nothing back, and withdraws the questions about the shop.
void Protocol::shop_close() {
    Shop* shop = OpenShop(core);
    if (!shop) return;
    core->RemoveWindow(shop);
    CloseSplit();
    RemoveQuestion(Sure::SellQuestion);
    RemoveQuestion(Sure::Buy);
}

void Protocol::shop_sell_confirm() {
    ItemRecord record;
    if (!ReadItem(record)) {
        FailFatally(UnknownShopShape);
        return;
    }
    const uint32_t total = inBuffer.GetU32();
    if (inBuffer.Failed()) return;
    auto* item = new Item(core, record.shapeId, record.subId, 0, 0, 0, record.count, record.count,
                          total, ItemIdle);
    core->moveMultiplier = 1;
    core->AddWindow(
        new Sure(core, "Selling", SaleQuestion(record.count, total), Sure::SellQuestion, item, 0));
}

void Protocol::question_withdrawn() { RemoveQuestion(Sure::SellQuestion); }

void Protocol::bank_open() {
    inBuffer.GetU16();
    const std::string title = inBuffer.GetString();
    bank();
    auto* window = new Bank(core, title);
    uint32_t slot = 0, skip = 0;
    while (!closed) {
        const uint8_t marker = inBuffer.GetByte();
        if (inBuffer.Failed() || marker == EndMarker) break;
        if (marker == RunMarker) {
            skip = inBuffer.GetVarStop();
            if (skip == RunEnd) break;
            continue;
        }
        if (marker >= FirstMarker) {
            FailFatally("bank unknown data.");
            break;
        }
        slot += skip;
        skip = 0;
        ItemRecord record;
        record.shapeId = uint16_t(marker | inBuffer.GetByte() << 8);
        if (record.shapeId != 0) {
            if (!ReadItemRest(record)) {
                FailFatally("bank: unknown shape id. (item)");
                break;
            }
            // A slot counter past the u8 range is a slot past the mailbox as well.
            window->InsertItem(new Item(core, record.shapeId, record.subId, 0, 0, 0, record.count,
                                        ItemIdle),
                               uint8_t(std::min<uint32_t>(slot, Bank::SlotCount)));
        }
        ++slot;
    }
    if (closed || inBuffer.Failed()) {
        delete window;
        return;
    }
    core->AddWindow(window);
}

void Protocol::bank() { RemoveWindowAndSplit(WindowType::Bank); }
