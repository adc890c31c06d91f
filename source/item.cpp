#include "item.h"

#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "shape.h"

namespace {

constexpr uint32_t LabelColour = 0xFFFFFFFF;
constexpr uint32_t NoAmountColour = 0xC0FF8080;
constexpr int32_t LabelRight = 31, LabelTop = 22;

}  // namespace

std::string CountLabel(uint32_t count) { return count > 1 ? std::to_string(count) : std::string(); }

ItemLabel AmountLabel(uint16_t amount) {
    if (amount == 0) return {"0", NoAmountColour};
    if (amount < 1000) return {std::to_string(amount), LabelColour};
    return {std::to_string(amount / 1000) + "K", LabelColour};
}

Item::Item(Core* owner, uint32_t shapeId, uint32_t subId, uint16_t x, uint16_t y, uint8_t z,
           uint32_t count, uint32_t kind)
    : Item(owner, shapeId, subId, x, y, z, count, 0, 0, kind) {}

Item::Item(Core* owner, uint32_t shapeId, uint32_t subId, uint16_t x, uint16_t y, uint8_t z,
           uint32_t count, uint16_t amount, uint32_t value, uint32_t kind)
    : shapeId(shapeId),
      subId(subId),
      count(count),
      amount(amount),
      value(value),
      created(owner->frameTimeMs),
      x(x),
      y(y),
      z(z),
      appliedKey(subId) {
    this->owner = owner;
    shape = owner->ApplyToShape(shapeId, subId);
    SetKind(kind);
}

Item::~Item() {
    // Every item window, the split window and the field share Core's held, picked and hovered
    // item: whichever deletes it, Core must not keep pointing at it.
    if (owner->dragTo == this) owner->dragTo = nullptr;
    if (owner->dragFrom == this) owner->dragFrom = nullptr;
    ClearParts();
    if (shape) shape->ReleaseImages(appliedKey);
}

void Item::SetKind(uint32_t newKind) {
    kind = newKind;
    BuildParts();
    width = height = 32;
    if (!parts.empty() && !parts.front()->keyframes.empty()) {
        if (GfxImage* image = parts.front()->keyframes.back().image) {
            width = uint32_t(GFX_ImageWidth(image));
            height = uint32_t(GFX_ImageHeight(image));
        }
    }
    movable = shape && (shape->flagBits8 != 0 || shape->kind1 || shape->kind3 || shape->kind4);
}

void Item::Refresh(uint8_t resolve) {
    ClearParts();
    if (resolve) {
        Shape* previous = shape;
        const uint32_t previousKey = appliedKey;
        shape = owner->ApplyToShape(shapeId, subId);
        appliedKey = subId;
        if (previous) previous->ReleaseImages(previousKey);
    }
    BuildParts();
}

void Item::SetExtra(uint16_t newAmount, uint32_t newValue) {
    amount = newAmount;
    value = newValue;
}

void Item::SyncAnimation() {
    looping = 0;
    if (parts.empty() || parts.front()->layer->totalDuration == 0) return;
    const uint64_t now = owner->frameTimeMs;
    created = now - (now - created) % parts.front()->layer->totalDuration;
}

void Item::ClearParts() {
    for (const auto& part : parts)
        if (owner->hoverPart == part.get()) owner->hoverPart = nullptr;
    parts.clear();
    outlinePart.reset();
    cell = nullptr;
    animated = 0;
}

// The range covering the count, the slot of the kind, the view of the floor and the cell of the
// position; nothing is built when no range covers the count or the slot is empty.
void Item::BuildParts() {
    ShapeRange* range = shape ? shape->FindEntry(count) : nullptr;
    if (!range) return;
    AnimationSlot slot = SlotIdle;
    switch (kind) {
        case ItemEffect: effect = 1; break;
        case ItemMove: slot = SlotMove; break;
        case ItemIcon: slot = SlotIcon; break;
        case ItemEnter:
            if (range->slots[SlotEnter]) {
                slot = SlotEnter;
                globalClock = 0;
                successor = 0;
            } else {
                kind = ItemIdle;
            }
            break;
        default: break;
    }
    ShapeAnimation* animation = range->slots[slot];
    if (!animation) return;
    cell = animation->ViewAt(z)->CellAt(x, y);
    for (const auto& layer : cell->layers) {
        auto part = std::make_unique<ItemPart>(owner, this, layer.get(), appliedKey);
        if (layer->outlineOnly) {
            outlinePart = std::move(part);
            continue;
        }
        if (layer->keyframes.size() > 1) animated = 1;
        parts.push_back(std::move(part));
    }
}

void Item::Draw(int32_t px, int32_t py) {
    for (const auto& part : parts) part->Draw(px, py);
}

void Item::DrawTinted(int32_t px, int32_t py, uint8_t alpha) {
    for (const auto& part : parts) part->DrawTinted(px, py, alpha);
}

void Item::DrawIcon(int32_t px, int32_t py, Font* font) {
    for (const auto& part : parts) part->DrawIcon(px, py);
    DrawCountText(px, py, font);
}

void Item::DrawIconAmount(int32_t px, int32_t py, Font* font) {
    for (const auto& part : parts) part->DrawIcon(px, py);
    DrawAmountText(px, py, font);
}

void Item::DrawCountText(int32_t px, int32_t py, Font* font) {
    const std::string label = CountLabel(count);
    if (!label.empty() && font)
        font->DrawTextRight(px + LabelRight, py + LabelTop, label, LabelColour);
}

void Item::DrawAmountText(int32_t px, int32_t py, Font* font) {
    const ItemLabel label = AmountLabel(amount);
    if (font) font->DrawTextRight(px + LabelRight, py + LabelTop, label.text, label.colour);
}

void Item::DrawSlotOutline(int32_t px, int32_t py, uint8_t alpha) {
    if (!parts.empty()) parts.front()->DrawSlotOutline(px, py, alpha);
}
