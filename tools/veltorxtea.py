"""XTEA as the game's data files and its connection use it: 64-bit blocks, a 16-byte key of four
little-endian words, 32 cycles, delta 0x9E3779B9, every 8-byte block on its own (no chaining),
both block words little-endian. The blocks of a buffer are worked on all at once with numpy, so
whole image packs pass through quickly."""
import struct

import numpy

DELTA = 0x9E3779B9
MASK = 0xFFFFFFFF


def key_bytes(*words):
    """The 16 key bytes of four 32-bit words."""
    return struct.pack('<4I', *words)


def schedule(key):
    """The 64 per-cycle constants of a 16-byte key."""
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


def _mix(v):
    return ((v << numpy.uint32(4)) ^ (v >> numpy.uint32(5))) + v


def _run(key, data, cycle):
    """Passes the whole 8-byte blocks of data through cycle(y, z, s); a shorter tail stays."""
    whole = len(data) - len(data) % 8
    words = numpy.frombuffer(bytes(data[:whole]), dtype='<u4').astype(numpy.uint32)
    y, z = words[0::2].copy(), words[1::2].copy()
    cycle(y, z, [numpy.uint32(w) for w in schedule(key)])
    words[0::2], words[1::2] = y, z
    return words.astype('<u4').tobytes() + bytes(data[whole:])


def _encrypt_cycles(y, z, s):
    for i in range(32):
        y += _mix(z) ^ s[2 * i]
        z += _mix(y) ^ s[2 * i + 1]


def _decrypt_cycles(y, z, s):
    for i in range(31, -1, -1):
        z -= _mix(y) ^ s[2 * i + 1]
        y -= _mix(z) ^ s[2 * i]


def encrypt(key, data):
    """Enciphers the whole 8-byte blocks of data; a shorter tail is returned unchanged."""
    return _run(key, data, _encrypt_cycles)


def decrypt(key, data):
    """Deciphers the whole 8-byte blocks of data; a shorter tail is returned unchanged."""
    return _run(key, data, _decrypt_cycles)
