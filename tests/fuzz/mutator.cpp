#include "fuzz/mutator.h"

#include <algorithm>

namespace {

// Values at the edges of the integer widths, and the ones readers treat specially.
const uint32_t InterestingValues[] = {0,          1,         2,       7,          8,
                                      0x7F,       0x80,      0xFF,    0x100,      0x7FFF,
                                      0x8000,     0xFFFF,    0x10000, 0x7FFFFFFF, 0x80000000,
                                      0xFFFFFFFE, 0xFFFFFFFF};
const size_t LongestRun = 70000;

}  // namespace

Mutator::Mutator(uint32_t seed, size_t maxSize) : random_(seed), maxSize_(maxSize) {}

size_t Mutator::Below(size_t n) { return n ? size_t(random_() % n) : 0; }

std::vector<uint8_t> Mutator::Mutate(const std::vector<uint8_t>& base,
                                     const std::vector<uint8_t>& other) {
    std::vector<uint8_t> bytes = base;
    const size_t steps = 1 + Below(4);
    for (size_t step = 0; step < steps; ++step) {
        switch (Below(8)) {
            case 0: FlipBits(bytes); break;
            case 1: RandomByte(bytes); break;
            case 2: Cut(bytes); break;
            case 3: Splice(bytes, other); break;
            case 4: RepeatBlock(bytes); break;
            case 5: LongRun(bytes); break;
            default: InterestingInteger(bytes); break;
        }
        if (bytes.size() > maxSize_) bytes.resize(maxSize_);
    }
    return bytes;
}

void Mutator::FlipBits(std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return;
    for (size_t flips = 1 + Below(8); flips > 0; --flips)
        bytes[Below(bytes.size())] ^= uint8_t(1u << Below(8));
}

void Mutator::RandomByte(std::vector<uint8_t>& bytes) {
    if (bytes.empty()) bytes.push_back(0);
    bytes[Below(bytes.size())] = uint8_t(random_());
}

void Mutator::Cut(std::vector<uint8_t>& bytes) { bytes.resize(Below(bytes.size() + 1)); }

void Mutator::Splice(std::vector<uint8_t>& bytes, const std::vector<uint8_t>& other) {
    const size_t keep = Below(bytes.size() + 1);
    const size_t from = Below(other.size() + 1);
    bytes.resize(keep);
    bytes.insert(bytes.end(), other.begin() + std::ptrdiff_t(from), other.end());
}

void Mutator::RepeatBlock(std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return;
    const size_t start = Below(bytes.size());
    const size_t length = 1 + Below(std::min<size_t>(bytes.size() - start, 256));
    const std::vector<uint8_t> block(bytes.begin() + std::ptrdiff_t(start),
                                     bytes.begin() + std::ptrdiff_t(start + length));
    size_t at = start + length;
    for (size_t copies = 1 + Below(64); copies > 0 && bytes.size() < maxSize_; --copies) {
        bytes.insert(bytes.begin() + std::ptrdiff_t(at), block.begin(), block.end());
        at += length;
    }
}

void Mutator::LongRun(std::vector<uint8_t>& bytes) {
    const size_t at = Below(bytes.size() + 1);
    const size_t length = 1 + Below(std::min(maxSize_, LongestRun));
    bytes.insert(bytes.begin() + std::ptrdiff_t(at), length, uint8_t('W'));
}

void Mutator::InterestingInteger(std::vector<uint8_t>& bytes) {
    static const size_t Widths[] = {1, 2, 4};
    const size_t width = Widths[Below(3)];
    if (bytes.size() < width) return;
    uint32_t value = InterestingValues[Below(sizeof InterestingValues / sizeof *InterestingValues)];
    // Sometimes the size of the input itself, give or take one.
    if (Below(4) == 0) value = uint32_t(bytes.size() - 1 + Below(3));
    const size_t at = FieldLikePosition(bytes, width);
    for (size_t i = 0; i < width; ++i) bytes[at + i] = uint8_t(value >> (8 * i));
}

size_t Mutator::FieldLikePosition(const std::vector<uint8_t>& bytes, size_t width) {
    const size_t positions = bytes.size() - width + 1;
    for (int tries = 0; tries < 16; ++tries) {
        const size_t at = Below(positions);
        uint32_t value = 0;
        for (size_t i = 0; i < width; ++i) value |= uint32_t(bytes[at + i]) << (8 * i);
        if (value != 0 && value <= bytes.size()) return at;
    }
    return Below(positions);
}
