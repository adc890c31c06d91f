#pragma once
// Speech texts, floating numbers and projectiles: lists of owned effect objects.
#include <vector>

class Core;

// One live effect of a list.
class FieldEffect {
public:
    virtual ~FieldEffect();
};

// The list of owned effects that Paragraphs, Motions and Throws share. Their per-frame passes walk
// a copy of it, so that an effect can be removed while it is drawn.
class EffectList {
public:
    explicit EffectList(Core* owner);
    virtual ~EffectList();
    EffectList(const EffectList&) = delete;
    EffectList& operator=(const EffectList&) = delete;
    // Deletes every effect and empties the list.
    void Clear();
    // Takes one effect off the list and deletes it.
    void Remove(FieldEffect* effect);

    Core* owner;
    std::vector<FieldEffect*> effects;  // owned
};
