// The container messages: the server opens, fills and empties the copies of the containers the
// player can reach (ops 80, 82, 83 and 87). Container 0 is the equipment, 1 to 249 are ordinary
// container windows; the numbers above name the bank, crafting, shop and trade lists.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core.h"
#include "item.h"
#include "protocol.h"
#include "windows/dialogs/bank.h"
#include "windows/dialogs/brew.h"
#include "windows/dialogs/look.h"
#include "windows/dialogs/shop.h"
#include "windows/dialogs/trade.h"
#include "windows/game/container.h"
#include "windows/game/equipment.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint8_t EquipmentNumber = 0, LastContainerNumber = 249;
// The lists of the dialogs: the bank, brewing, crafting, the shop's goods and both trade offers.
constexpr uint8_t BankNumber = 250, BrewNumber = 251, CraftNumber = 252, ShopNumber = 253,
                  PartnerOfferNumber = 254, OwnOfferNumber = 255;
// Where the window of an open request goes: the columns, or the clicked point for loot.
constexpr uint8_t RightColumn = 1, LeftColumn = 2, FieldPlacement = 255;
constexpr uint8_t HasParentFlag = 0x80;
constexpr int32_t EmptyLootLifetimeMs = 2500;
// Markers of the item lists of containers and the bank; below FirstMarker a byte starts an item.
constexpr uint8_t FirstMarker = 250, BadMarker = 250, RunMarker = 254, EndMarker = 255;

bool IsContainerNumber(uint8_t number) {
    return number != EquipmentNumber && number <= LastContainerNumber;
}

Equipment* EquipmentOf(Core* core) { return dynamic_cast<Equipment*>(core->equipmentWindow); }

template <class Dialog>
Dialog* OpenDialog(Core* core, uint16_t type) {
    return dynamic_cast<Dialog*>(core->FindWindow(type));
}

// The brewing window for 251, the crafting window for 252.
Brew* BrewOf(Core* core, uint8_t number) {
    return OpenDialog<Brew>(core, number == BrewNumber ? WindowType::Brew : WindowType::Craft);
}

Trade* TradeOf(Core* core) { return OpenDialog<Trade>(core, WindowType::Trade); }

ShopEntry* NewShopEntry(Core* core, const ItemRecord& record) {
    return new ShopEntry(core, record.shapeId, record.subId, 0, 0, 0, record.count, ItemIdle);
}

}  // namespace

bool Protocol::ReadItemList(std::vector<std::unique_ptr<Item>>& items, const char* unknownShape,
                            const char* badMarker) {
    while (!closed) {
        const uint8_t marker = inBuffer.GetByte();
        if (inBuffer.Failed() || marker == EndMarker) return true;
        if (marker < FirstMarker) {
            ItemRecord item;
            item.shapeId = uint16_t(marker | inBuffer.GetByte() << 8);
            if (!ReadItemRest(item)) {
                FailFatally(unknownShape);
                return false;
            }
            items.emplace_back(NewItem(item));
        } else if (marker == BadMarker) {
            FailFatally(badMarker);
            return false;
        } else if (marker == RunMarker && int32_t(inBuffer.GetVarStop()) >= 1) {
            return true;
        }
    }
    return false;
}

Item* Protocol::NewItem(const ItemRecord& record) {
    return new Item(core, record.shapeId, record.subId, 0, 0, 0, record.count, ItemIdle);
}

// Fields: container number, flags (bit 7: it lies in another container), slot count, icon
// shape id, title, item list.
void Protocol::container_attach() {
    PendingOpen place{0, 0, 0};
    if (!pendingOpens.empty()) {
        place = pendingOpens.front();
        pendingOpens.pop_front();
    }
    if (place.kind == FieldPlacement && !core->options.lootcont) place.kind = LeftColumn;
    const uint8_t number = inBuffer.GetByte();
    const uint8_t hasParent = (inBuffer.GetByte() & HasParentFlag) ? 1 : 0;
    const uint8_t slots = inBuffer.GetByte();
    const uint16_t iconShapeId = inBuffer.GetU16();
    const std::string title = inBuffer.GetString();
    std::vector<std::unique_ptr<Item>> read;
    if (!ReadItemList(read, "container_attach: unknown shape id. (item)",
                      "container_attach: failed to read the container data.") ||
        inBuffer.Failed())
        return;
    std::vector<Item*> items;
    for (std::unique_ptr<Item>& item : read) items.push_back(item.release());

    const bool loot = place.kind == FieldPlacement;
    Container* window = nullptr;
    if (loot || (core->options.widescreen && !core->options.inventory)) {
        window =
            new Container(core, nullptr, number, iconShapeId, 0, slots, title, std::move(items));
        core->AddWindow(window);
    } else if (Container* open = core->FindContainerWindow(number)) {
        open->Reopen(iconShapeId, hasParent, slots, title);
        for (auto it = items.rbegin(); it != items.rend(); ++it) open->AddItem(*it);
    } else {
        Window* column = place.kind == RightColumn  ? core->rightPanel
                         : place.kind == LeftColumn ? core->leftPanel
                                                    : core->containerPanel;
        auto* panel = dynamic_cast<Panel*>(column);
        if (!panel) {
            for (Item* item : items) delete item;
            return;
        }
        auto* created = new Container(core, panel, number, iconShapeId, hasParent, slots, title,
                                      std::move(items));
        panel->Add(created);
    }
    if (!loot) return;

    if (window->items.empty()) {
        SendContainerClose(number);
        core->RemoveWindow(window);
        auto* look = new Look(core, title, "empty", place.x, place.y, 0);
        look->lifetimeMs = EmptyLootLifetimeMs;
        core->AddWindow(look);
        return;
    }
    window->SetGeometry(place.x, place.y);
    for (Window* other : core->windows) {
        auto* container = dynamic_cast<Container*>(other);
        if (container && container != window && container->floating && container->state == 1)
            container->state = 2;
    }
}

void Protocol::InsertContainerItem(uint8_t number, uint8_t slot, const ItemRecord& record) {
    switch (number) {
        case BankNumber:
            if (Bank* bank = OpenDialog<Bank>(core, WindowType::Bank))
                bank->InsertItem(NewItem(record), slot);
            return;
        case BrewNumber:
        case CraftNumber:
            if (Brew* brew = BrewOf(core, number)) brew->SetItem(NewItem(record), slot);
            return;
        case ShopNumber:
            if (Shop* shop = OpenDialog<Shop>(core, WindowType::Shop))
                shop->InsertItem(NewShopEntry(core, record), slot);
            return;
        case PartnerOfferNumber:
            if (Trade* trade = TradeOf(core)) trade->InsertItemB(NewItem(record), slot);
            return;
        case OwnOfferNumber:
            if (Trade* trade = TradeOf(core)) trade->InsertItemA(NewItem(record), slot);
            return;
        default: break;
    }
    Container* container = IsContainerNumber(number) ? core->FindContainerWindow(number) : nullptr;
    if (container) container->InsertItem(NewItem(record), slot);
}

void Protocol::ReplaceContainerItem(uint8_t number, uint8_t slot, const ItemRecord& record) {
    switch (number) {
        case EquipmentNumber:
            if (Equipment* equipment = EquipmentOf(core))
                equipment->ReplaceSlot(NewItem(record), slot);
            return;
        case BankNumber:
            if (Bank* bank = OpenDialog<Bank>(core, WindowType::Bank))
                bank->ReplaceItem(NewItem(record), slot);
            return;
        case BrewNumber:
        case CraftNumber:
            if (Brew* brew = BrewOf(core, number)) brew->ReplaceItem(NewItem(record), slot);
            return;
        case ShopNumber:
            if (Shop* shop = OpenDialog<Shop>(core, WindowType::Shop))
                shop->ReplaceItem(NewShopEntry(core, record), slot);
            return;
        case PartnerOfferNumber:
            if (Trade* trade = TradeOf(core)) trade->ReplaceItemB(NewItem(record), slot);
            return;
        case OwnOfferNumber:
            if (Trade* trade = TradeOf(core)) trade->ReplaceItemA(NewItem(record), slot);
            return;
        default: break;
    }
    Container* container = IsContainerNumber(number) ? core->FindContainerWindow(number) : nullptr;
    if (container) container->ReplaceItem(NewItem(record), slot);
}

void Protocol::RemoveContainerItem(uint8_t number, uint8_t slot, bool keepRows) {
    switch (number) {
        case EquipmentNumber:
            if (Equipment* equipment = EquipmentOf(core)) delete equipment->ClearSlot(slot);
            return;
        case BankNumber:
            if (Bank* bank = OpenDialog<Bank>(core, WindowType::Bank)) bank->RemoveItem(slot);
            return;
        case BrewNumber:
        case CraftNumber:
            if (Brew* brew = BrewOf(core, number)) brew->RemoveItem(slot);
            return;
        case ShopNumber:
            if (Shop* shop = OpenDialog<Shop>(core, WindowType::Shop)) shop->RemoveItem(slot);
            return;
        case PartnerOfferNumber:
            if (Trade* trade = TradeOf(core)) trade->RemoveItemB(slot);
            return;
        case OwnOfferNumber:
            if (Trade* trade = TradeOf(core)) trade->RemoveItemA(slot);
            return;
        default: break;
    }
    Container* container = IsContainerNumber(number) ? core->FindContainerWindow(number) : nullptr;
    if (!container) return;
    if (keepRows) delete container->RemoveItemAt(slot);
    else container->DeleteItem(slot, false);
}

// Fields: container number, slot, count n, then n item records, each inserted at the slot.
void Protocol::container_insert() {
    const uint8_t number = inBuffer.GetByte();
    const uint8_t slot = inBuffer.GetByte();
    const uint8_t count = inBuffer.GetByte();
    // A bank slot past its list ends the connection: nothing more is read then.
    for (uint8_t i = 0; i < count && !inBuffer.Failed() && !closed; ++i) {
        ItemRecord record;
        if (!ReadItem(record)) {
            FailFatally("container_insert: unknown shape id. (item)");
            return;
        }
        if (!inBuffer.Failed()) InsertContainerItem(number, slot, record);
    }
}

// Fields: container number, slot.
void Protocol::container_remove() {
    const uint8_t number = inBuffer.GetByte();
    const uint8_t slot = inBuffer.GetByte();
    if (!inBuffer.Failed()) RemoveContainerItem(number, slot, false);
}

// Fields: container number, slot, shape id and, unless it is 0, the rest of the item record.
void Protocol::container_replace() {
    const uint8_t number = inBuffer.GetByte();
    const uint8_t slot = inBuffer.GetByte();
    ItemRecord record;
    const bool known = ReadItem(record);
    if (closed) return;
    if (record.shapeId == 0) {
        RemoveContainerItem(number, slot, true);
        return;
    }
    if (!known) {
        FailFatally("container_replace: unknown shape id. (item)");
        return;
    }
    if (!inBuffer.Failed()) ReplaceContainerItem(number, slot, record);
}
