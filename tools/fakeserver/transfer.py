"""Moving a client to another server. The old server sends op 245 (the new server's host and
port, a token and a 16-byte XTEA key) and later op 246 (the move is done; the client answers
with op 246 and closes the connection). On the new server the client's first frame is a clear
op 245 in the login state (one-byte counter) holding a 128-byte RSA block of key and token; from
the next frame on both sides are in the game state, enciphered under that key.

    new_server = FakeServer(Scenario())     # takes the hello by itself (accept_hello)
    old_session.perform([Frame(transfer('127.0.0.1', new_server.port, token, key))])
"""
from fakeserver import login
from fakeserver.wire import Reader, WireError, Writer

TRANSFER = 245
TRANSFER_DONE = 246
KEY_SIZE = 16


def transfer(host, port, token, key):
    """Server op 245: host, port, token, then the key as four little-endian words (its bytes)."""
    if len(key) != KEY_SIZE:
        raise ValueError('a transfer key has %d bytes' % KEY_SIZE)
    return Writer(TRANSFER).string8(host).u16(port).u32(token).raw(key).bytes()


def transfer_done():
    return Writer(TRANSFER_DONE).bytes()


def decode_hello(reader, key=None):
    """The fields of the client's op 245 after its opcode: the key (hex) and token inside the
    RSA block; WireError when the block does not hold exactly these 20 bytes."""
    plain = Reader(login.decrypt_block(reader.take(login.BLOCK_SIZE), key))
    transfer_key = plain.take(KEY_SIZE)
    token = plain.u32()
    if plain.remaining():
        raise WireError('%d bytes after the transfer token' % plain.remaining())
    return {'key': transfer_key.hex(), 'token': token}


def accept_hello(session, request):
    """The new server's side of the hello: the session goes on in game under the client's key."""
    session.key = bytes.fromhex(request['key'])
    session.state = 2
    session.encrypted = True
    return []
