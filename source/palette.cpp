#include "palette.h"

#include <algorithm>
#include <iterator>

Palette::Palette(uint32_t id, const uint32_t (&colors)[256], uint8_t indexMask)
    : indexMask(indexMask), id(id) {
    std::copy(std::begin(colors), std::end(colors), this->colors);
}
