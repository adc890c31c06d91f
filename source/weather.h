#pragma once
#include <cstdint>

class Core;

// Weather and daylight: the two amounts of falling weather the world's shelter mask follows, the
// light value last applied, and the scroll offsets that follow the camera; the least its callers
// need.
class Weather {
public:
    explicit Weather(Core* owner);
    virtual ~Weather();
    // A new light value after a step of the player; changed: a floor change to another value.
    void Update(uint32_t value, uint8_t changed);
    void Scroll(float dx, float dy);
    // Day (above 0) or night (below 0), as a percentage of the change already done; 0 is fatal.
    // The stand-in switches the ambient colour at once.
    void SetLight(int32_t value);
    // A screen shake; the stand-in keeps only the last amplitude.
    void AddShake(uint32_t amplitude, int32_t delay, int32_t duration);
    // The largest shake under way; 0 when there is none.
    int32_t GetShakeAmplitude() const;
    // Per frame, before drawing: the ambient colour and the cloud layer.
    void Render();
    // Per frame, inside the world image: the cloud layer.
    void DrawLayer();

    Core* owner;
    int32_t rainValue = 0;
    int32_t snowValue = 0;
    uint32_t lightValue = 0;
    int32_t dayValue = 0;
    uint32_t shakeAmplitude = 0;
    uint32_t ambientColour = 0xFFFFFFFF;  // 0xAARRGGBB, what the light grid starts from
    float scrollX = 0, scrollY = 0;
};
