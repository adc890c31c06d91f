// Game-state messages whose windows, texts and lists are built later: each is read whole, in
// its own layout, and dropped, so that the next message of the frame starts after it. The
// pending queues they answer are kept in step.
#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "item.h"
#include "protocol.h"

namespace {

// Markers of the item lists of containers and the bank; below FirstMarker a byte starts an item.
const uint8_t FirstMarker = 250, BadMarker = 250, RunMarker = 254, EndMarker = 255;
// A bank run of this length also ends the list.
const uint32_t BankRunEnd = 255;

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

void Protocol::bank_open() {
    ReadAndIgnore({FieldU16, FieldStr8});
    while (!closed) {
        const uint8_t marker = inBuffer.GetByte();
        if (inBuffer.Failed() || marker == EndMarker) return;
        if (marker < FirstMarker) {
            ItemRecord item;
            item.shapeId = uint16_t(marker | inBuffer.GetByte() << 8);
            if (item.shapeId != 0 && !ReadItemRest(item)) {
                FailFatally("bank: unknown shape id. (item)");
                return;
            }
        } else if (marker == RunMarker) {
            if (inBuffer.GetVarStop() == BankRunEnd) return;
        } else {
            FailFatally("bank unknown data.");
            return;
        }
    }
}

void Protocol::bank() {}

void Protocol::house_invitees() {
    ReadAndIgnore({FieldU32, FieldU16, FieldU16, FieldU32, FieldU32});
    const uint32_t count = inBuffer.GetU32();
    ReadAndIgnore({FieldStr8, FieldStr8, FieldStr8});
    for (uint32_t i = 0; i < count && !inBuffer.Failed(); ++i) ReadAndIgnore({FieldStr8, FieldU32});
}

void Protocol::rental_open() {
    inBuffer.GetString();
    const uint32_t count = inBuffer.GetU32();
    for (uint32_t i = 0; i < count && !inBuffer.Failed(); ++i) {
        ReadAndIgnore({FieldU32, FieldU16, FieldU16, FieldU32, FieldU32, FieldU32});
        ReadAndIgnore({FieldStr8, FieldStr8, FieldStr8, FieldStr8, FieldStr8, FieldStr8});
    }
}

void Protocol::party_started() {
    const uint8_t count = inBuffer.GetByte();
    for (uint8_t i = 0; i < count && !inBuffer.Failed(); ++i)
        ReadAndIgnore({FieldU32, FieldU8, FieldU8, FieldStr8});
}

void Protocol::party_leader() { ReadAndIgnore({FieldU32}); }
void Protocol::party_invited() { ReadAndIgnore({FieldU32, FieldStr8}); }
void Protocol::party_joined() { ReadAndIgnore({FieldU32, FieldU8, FieldU8, FieldStr8}); }
void Protocol::party_left() { ReadAndIgnore({FieldU32}); }
void Protocol::quest_update() { ReadAndIgnore({FieldU16, FieldU16, FieldU32}); }

void Protocol::friend_list() {
    inBuffer.GetByte();
    const uint8_t count = inBuffer.GetByte();
    for (uint8_t i = 0; i < count && !inBuffer.Failed(); ++i)
        ReadAndIgnore({FieldU32, FieldU8, FieldU8, FieldStr8, FieldStr8});
}

// A shop's goods entry, or with `offer` one of the things it buys.
bool Protocol::ReadShopEntry(bool offer) {
    ItemRecord item;
    if (!ReadItem(item)) {
        FailFatally("shop_open: unknown shape id.");
        return false;
    }
    if (offer) {
        inBuffer.GetVarint();
        inBuffer.GetVarint();
    } else {
        ReadAndIgnore({FieldU16, FieldU32});
    }
    inBuffer.GetString();
    return !inBuffer.Failed();
}

void Protocol::shop_items() {
    inBuffer.GetVarint();
    ReadShopEntry(true);
}

void Protocol::shop_open() {
    inBuffer.GetString();
    const uint8_t goods = inBuffer.GetByte();
    for (uint8_t i = 0; i < goods; ++i)
        if (!ReadShopEntry(false)) return;
    const uint8_t offers = uint8_t(inBuffer.GetVarint());
    for (uint8_t i = 0; i < offers; ++i)
        if (!ReadShopEntry(true)) return;
}

void Protocol::shop_close() {}

void Protocol::shop_sell_confirm() {
    ItemRecord item;
    if (!ReadItem(item)) {
        FailFatally("shop_open: unknown shape id.");
        return;
    }
    inBuffer.GetU32();
}

void Protocol::guild_data() {
    inBuffer.GetByte();
    const uint8_t guilds = inBuffer.GetByte();
    for (uint8_t i = 0; i < guilds && !inBuffer.Failed(); ++i) {
        ReadAndIgnore({FieldU16, FieldStr8, FieldU32});
        const uint16_t members = inBuffer.GetU16();
        for (uint16_t m = 0; m < members && !inBuffer.Failed(); ++m)
            ReadAndIgnore({FieldU8, FieldStr8, FieldU32});
    }
    const uint8_t invitations = inBuffer.GetByte();
    for (uint8_t i = 0; i < invitations && !inBuffer.Failed(); ++i)
        ReadAndIgnore({FieldU16, FieldStr8, FieldStr8, FieldU32, FieldU32});
}
