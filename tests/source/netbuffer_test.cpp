#include <gtest/gtest.h>

#include <functional>

#include "netbuffer.h"
#include "support/hexbytes.h"

namespace {

void Fill(NetBuffer& buffer, const std::string& hex) {
    const std::vector<uint8_t> bytes = FromHex(hex);
    buffer.Append(bytes.data(), int32_t(bytes.size()));
}

TEST(NetBuffer, ReserveMovesHeldBytesToTheFrontBeforeGrowing) {
    NetBuffer buffer(1024);
    std::vector<uint8_t> bytes(1000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i);
    buffer.Append(bytes.data(), 1000);
    buffer.Consume(700);
    const uint8_t* held = buffer.GetData();
    buffer.Reserve(100);
    EXPECT_EQ(buffer.GetCapacity(), 1024);
    EXPECT_EQ(buffer.GetData(), held - 700);
    EXPECT_EQ(buffer.GetData()[0], uint8_t(700));
    buffer.Reserve(1000);
    EXPECT_EQ(buffer.GetCapacity(), 2048);
    ASSERT_EQ(buffer.GetLength(), 300);
    EXPECT_EQ(buffer.GetData()[299], uint8_t(999));
}

TEST(NetBuffer, GrowsInPowersOfTwoFrom256) {
    NetBuffer buffer(10);
    EXPECT_EQ(buffer.GetCapacity(), 256);
    buffer.AddU32(0x04030201);
    buffer.AddU16(0x0605);
    buffer.AddU8(7);
    buffer.Reserve(300);
    EXPECT_EQ(buffer.GetCapacity(), 512);
    EXPECT_EQ(ToHex(buffer.GetData(), buffer.GetLength()), "01020304050607");
}

// A write past the reserved room is refused and reported to the caller; nothing is declared.
TEST(NetBuffer, WriteDoneBeyondTheReservedRoomIsRefused) {
    NetBuffer buffer(10);
    buffer.Append("\x01\x02", 2);
    buffer.GetWritePointer(4);
    const int32_t room = buffer.GetCapacity() - buffer.GetLength();
    EXPECT_EQ(buffer.WriteDone(room + 1), -1);
    EXPECT_EQ(buffer.WriteDone(-1), -1);
    EXPECT_EQ(buffer.Append("x", -1), -1);
    EXPECT_EQ(buffer.GetLength(), 2);
    EXPECT_EQ(buffer.WriteDone(room), 2 + room);
}

struct ReaderCase {
    const char* name;
    std::function<uint32_t(NetBuffer&)> read;
    const char* bytes;
    uint32_t value;
    int32_t taken;
    const char* error;
};

const char* const TooSmall = "NetBuffer::GetByte buffer too small!";

const ReaderCase ReaderCases[] = {
    {"var15 short", [](NetBuffer& b) { return b.GetVar15(); }, "7f", 127, 1, ""},
    {"var15 long", [](NetBuffer& b) { return b.GetVar15(); }, "8502", 261, 2, ""},
    {"var15 cut", [](NetBuffer& b) { return b.GetVar15(); }, "85", 0, 0, TooSmall},
    {"varint one byte", [](NetBuffer& b) { return b.GetVarint(); }, "05", 5, 1, ""},
    {"varint largest", [](NetBuffer& b) { return b.GetVarint(); }, "ffffffff0f", 0xFFFFFFFF, 5, ""},
    {"varint fifth byte above 15", [](NetBuffer& b) { return b.GetVarint(); }, "ffffffff1f",
     0xFFFFFFFF, 5, "!(bits >= 28 && next > 15)"},
    {"varint sixth byte", [](NetBuffer& b) { return b.GetVarint(); }, "ffffffff8f01", 0x0FFFFFFF, 5,
     "bits < 28"},
    {"varint cut", [](NetBuffer& b) { return b.GetVarint(); }, "ff ff", 0, 0, TooSmall},
    {"stop-bit two bytes", [](NetBuffer& b) { return b.GetVarStop(); }, "0581", 133, 2, ""},
    {"stop-bit one byte", [](NetBuffer& b) { return b.GetVarStop(); }, "85", 5, 1, ""},
    {"stop-bit sixth group", [](NetBuffer& b) { return b.GetVarStop(); }, "000000000081", 0, 5,
     "bits < 32"},
    {"stop-bit cut", [](NetBuffer& b) { return b.GetVarStop(); }, "0505", 0, 0, TooSmall},
    {"u16", [](NetBuffer& b) { return b.GetU16(); }, "3412", 0x1234, 2, ""},
    {"u16 cut", [](NetBuffer& b) { return b.GetU16(); }, "34", 0, 0,
     "NetBuffer::GetU16 buffer too small!"},
    {"u32", [](NetBuffer& b) { return b.GetU32(); }, "78563412", 0x12345678, 4, ""},
    {"u32 cut", [](NetBuffer& b) { return b.GetU32(); }, "785634", 0, 0,
     "NetBuffer::GetU32 buffer too small!"},
    {"byte from nothing", [](NetBuffer& b) { return b.GetByte(); }, "", 0, 0, TooSmall},
};

TEST(NetBuffer, Readers) {
    for (const ReaderCase& c : ReaderCases) {
        SCOPED_TRACE(c.name);
        NetBuffer buffer(64);
        Fill(buffer, c.bytes);
        EXPECT_EQ(c.read(buffer), c.value);
        EXPECT_EQ(buffer.GetReadPosition(), c.taken);
        EXPECT_EQ(buffer.GetError(), c.error);
    }
}

TEST(NetBuffer, ShortReadMovesNothingSoTheNextReaderStillSeesTheByte) {
    NetBuffer buffer(64);
    Fill(buffer, "2a");
    EXPECT_EQ(buffer.GetU16(), 0);
    EXPECT_TRUE(buffer.Failed());
    EXPECT_EQ(buffer.GetByte(), 0x2a);
    EXPECT_EQ(buffer.GetError(), "NetBuffer::GetU16 buffer too small!");
}

TEST(NetBuffer, StringReaders) {
    NetBuffer buffer(64);
    Fill(buffer, "03616263 0200e9ff 02 6869");
    EXPECT_EQ(buffer.GetString(), "abc");
    EXPECT_EQ(buffer.GetStringU16(), "\xe9\xff");
    EXPECT_EQ(buffer.GetStringVar(), "hi");
    EXPECT_FALSE(buffer.Failed());
}

TEST(NetBuffer, StringLongerThanTheDataIsRefusedWithoutMoving) {
    const struct {
        std::function<std::string(NetBuffer&)> read;
        const char* bytes;
        const char* error;
    } cases[] = {
        {[](NetBuffer& b) { return b.GetString(); }, "05616263",
         "NetBuffer::GetString buffer too small!"},
        {[](NetBuffer& b) { return b.GetStringU16(); }, "ff00616263",
         "NetBuffer::GetStringU16 buffer too small!"},
        {[](NetBuffer& b) { return b.GetStringVar(); }, "8001616263",
         "NetBuffer::GetStringVar buffer too small!"},
        {[](NetBuffer& b) { return b.GetStringU16(); }, "05",
         "NetBuffer::GetU16 buffer too small!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        NetBuffer buffer(64);
        Fill(buffer, c.bytes);
        EXPECT_EQ(c.read(buffer), "");
        EXPECT_EQ(buffer.GetReadPosition(), 0);
        EXPECT_EQ(buffer.GetError(), c.error);
    }
}

TEST(NetBuffer, ReadsStopAtTheEndOfTheOpenFrame) {
    NetBuffer buffer(64);
    Fill(buffer, "010283 0405");  // a 3-byte frame, then the next frame's bytes
    buffer.BeginFrame(3);
    EXPECT_EQ(buffer.GetU16(), 0x0201);
    EXPECT_EQ(buffer.GetU16(), 0);
    EXPECT_EQ(buffer.GetStringU16(), "");
    EXPECT_EQ(buffer.GetVarint(), 0u);  // 83 needs the next byte, which is outside the frame
    EXPECT_TRUE(buffer.Failed());
    EXPECT_EQ(buffer.GetRemaining(), 1);
    EXPECT_EQ(buffer.GetReadPosition(), 2);
    buffer.EndFrame();
    EXPECT_EQ(buffer.GetByte(), 0x83);
    EXPECT_EQ(buffer.GetU16(), 0x0504);
}

TEST(NetBuffer, ReadsLowerTheFrameRemainder) {
    NetBuffer buffer(64);
    Fill(buffer, "ffffffff0f 0581 0161");
    buffer.BeginFrame(9);
    buffer.GetVarint();
    EXPECT_EQ(buffer.GetRemaining(), 4);
    buffer.GetVarStop();
    buffer.GetString();
    EXPECT_EQ(buffer.GetRemaining(), 0);
    EXPECT_FALSE(buffer.Failed());
}

TEST(NetBuffer, ConsumeDropsAtMostTheHeldBytesAndRewinds) {
    NetBuffer buffer(64);
    Fill(buffer, "010203");
    buffer.GetByte();
    EXPECT_EQ(buffer.Consume(2), 1);
    EXPECT_EQ(buffer.GetReadPosition(), 0);
    EXPECT_EQ(buffer.GetByte(), 3);
    EXPECT_EQ(buffer.Consume(10), 0);
}

}  // namespace
