#include <gtest/gtest.h>

#include <algorithm>

#include "loginblock.h"
#include "rsapublickey.h"
#include "support/hexbytes.h"
#include "support/testkey.h"

namespace {

Digest DigestOf(const std::string& hex) {
    Digest digest;
    const std::vector<uint8_t> bytes = FromHex(hex);
    std::copy(bytes.begin(), bytes.end(), digest.begin());
    return digest;
}

TEST(LoginBlock, SessionKeyXorsThePasswordDigestWithTheChallenge) {
    // MD5(MD5("secret") XOR 04 03 02 01 04 03 02 01 ...), computed with Python's hashlib.
    const Digest key = MakeSessionKey("secret", 0x01020304);
    EXPECT_EQ(ToHex(key.data(), key.size()), "2650312987baa0b41c6f97000c56e738");
}

TEST(LoginBlock, Plaintexts) {
    const Digest key = DigestOf("000102030405060708090a0b0c0d0e0f");
    EXPECT_EQ(ToHex(LoginPlaintext(key, "tester")),
              "000102030405060708090a0b0c0d0e0f"
              "06"
              "746573746572");
    EXPECT_EQ(ToHex(PasswordChangePlaintext(key, "newpass", "ab")),
              "000102030405060708090a0b0c0d0e0f"
              "e6053eb8d35e02ae40beeeacef203c1a"
              "02"
              "6162");
    EXPECT_EQ(LoginPlaintext(key, std::string(256, 'x'))[16], 0);
}

TEST(LoginBlock, DecipheredBlockHoldsPkcs1Type2Padding) {
    const std::string name(100, 'n');
    const std::vector<uint8_t> plaintext =
        LoginPlaintext(DigestOf("ffeeddccbbaa99887766554433221100"), name);
    ASSERT_EQ(plaintext.size(), 117u);
    uint8_t block[LoginBlockSize];
    ASSERT_TRUE(EncipherLoginBlock(plaintext, block));

    const std::vector<uint8_t> encoded = DecipherLoginBlock(block);
    EXPECT_EQ(encoded[0], 0x00);
    EXPECT_EQ(encoded[1], 0x02);
    const int fill = LoginBlockSize - 3 - 117;
    EXPECT_TRUE(std::all_of(encoded.begin() + 2, encoded.begin() + 2 + fill,
                            [](uint8_t b) { return b != 0; }));
    EXPECT_EQ(encoded[2 + fill], 0x00);
    EXPECT_TRUE(std::equal(plaintext.begin(), plaintext.end(), encoded.begin() + 3 + fill));
}

TEST(LoginBlock, PaddingIsFreshForEveryBlock) {
    const std::vector<uint8_t> plaintext = LoginPlaintext(Digest{}, "tester");
    uint8_t first[LoginBlockSize], second[LoginBlockSize];
    ASSERT_TRUE(EncipherLoginBlock(plaintext, first));
    ASSERT_TRUE(EncipherLoginBlock(plaintext, second));
    EXPECT_NE(ToHex(first, LoginBlockSize), ToHex(second, LoginBlockSize));
    const std::vector<uint8_t> a = DecipherLoginBlock(first), b = DecipherLoginBlock(second);
    EXPECT_NE(ToHex(a).substr(4, 20), ToHex(b).substr(4, 20));
    EXPECT_EQ(ToHex(a).substr(2 * 105), ToHex(b).substr(2 * 105));
}

TEST(LoginBlock, TooLongPlaintextIsRefused) {
    uint8_t block[LoginBlockSize] = {};
    EXPECT_FALSE(EncipherLoginBlock(LoginPlaintext(Digest{}, std::string(101, 'n')), block));
    EXPECT_TRUE(std::all_of(block, block + LoginBlockSize, [](uint8_t b) { return b == 0; }));
    EXPECT_FALSE(
        EncipherLoginBlock(PasswordChangePlaintext(Digest{}, "p", std::string(85, 'n')), block));
    EXPECT_TRUE(
        EncipherLoginBlock(PasswordChangePlaintext(Digest{}, "p", std::string(84, 'n')), block));
}

TEST(RsaEncryptPkcs1, BlockNotBelowTheModulusIsRefused) {
    // A 128-byte modulus whose top bytes 00 01 lie below every encoded block (00 02 ...).
    uint8_t modulus[128];
    std::fill(modulus, modulus + 128, 0xFF);
    modulus[0] = 0x00;
    modulus[1] = 0x01;
    RsaPublicKey key(modulus, sizeof modulus, ServerExponent, sizeof ServerExponent);
    uint8_t message[1] = {7}, out[128];
    EXPECT_FALSE(RsaEncryptPkcs1(key, message, 1, out));
    EXPECT_FALSE(RsaEncryptPkcs1(key, message, -1, out));
}

}  // namespace
