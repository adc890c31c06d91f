#include "effectlist.h"

FieldEffect::~FieldEffect() = default;

EffectList::EffectList(Core* owner) : owner(owner) {}

EffectList::~EffectList() { Clear(); }

void EffectList::Clear() {
    for (FieldEffect* effect : effects) delete effect;
    effects.clear();
}
