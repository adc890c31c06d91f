#pragma once
#include <cstdint>

// A table of 256 colours that turns the bytes of a colour key into the four tint colours of a
// shape's palette nodes. A key byte is ANDed with the index mask before it picks a colour.
class Palette {
public:
    Palette(uint32_t id, const uint32_t (&colors)[256], uint8_t indexMask);
    virtual ~Palette() = default;

    uint32_t ColorOfKeyByte(uint8_t keyByte) const { return colors[keyByte & indexMask]; }

    uint8_t indexMask;
    uint32_t colors[256];
    uint32_t id;
};
