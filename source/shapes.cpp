#include "shapes.h"

#include <filesystem>

#include "core.h"

Shapes::Shapes(Core* owner) : owner(owner) {
    const auto endProgram = [owner](const std::string& text) { owner->FatalError(text); };
    shapesFile = std::make_unique<FileReader>(ShapesFileName, endProgram);
    palettes = std::make_unique<Palettes>();
    FileReader data(DataFileName, endProgram);
    owner->dataVersion += data.ReadU32();
    owner->dataVersion += shapesFile->ReadU32();
    const uint8_t count = data.ReadU8();
    for (uint8_t i = 0; i < count; ++i) header.push_back(data.ReadU32());

    std::error_code error;
    ShapeLoading loading{owner, std::filesystem::file_size(ShapesFileName, error), 0};
    if (error) loading.pixelFileSize = 0;
    while (!data.Finished()) {
        auto shape = std::make_unique<Shape>(data, shapesFile.get(), palettes.get(), loading);
        table[shape->id] = std::move(shape);  // a later record replaces an earlier one
    }
}

// The shapes go first: their images are deleted through the graphics layer, their readers and
// palettes are borrowed from here.
Shapes::~Shapes() { table.clear(); }

uint32_t Shapes::GetHeaderValue(uint32_t index) const {
    return index < header.size() ? header[index] : 0;
}

Shape* Shapes::Find(uint32_t id) const {
    auto found = table.find(id);
    return found == table.end() ? nullptr : found->second.get();
}
