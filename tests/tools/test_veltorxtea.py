"""Checks the tools' XTEA against the published reference and the textbook form of the cipher."""
import random
import struct
import unittest

import veltorxtea as xtea

DELTA = 0x9E3779B9
MASK = 0xFFFFFFFF


def swap_words(data):
    """Big-endian 32-bit words as little-endian ones (the published vectors read words BE)."""
    return b''.join(data[i:i + 4][::-1] for i in range(0, len(data), 4))


def textbook_encrypt(key, block):
    """The reference loop, with the running sum instead of a precomputed schedule."""
    k = struct.unpack('<4I', key)
    y, z = struct.unpack('<2I', block)
    total = 0
    for _ in range(32):
        y = (y + ((((z << 4) ^ (z >> 5)) + z) ^ (total + k[total & 3]))) & MASK
        total = (total + DELTA) & MASK
        z = (z + ((((y << 4) ^ (y >> 5)) + y) ^ (total + k[(total >> 11) & 3]))) & MASK
    return struct.pack('<2I', y, z)


class XteaTest(unittest.TestCase):
    # The published XTEA reference vectors: (key, plaintext, ciphertext), words big-endian.
    VECTORS = [
        ('000102030405060708090a0b0c0d0e0f', '4142434445464748', '497df3d072612cb5'),
        ('000102030405060708090a0b0c0d0e0f', '4141414141414141', 'e78f2d13744341d8'),
        ('000102030405060708090a0b0c0d0e0f', '5a5b6e278948d77f', '4141414141414141'),
        ('00000000000000000000000000000000', '4142434445464748', 'a0390589f8b8efa5'),
        ('00000000000000000000000000000000', '4141414141414141', 'ed23375a821a8c2d'),
        ('00000000000000000000000000000000', '70e1225d6e4e7655', '4141414141414141'),
    ]

    def test_published_vectors_with_little_endian_words(self):
        for key, plain, cipher in self.VECTORS:
            key, plain, cipher = (swap_words(bytes.fromhex(x)) for x in (key, plain, cipher))
            self.assertEqual(xtea.encrypt(key, plain), cipher)
            self.assertEqual(xtea.decrypt(key, cipher), plain)

    def test_matches_textbook_cipher_block_by_block(self):
        rng = random.Random(7)
        for _ in range(20):
            key = bytes(rng.randrange(256) for _ in range(16))
            data = bytes(rng.randrange(256) for _ in range(8 * rng.randint(1, 9)))
            expected = b''.join(textbook_encrypt(key, data[i:i + 8]) for i in range(0, len(data), 8))
            self.assertEqual(xtea.encrypt(key, data), expected)
            self.assertEqual(xtea.decrypt(key, expected), data)

    def test_round_trip_keeps_a_short_tail_as_it_is(self):
        rng = random.Random(5)
        key = bytes(rng.randrange(256) for _ in range(16))
        data = bytes(rng.randrange(256) for _ in range(29))
        enciphered = xtea.encrypt(key, data)
        self.assertNotEqual(enciphered[:24], data[:24])
        self.assertEqual(enciphered[24:], data[24:])
        self.assertEqual(xtea.decrypt(key, enciphered), data)
        self.assertEqual(xtea.encrypt(key, b'abc'), b'abc')
        self.assertEqual(xtea.encrypt(key, b''), b'')

    def test_keys_differing_in_the_last_word_share_only_the_first_constant(self):
        a = xtea.schedule(bytes(16))
        b = xtea.schedule(bytes(12) + b'\x01\x00\x00\x00')
        self.assertEqual(a[0], b[0])
        self.assertNotEqual(a, b)


if __name__ == '__main__':
    unittest.main()
