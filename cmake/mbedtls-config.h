/* The modules of mbed TLS the client builds: big numbers for the RSA login block, and MD5.
 * Only these, so that no module drags in others the program does not link. */
#ifndef VELTOR_MBEDTLS_CONFIG_H
#define VELTOR_MBEDTLS_CONFIG_H

#define MBEDTLS_HAVE_ASM
#define MBEDTLS_PLATFORM_C
#define MBEDTLS_BIGNUM_C
#define MBEDTLS_MD5_C

#include "mbedtls/check_config.h"

#endif
