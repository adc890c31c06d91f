#!/usr/bin/env python3
"""Makes the project's 1024-bit RSA key pair for the login block, once: writes serverkey.json
(modulus, public and private exponent) next to this file and prints the modulus as the C++
byte array the client holds. Only the test tools keep the private exponent."""
import json
import os
import secrets

PUBLIC_EXPONENT = 65537
SMALL_PRIMES = [p for p in range(3, 2000) if all(p % q for q in range(2, int(p ** 0.5) + 1))]


def is_probable_prime(n, rounds=64):
    """Miller-Rabin with random bases."""
    if n < 2:
        return False
    for p in SMALL_PRIMES:
        if n % p == 0:
            return n == p
    d, s = n - 1, 0
    while d % 2 == 0:
        d, s = d // 2, s + 1
    for _ in range(rounds):
        x = pow(secrets.randbelow(n - 3) + 2, d, n)
        if x in (1, n - 1):
            continue
        for _ in range(s - 1):
            x = pow(x, 2, n)
            if x == n - 1:
                break
        else:
            return False
    return True


def random_prime(bits):
    while True:
        # Top two bits set, so that the product of two such primes has exactly 2 * bits bits.
        candidate = secrets.randbits(bits) | (3 << (bits - 2)) | 1
        if (candidate - 1) % PUBLIC_EXPONENT and is_probable_prime(candidate):
            return candidate


def make_key():
    while True:
        p, q = random_prime(512), random_prime(512)
        if p != q:
            break
    n = p * q
    d = pow(PUBLIC_EXPONENT, -1, (p - 1) * (q - 1))
    return {'n': format(n, 'x'), 'e': PUBLIC_EXPONENT, 'd': format(d, 'x')}


def main():
    key = make_key()
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'serverkey.json')
    with open(path, 'w') as out:
        json.dump(key, out, indent=1)
        out.write('\n')
    modulus = int(key['n'], 16).to_bytes(128, 'big')
    for row in range(0, 128, 16):
        print('    ' + ', '.join('0x%02X' % b for b in modulus[row:row + 16]) + ',')


if __name__ == '__main__':
    main()
