#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "effectlist.h"

class Creature;

// The speech texts on the game field: keeps the texts it is given, the least its callers need.
class Paragraphs : public EffectList {
public:
    using EffectList::EffectList;
    // A speech text above a creature.
    void Add(const std::string& text, Creature* speaker);
    // Draws the texts over the game field's screen rectangle.
    void Draw(int32_t x, int32_t y, int32_t w, int32_t h);

    std::vector<std::string> texts;
};
