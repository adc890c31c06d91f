#pragma once
// A data file (an image or font pack, an index, spells) or a deciphered record held whole in memory.
// Every read fails, rather than running past the end, when the bytes hold less than it asks for,
// so a short or lying file is detected.
#include <cstdint>
#include <string>
#include <vector>

class PackReader {
public:
    // False when the file cannot be opened or read.
    bool Open(const char* path);
    // Reads from these bytes instead of a file.
    void Assign(std::vector<uint8_t> data);
    uint64_t Size() const { return bytes.size(); }
    bool ReadU8(uint8_t& value);
    bool ReadU16(uint16_t& value);
    bool ReadI16(int16_t& value);
    bool ReadU32(uint32_t& value);
    // `length` bytes of 8-bit text.
    bool ReadText(uint32_t length, std::string& text);
    // The enciphered pixels of a width × height image, stored padded to a multiple of 8 bytes,
    // into a buffer 8 bytes longer than the pixels (the deciphering works on whole blocks).
    bool ReadPixelBlock(uint32_t width, uint32_t height, std::vector<uint8_t>& pixels);

private:
    bool Take(void* destination, uint64_t size);

    std::vector<uint8_t> bytes;
    size_t position = 0;
};
