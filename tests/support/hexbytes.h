#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Bytes written as hexadecimal text ("85 02" or "8502"; spaces are skipped), and back.
std::vector<uint8_t> FromHex(const std::string& hex);
std::string ToHex(const uint8_t* bytes, size_t size);
inline std::string ToHex(const std::vector<uint8_t>& bytes) {
    return ToHex(bytes.data(), bytes.size());
}
