#include "digest.h"

#include <mbedtls/md5.h>

Digest Md5Digest(const void* data, size_t length) {
    Digest digest;
    mbedtls_md5_ret(static_cast<const unsigned char*>(data), length, digest.data());
    return digest;
}
