#pragma once
// Little-endian byte strings for writing image packs and other data files in tests.
#include <cstdint>
#include <string>
#include <vector>

class PackBytes {
public:
    PackBytes& U8(uint8_t value);
    PackBytes& U16(uint16_t value);
    PackBytes& U32(uint32_t value);
    PackBytes& Raw(const std::vector<uint8_t>& bytes);

    std::vector<uint8_t> bytes;
};

// A block of n bytes that differ from each other and from block to block (seeded by `seed`).
std::vector<uint8_t> PatternBytes(size_t n, uint32_t seed);
// Writes data/<name> in the working folder (the folder must exist).
void WriteDataFile(const std::string& name, const std::vector<uint8_t>& bytes);
// Copies a file into data/<name> in the working folder.
void CopyDataFile(const std::string& from, const std::string& name);
