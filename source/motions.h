#pragma once
#include <cstdint>

#include "effectlist.h"

class Creature;

// One floating number over a creature: what it shows, the least its callers need.
class Motion : public FieldEffect {
public:
    Motion(uint32_t creatureId, uint8_t kind, int32_t value)
        : creatureId(creatureId), kind(kind), value(value) {}

    uint32_t creatureId;
    uint8_t kind;
    int32_t value;
};

// The floating numbers on the game field: a list of what they show, the least its callers need.
class Motions : public EffectList {
public:
    using EffectList::EffectList;
    void Add(Creature* creature, uint8_t kind, int32_t value);
    // Draws the numbers over the game field's screen rectangle.
    void Draw(int32_t x, int32_t y, int32_t w, int32_t h);
};
