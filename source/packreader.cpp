#include "packreader.h"

#include <cstdio>
#include <cstring>
#include <utility>

bool PackReader::Open(const char* path) {
    FILE* file = fopen(path, "rb");
    if (!file) return false;
    bool read = fseek(file, 0, SEEK_END) == 0;
    const long size = read ? ftell(file) : -1;
    read = size >= 0 && fseek(file, 0, SEEK_SET) == 0;
    if (read) {
        bytes.resize(size_t(size));
        read = fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    fclose(file);
    position = 0;
    return read;
}

void PackReader::Assign(std::vector<uint8_t> data) {
    bytes = std::move(data);
    position = 0;
}

bool PackReader::Take(void* destination, uint64_t size) {
    if (size > bytes.size() - position) return false;
    memcpy(destination, bytes.data() + position, size_t(size));
    position += size_t(size);
    return true;
}

bool PackReader::ReadU8(uint8_t& value) { return Take(&value, 1); }

bool PackReader::ReadU16(uint16_t& value) {
    uint8_t b[2];
    if (!Take(b, 2)) return false;
    value = uint16_t(b[0] | b[1] << 8);
    return true;
}

bool PackReader::ReadI16(int16_t& value) {
    uint16_t raw;
    if (!ReadU16(raw)) return false;
    value = int16_t(raw);
    return true;
}

bool PackReader::ReadU32(uint32_t& value) {
    uint8_t b[4];
    if (!Take(b, 4)) return false;
    value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    return true;
}

bool PackReader::ReadText(uint32_t length, std::string& text) {
    if (length > bytes.size() - position) return false;
    text.assign(reinterpret_cast<const char*>(bytes.data()) + position, length);
    position += length;
    return true;
}

bool PackReader::ReadPixelBlock(uint32_t width, uint32_t height, std::vector<uint8_t>& pixels) {
    // In 64 bits: two 16-bit sides times 4 bytes do not fit in 32.
    const uint64_t size = uint64_t(width) * height * 4;
    const uint64_t padded = (size + 7) & ~uint64_t(7);
    if (padded > bytes.size() - position) return false;
    pixels.assign(size_t(size) + 8, 0);
    return Take(pixels.data(), padded);
}
