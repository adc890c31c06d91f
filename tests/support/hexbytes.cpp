#include "support/hexbytes.h"

#include <cstdlib>

std::vector<uint8_t> FromHex(const std::string& hex) {
    std::string digits;
    for (char c : hex)
        if (c != ' ') digits += c;
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes.push_back(uint8_t(std::strtoul(digits.substr(i, 2).c_str(), nullptr, 16)));
    return bytes;
}

std::string ToHex(const uint8_t* bytes, size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = 0; i < size; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 15];
    }
    return hex;
}
