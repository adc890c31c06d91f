#pragma once
#include <cstdint>

#include <mbedtls/bignum.h>

// The game server's public key: a 1024-bit modulus and the exponent 65537, big-endian.
extern const uint8_t ServerModulus[128];
extern const uint8_t ServerExponent[3];

// An RSA public key on mbed TLS big numbers, built on the stack by each sender of an enciphered
// block.
class RsaPublicKey {
public:
    // Big-endian modulus and exponent; the key size is the modulus size in bytes.
    RsaPublicKey(const uint8_t* modulus, int32_t modulusSize, const uint8_t* exponent,
                 int32_t exponentSize);
    virtual ~RsaPublicKey();
    RsaPublicKey(const RsaPublicKey&) = delete;
    RsaPublicKey& operator=(const RsaPublicKey&) = delete;

    int32_t size;
    mbedtls_mpi e;
    mbedtls_mpi n;
    mbedtls_mpi cache;  // filled by the modular exponentiation
    mbedtls_mpi block;
};

// PKCS#1 v1.5 type-2 encryption of `length` bytes into `out` (key.size bytes, big-endian):
// 0x00 0x02, non-zero random fill from the system's generator, 0x00, the message. False for a
// message longer than key.size - 11 bytes or when a big-number step or the generator fails.
bool RsaEncryptPkcs1(RsaPublicKey& key, const uint8_t* message, int32_t length, uint8_t* out);
