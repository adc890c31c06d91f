#pragma once
// What the server tells of an examined item: its name, free text and the coded lists the client
// words itself.
#include <cstdint>
#include <string>
#include <vector>

// One row of a tooltip table: an attribute or bonus code and its value as shown.
struct TextSegment {
    uint8_t code;
    std::string value;
};

// An attribute the item asks of the player: 0 strength, 1 dexterity, 2 wisdom.
struct Requirement {
    uint8_t attribute;
    uint8_t value;
};

struct ItemDescription {
    std::string name;
    std::string text;
    std::vector<TextSegment> attributes;  // by code; equal codes in wire order
    std::vector<TextSegment> bonuses;     // the same
    std::vector<Requirement> requirements;
    uint8_t twoHanded = 0;

    // Nothing but a name.
    bool BareName() const {
        return text.empty() && attributes.empty() && bonuses.empty() && requirements.empty() &&
               !twoHanded;
    }
};
