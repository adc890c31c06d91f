#include <gtest/gtest.h>

#include "support/hexbytes.h"
#include "xtea.h"

namespace {

// Random keys and buffers enciphered by the test tools' own XTEA (tools/veltorxtea.py).
const struct {
    const char* key;
    const char* plain;
    const char* cipher;
} KnownAnswers[] = {
    {"b55b0ebeb9865305609eb6001d670700", "9af3429675d4ef2e", "ec145a5184fc2221"},
    {"f153d2c1ad75b26059be798d08f7f495", "70b4fa5eec70301efa6a84c6e2bd498d",
     "db4462b3b436ed570c9f50078c3628ff"},
    {"65d0d83fca182175923002f0d8761503", "e2e43229c0aa60afab83df6d6a7ce50d0895584f123381f1",
     "4682e0bfb07bc943d220f3bdd68aeec0fd2dc87ae8da704e"},
    {"52f6040d52b0d617ec9b45bfbe7b170b",
     "9c5f3bdc139234c49101f0afd0b508c87db0ad20efba63b307d15308d640d1efe8d0198c38451d30",
     "6d8486f9c4c465a23670aa6721d1c662e920d3b40964709b30a6b36fa6c5c2c802850d1a1584c869"},
};

TEST(Xtea, MatchesTheTestToolsCipher) {
    for (const auto& answer : KnownAnswers) {
        SCOPED_TRACE(answer.key);
        Xtea cipher;
        cipher.SetKey(FromHex(answer.key).data());
        std::vector<uint8_t> data = FromHex(answer.plain);
        cipher.Encrypt(data.data(), data.size() / 8);
        EXPECT_EQ(ToHex(data), answer.cipher);
        cipher.Decrypt(data.data(), data.size() / 8);
        EXPECT_EQ(ToHex(data), answer.plain);
    }
}

TEST(Xtea, TouchesOnlyTheBlocksItIsGiven) {
    Xtea cipher;
    cipher.SetKey(FromHex("000102030405060708090a0b0c0d0e0f").data());
    std::vector<uint8_t> data = FromHex("4142434445464748 4142434445464748");
    cipher.Encrypt(data.data(), 0);
    EXPECT_EQ(ToHex(data), "41424344454647484142434445464748");
    cipher.Encrypt(data.data(), 1);
    EXPECT_EQ(ToHex(data).substr(16), "4142434445464748");
    EXPECT_NE(ToHex(data).substr(0, 16), "4142434445464748");
    cipher.Decrypt(data.data(), 0);
    cipher.Decrypt(data.data(), 1);
    EXPECT_EQ(ToHex(data), "41424344454647484142434445464748");
}

}  // namespace
