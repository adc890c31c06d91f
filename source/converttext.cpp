#include "converttext.h"

#include <cstdint>

namespace {

constexpr uint32_t MaxContinuationBytes = 5;

bool IsContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

// Continuation bytes a lead byte (192 or above) announces: its leading one bits less one.
uint32_t ContinuationCount(uint8_t lead) {
    uint32_t ones = 0;
    while (ones < 8 && (lead & (0x80 >> ones))) ++ones;
    return ones - 1;
}

}  // namespace

void ConvertText(std::string& text) {
    std::string converted;
    converted.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const uint8_t lead = static_cast<uint8_t>(text[i++]);
        if (lead < 0x80) {
            converted += static_cast<char>(lead);
            continue;
        }
        const uint32_t continuations = lead >= 0xC0 ? ContinuationCount(lead) : 0;
        if (continuations == 0 || continuations > MaxContinuationBytes) {
            converted += '?';  // a continuation byte where a lead belongs, or no valid lead
            continue;
        }
        uint32_t value = lead & (0x3F >> continuations);
        uint32_t taken = 0;
        while (taken < continuations && i < text.size() &&
               IsContinuation(static_cast<uint8_t>(text[i]))) {
            value = (value << 6) | (static_cast<uint8_t>(text[i++]) & 0x3F);
            ++taken;
        }
        // A sequence cut short by the end or by a byte that does not continue it counts as one
        // bad character; that byte then starts the next character.
        converted += taken == continuations ? static_cast<char>(value & 0xFF) : '?';
    }
    text = std::move(converted);
}
