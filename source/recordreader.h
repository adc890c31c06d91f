#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Little-endian reads over a record held in memory. A read that runs past the end returns zero
// (or nothing), moves nothing and marks the reader failed: a record shorter than its own counts
// claim is found by one check of Failed() when it has been read.
class RecordReader {
public:
    RecordReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    // The next n bytes, or null when fewer are left.
    const uint8_t* Bytes(uint64_t n);
    std::string Text(uint64_t length);

    bool Failed() const { return failed_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
    bool failed_ = false;
};
