#pragma once
#include "effectlist.h"

// The projectiles on the game field: an empty list, the least its callers need.
class Throws : public EffectList {
public:
    using EffectList::EffectList;
};
