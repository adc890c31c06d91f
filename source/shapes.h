#pragma once
// The table of shapes read from "data/Veltor.data" at start-up, with the pixel file
// "data/Veltor.shapes" kept open for building frame images on demand.
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "fileio.h"
#include "palettes.h"
#include "shape.h"

class Core;

class Shapes {
public:
    // Reads the whole table; a file that cannot be opened or is damaged ends the program.
    explicit Shapes(Core* owner);
    virtual ~Shapes();
    Shapes(const Shapes&) = delete;
    Shapes& operator=(const Shapes&) = delete;

    // The header value at the index, 0 past the end.
    uint32_t GetHeaderValue(uint32_t index) const;
    Shape* Find(uint32_t id) const;

    std::map<uint32_t, std::unique_ptr<Shape>> table;
    Core* owner;
    std::unique_ptr<FileReader> shapesFile;
    std::unique_ptr<Palettes> palettes;
    std::vector<uint32_t> header;
};
