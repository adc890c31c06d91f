#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mappage.h"

// One entry of the atlas's directory and, once its record is loaded, one map.
class MapStruct {
public:
    virtual ~MapStruct() = default;

    uint16_t id = 0;
    uint32_t recordOffset = 0;
    uint32_t recordEnd = 0;  // the next entry's offset, or the file's length for the last one
    uint8_t loaded = 0;
    uint8_t isWorld = 0;  // the world map, id 1
    std::string name;
    std::vector<std::unique_ptr<MapPage>> pages;
};
