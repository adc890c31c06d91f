#include "support/packbytes.h"

#include <cstdio>
#include <filesystem>

PackBytes& PackBytes::U8(uint8_t value) {
    bytes.push_back(value);
    return *this;
}

PackBytes& PackBytes::U16(uint16_t value) {
    bytes.push_back(uint8_t(value));
    bytes.push_back(uint8_t(value >> 8));
    return *this;
}

PackBytes& PackBytes::U32(uint32_t value) {
    return U16(uint16_t(value)).U16(uint16_t(value >> 16));
}

PackBytes& PackBytes::Raw(const std::vector<uint8_t>& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
}

std::vector<uint8_t> PatternBytes(size_t n, uint32_t seed) {
    std::vector<uint8_t> block(n);
    uint32_t state = seed * 2654435761u + 1;
    for (uint8_t& byte : block) {
        state = state * 1103515245u + 12345u;
        byte = uint8_t(state >> 16);
    }
    return block;
}

void WriteDataFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories("data");
    FILE* file = fopen(("data/" + name).c_str(), "wb");
    if (!file) return;
    if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

void CopyDataFile(const std::string& from, const std::string& name) {
    std::filesystem::create_directories("data");
    std::filesystem::copy_file(from, "data/" + name,
                               std::filesystem::copy_options::overwrite_existing);
}
