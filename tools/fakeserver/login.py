"""The login block: MD5 session keys and the RSA-enciphered PKCS#1 v1.5 (type 2) block."""
import hashlib
import json
import os
import secrets

from fakeserver.wire import Reader, WireError

BLOCK_SIZE = 128
_KEY_PATH = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'serverkey.json')


def load_key():
    """The project's key pair: (modulus, public exponent, private exponent)."""
    with open(_KEY_PATH) as f:
        key = json.load(f)
    return int(key['n'], 16), key['e'], int(key['d'], 16)


def md5(data):
    return hashlib.md5(bytes(data)).digest()


def session_key(password, challenge):
    """MD5 of MD5(password) XORed bytewise with the little-endian challenge repeated."""
    mask = challenge.to_bytes(4, 'little') * 4
    return md5(bytes(a ^ b for a, b in zip(md5(password), mask)))


def decrypt_block(block, key=None):
    """The message inside a 128-byte RSA block; WireError when the padding is not PKCS#1 type 2
    (0x00 0x02, at least eight non-zero bytes, 0x00)."""
    n, _, d = key or load_key()
    if len(block) != BLOCK_SIZE:
        raise WireError('RSA block of %d bytes' % len(block))
    value = int.from_bytes(block, 'big')
    if value >= n:
        raise WireError('RSA block not below the modulus')
    encoded = pow(value, d, n).to_bytes(BLOCK_SIZE, 'big')
    if encoded[:2] != b'\x00\x02':
        raise WireError('RSA block does not start with 00 02')
    end = encoded.find(b'\x00', 2)
    if end < 10:
        raise WireError('RSA block padding too short or unterminated')
    return encoded[end + 1:]


def encrypt_block(message, key=None):
    """Enciphers a message as the client does (the tools use it to play the client's side)."""
    n, e, _ = key or load_key()
    if len(message) > BLOCK_SIZE - 11:
        raise ValueError('message too long for one block')
    fill = bytes(secrets.randbelow(255) + 1 for _ in range(BLOCK_SIZE - 3 - len(message)))
    value = int.from_bytes(b'\x00\x02' + fill + b'\x00' + bytes(message), 'big')
    return pow(value, e, n).to_bytes(BLOCK_SIZE, 'big')


def parse_login(message):
    """Log in plaintext: (session key, account name bytes)."""
    r = Reader(message)
    key = r.take(16)
    name = r.bytes8()
    _expect_end(r)
    return key, name


def parse_password_change(message):
    """Change password plaintext: (session key, MD5 of the new password, account name bytes)."""
    r = Reader(message)
    key, new_digest = r.take(16), r.take(16)
    name = r.bytes8()
    _expect_end(r)
    return key, new_digest, name


def _expect_end(reader):
    if reader.remaining():
        raise WireError('%d bytes after the account name' % reader.remaining())
