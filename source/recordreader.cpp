#include "recordreader.h"

const uint8_t* RecordReader::Bytes(uint64_t n) {
    if (failed_ || n > size_ - position_) {
        failed_ = true;
        return nullptr;
    }
    const uint8_t* bytes = data_ + position_;
    position_ += size_t(n);
    return bytes;
}

uint8_t RecordReader::U8() {
    const uint8_t* b = Bytes(1);
    return b ? b[0] : 0;
}

uint16_t RecordReader::U16() {
    const uint8_t* b = Bytes(2);
    return b ? uint16_t(b[0] | b[1] << 8) : 0;
}

uint32_t RecordReader::U32() {
    const uint8_t* b = Bytes(4);
    return b ? b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24 : 0;
}

std::string RecordReader::Text(uint64_t length) {
    const uint8_t* b = Bytes(length);
    return b ? std::string(reinterpret_cast<const char*>(b), size_t(length)) : std::string();
}
