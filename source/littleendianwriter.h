#pragma once
#include <cstdint>

// The little-endian integer appends of the byte queue and the client message, written once:
// Owner derives from LittleEndianWriter<Owner> and takes the bytes in its Append(bytes, n), with
// whatever bounds it keeps.
template <typename Owner>
class LittleEndianWriter {
public:
    void AddU16(uint16_t value) { Add(value, 2); }
    void AddU32(uint32_t value) { Add(value, 4); }
    void AddU64(uint64_t value) { Add(value, 8); }

protected:
    // The n low bytes of the value, lowest first.
    static void Store(uint8_t* at, uint64_t value, int32_t n) {
        for (int32_t i = 0; i < n; ++i) at[i] = uint8_t(value >> (8 * i));
    }

private:
    void Add(uint64_t value, int32_t n) {
        uint8_t bytes[8];
        Store(bytes, value, n);
        static_cast<Owner*>(this)->Append(bytes, n);
    }
};
