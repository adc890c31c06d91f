#pragma once
// The fields of a client request and the one way to build a request from them: the opcode byte,
// then each field written by its type, so that a sender's parameter types are its wire layout.
#include <cstdint>
#include <optional>
#include <string>

#include "networkmessage.h"

// A count written in the 15-bit form; larger counts are sent as the largest it holds.
struct Var15 {
    uint32_t value;
};

// An integer written in LEB128.
struct Varint {
    uint32_t value;
};

// The wire counts a string in one byte: a UTF-8 text longer than 255 bytes is cut after its last
// whole character that fits.
std::string FitText(const std::string& utf8);

// Only these types are fields; any other integer type is refused at compile time rather than
// written with a width nobody chose.
template <typename T>
void AddField(NetworkMessage& message, const T& value) = delete;
inline void AddField(NetworkMessage& message, uint8_t value) { message.AddByte(value); }
inline void AddField(NetworkMessage& message, uint16_t value) { message.AddU16(value); }
inline void AddField(NetworkMessage& message, uint32_t value) { message.AddU32(value); }
inline void AddField(NetworkMessage& message, uint64_t value) { message.AddU64(value); }
inline void AddField(NetworkMessage& message, Var15 count) {
    message.AddVar15(uint16_t(count.value < 32767 ? count.value : 32767));
}
inline void AddField(NetworkMessage& message, Varint value) { message.AddVarint(value.value); }
inline void AddField(NetworkMessage& message, const std::string& text) {
    message.AddCString(FitText(Latin1ToUtf8(text)));
}
// A field that only some requests of a kind carry.
template <typename T>
void AddField(NetworkMessage& message, const std::optional<T>& field) {
    if (field) AddField(message, *field);
}

template <typename... Fields>
NetworkMessage MakeRequest(uint8_t opcode, const Fields&... fields) {
    NetworkMessage message;
    message.AddByte(opcode);
    (AddField(message, fields), ...);
    return message;
}
