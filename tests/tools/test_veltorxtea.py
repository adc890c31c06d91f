"""Checks the tools' XTEA against the published reference and the textbook form of the cipher."""
import os
import random
import struct
import unittest

import veltorxtea

DELTA = 0x9E3779B9
MASK = 0xFFFFFFFF


def textbook_encipher(key, block):
    """The reference loop, with the running sum instead of a precomputed schedule."""
    k = struct.unpack('<4I', key)
    y, z = struct.unpack('<2I', block)
    total = 0
    for _ in range(32):
        y = (y + ((((z << 4) ^ (z >> 5)) + z) ^ (total + k[total & 3]))) & MASK
        total = (total + DELTA) & MASK
        z = (z + ((((y << 4) ^ (y >> 5)) + y) ^ (total + k[(total >> 11) & 3]))) & MASK
    return struct.pack('<2I', y, z)


def swap_words(data):
    return b''.join(data[i:i + 4][::-1] for i in range(0, len(data), 4))


class XteaTest(unittest.TestCase):
    def test_published_vector(self):
        # The published vector takes words big-endian; swapping each word's bytes gives ours.
        key = swap_words(bytes(range(16)))
        cipher = veltorxtea.encipher(key, swap_words(b'ABCDEFGH'))
        self.assertEqual(swap_words(cipher).hex(), '497df3d072612cb5')

    def test_matches_textbook_cipher_block_by_block(self):
        rng = random.Random(7)
        for _ in range(20):
            key = bytes(rng.getrandbits(8) for _ in range(16))
            data = os.urandom(8 * rng.randint(1, 9))
            expected = b''.join(textbook_encipher(key, data[i:i + 8]) for i in range(0, len(data), 8))
            self.assertEqual(veltorxtea.encipher(key, data), expected)
            self.assertEqual(veltorxtea.decipher(key, expected), data)

    def test_empty_data_and_bad_length(self):
        key = bytes(16)
        self.assertEqual(veltorxtea.encipher(key, b''), b'')
        with self.assertRaises(ValueError):
            veltorxtea.encipher(key, b'1234567')

    def test_schedule_first_word_uses_only_first_key_word(self):
        a = veltorxtea.schedule(veltorxtea.key_bytes(1, 2, 3, 4))
        b = veltorxtea.schedule(veltorxtea.key_bytes(1, 2, 3, 5))
        self.assertEqual(a[0], b[0])
        self.assertNotEqual(a, b)


if __name__ == '__main__':
    unittest.main()
