#include "netbuffer.h"

#include <algorithm>
#include <cstring>

NetBuffer::NetBuffer(int32_t reserve) { Reserve(reserve); }

NetBuffer::~NetBuffer() { delete[] data_; }

void NetBuffer::Reserve(int32_t n) {
    if (start_ + length_ + n <= capacity_) return;
    if (length_ + n <= capacity_) {
        std::memmove(data_, data_ + start_, length_);
        start_ = 0;
        return;
    }
    int32_t size = 256;
    while (size < length_ + n) size *= 2;
    uint8_t* grown = new uint8_t[size];
    if (length_ > 0) std::memcpy(grown, data_ + start_, length_);
    delete[] data_;
    data_ = grown;
    start_ = 0;
    capacity_ = size;
}

uint8_t* NetBuffer::GetWritePointer(int32_t n) {
    Reserve(n);
    return data_ + start_ + length_;
}

int32_t NetBuffer::WriteDone(int32_t n) {
    if (n < 0 || start_ + length_ + n > capacity_) return -1;
    length_ += n;
    return length_;
}

int32_t NetBuffer::Append(const void* bytes, int32_t n) {
    if (n > 0) std::memcpy(GetWritePointer(n), bytes, n);
    return WriteDone(n);
}

int32_t NetBuffer::Consume(int32_t n) {
    const int32_t dropped = std::clamp(n, 0, length_);
    start_ += dropped;
    length_ -= dropped;
    readPos_ = 0;
    return length_;
}

void NetBuffer::BeginFrame(int32_t payloadLength) {
    remaining_ = payloadLength;
    inFrame_ = true;
}

void NetBuffer::EndFrame() {
    remaining_ = 0;
    inFrame_ = false;
}

int32_t NetBuffer::Readable() const {
    const int32_t held = length_ - readPos_;
    return inFrame_ ? std::min(held, remaining_) : held;
}

void NetBuffer::Fail(const char* what) {
    if (error_.empty()) error_ = what;
}

void NetBuffer::Advance(int32_t n) {
    readPos_ += n;
    if (inFrame_) remaining_ -= n;
}

void NetBuffer::Rewind(int32_t position) { Advance(position - readPos_); }

const uint8_t* NetBuffer::Take(int32_t n, const char* what) {
    if (n > Readable()) {
        Fail(what);
        return nullptr;
    }
    const uint8_t* bytes = data_ + start_ + readPos_;
    Advance(n);
    return bytes;
}

uint8_t NetBuffer::GetByte() {
    const uint8_t* b = Take(1, "NetBuffer::GetByte buffer too small!");
    return b ? b[0] : 0;
}

uint16_t NetBuffer::GetU16() {
    const uint8_t* b = Take(2, "NetBuffer::GetU16 buffer too small!");
    return b ? uint16_t(b[0] | b[1] << 8) : 0;
}

uint32_t NetBuffer::GetU32() {
    const uint8_t* b = Take(4, "NetBuffer::GetU32 buffer too small!");
    return b ? b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24 : 0;
}

uint16_t NetBuffer::GetVar15() {
    const uint8_t* b = data_ + start_ + readPos_;
    const int32_t size = Readable() > 0 && b[0] >= 128 ? 2 : 1;
    if (!Take(size, "NetBuffer::GetByte buffer too small!")) return 0;
    return size == 1 ? b[0] : uint16_t((b[0] - 128) + (b[1] << 7));
}

// The varint readers look ahead and move the cursor only once the value is complete, so a
// value cut off by the end of the data moves nothing.
uint32_t NetBuffer::GetVarint() {
    const int32_t available = Readable();
    const uint8_t* b = data_ + start_ + readPos_;
    uint32_t value = 0;
    int bits = 0;
    for (int32_t i = 0; i < available; ++i) {
        const uint8_t next = b[i];
        if (next < 128) {
            if (bits >= 28 && next > 15) Fail("!(bits >= 28 && next > 15)");
            Advance(i + 1);
            return value | uint32_t(next) << bits;
        }
        if (bits >= 28) {
            Fail("bits < 28");
            Advance(i + 1);
            return value;
        }
        value |= uint32_t(next & 127) << bits;
        bits += 7;
    }
    Fail("NetBuffer::GetByte buffer too small!");
    return 0;
}

uint32_t NetBuffer::GetVarStop() {
    const int32_t available = Readable();
    const uint8_t* b = data_ + start_ + readPos_;
    uint32_t value = 0;
    for (int32_t i = 0, bits = 0;; ++i, bits += 7) {
        if (bits >= 32) {
            Fail("bits < 32");
            Advance(i);
            return value;
        }
        if (i == available) {
            Fail("NetBuffer::GetByte buffer too small!");
            return 0;
        }
        value |= uint32_t(b[i] & 127) << bits;
        if (b[i] >= 128) {
            Advance(i + 1);
            return value;
        }
    }
}

// Takes `count` string bytes that follow a count field read from `countStart`; when they are
// not all there the count is given back too, so nothing moves.
std::string NetBuffer::TakeString(uint32_t count, int32_t countStart, const char* what) {
    if (count > uint32_t(Readable())) {
        Rewind(countStart);
        Fail(what);
        return std::string();
    }
    const char* bytes = reinterpret_cast<const char*>(Take(int32_t(count), what));
    return std::string(bytes, count);
}

std::string NetBuffer::GetString() {
    const int32_t countStart = readPos_;
    if (Readable() < 1) {
        Fail("NetBuffer::GetByte buffer too small!");
        return std::string();
    }
    return TakeString(GetByte(), countStart, "NetBuffer::GetString buffer too small!");
}

std::string NetBuffer::GetStringU16() {
    const int32_t countStart = readPos_;
    if (Readable() < 2) {
        Fail("NetBuffer::GetU16 buffer too small!");
        return std::string();
    }
    return TakeString(GetU16(), countStart, "NetBuffer::GetStringU16 buffer too small!");
}

std::string NetBuffer::GetStringVar() {
    const int32_t countStart = readPos_;
    const uint32_t count = GetVarint();
    if (readPos_ == countStart) return std::string();
    return TakeString(count, countStart, "NetBuffer::GetStringVar buffer too small!");
}
