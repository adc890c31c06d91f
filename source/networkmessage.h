#pragma once
#include <cstdint>
#include <string>

#include "littleendianwriter.h"

class Xtea;

// The client's 8-bit text as UTF-8: bytes below 0x80 stay, every other byte becomes the two-byte
// sequence of the code point of the same value.
std::string Latin1ToUtf8(const std::string& text);

// One client request under construction: an opcode byte and little-endian fields written after
// a reserve for the longest frame header (4 bytes). The connection that sends it writes its own
// header (3 bytes in the login and avatar-selection states, 4 in game) right before the payload,
// so a message needs no connection to be built. A field that would pass the write limit is
// dropped whole.
class NetworkMessage : public LittleEndianWriter<NetworkMessage> {
public:
    static const int32_t Capacity = 16384;
    // A write is made only when the position after its last byte stays below this.
    static const int32_t WriteLimit = 16368;
    static const int32_t HeaderReserve = 4;

    NetworkMessage() = default;
    virtual ~NetworkMessage() = default;

    void AddByte(uint8_t value) { Append(&value, 1); }
    // Counts up to 32767: one byte below 128, else 128 + (n mod 128) and n >> 7.
    void AddVar15(uint16_t count);
    // LEB128: 7 bits a byte, lowest group first, bit 7 set on every byte but the last.
    void AddVarint(uint32_t value);
    // u8 count (the length modulo 256), then that many bytes, unconverted.
    void AddCString(const std::string& text);
    // The 8-bit text converted to UTF-8, then as AddCString.
    void AddString(const std::string& text);

    // Appends zero bytes until the payload is a whole number of 8-byte blocks (the padding may
    // pass the write limit) and enciphers the payload in place.
    void Encipher(const Xtea& cipher);
    // Writes the frame header right before the payload: payload length - 1 (u16), then the
    // counter's low byte, or the whole u16 with a two-byte counter. The data then starts at the
    // header and the length covers the whole frame.
    void WriteHeader(uint16_t counter, bool twoByteCounter);

    // The frame from its header once written; before that, the reserve and the payload.
    const uint8_t* GetData() const { return bytes_ + start_; }
    uint8_t* GetPayload() { return bytes_ + HeaderReserve; }
    int32_t GetLength() const { return length_; }
    int32_t GetPosition() const { return position_; }
    // The bytes between GetData and the payload.
    int32_t GetHeaderSize() const { return HeaderReserve - start_; }

private:
    friend class LittleEndianWriter<NetworkMessage>;
    // The whole field, or nothing when it would pass the write limit.
    void Append(const uint8_t* bytes, int32_t n);

    uint8_t bytes_[Capacity];
    int32_t length_ = 0;
    int32_t position_ = HeaderReserve;
    int32_t start_ = 0;
};
