#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "digest.h"

// The RSA block of the login requests: its plaintexts and their encipherment with the game
// server's public key.

const int32_t LoginBlockSize = 128;

// MD5 of MD5(password) with each byte XORed with byte (i mod 4) of the little-endian challenge;
// the connection's XTEA key from then on.
Digest MakeSessionKey(const std::string& password, uint32_t challenge);

// Log in: session key, u8 name length (modulo 256), the account name.
std::vector<uint8_t> LoginPlaintext(const Digest& sessionKey, const std::string& accountName);

// Change password: session key of the current password, MD5 of the new one, u8 name length,
// the account name.
std::vector<uint8_t> PasswordChangePlaintext(const Digest& sessionKey,
                                             const std::string& newPassword,
                                             const std::string& accountName);

// PKCS#1 v1.5 encipherment under the server's key into LoginBlockSize bytes; false when the
// plaintext is too long (more than 117 bytes) or the encipherment fails.
bool EncipherLoginBlock(const std::vector<uint8_t>& plaintext, uint8_t* out);
