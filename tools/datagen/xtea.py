"""XTEA as the data files and the connection use it: 32 cycles, 8-byte blocks taken as two
little-endian words, each block on its own (no chaining)."""
import struct

DELTA = 0x9E3779B9
MASK = 0xFFFFFFFF


def schedule(key):
    """The 64 per-cycle words for a key of four 32-bit words."""
    words, total = [], 0
    for _ in range(32):
        words.append((key[total & 3] + total) & MASK)
        total = (total + DELTA) & MASK
        words.append((key[(total >> 11) & 3] + total) & MASK)
    return words


def _mix(x):
    return ((((x << 4) & MASK) ^ (x >> 5)) + x) & MASK


def encrypt(key, data):
    """Enciphers the whole 8-byte blocks of data; a tail shorter than a block stays as it is."""
    s = schedule(key)
    out = bytearray(data)
    for at in range(0, len(out) - len(out) % 8, 8):
        y, z = struct.unpack_from('<II', out, at)
        for i in range(32):
            y = (y + (_mix(z) ^ s[2 * i])) & MASK
            z = (z + (_mix(y) ^ s[2 * i + 1])) & MASK
        struct.pack_into('<II', out, at, y, z)
    return bytes(out)


def decrypt(key, data):
    """Deciphers the whole 8-byte blocks of data; a tail shorter than a block stays as it is."""
    s = schedule(key)
    out = bytearray(data)
    for at in range(0, len(out) - len(out) % 8, 8):
        y, z = struct.unpack_from('<II', out, at)
        for i in range(31, -1, -1):
            z = (z - (_mix(y) ^ s[2 * i + 1])) & MASK
            y = (y - (_mix(z) ^ s[2 * i])) & MASK
        struct.pack_into('<II', out, at, y, z)
    return bytes(out)
