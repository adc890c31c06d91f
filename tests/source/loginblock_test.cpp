#include <gtest/gtest.h>

#include <algorithm>

#include "loginblock.h"
#include "rsapublickey.h"
#include "support/hexbytes.h"

namespace {

// The private exponent of the project's key pair (a copy of tools/fakeserver/serverkey.json).
const char* const PrivateExponent =
    "7b1ad40017e26472cc3e6d899385f191db00ed8e186a787c35f57547549d68a4eb774b483e6f5755d3509155843a3763e3e86868bcf603e1460e14dd154f08c7fd9368e139b3114decdb71bbe30ca1dfc1f6d0cfcb81959ed319d020e79fcc8f0f2d8adf65c8fdb0e257ee72c161983ddd6c5a2848fa0d69c4207680e5349489";

// Deciphers a login block with the private key: the PKCS#1 encoded block, 128 bytes.
std::vector<uint8_t> DecipherBlock(const uint8_t* block) {
    mbedtls_mpi c, d, n, m;
    for (mbedtls_mpi* x : {&c, &d, &n, &m}) mbedtls_mpi_init(x);
    mbedtls_mpi_read_binary(&c, block, LoginBlockSize);
    mbedtls_mpi_read_string(&d, 16, PrivateExponent);
    mbedtls_mpi_read_binary(&n, ServerModulus, sizeof ServerModulus);
    std::vector<uint8_t> encoded(LoginBlockSize);
    EXPECT_EQ(mbedtls_mpi_exp_mod(&m, &c, &d, &n, nullptr), 0);
    mbedtls_mpi_write_binary(&m, encoded.data(), encoded.size());
    for (mbedtls_mpi* x : {&c, &d, &n, &m}) mbedtls_mpi_free(x);
    return encoded;
}

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
    EXPECT_EQ(ToHex(LoginPlaintext(key, "tester")), "000102030405060708090a0b0c0d0e0f" "06" "746573746572");
    EXPECT_EQ(ToHex(PasswordChangePlaintext(key, "newpass", "ab")),
              "000102030405060708090a0b0c0d0e0f" "e6053eb8d35e02ae40beeeacef203c1a" "02" "6162");
    EXPECT_EQ(LoginPlaintext(key, std::string(256, 'x'))[16], 0);
}

TEST(LoginBlock, DecipheredBlockHoldsPkcs1Type2Padding) {
    const std::string name(100, 'n');
    const std::vector<uint8_t> plaintext = LoginPlaintext(DigestOf("ffeeddccbbaa99887766554433221100"), name);
    ASSERT_EQ(plaintext.size(), 117u);
    uint8_t block[LoginBlockSize];
    ASSERT_TRUE(EncipherLoginBlock(plaintext, block));

    const std::vector<uint8_t> encoded = DecipherBlock(block);
    EXPECT_EQ(encoded[0], 0x00);
    EXPECT_EQ(encoded[1], 0x02);
    const int fill = LoginBlockSize - 3 - 117;
    EXPECT_TRUE(std::all_of(encoded.begin() + 2, encoded.begin() + 2 + fill, [](uint8_t b) { return b != 0; }));
    EXPECT_EQ(encoded[2 + fill], 0x00);
    EXPECT_TRUE(std::equal(plaintext.begin(), plaintext.end(), encoded.begin() + 3 + fill));
}

TEST(LoginBlock, PaddingIsFreshForEveryBlock) {
    const std::vector<uint8_t> plaintext = LoginPlaintext(Digest{}, "tester");
    uint8_t first[LoginBlockSize], second[LoginBlockSize];
    ASSERT_TRUE(EncipherLoginBlock(plaintext, first));
    ASSERT_TRUE(EncipherLoginBlock(plaintext, second));
    EXPECT_NE(ToHex(first, LoginBlockSize), ToHex(second, LoginBlockSize));
    const std::vector<uint8_t> a = DecipherBlock(first), b = DecipherBlock(second);
    EXPECT_NE(ToHex(a).substr(4, 20), ToHex(b).substr(4, 20));
    EXPECT_EQ(ToHex(a).substr(2 * 105), ToHex(b).substr(2 * 105));
}

TEST(LoginBlock, TooLongPlaintextIsRefused) {
    uint8_t block[LoginBlockSize] = {};
    EXPECT_FALSE(EncipherLoginBlock(LoginPlaintext(Digest{}, std::string(101, 'n')), block));
    EXPECT_TRUE(std::all_of(block, block + LoginBlockSize, [](uint8_t b) { return b == 0; }));
    EXPECT_FALSE(EncipherLoginBlock(PasswordChangePlaintext(Digest{}, "p", std::string(85, 'n')), block));
    EXPECT_TRUE(EncipherLoginBlock(PasswordChangePlaintext(Digest{}, "p", std::string(84, 'n')), block));
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
