#include "rsapublickey.h"

#include <windows.h>
#include <ntsecapi.h>

#include <algorithm>
#include <vector>

const uint8_t ServerModulus[128] = {
    0xD0, 0xCE, 0xD1, 0xA0, 0x7C, 0x0C, 0x38, 0x45, 0xC2, 0x48, 0xB5, 0x39, 0x36, 0x64, 0x9C, 0x41,
    0xC1, 0x9A, 0xF3, 0x34, 0xC4, 0x1F, 0x1E, 0xAA, 0xF4, 0xEB, 0x78, 0x05, 0x78, 0xD7, 0xB6, 0x20,
    0x70, 0x8E, 0xA0, 0xAE, 0x58, 0x1E, 0x25, 0x1C, 0x70, 0xFE, 0xE0, 0xC1, 0x14, 0x93, 0xCD, 0x27,
    0xE5, 0x0C, 0x8D, 0x0D, 0xAB, 0xCB, 0x28, 0xE6, 0xD9, 0x49, 0xF9, 0x6B, 0xFF, 0x9A, 0x6E, 0x1E,
    0x3C, 0x6A, 0x99, 0xF3, 0x1F, 0x9B, 0x8E, 0x00, 0x43, 0x69, 0xFF, 0x6E, 0x9F, 0x16, 0xB5, 0xE0,
    0x6A, 0x88, 0x44, 0xF2, 0x2B, 0x96, 0x45, 0x7A, 0x23, 0xC8, 0x8E, 0x7B, 0xD6, 0xAC, 0x17, 0x7E,
    0x21, 0x04, 0x38, 0x21, 0x8B, 0x84, 0xE7, 0x91, 0x76, 0xBF, 0x4E, 0xB9, 0xA0, 0x50, 0x06, 0x29,
    0xC3, 0x3E, 0x92, 0x49, 0x83, 0x87, 0x36, 0x35, 0x06, 0x66, 0x30, 0xA4, 0xF9, 0xC9, 0xE4, 0x7D,
};
const uint8_t ServerExponent[3] = {0x01, 0x00, 0x01};

RsaPublicKey::RsaPublicKey(const uint8_t* modulus, int32_t modulusSize, const uint8_t* exponent,
                           int32_t exponentSize)
    : size(modulusSize) {
    mbedtls_mpi_init(&e);
    mbedtls_mpi_init(&n);
    mbedtls_mpi_init(&cache);
    mbedtls_mpi_init(&block);
    mbedtls_mpi_read_binary(&e, exponent, exponentSize);
    mbedtls_mpi_read_binary(&n, modulus, modulusSize);
}

RsaPublicKey::~RsaPublicKey() {
    mbedtls_mpi_free(&e);
    mbedtls_mpi_free(&n);
    mbedtls_mpi_free(&cache);
    mbedtls_mpi_free(&block);
}

namespace {

// Fills the bytes from the system's cryptographic generator, drawing again for every zero byte.
bool FillNonZeroRandom(uint8_t* bytes, int32_t count) {
    for (int32_t i = 0; i < count;) {
        if (!RtlGenRandom(bytes + i, count - i)) return false;
        for (; i < count && bytes[i] != 0; ++i) {
        }
    }
    return true;
}

}  // namespace

bool RsaEncryptPkcs1(RsaPublicKey& key, const uint8_t* message, int32_t length, uint8_t* out) {
    const int32_t k = key.size;
    if (length < 0 || length > k - 11) return false;
    std::vector<uint8_t> encoded(k);
    encoded[0] = 0x00;
    encoded[1] = 0x02;
    const int32_t fill = k - length - 3;
    if (!FillNonZeroRandom(encoded.data() + 2, fill)) return false;
    encoded[2 + fill] = 0x00;
    std::copy(message, message + length, encoded.begin() + 3 + fill);

    return mbedtls_mpi_read_binary(&key.block, encoded.data(), k) == 0 &&
           mbedtls_mpi_cmp_mpi(&key.block, &key.n) < 0 &&
           mbedtls_mpi_exp_mod(&key.block, &key.block, &key.e, &key.n, &key.cache) == 0 &&
           mbedtls_mpi_write_binary(&key.block, out, k) == 0;
}
