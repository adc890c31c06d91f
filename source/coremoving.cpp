// Moving, pushing and using things the player dragged: the source is (useItemX, useItemY,
// useItemZ) with useItemIndex on a tile, the target is (dropX, dropY, dropZ).
#include <algorithm>
#include <cstdlib>
#include <string>

#include "coins.h"
#include "core.h"
#include "creature.h"
#include "item.h"
#include "itemplace.h"
#include "notification.h"
#include "platform.h"
#include "protocol.h"
#include "shape.h"
#include "tile.h"
#include "windows/dialogs/bank.h"
#include "windows/dialogs/brew.h"
#include "windows/dialogs/shop.h"
#include "windows/dialogs/split.h"
#include "windows/dialogs/trade.h"
#include "windows/game/channel.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/game/container.h"
#include "windows/game/equipment.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

// Decimal with "," between groups of three digits.
std::string FormatNumber(uint32_t value) { return FormatLargeNumber(value); }

std::string FormatLargeNumber(uint64_t value) {
    std::string digits = std::to_string(value);
    for (int32_t at = int32_t(digits.size()) - 3; at > 0; at -= 3) digits.insert(size_t(at), ",");
    return digits;
}

std::string CoinWords(uint64_t copperCoins) {
    const uint64_t gold = copperCoins / 1000, silver = copperCoins % 1000 / 100,
                   copper = copperCoins % 100;
    const auto coins = [](uint64_t number, const char* kind) {
        return std::to_string(number) + " " + kind + " coin" + (number == 1 ? "" : "s");
    };
    std::string text;
    if (gold > 0) {
        text += coins(gold, "gold");
        if (silver > 0 && copper > 0) text += ", ";
        else if (silver > 0 || copper > 0) text += " and ";
    }
    if (silver > 0) {
        text += coins(silver, "silver");
        if (copper > 0) text += " and ";
    }
    if (copper > 0) text += coins(copper, "copper");
    return text;
}

namespace {

using ItemPlace::ContainerSlot;
using ItemPlace::EquipmentSlot;
using ItemPlace::IsTile;
using ItemPlace::ShopSlot;

// Server container numbers: the shop keeps its stack; 249 takes the shop's count choice.
constexpr uint16_t ShopContainer = 253, ShopChoiceContainer = 249;

Item* AsItem(Thing* thing) { return static_cast<Item*>(thing); }

bool Within(const Creature& player, uint16_t x, uint16_t y, uint8_t z, int32_t reach) {
    return std::abs(int32_t(x) - player.position.x) <= reach &&
           std::abs(int32_t(y) - player.position.y) <= reach && z == player.position.z;
}

// The first creature standing on a tile, or null.
Creature* FirstCreature(World* world, uint16_t x, uint16_t y, uint8_t z) {
    Tile* tile = world ? world->GetTileXY(x, y, z) : nullptr;
    return tile && !tile->creatures.empty() ? tile->creatures.front() : nullptr;
}

std::string Plural(const std::string& word, uint32_t count) {
    return count == 1 ? word : word + "s";
}

// The colour escape of drawn text: a zero byte, then red, green, blue and alpha.
std::string Escape(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return std::string(1, '\0') + char(r) + char(g) + char(b) + char(a);
}

// "Do you want to buy ... for ... copper coins?" with the coin note.
std::string BuyQuestion(uint32_t total, uint32_t price, uint8_t multiplier) {
    const std::string white = Escape(255, 255, 255, 255), grey = Escape(224, 224, 224, 224);
    std::string text = "Do you want to buy ";
    text += total <= 1 ? "this item" : "these " + white + FormatNumber(total) + grey + " items";
    text += " for " + white + FormatNumber(price) + Plural(" copper coin", price) + grey + "?";
    // Only sums of a silver coin or more are told in coins.
    if (price >= 100) text += "\nNote: value equals " + CoinWords(price);
    if (multiplier > 1) text += "\n\nThe stack amount can be capped due to space limitations.";
    return text;
}

// The split window asks for the amount; its "ok" makes the move.
bool OpenSplitWindow(Core* core, Thing* thing, uint8_t mode, bool bulk) {
    auto* split = new Split(core, AsItem(thing), mode, bulk);
    core->AddWindow(split);
    split->OnOpen();
    return true;
}

// Tab and Shift+Tab: the next input (step 1) or the previous one (step -1) of the focused input's
// owner in window-list order, wrapping around; with none, the chat box changes its tab.
void FocusInput(Core* core, int32_t step) {
    const std::vector<Window*>& windows = core->windows;
    const auto focused = std::find(windows.begin(), windows.end(), core->focusedInput);
    if (focused != windows.end()) {
        const int32_t count = int32_t(windows.size()), start = int32_t(focused - windows.begin());
        for (int32_t i = (start + step + count) % count; i != start;
             i = (i + step + count) % count) {
            Window* window = windows[size_t(i)];
            if (window->typeId == WindowType::Input && window->owner == core->focusedInput->owner) {
                core->focusedInput = window;
                return;
            }
        }
    }
    if (auto* chat = dynamic_cast<Chatbox*>(core->chatBox)) {
        if (step > 0) chat->SelectNextTab();
        else chat->SelectPreviousTab();
    }
}

void Refuse(Core* core, const std::string& text) {
    if (core->world && core->world->notification)
        core->world->notification->Add(Notification::RefusalKind, text);
}

}  // namespace

Thing* Core::FindDraggedThing(uint16_t x, uint16_t y, uint8_t z) {
    switch (x) {
        case ContainerSlot: {
            const Container* container = y <= 0xFF ? FindContainerWindow(uint8_t(y)) : nullptr;
            return container ? container->ItemAt(z) : nullptr;
        }
        case EquipmentSlot: {
            const auto* equipment = dynamic_cast<Equipment*>(equipmentWindow);
            return equipment ? equipment->ItemAt(z) : nullptr;
        }
        case ItemPlace::BankSlot:
            if (auto* bank = dynamic_cast<Bank*>(FindWindow(WindowType::Bank)))
                return bank->GetItem(z);
            return nullptr;
        case ItemPlace::CraftSlot:
        case ItemPlace::BrewSlot:
            if (auto* window = dynamic_cast<Brew*>(
                    FindWindow(x == ItemPlace::BrewSlot ? WindowType::Brew : WindowType::Craft)))
                return window->GetItem(z);
            return nullptr;
        case ItemPlace::ShopSlot:
            if (auto* shop = dynamic_cast<Shop*>(FindWindow(WindowType::Shop)))
                return y == ShopChoiceContainer ? shop->GetOffer(z) : shop->GetItem(z);
            return nullptr;
        case ItemPlace::TradeSlot:
            if (auto* trade = dynamic_cast<Trade*>(FindWindow(WindowType::Trade)))
                return trade->GetItem(z);
            return nullptr;
        default: break;
    }
    if (!IsTile(x)) return nullptr;
    Tile* tile = world ? world->GetTileXY(x, y, z) : nullptr;
    return tile ? tile->GetThing(useItemIndex) : nullptr;
}

void Core::DropThing() {
    Thing* thing = FindDraggedThing(useItemX, useItemY, useItemZ);
    if (!thing || (useItemX == ShopSlot && useItemY == ShopChoiceContainer)) return;
    const bool toTile = IsTile(dropX);
    if (!IsTile(useItemX)) {
        MoveThing(thing, true, false, toTile ? 2 : 1);
    } else if (thing->shape && thing->shape->flagBits8 != 0) {
        MoveThing(thing, true, false, toTile ? 4 : 3);
    } else if (toTile) {
        PushThing(thing);
    }
}

void Core::MoveThing(Thing* thing, bool ask, bool confirmed, uint8_t mode) {
    if (!thing || AsItem(thing)->count == 0 || !player) return;
    if ((mode == 3 || mode == 4) && !Within(*player, useItemX, useItemY, useItemZ, 1)) {
        Refuse(this, "Too far away.");
        return;
    }
    if (ChooseMoveCount(thing, ask, mode) || ConfirmBuy(thing, confirmed, mode)) return;

    Item* item = AsItem(thing);
    const uint16_t id = uint16_t(item->shapeId);
    const Position at = player->position;
    const int32_t sourceDx = useItemX - at.x, sourceDy = useItemY - at.y;
    const int32_t dropDx = dropX - at.x, dropDy = dropY - at.y, dropDz = dropZ - at.z;
    if (Protocol* connection = activeConnection) {
        switch (mode) {
            case 1:
                connection->SendMoveSlotToSlot(uint8_t(useItemY), useItemZ, uint8_t(dropY), dropZ,
                                               id);
                break;
            case 2:
                connection->SendMoveSlotToMap(uint8_t(useItemY), useItemZ, dropDx, dropDy, dropDz,
                                              id);
                break;
            case 3:
                connection->SendMoveMapToSlot(sourceDx, sourceDy, useItemIndex, uint8_t(dropY),
                                              dropZ, id);
                break;
            case 4:
                connection->SendMoveMapToMap(sourceDx, sourceDy, useItemIndex, dropDx, dropDy,
                                             dropDz, id);
                break;
            default: break;
        }
    }
    if (useItemY == ShopContainer) {
        item->count = moveStackCount;
        item->Refresh(0);
    }
}

void Core::PushThing(Thing*) {
    if (!player) return;
    if (!Within(*player, useItemX, useItemY, useItemZ, 1)) {
        Refuse(this, "Too far away.");
        return;
    }
    if (!Within(*player, dropX, dropY, dropZ, 2)) {
        Refuse(this, "You cannot push that far.");
        return;
    }
    Creature* pushed = FirstCreature(world, useItemX, useItemY, useItemZ);
    if (!pushed || pushed->notPushable || !activeConnection) return;
    Creature* onTarget = FirstCreature(world, dropX, dropY, dropZ);
    if (onTarget && !onTarget->notPushable) {
        activeConnection->SendPushToCreature(pushed->id, onTarget->id);
    } else {
        const Position at = player->position;
        activeConnection->SendPushCreature(pushed->id, dropX - at.x, dropY - at.y, dropZ - at.z);
    }
}

bool Core::ChooseMoveCount(Thing* thing, bool ask, uint8_t mode) {
    if (!ask) return false;
    Item* item = AsItem(thing);
    moveStackCount = item->count;
    moveMultiplier = 1;
    const bool shift = KeyHeld(VK_SHIFT);
    const bool whole = shift || KeyHeld(VK_MENU) || KeyHeld(VK_CONTROL);
    const bool fromShop = useItemY == ShopContainer;
    if (useItemX != ShopSlot && whole != bool(options.nosplit)) {
        if (!fromShop) {
            moveCount = shift ? 1 : item->count;
        } else {
            // Whole stacks of what the shop offers, at most 1000 items.
            const uint32_t offered = std::min<uint32_t>(item->amount, 1000);
            moveCount = item->count ? offered / item->count * item->count : 0;
        }
        return false;
    }
    if (fromShop || useItemY == ShopChoiceContainer) {
        if ((thing->shape && thing->shape->stackable) || useItemY == ShopChoiceContainer)
            return OpenSplitWindow(this, thing, mode, true);
        moveCount = 1;
    }
    if (item->count < 2) return false;
    if (shift) {
        moveCount = 1;
        return false;
    }
    return OpenSplitWindow(this, thing, mode, false);
}

bool Core::ConfirmBuy(Thing* thing, bool confirmed, uint8_t mode) {
    if (confirmed || useItemY != ShopContainer) return false;
    Item* item = AsItem(thing);
    const uint32_t total = std::max<uint32_t>(moveCount * std::max<uint8_t>(moveMultiplier, 1), 1);
    // The shop value prices the stack shown; an empty stack count prices nothing.
    const uint32_t price =
        moveStackCount ? uint32_t(uint64_t(item->value) * total / moveStackCount) : 0;
    Window* box = AddWindow(
        new Sure(this, "Buying", BuyQuestion(total, price, moveMultiplier), Sure::Buy, item, mode));
    box->OnOpen();
    return true;
}

void Core::UseThing(uint16_t targetId) {
    Thing* thing = FindDraggedThing(useItemX, useItemY, useItemZ);
    if (!thing) {
        Refuse(this, "Unable to locate the using item.");
        return;
    }
    if (!player || !activeConnection) return;
    const uint16_t usedId = dragTo ? uint16_t(AsItem(dragTo)->shapeId) : 0;
    const Position at = player->position;
    const bool toTile = IsTile(dropX);
    if (!IsTile(useItemX)) {
        const bool worn = useItemX == EquipmentSlot || useItemX == ContainerSlot;
        if (!toTile)
            activeConnection->SendUseSlotOnSlot(uint8_t(useItemY), useItemZ, uint8_t(dropY), dropZ,
                                                usedId, targetId);
        else if (worn)
            activeConnection->SendUseSlotOnMap(uint8_t(useItemY), useItemZ, dropX - at.x,
                                               dropY - at.y, usedId, targetId);
        else Refuse(this, "Unable to use this item.");
        return;
    }
    if (!Within(*player, useItemX, useItemY, useItemZ, 1)) {
        Refuse(this, "Out of range.");
        return;
    }
    const int32_t sourceDx = useItemX - at.x, sourceDy = useItemY - at.y;
    if (toTile)
        activeConnection->SendUseMapOnMap(sourceDx, sourceDy, useItemIndex, dropX - at.x,
                                          dropY - at.y, usedId, targetId);
    else
        activeConnection->SendUseMapOnSlot(sourceDx, sourceDy, useItemIndex, uint8_t(dropY), dropZ,
                                           usedId, targetId);
}

void Core::OnDeath(uint32_t id, uint8_t first, uint8_t second) {
    auto member =
        std::find_if(party.begin(), party.end(), [id](const PartyMember& m) { return m.id == id; });
    if (member == party.end()) return;
    member->first = first;
    member->second = second;
    if (first != 0) return;
    auto* console = dynamic_cast<Console*>(consoleWindow);
    Channel* channel = console ? console->FindChannel(5) : nullptr;
    if (!channel) return;
    const bool self = player && player->id == id;
    channel->AddLine(224, 96, 96, 224, self ? "You are dead." : member->name + " is dead.");
}

void Core::FocusNextInput() { FocusInput(this, 1); }

void Core::FocusPreviousInput() { FocusInput(this, -1); }
