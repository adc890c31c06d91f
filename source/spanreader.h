#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Little-endian reads over bytes held in memory: a data file read whole, a deciphered record or a
// file's directory. Each read is checked before it is made; one that runs past the end returns
// zero (or nothing), moves nothing and marks the reader failed, and every read after a failure
// does the same. A span shorter than its own counts claim is thus found by one check of Failed()
// once it has been read, before anything read from it is used.
class SpanReader {
public:
    SpanReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit SpanReader(const std::vector<uint8_t>& bytes)
        : SpanReader(bytes.data(), bytes.size()) {}

    uint8_t U8();
    uint16_t U16();
    int16_t I16() { return int16_t(U16()); }
    uint32_t U32();
    // The next n bytes, or null when fewer are left.
    const uint8_t* Bytes(uint64_t n);
    // `length` bytes of 8-bit text.
    std::string Text(uint64_t length);
    // The enciphered pixels of a width × height image, stored padded to a multiple of 8 bytes, in
    // a buffer 8 bytes longer than the pixels (the deciphering works on whole blocks); empty when
    // the padded block is not all there.
    std::vector<uint8_t> PixelBlock(uint32_t width, uint32_t height);

    size_t Size() const { return size_; }
    bool Failed() const { return failed_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
    bool failed_ = false;
};
