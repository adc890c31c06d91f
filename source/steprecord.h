#pragma once
// One step of a creature as the server's transition and move messages describe it.
#include <cstdint>

struct StepRecord {
    uint32_t direction = 0;   // 0 to 7
    int32_t floorChange = 0;  // -1, 0 or +1
    uint32_t viewFloor = 0;   // the floor the view is rebuilt for
    uint32_t stepValue = 0;   // the light word a transition carries
    uint8_t flags[2] = {};
    uint8_t forced = 0;
    uint16_t forcedValue = 0;
    uint8_t forcedFlag = 0;
};
