#include "tile.h"

#include <algorithm>

#include "core.h"
#include "creature.h"
#include "item.h"
#include "itempart.h"
#include "platform.h"
#include "protocol.h"
#include "shape.h"
#include "world.h"

namespace {

constexpr int32_t MaxElevation = 24;
constexpr uint8_t HoverAlpha = 120;
constexpr uint8_t DefaultGroundSpeed = 100;

Item* AsItem(Thing* thing) { return static_cast<Item*>(thing); }
const Item* AsItem(const Thing* thing) { return static_cast<const Item*>(thing); }

// Whether any thing of the stack has a shape that passes the test (things without a shape have
// no properties).
template <typename Test>
bool AnyShape(const std::vector<Thing*>& things, Test test) {
    return std::any_of(things.begin(), things.end(),
                       [&](const Thing* thing) { return thing->shape && test(*thing->shape); });
}

bool IsBlocking(const Shape& shape) { return shape.flagBit4; }
bool IsGround(const Shape& shape) { return shape.ground != 0; }
bool IsStair(const Shape& shape) { return shape.kind4 || shape.hasCodeByte; }
bool EmitsLight(const Thing* thing) { return thing->shape && thing->shape->hasLights; }
// Ground, blocking or counted by the cover pass: a thing one cannot see or walk through.
bool IsSolid(const Shape& shape) { return IsGround(shape) || IsBlocking(shape) || shape.flagBit13; }

template <typename Test>
bool AnySteadyShape(const std::vector<Thing*>& things, Test test) {
    return std::any_of(things.begin(), things.end(), [&](const Thing* thing) {
        return thing->shape && !AsItem(thing)->effect && test(*thing->shape);
    });
}

void Erase(std::vector<Creature*>& list, const Creature* creature) {
    auto at = std::find(list.begin(), list.end(), creature);
    if (at != list.end()) list.erase(at);
}

void EraseParts(std::vector<ItemPart*>& list, const Item* item) {
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const ItemPart* part) { return part->item == item; }),
               list.end());
}

// Draws an item's lower parts lifted by `elevation`, each part's own elevation put back after.
void DrawLowerPreview(Item& item, int32_t px, int32_t py, int32_t elevation) {
    for (const auto& part : item.parts) {
        if (part->IsUpper()) continue;
        const int32_t kept = part->elevation;
        part->elevation = elevation;
        part->DrawPreview(px, py);
        part->elevation = kept;
    }
}

}  // namespace

Tile::Tile(Core* owner, uint16_t x, uint16_t y, uint8_t z)
    : owner(owner), render(owner->render), x(x), y(y), z(z) {}

Tile::~Tile() {
    if (owner->hoverTile == this) owner->hoverTile = nullptr;
    for (Thing* thing : things) ReleaseThing(thing);
}

// Lets go of a thing of the stack: out of the light sources, then deleted (the item lets go of
// Core's pointers to it itself).
void Tile::ReleaseThing(Thing* thing) {
    if (EmitsLight(thing) && owner->world) owner->world->RemoveLightThing(thing);
    delete thing;
}

Thing* Tile::GetThing(uint8_t index) const {
    return index < things.size() ? things[index] : nullptr;
}

// Files the item's image parts in the draw lists and lifts them by the stack below.
void Tile::FileParts(Item* item, bool dropPrediction) {
    const Shape* shape = item->shape;
    const bool seat = shape && shape->seat;
    const int32_t lift = std::min(height, MaxElevation);
    for (const auto& owned : item->parts) {
        ItemPart* part = owned.get();
        const bool upper = part->IsUpper();
        if (dropPrediction) {
            part->elevation = lift;
        } else {
            if ((!upper || seat) && !item->effect) part->elevation = lift;
            if (shape && shape->flagBits8 == 0 && sink > 0) part->elevation = 0;
        }
        if (!upper) {
            const bool wall = shape && IsBlocking(*shape) && !IsGround(*shape);
            (lowerParts.empty() && !wall ? groundParts : lowerParts).push_back(part);
        } else if (!seat && !item->effect) {
            topParts.push_back(part);
        } else {
            // Seats and effects go under the upper parts of the other things.
            auto above = std::find_if(topParts.begin(), topParts.end(), [](const ItemPart* other) {
                return !(other->item->shape && other->item->shape->seat);
            });
            topParts.insert(above, part);
        }
    }
}

void Tile::AddThing(Thing* thing) {
    Item* item = AsItem(thing);
    if (things.empty()) groundSpeed = thing->shape ? thing->shape->speed : DefaultGroundSpeed;
    things.push_back(thing);
    FileParts(item, false);
    if (EmitsLight(thing) && owner->world) owner->world->AddLightThing(thing);
    if (thing->shape) {
        height += thing->shape->height;
        sink += thing->shape->sink;
    }
}

void Tile::AppendThing(Thing* thing) {
    things.push_back(thing);
    FileParts(AsItem(thing), true);
    if (EmitsLight(thing) && owner->world) owner->world->AddLightThing(thing);
    if (thing->shape) {
        height += thing->shape->height;
        sink += thing->shape->sink;
    }
}

// Files the whole stack again, bottom to top.
void Tile::RebuildStack() {
    std::vector<Thing*> stack;
    stack.swap(things);
    topParts.clear();
    lowerParts.clear();
    groundParts.clear();
    height = 0;
    sink = 0;
    groundSpeed = DefaultGroundSpeed;
    for (Thing* thing : stack) {
        if (EmitsLight(thing) && owner->world) owner->world->RemoveLightThing(thing);
        AddThing(thing);
    }
}

void Tile::InsertThing(uint8_t index, Thing* thing) {
    if (index >= things.size()) {
        AddThing(thing);
        return;
    }
    things.insert(things.begin() + index, thing);
    RebuildStack();
}

void Tile::RemoveThing(uint8_t index) {
    if (index >= things.size()) return;
    const bool top = index + 1u == things.size();
    RemoveThingObject(things[index]);
    if (!top) RebuildStack();
}

void Tile::RemoveThingObject(Thing* thing) {
    auto at = std::find(things.begin(), things.end(), thing);
    if (at == things.end()) return;
    things.erase(at);
    if (thing->shape) {
        height -= thing->shape->height;
        sink -= thing->shape->sink;
    }
    const Item* item = AsItem(thing);
    EraseParts(topParts, item);
    EraseParts(lowerParts, item);
    EraseParts(groundParts, item);
    ReleaseThing(thing);
    if (things.empty()) groundSpeed = DefaultGroundSpeed;
}

void Tile::ReplaceThing(uint8_t index, Thing* thing) {
    if (index >= things.size()) {
        delete thing;
        return;
    }
    RemoveThingObject(things[index]);
    things.insert(things.begin() + index, thing);
    RebuildStack();
    const Shape* shape = thing->shape;
    if (!shape || !shape->seat || shape->seatDirection >= 8) return;
    // Whoever sits here faces the way the new seat faces.
    for (Creature* creature : creatures) {
        if (!creature->seated || creature->direction == shape->seatDirection) continue;
        creature->FaceStep(DirectionDeltaX(shape->seatDirection),
                           DirectionDeltaY(shape->seatDirection));
        creature->RefreshFrames();
    }
}

void Tile::ChangeThingSubId(uint8_t index, uint32_t subId) {
    Item* item = index < things.size() ? AsItem(things[index]) : nullptr;
    if (!item) return;
    item->subId = subId;
    item->Refresh(1);
    RebuildStack();
}

void Tile::ChangeThingCount(uint8_t index, uint32_t count) {
    Item* item = index < things.size() ? AsItem(things[index]) : nullptr;
    if (!item) return;
    item->count = count;
    item->Refresh(0);
    RebuildStack();
}

void Tile::AddCreature(Creature* creature) { creatures.push_back(creature); }

void Tile::RemoveCreature(Creature* creature) {
    Erase(creatures, creature);
    Erase(betweenWalkers, creature);
    Erase(walkers, creature);
}

void Tile::AddBetweenWalker(Creature* creature) { betweenWalkers.push_back(creature); }
void Tile::RemoveBetweenWalker(Creature* creature) { Erase(betweenWalkers, creature); }
void Tile::AddWalker(Creature* creature) { walkers.push_back(creature); }
void Tile::RemoveWalker(Creature* creature) { Erase(walkers, creature); }

void Tile::AddOverhang(Creature* creature, int32_t column, int32_t row) {
    overhangs.push_back({creature, column, row});
}

void Tile::DropCreature(Creature* creature) {
    Erase(creatures, creature);
    if (owner->world) owner->world->RemoveCreature(creature);
}

bool Tile::IsBlockedFor(const Creature* creature) const {
    const bool someoneElse = std::any_of(creatures.begin(), creatures.end(),
                                         [&](const Creature* other) { return other != creature; });
    return someoneElse || AnyShape(things, IsBlocking) || !HasGround();
}

bool Tile::IsBlockedForPath(const Creature* creature, Position from, Position to) const {
    if (IsBlockedFor(creature)) return true;
    const Position here = GetPosition();
    return here != from && here != to &&
           AnyShape(things, [](const Shape& shape) { return shape.avoidedByPaths; });
}

bool Tile::HasGround() const { return AnyShape(things, IsGround); }

bool Tile::HasFlaggedThing() const {
    return AnyShape(things, [](const Shape& shape) { return shape.kind4; });
}

bool Tile::HasBit15Thing() const {
    return AnyShape(things, [](const Shape& shape) { return shape.hasCodeByte; });
}

bool Tile::HasStairThing() const { return AnyShape(things, IsStair); }

Thing* Tile::GetTopBit15Thing() const {
    auto top = std::find_if(things.rbegin(), things.rend(), [](const Thing* thing) {
        return thing->shape && thing->shape->hasCodeByte;
    });
    return top == things.rend() ? nullptr : *top;
}

bool Tile::IsTopSeat() const {
    return !things.empty() && things.back()->shape && things.back()->shape->seat;
}

bool Tile::HasFloorKind2() const {
    return AnyShape(things, [](const Shape& shape) { return shape.flagBits10 == 2; });
}

bool Tile::HasBit13Thing() const {
    return AnyShape(things, [](const Shape& shape) { return shape.flagBit13; });
}

bool Tile::HasSolidThing() const {
    return AnySteadyShape(things, [](const Shape& shape) {
        return IsSolid(shape) && (!shape.flagBit6 || IsGround(shape));
    });
}

bool Tile::HasSolidNonBit6Thing() const {
    return AnySteadyShape(things,
                          [](const Shape& shape) { return IsSolid(shape) && !shape.flagBit6; });
}

bool Tile::UseFlaggedThing() {
    for (size_t index = 0; index < things.size(); ++index) {
        if (!things[index]->shape || !things[index]->shape->kind4) continue;
        if (Protocol* connection = owner->activeConnection)
            connection->SendUseMapItem(x, y, uint8_t(index),
                                       uint16_t(AsItem(things[index])->shapeId));
        return true;
    }
    return false;
}

// Parts of movable things sit one pixel up and left; the part under the pointer gets its
// outline when `highlight` is set.
void Tile::DrawParts(const std::vector<ItemPart*>& parts, int32_t px, int32_t py, bool highlight) {
    for (ItemPart* part : parts) {
        const int32_t shift = part->item->movable ? -1 : 0;
        part->DrawOnTile(px + shift, py + shift, coverClass);
        if (highlight && part->item->movable && part == owner->hoverPart)
            part->DrawOutline(px + shift, py + shift, HoverAlpha);
    }
}

void Tile::Draw(int32_t px, int32_t py) {
    DrawParts(groundParts, px, py, true);
    // Creatures may step onto other tiles while they draw: walk copies of the lists.
    for (Creature* creature : std::vector<Creature*>(betweenWalkers))
        if (creature->walking) creature->Draw(px, py);
    DrawParts(lowerParts, px, py, true);
    DrawDropPreview(px, py);
    const std::vector<Overhang> reaching = overhangs;
    for (const Overhang& entry : reaching)
        entry.creature->DrawOverhangLower(entry.column, entry.row, px, py, 1);
    for (Creature* creature : std::vector<Creature*>(walkers))
        if (creature->walking) creature->Draw(px, py);
    for (Creature* creature : std::vector<Creature*>(creatures))
        if (!creature->walking) creature->Draw(px, py);
    DrawParts(topParts, px, py, false);
    for (const Overhang& entry : reaching)
        entry.creature->DrawOverhangUpper(entry.column, entry.row, px, py, 1);
    ExpireThings();
    overhangs.clear();
}

// Things whose animation has run out leave the stack, or make way for their successor.
void Tile::ExpireThings() {
    const std::vector<Thing*> stack = things;
    for (Thing* thing : stack) {
        const Item* item = AsItem(thing);
        if (!item->expired) continue;
        if (item->successor == -1) {
            RemoveThingObject(thing);
            continue;
        }
        // Earlier removals move the stack down: replace the thing where it is now.
        const auto index = uint8_t(std::find(things.begin(), things.end(), thing) - things.begin());
        ReplaceThing(index, new Item(owner, item->shapeId, item->subId, item->x, item->y, item->z,
                                     item->count, uint32_t(item->successor)));
    }
}

bool Tile::ShowsDropPreview() const {
    const uint8_t* modes = owner->inputModes;
    if (owner->hoverTile != this || !modes[InputDrop] || modes[InputSpellTarget] ||
        modes[InputUseWith])
        return false;
    const Thing* dragged = owner->dragTo;
    if (!dragged || !AsItem(dragged)->movable || !dragged->shape || dragged->shape->flagBits8 == 0)
        return false;
    if (AnyShape(things, [](const Shape& shape) { return shape.flagBit5; })) return false;
    const Shape* bottom = things.empty() ? nullptr : things.front()->shape;
    if (!bottom || !IsGround(*bottom) || IsBlocking(*bottom)) return false;
    return !(x == owner->useItemX && y == owner->useItemY);
}

void Tile::DrawDropPreview(int32_t px, int32_t py) {
    if (!ShowsDropPreview()) return;
    Item* dragged = AsItem(owner->dragTo);
    const int32_t lift = std::min(height, MaxElevation);
    if (dragged->count > 1 && KeyHeld(VK_SHIFT)) {
        // Moving part of a stack: one piece shows where it goes.
        Item piece(owner, dragged->shapeId, dragged->subId, dragged->x, dragged->y, dragged->z, 1,
                   ItemIdle);
        DrawLowerPreview(piece, px - 1, py - 1, lift);
    } else {
        DrawLowerPreview(*dragged, px - 1, py - 1, lift);
    }
}
