#pragma once
#include <cstdint>
#include <memory>

#include "effectlist.h"
#include "item.h"
#include "position.h"

// One missile: its two ends, how far of the way it flies and its item, the least its callers
// need.
class Throw : public FieldEffect {
public:
    Throw(Position from, Position to, int32_t reach, Item* item)
        : from(from), to(to), reach(reach), item(item) {}

    Position from;
    Position to;
    int32_t reach;
    std::unique_ptr<Item> item;
};

// The projectiles on the game field: a list of missiles, the least its callers need.
class Throws : public EffectList {
public:
    using EffectList::EffectList;
    // Takes the item; nothing flies between a tile and itself.
    void Add(Position from, uint8_t fromZ, Position to, uint8_t toZ, int32_t reach, Item* item);
    // Steps and draws the missiles of one floor, right after the world image drew that floor.
    void Update(Position player, uint8_t playerZ, uint8_t drawnZ);
};
