#pragma once
// The private half of the project's login key, as the test tools hold it, for tests that read
// what the client enciphered.
#include <cstdint>
#include <vector>

// The PKCS#1 encoded block (0x00 0x02 ...) inside a 128-byte login block.
std::vector<uint8_t> DecipherLoginBlock(const uint8_t* block);
