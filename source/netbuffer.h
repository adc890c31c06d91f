#pragma once
#include <cstdint>
#include <string>

#include "littleendianwriter.h"

// A growable byte queue with a read cursor and little-endian readers. The connection receives
// into one and cuts frames out of it, and queues outgoing frames in another.
//
// Reads are bounded: never past the held bytes, and while a frame is open (BeginFrame) never
// past the end of that frame. A read that cannot be satisfied returns 0 (or an empty string),
// moves nothing, and marks the buffer failed with a text naming the reader; the caller checks
// Failed() after a message and ends the connection.
class NetBuffer : public LittleEndianWriter<NetBuffer> {
public:
    explicit NetBuffer(int32_t reserve);
    ~NetBuffer();
    NetBuffer(const NetBuffer&) = delete;
    NetBuffer& operator=(const NetBuffer&) = delete;

    // Guarantees room for n more bytes after the held ones.
    void Reserve(int32_t n);
    // Room for n bytes after the held ones, where a receive may write; WriteDone declares them.
    uint8_t* GetWritePointer(int32_t n);
    // The new length, or -1 when n is negative or more than the room after the held bytes (the
    // caller wrote past what it reserved): nothing is declared then.
    int32_t WriteDone(int32_t n);
    // The new length; -1 for a negative n, with nothing appended.
    int32_t Append(const void* bytes, int32_t n);
    void AddU8(uint8_t value) { Append(&value, 1); }
    // Drops up to n bytes from the front and rewinds the read cursor.
    int32_t Consume(int32_t n);

    uint8_t* GetData() { return data_ + start_; }
    const uint8_t* GetData() const { return data_ + start_; }
    int32_t GetLength() const { return length_; }
    int32_t GetCapacity() const { return capacity_; }
    int32_t GetReadPosition() const { return readPos_; }
    // Bytes held after the read cursor.
    int32_t GetUnread() const { return length_ - readPos_; }

    // Opens a frame of payloadLength bytes starting at the read cursor: reads are then bounded
    // by it. EndFrame returns to reading the held bytes freely (frame headers).
    void BeginFrame(int32_t payloadLength);
    void EndFrame();
    // Bytes of the open frame not yet read (0 when no frame is open).
    int32_t GetRemaining() const { return remaining_; }

    uint8_t GetByte();
    // The same bounded read as GetByte (the name the game-state handlers use for signed bytes).
    uint8_t GetByteOrZero() { return GetByte(); }
    uint16_t GetU16();
    uint32_t GetU32();
    // 1 or 2 bytes: b0 < 128 is the count, else (b0 - 128) + (b1 << 7).
    uint16_t GetVar15();
    // LEB128: 7 bits a byte, lowest group first, bit 7 set on every byte but the last.
    uint32_t GetVarint();
    // 7-bit groups, lowest first, where the last byte has bit 7 set.
    uint32_t GetVarStop();
    std::string GetString();     // u8 count
    std::string GetStringU16();  // u16 count
    std::string GetStringVar();  // LEB128 count

    // True once a read ran past the available bytes or a varint failed its consistency check.
    bool Failed() const { return !error_.empty(); }
    // The first failure: the reader's text or the failed condition.
    const std::string& GetError() const { return error_; }
    void ClearError() { error_.clear(); }

private:
    int32_t Readable() const;
    // Takes n bytes at the cursor, or marks the buffer failed with `what` and returns null.
    const uint8_t* Take(int32_t n, const char* what);
    void Advance(int32_t n);
    void Rewind(int32_t position);
    void Fail(const char* what);
    std::string TakeString(uint32_t count, int32_t countStart, const char* what);

    uint8_t* data_ = nullptr;
    int32_t capacity_ = 0;
    int32_t remaining_ = 0;
    int32_t start_ = 0;
    int32_t length_ = 0;
    int32_t readPos_ = 0;
    bool inFrame_ = false;
    std::string error_;
};
