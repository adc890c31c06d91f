#include "windows/dialogs/housetexts.h"

#include "render.h"

void PaintInfoPanel(Render* render, int32_t x, int32_t y, int32_t w, int32_t h) {
    render->DrawBox(x, y, w, h, 0);
    render->FillRect(x, y, w, h, 0x40000000);
}

std::string HouseTypeName(uint16_t type, const char* typeFive) {
    switch (type) {
        case 1: return "House";
        case 2: return "Flat";
        case 3: return "Shop";
        case 4: return "Mansion";
        case 5: return typeFive;
        default: return "Undefined";
    }
}

namespace {

std::string TwoDigits(uint64_t value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

std::string ClockText(uint64_t seconds) {
    const uint64_t hours = seconds / 3600, minutes = seconds % 3600 / 60;
    return TwoDigits(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(seconds % 60);
}
