#pragma once
// Speech texts, floating numbers and projectiles: lists of owned effect objects.
#include <vector>

class Core;

// One live effect of a list; the least the lists need until the effects are built.
class FieldEffect {
public:
    virtual ~FieldEffect();
};

// The list of owned effects that Paragraphs, Motions and Throws share; the least their callers
// need.
class EffectList {
public:
    explicit EffectList(Core* owner);
    virtual ~EffectList();
    EffectList(const EffectList&) = delete;
    EffectList& operator=(const EffectList&) = delete;
    // Deletes every effect and empties the list.
    void Clear();

    Core* owner;
    std::vector<FieldEffect*> effects;  // owned
};
