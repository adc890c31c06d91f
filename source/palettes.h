#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "palette.h"

// The two built-in palettes: 0 keeps or clears a marked pixel, 1 holds sixteen ramps of eight
// shades for outfit colours. Shape records without a palette id use palette 1.
class Palettes {
public:
    Palettes();
    virtual ~Palettes() = default;

    // The first palette with this id, or null.
    const Palette* Find(uint32_t id) const;

    std::vector<std::unique_ptr<Palette>> palettes;
};
