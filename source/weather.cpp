#include "weather.h"

Weather::Weather(Core* owner) : owner(owner) {}

Weather::~Weather() = default;

void Weather::Update(uint32_t value, uint8_t) { lightValue = value; }

void Weather::Scroll(float dx, float dy) {
    scrollX += dx;
    scrollY += dy;
}
