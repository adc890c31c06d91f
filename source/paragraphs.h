#pragma once
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

    std::vector<std::string> texts;
};
