"""XTEA as the game protocol uses it: 64-bit blocks of two little-endian 32-bit words, a 16-byte
key of four little-endian words, 32 cycles, each 8-byte block on its own (no chaining)."""
import struct

DELTA = 0x9E3779B9
MASK = 0xFFFFFFFF


def schedule(key):
    """The 64 per-cycle constants of a 16-byte key."""
    k = struct.unpack('<4I', key)
    words, total = [], 0
    for _ in range(32):
        words.append((k[total & 3] + total) & MASK)
        total = (total + DELTA) & MASK
        words.append((k[(total >> 11) & 3] + total) & MASK)
    return words


def _mix(x):
    return ((((x << 4) & MASK) ^ (x >> 5)) + x) & MASK


def encrypt(key, data):
    """Enciphers the whole 8-byte blocks of data; a shorter tail is returned unchanged."""
    s = schedule(key)
    out = bytearray(data)
    for at in range(0, len(data) - len(data) % 8, 8):
        y, z = struct.unpack_from('<2I', out, at)
        for i in range(32):
            y = (y + (_mix(z) ^ s[2 * i])) & MASK
            z = (z + (_mix(y) ^ s[2 * i + 1])) & MASK
        struct.pack_into('<2I', out, at, y, z)
    return bytes(out)


def decrypt(key, data):
    """Deciphers the whole 8-byte blocks of data; a shorter tail is returned unchanged."""
    s = schedule(key)
    out = bytearray(data)
    for at in range(0, len(data) - len(data) % 8, 8):
        y, z = struct.unpack_from('<2I', out, at)
        for i in range(31, -1, -1):
            z = (z - (_mix(y) ^ s[2 * i + 1])) & MASK
            y = (y - (_mix(z) ^ s[2 * i])) & MASK
        struct.pack_into('<2I', out, at, y, z)
    return bytes(out)
