#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

using Digest = std::array<uint8_t, 16>;

// MD5 (RFC 1321) of a byte string.
Digest Md5Digest(const void* data, size_t length);
