#pragma once
// Missiles: an item drawn flying in a straight line from one tile to another, all the way in
// 320 ms, or part of the way and fading out for a shot that falls short.
#include <cstdint>
#include <memory>

#include "effectlist.h"
#include "item.h"
#include "position.h"

class Core;

class Throw : public FieldEffect {
public:
    // Takes the item; reach is the percentage of the way flown.
    Throw(Core* owner, Position from, Position to, int32_t reach, Item* item);

    // One frame, right after the world image drew the floor drawnZ: moves and draws the missile
    // when it flies on that floor and no floor above hides either end.
    void Step(Position player, uint8_t playerZ, uint8_t drawnZ);
    // Moves the missile to where the time since its start puts it; true once it has arrived.
    bool Advance();

    Core* owner;
    std::unique_ptr<Item> item;
    float reach;  // the share of the way flown; 1 and above: all of it
    float offsetX = 0, offsetY = 0;
    float spanX, spanY;
    Position from, to;
    uint64_t started;
    uint8_t done = 0;
};

// The live missiles.
class Throws : public EffectList {
public:
    using EffectList::EffectList;
    // Takes the item; nothing flies between a tile and itself.
    void Add(Position from, uint8_t fromZ, Position to, uint8_t toZ, int32_t reach, Item* item);
    // Steps the missiles of one floor, right after the world image drew it (the player's tile at
    // (280, 216) of the image), and removes those that have arrived.
    void Update(Position player, uint8_t playerZ, uint8_t drawnZ);
    // Removes the missiles that have arrived without being drawn: on a floor not drawn, or
    // hidden. Called once a frame after every floor was drawn.
    void Retire();
};
