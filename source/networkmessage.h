#pragma once
#include <cstdint>
#include <string>

#include "littleendianwriter.h"

class Xtea;

// The client's 8-bit text as UTF-8: bytes below 0x80 stay, every other byte becomes the two-byte
// sequence of the code point of the same value.
std::string Latin1ToUtf8(const std::string& text);

// One client request under construction: an opcode byte and little-endian fields written after
// a reserve for the frame header (3 bytes in the login and avatar-selection states, 4 in game,
// fixed when the message is made). A field that would pass the write limit is dropped whole.
class NetworkMessage : public LittleEndianWriter<NetworkMessage> {
public:
    static const int32_t Capacity = 16384;
    // A write is made only when the position after its last byte stays below this.
    static const int32_t WriteLimit = 16368;

    NetworkMessage();
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
    // Writes the frame header into the reserve: payload length - 1 (u16), then the counter's low
    // byte, or the whole u16 with a 4-byte reserve. The length then covers the whole frame.
    void WriteHeader(uint16_t counter);

    const uint8_t* GetData() const { return bytes_; }
    uint8_t* GetPayload() { return bytes_ + reserve_; }
    int32_t GetLength() const { return length_; }
    int32_t GetPosition() const { return position_; }
    int32_t GetHeaderSize() const { return reserve_; }

private:
    friend class LittleEndianWriter<NetworkMessage>;
    // The whole field, or nothing when it would pass the write limit.
    void Append(const uint8_t* bytes, int32_t n);

    uint8_t bytes_[Capacity];
    int32_t length_ = 0;
    int32_t position_;
    int32_t reserve_;
};
