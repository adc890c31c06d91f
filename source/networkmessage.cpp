#include "networkmessage.h"

#include <algorithm>
#include <cstring>

#include "xtea.h"

std::string Latin1ToUtf8(const std::string& text) {
    std::string utf8;
    utf8.reserve(text.size() * 2);
    for (unsigned char c : text) {
        if (c < 0x80) {
            utf8 += char(c);
        } else {
            utf8 += char(0xC0 | c >> 6);
            utf8 += char(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

void NetworkMessage::Append(const uint8_t* bytes, int32_t n) {
    if (position_ + n >= WriteLimit) return;
    std::memcpy(bytes_ + position_, bytes, n);
    position_ += n;
    length_ += n;
}

void NetworkMessage::AddVar15(uint16_t count) {
    count = std::min<uint16_t>(count, 32767);
    if (count < 128) {
        AddByte(uint8_t(count));
        return;
    }
    const uint8_t bytes[2] = {uint8_t(128 + count % 128), uint8_t(count >> 7)};
    Append(bytes, 2);
}

void NetworkMessage::AddVarint(uint32_t value) {
    uint8_t bytes[5];
    int32_t n = 0;
    for (; value >= 128; value >>= 7) bytes[n++] = uint8_t(0x80 | (value & 127));
    bytes[n++] = uint8_t(value);
    Append(bytes, n);
}

void NetworkMessage::AddCString(const std::string& text) {
    uint8_t field[256];
    field[0] = uint8_t(text.size());
    std::memcpy(field + 1, text.data(), field[0]);
    Append(field, 1 + field[0]);
}

void NetworkMessage::AddString(const std::string& text) { AddCString(Latin1ToUtf8(text)); }

void NetworkMessage::Encipher(const Xtea& cipher) {
    while (length_ % 8 != 0) bytes_[HeaderReserve + length_++] = 0;
    position_ = HeaderReserve + length_;
    cipher.Encrypt(bytes_ + HeaderReserve, length_ / 8);
}

void NetworkMessage::WriteHeader(uint16_t counter, bool twoByteCounter) {
    const int32_t counterBytes = twoByteCounter ? 2 : 1;
    start_ = HeaderReserve - 2 - counterBytes;
    Store(bytes_ + start_, uint16_t(length_ - 1), 2);
    Store(bytes_ + start_ + 2, counter, counterBytes);
    length_ += 2 + counterBytes;
}
