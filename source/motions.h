#pragma once
#include "effectlist.h"

// The floating numbers on the game field: an empty list, the least its callers need.
class Motions : public EffectList {
public:
    using EffectList::EffectList;
};
