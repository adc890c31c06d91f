#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "effectlist.h"

class Creature;
class Paragraph;

// The speech texts on the game field, in update and drawing order; each is deleted in the frame
// in which its last line ends.
class Paragraphs : public EffectList {
public:
    using EffectList::EffectList;
    // Continues the speaker's bubble at its tile, or starts a new one.
    void Add(const std::string& text, Creature* speaker);
    // Appends a text made elsewhere (server speech of a kind); the list owns it.
    void Push(Paragraph* paragraph);
    // Pushes two overlapping bubbles apart, sideways or up and down.
    static void Separate(Paragraph* a, Paragraph* b);
    // Once a frame over the game field's screen rectangle, while the own character exists.
    void Draw(int32_t x, int32_t y, int32_t w, int32_t h);
    std::vector<Paragraph*> Texts() const;
};
