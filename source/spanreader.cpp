#include "spanreader.h"

#include <algorithm>

const uint8_t* SpanReader::Bytes(uint64_t n) {
    if (failed_ || n > size_ - position_) {
        failed_ = true;
        return nullptr;
    }
    const uint8_t* bytes = data_ + position_;
    position_ += size_t(n);
    return bytes;
}

uint8_t SpanReader::U8() {
    const uint8_t* b = Bytes(1);
    return b ? b[0] : 0;
}

uint16_t SpanReader::U16() {
    const uint8_t* b = Bytes(2);
    return b ? uint16_t(b[0] | b[1] << 8) : 0;
}

uint32_t SpanReader::U32() {
    const uint8_t* b = Bytes(4);
    return b ? b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24 : 0;
}

std::string SpanReader::Text(uint64_t length) {
    const uint8_t* b = Bytes(length);
    return b ? std::string(reinterpret_cast<const char*>(b), size_t(length)) : std::string();
}

std::vector<uint8_t> SpanReader::PixelBlock(uint32_t width, uint32_t height) {
    // In 64 bits: two 16-bit sides times 4 bytes do not fit in 32.
    const uint64_t size = uint64_t(width) * height * 4;
    const uint64_t padded = (size + 7) & ~uint64_t(7);
    const uint8_t* block = Bytes(padded);
    if (failed_) return {};
    std::vector<uint8_t> pixels(size_t(size) + 8, 0);
    std::copy_n(block, size_t(padded), pixels.begin());
    return pixels;
}
