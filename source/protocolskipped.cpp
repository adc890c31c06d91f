// Game-state messages whose windows, texts and lists are built later: each is read whole, in
// its own layout, and dropped, so that the next message of the frame starts after it. The
// pending queues they answer are kept in step.
#include <string>

#include "core.h"
#include "protocol.h"

namespace {

// Markers of the item lists of containers and the bank; below FirstMarker a byte starts an item.
const uint8_t FirstMarker = 250, BadMarker = 250, RunMarker = 254, EndMarker = 255;

// Flags of an item description.
const uint8_t HasText = 1, HasAttributes = 2, HasBonuses = 4, HasRequirements = 8;

}  // namespace

void Protocol::hitpoint_text() { ReadAndIgnore({FieldU32, FieldU8, FieldU16}); }

void Protocol::experience_text() {
    inBuffer.GetU16();
    inBuffer.GetVarint();
}

bool Protocol::ReadItemList(const char* unknownShape, const char* badMarker) {
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
        } else if (marker == BadMarker) {
            FailFatally(badMarker);
            return false;
        } else if (marker == RunMarker && int32_t(inBuffer.GetVarStop()) >= 1) {
            return true;
        }
    }
    return false;
}

void Protocol::container_attach() {
    if (!pendingOpens.empty()) pendingOpens.pop_front();
    ReadAndIgnore({FieldU8, FieldU8, FieldU8, FieldU16, FieldStr8});
    ReadItemList("container_attach: unknown shape id. (item)",
                 "container_attach: failed to read the container data.");
}

void Protocol::container_insert() {
    ReadAndIgnore({FieldU8, FieldU8});
    const uint8_t count = inBuffer.GetByte();
    for (uint8_t i = 0; i < count && !inBuffer.Failed(); ++i) {
        ItemRecord item;
        if (!ReadItem(item)) {
            FailFatally("container_insert: unknown shape id. (item)");
            return;
        }
    }
}

void Protocol::container_remove() { ReadAndIgnore({FieldU8, FieldU8}); }

void Protocol::container_replace() {
    ReadAndIgnore({FieldU8, FieldU8});
    ItemRecord item;
    if (!ReadItem(item) && item.shapeId != 0)
        FailFatally("container_replace: unknown shape id. (item)");
}

void Protocol::server_text() { ReadAndIgnore({FieldU8}); }

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

bool Protocol::ReadItemDescription() {
    const uint8_t flags = inBuffer.GetByte();
    inBuffer.GetString();
    if (flags & HasText) inBuffer.GetString();
    for (uint8_t list : {HasAttributes, HasBonuses}) {
        if (!(flags & list)) continue;
        const uint8_t count = inBuffer.GetByte();
        for (uint8_t i = 0; i < count && !inBuffer.Failed(); ++i)
            ReadAndIgnore({FieldU8, FieldStr8});
    }
    if (flags & HasRequirements) {
        const uint8_t count = inBuffer.GetByte();
        for (uint8_t i = 0; i < count && !inBuffer.Failed(); ++i) ReadAndIgnore({FieldU8, FieldU8});
    }
    return !inBuffer.Failed();
}

void Protocol::item_tooltip() {
    ReadItemDescription();
    if (!pendingLooks.empty()) pendingLooks.pop_front();
}

void Protocol::look_text() {
    inBuffer.GetU32();
    const uint8_t count = inBuffer.GetByte();
    for (int i = 0; i <= count && ReadItemDescription(); ++i) {
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

// A corpse shape not in the shape table reads nothing more.
void Protocol::death() {
    ItemRecord corpse;
    ReadItem(corpse);
}
