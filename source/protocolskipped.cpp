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

void Protocol::quest_update() { ReadAndIgnore({FieldU16, FieldU16, FieldU32}); }
