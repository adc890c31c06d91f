"""XTEA as the game's data files and its connection use it: 64-bit blocks, a 16-byte key of four
little-endian words, 32 cycles, delta 0x9E3779B9, every 8-byte block on its own (no chaining),
both block words little-endian. Blocks are worked on all at once with numpy, so whole image packs
pass through quickly."""
import struct

import numpy

DELTA = 0x9E3779B9
MASK = 0xFFFFFFFF


def key_bytes(*words):
    """The 16 key bytes of four 32-bit words."""
    return struct.pack('<4I', *words)


def schedule(key):
    """The 64 round constants of a 16-byte key, two per cycle."""
    k = struct.unpack('<4I', key)
    words, total = [], 0
    for _ in range(32):
        words.append((k[total & 3] + total) & MASK)
        total = (total + DELTA) & MASK
        words.append((k[(total >> 11) & 3] + total) & MASK)
    return words


def padded(data):
    """The data with zero bytes added up to a multiple of 8."""
    return bytes(data) + bytes(-len(data) % 8)


def _halves(data):
    if len(data) % 8:
        raise ValueError('XTEA data must be a multiple of 8 bytes long')
    words = numpy.frombuffer(bytes(data), dtype='<u4').astype(numpy.uint32)
    return words[0::2].copy(), words[1::2].copy()


def _joined(y, z):
    words = numpy.empty(len(y) * 2, dtype='<u4')
    words[0::2], words[1::2] = y, z
    return words.tobytes()


def _mix(v):
    return ((v << numpy.uint32(4)) ^ (v >> numpy.uint32(5))) + v


def encipher(key, data):
    """Enciphers every 8-byte block of data; the length must be a multiple of 8."""
    s = [numpy.uint32(w) for w in schedule(key)]
    y, z = _halves(data)
    for i in range(32):
        y += _mix(z) ^ s[2 * i]
        z += _mix(y) ^ s[2 * i + 1]
    return _joined(y, z)


def decipher(key, data):
    """Deciphers every 8-byte block of data; the length must be a multiple of 8."""
    s = [numpy.uint32(w) for w in schedule(key)]
    y, z = _halves(data)
    for i in range(31, -1, -1):
        z -= _mix(y) ^ s[2 * i + 1]
        y -= _mix(z) ^ s[2 * i]
    return _joined(y, z)
