#include "xtea.h"

namespace {

const uint32_t Delta = 0x9E3779B9;

uint32_t ReadWord(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

void WriteWord(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

uint32_t Mix(uint32_t x) { return ((x << 4) ^ (x >> 5)) + x; }

}  // namespace

void XteaKeyFromWords(const uint32_t words[4], uint8_t key[XteaKeySize]) {
    for (size_t i = 0; i < XteaKeySize; ++i) key[i] = uint8_t(words[i / 4] >> (8 * (i % 4)));
}

void Xtea::SetKey(const uint8_t key[XteaKeySize]) {
    const uint32_t k[4] = {ReadWord(key), ReadWord(key + 4), ReadWord(key + 8), ReadWord(key + 12)};
    uint32_t sum = 0;
    for (int i = 0; i < 32; ++i) {
        schedule_[2 * i] = k[sum & 3] + sum;
        sum += Delta;
        schedule_[2 * i + 1] = k[(sum >> 11) & 3] + sum;
    }
}

void Xtea::Encrypt(uint8_t* data, size_t blocks) const {
    for (uint8_t* block = data; block != data + 8 * blocks; block += 8) {
        uint32_t y = ReadWord(block), z = ReadWord(block + 4);
        for (int i = 0; i < 32; ++i) {
            y += Mix(z) ^ schedule_[2 * i];
            z += Mix(y) ^ schedule_[2 * i + 1];
        }
        WriteWord(block, y);
        WriteWord(block + 4, z);
    }
}

void Xtea::Decrypt(uint8_t* data, size_t blocks) const {
    for (uint8_t* block = data; block != data + 8 * blocks; block += 8) {
        uint32_t y = ReadWord(block), z = ReadWord(block + 4);
        for (int i = 31; i >= 0; --i) {
            z -= Mix(y) ^ schedule_[2 * i + 1];
            y -= Mix(z) ^ schedule_[2 * i];
        }
        WriteWord(block, y);
        WriteWord(block + 4, z);
    }
}
