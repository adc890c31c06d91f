#pragma once
#include <cstddef>
#include <cstdint>

// The XTEA block cipher (64-bit blocks, 128-bit key, 32 cycles) with the key-dependent constants
// of every cycle computed once per key. Key and blocks are read as little-endian 32-bit words.
// Buffers are handled block by block without chaining; a block count of 0 does nothing.
constexpr size_t XteaKeySize = 16;

// The key bytes of four 32-bit words, each little-endian.
void XteaKeyFromWords(const uint32_t words[4], uint8_t key[XteaKeySize]);

class Xtea {
public:
    // Fills the schedule from a key.
    void SetKey(const uint8_t key[XteaKeySize]);
    void Encrypt(uint8_t* data, size_t blocks) const;
    void Decrypt(uint8_t* data, size_t blocks) const;

private:
    uint32_t schedule_[64] = {};
};
