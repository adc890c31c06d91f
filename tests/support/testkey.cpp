#include "support/testkey.h"

#include <mbedtls/bignum.h>

#include "loginblock.h"
#include "rsapublickey.h"

namespace {

// The private exponent of the key pair (a copy of tools/fakeserver/serverkey.json).
const char* const PrivateExponent =
    "7b1ad40017e26472cc3e6d899385f191db00ed8e186a787c35f57547549d68a4eb774b483e6f5755d3509155843a3763e3e86868bcf603e1460e14dd154f08c7fd9368e139b3114decdb71bbe30ca1dfc1f6d0cfcb81959ed319d020e79fcc8f0f2d8adf65c8fdb0e257ee72c161983ddd6c5a2848fa0d69c4207680e5349489";

}  // namespace

std::vector<uint8_t> DecipherLoginBlock(const uint8_t* block) {
    mbedtls_mpi c, d, n, m;
    for (mbedtls_mpi* x : {&c, &d, &n, &m}) mbedtls_mpi_init(x);
    mbedtls_mpi_read_binary(&c, block, LoginBlockSize);
    mbedtls_mpi_read_string(&d, 16, PrivateExponent);
    mbedtls_mpi_read_binary(&n, ServerModulus, sizeof ServerModulus);
    std::vector<uint8_t> encoded(LoginBlockSize);
    if (mbedtls_mpi_exp_mod(&m, &c, &d, &n, nullptr) == 0)
        mbedtls_mpi_write_binary(&m, encoded.data(), encoded.size());
    for (mbedtls_mpi* x : {&c, &d, &n, &m}) mbedtls_mpi_free(x);
    return encoded;
}
