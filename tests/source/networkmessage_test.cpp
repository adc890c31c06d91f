#include <gtest/gtest.h>

#include "networkmessage.h"
#include "support/hexbytes.h"
#include "xtea.h"

namespace {

class NetworkMessageTest : public ::testing::Test {
protected:
    static std::string Payload(const NetworkMessage& message) {
        return ToHex(message.GetData() + message.GetHeaderSize(),
                     message.GetPosition() - message.GetHeaderSize());
    }
};

TEST_F(NetworkMessageTest, Writers) {
    NetworkMessage message;
    EXPECT_EQ(message.GetPosition(), 4);  // room for the longer header
    message.AddByte(0x07);
    message.AddU16(0x1234);
    message.AddU32(0x12345678);
    message.AddU64(0x0102030405060708ull);
    message.AddVar15(127);
    message.AddVar15(261);
    message.AddVarint(0xFFFFFFFF);
    message.AddVarint(300);
    EXPECT_EQ(Payload(message),
              "07"
              "3412"
              "78563412"
              "0807060504030201"
              "7f"
              "8502"
              "ffffffff0f"
              "ac02");
    EXPECT_EQ(message.GetLength(), 25);
}

TEST_F(NetworkMessageTest, StringsAreSentAsUtf8) {
    NetworkMessage message;
    message.AddString("\xE9");
    message.AddString("ab");
    message.AddCString("\xE9");
    EXPECT_EQ(Payload(message),
              "02c3a9"
              "026162"
              "01e9");
    EXPECT_EQ(Latin1ToUtf8("A\x80\xFF"), "A\xC2\x80\xC3\xBF");
}

TEST_F(NetworkMessageTest, StringCountIsTheLengthModulo256) {
    NetworkMessage message;
    message.AddCString(std::string(300, 'x'));
    EXPECT_EQ(message.GetLength(), 1 + 44);
    EXPECT_EQ(message.GetPayload()[0], 44);
}

TEST_F(NetworkMessageTest, FieldsPastTheWriteLimitAreDroppedWhole) {
    NetworkMessage message;
    while (message.GetPosition() < 16364) message.AddByte(1);
    ASSERT_EQ(message.GetPosition(), 16364);
    message.AddU32(0xFFFFFFFF);
    message.AddVarint(0xFFFFFFFF);
    message.AddString("abcd");
    EXPECT_EQ(message.GetPosition(), 16364);
    message.AddU16(0x0202);
    EXPECT_EQ(message.GetPosition(), 16366);
    message.AddVar15(300);
    EXPECT_EQ(message.GetPosition(), 16366);
    message.AddByte(3);
    message.AddByte(4);
    EXPECT_EQ(message.GetPosition(), 16367);
    EXPECT_EQ(message.GetLength(), 16367 - NetworkMessage::HeaderReserve);
    EXPECT_EQ(message.GetData()[16366], 3);
}

TEST_F(NetworkMessageTest, HeaderWithOneAndTwoCounterBytes) {
    NetworkMessage login;
    for (int i = 0; i < 5; ++i) login.AddByte(uint8_t(0xA0 + i));
    login.WriteHeader(0x1234, false);
    EXPECT_EQ(ToHex(login.GetData(), login.GetLength()),
              "040034"
              "a0a1a2a3a4");
    EXPECT_EQ(login.GetLength(), 8);
    EXPECT_EQ(login.GetHeaderSize(), 3);

    NetworkMessage game;
    for (int i = 0; i < 5; ++i) game.AddByte(uint8_t(0xA0 + i));
    game.WriteHeader(0x1234, true);
    EXPECT_EQ(ToHex(game.GetData(), game.GetLength()),
              "04003412"
              "a0a1a2a3a4");
    EXPECT_EQ(game.GetLength(), 9);
    EXPECT_EQ(game.GetHeaderSize(), 4);
}

TEST_F(NetworkMessageTest, EncipheredPayloadIsPaddedToWholeBlocks) {
    uint8_t key[16];
    for (int i = 0; i < 16; ++i) key[i] = uint8_t(i * 7);
    Xtea cipher;
    cipher.SetKey(key);

    NetworkMessage message;
    for (int i = 0; i < 5; ++i) message.AddByte(uint8_t(0xA0 + i));
    message.Encipher(cipher);
    message.WriteHeader(3, false);
    ASSERT_EQ(message.GetLength(), 3 + 8);
    EXPECT_EQ(ToHex(message.GetData(), 3), "070003");

    std::vector<uint8_t> payload(message.GetData() + 3, message.GetData() + 11);
    cipher.Decrypt(payload.data(), 1);
    EXPECT_EQ(ToHex(payload), "a0a1a2a3a4000000");
}

}  // namespace
