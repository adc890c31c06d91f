#include "effectlist.h"

#include "creature.h"
#include "motions.h"
#include "throws.h"

FieldEffect::~FieldEffect() = default;

EffectList::EffectList(Core* owner) : owner(owner) {}

EffectList::~EffectList() { Clear(); }

void EffectList::Clear() {
    for (FieldEffect* effect : effects) delete effect;
    effects.clear();
}

void Motions::Add(Creature* creature, uint8_t kind, int32_t value) {
    effects.push_back(new Motion(creature->id, kind, value));
}

void Motions::Draw(int32_t, int32_t, int32_t, int32_t) {}

void Throws::Add(Position from, uint8_t fromZ, Position to, uint8_t toZ, int32_t reach,
                 Item* item) {
    from.z = fromZ;
    to.z = toZ;
    if (from == to) {
        delete item;
        return;
    }
    effects.push_back(new Throw(from, to, reach, item));
}

void Throws::Update(Position, uint8_t, uint8_t) {}
