#pragma once
// The seeded mutator of the fuzz harness: the same seed makes the same inputs. Each input is a
// base input changed by one to four steps: bit flips, a random byte, a cut, a splice with another
// input, a block repeated, a long run of one letter, or an interesting integer (8, 16 or 32 bits)
// written over a field that looks like a length, count or offset.
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

class Mutator {
public:
    Mutator(uint32_t seed, size_t maxSize);

    std::vector<uint8_t> Mutate(const std::vector<uint8_t>& base,
                                const std::vector<uint8_t>& other);

private:
    size_t Below(size_t n);
    void FlipBits(std::vector<uint8_t>& bytes);
    void RandomByte(std::vector<uint8_t>& bytes);
    void Cut(std::vector<uint8_t>& bytes);
    void Splice(std::vector<uint8_t>& bytes, const std::vector<uint8_t>& other);
    void RepeatBlock(std::vector<uint8_t>& bytes);
    void LongRun(std::vector<uint8_t>& bytes);
    void InterestingInteger(std::vector<uint8_t>& bytes);
    // A position whose little-endian value of `width` bytes is small and not zero, as lengths,
    // counts and offsets are; any position when none is found in a few tries.
    size_t FieldLikePosition(const std::vector<uint8_t>& bytes, size_t width);

    std::mt19937 random_;
    size_t maxSize_;
};
