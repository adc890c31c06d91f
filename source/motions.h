#pragma once
// Floating numbers: damage, healing and experience rising from a creature's tile, drifting
// sideways and fading out within 1280 ms.
#include <cstdint>
#include <string>

#include "effectlist.h"

class Core;
class Creature;
class Font;
class Render;

// The floating number whose kind shows a word instead of its value.
constexpr uint8_t WordMotionKind = 100;

// One floating number. It stays on the tile where it was made; it does not follow the creature.
class Motion : public FieldEffect {
public:
    Motion(Core* owner, const Creature& creature, uint8_t kind, int32_t value);

    // One frame over the field's screen rectangle, for the player at (playerX, playerY) on floor
    // playerZ. A number on another floor is not drawn, yet it runs its course all the same.
    void Draw(int32_t playerX, int32_t playerY, uint8_t playerZ, int32_t fieldX, int32_t fieldY,
              int32_t fieldW, int32_t fieldH);

    uint8_t kind;
    uint8_t red = 255, green = 255, blue = 255;
    int32_t elevation;
    float drift = 0;  // sideways, -0.40 to 0.39 of a pixel per step
    Core* owner;
    Render* render;
    Font* font;
    uint16_t x, y;
    uint8_t z;
    std::string text;
    uint64_t created = 0;
    uint8_t done = 0;

private:
    void Init();
};

// The live floating numbers, drawn in the order they were made.
class Motions : public EffectList {
public:
    using EffectList::EffectList;
    void Add(Creature* creature, uint8_t kind, int32_t value);
    // Draws every number over the field's screen rectangle and removes those that have run their
    // course; nothing without a player creature.
    void Update(int32_t fieldX, int32_t fieldY, int32_t fieldW, int32_t fieldH);
};
