#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mappart.h"

struct GfxImage;

// A page of a map: its picture and the parts of the world it shows.
class MapPage {
public:
    MapPage() = default;
    virtual ~MapPage();
    MapPage(const MapPage&) = delete;
    MapPage& operator=(const MapPage&) = delete;

    std::string name;
    uint16_t width = 0;
    uint16_t height = 0;
    GfxImage* texture = nullptr;  // owned
    std::vector<std::unique_ptr<MapPart>> parts;
};
