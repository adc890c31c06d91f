#include "weather.h"

#include "core.h"

namespace {
constexpr uint32_t DayColour = 0xFFFFFFFF, NightColour = 0xFF303040;
}

Weather::Weather(Core* owner) : owner(owner) {}

Weather::~Weather() = default;

void Weather::Update(uint32_t value, uint8_t) { lightValue = value; }

void Weather::Scroll(float dx, float dy) {
    scrollX += dx;
    scrollY += dy;
}

void Weather::SetLight(int32_t value) {
    if (value == 0) owner->FatalError("unknown light value: 0");
    dayValue = value;
    // Without the day cycle the light is at once the day or the night it heads for.
    ambientColour = value > 0 ? DayColour : NightColour;
}

void Weather::AddShake(uint32_t amplitude, int32_t, int32_t) { shakeAmplitude = amplitude; }

int32_t Weather::GetShakeAmplitude() const { return int32_t(shakeAmplitude); }

void Weather::Render() {}

void Weather::DrawLayer() {}
