#include "effectlist.h"

#include <algorithm>

FieldEffect::~FieldEffect() = default;

EffectList::EffectList(Core* owner) : owner(owner) {}

EffectList::~EffectList() { Clear(); }

void EffectList::Clear() {
    for (FieldEffect* effect : effects) delete effect;
    effects.clear();
}

void EffectList::Remove(FieldEffect* effect) {
    auto at = std::find(effects.begin(), effects.end(), effect);
    if (at == effects.end()) return;
    effects.erase(at);
    delete effect;
}
