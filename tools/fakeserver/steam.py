"""The Steam login requests of the login state and the store's answer of the game state.

Ops 8 (Steam login) and 9 (link the account to Steam): u64 the player's Steam id, a u8-counted
language code, a u16-counted Steam ticket, then the 128-byte RSA block of the session key, a u8
count and the account name (empty for op 8). The server checks the ticket with Steam; here a
scenario names the tickets it accepts. Op 225 of the game state tells the client its noble days
after a purchase."""
from fakeserver import login
from fakeserver.wire import Writer

STEAM_LOGIN = 8
STEAM_LINK = 9


def decode_login(reader):
    """The fields of op 8 or 9 after the opcode; the block's plaintext length is kept, since the
    session key and the account name must fill it exactly."""
    steam_id = reader.u64()
    language = reader.bytes8().decode('latin-1')
    ticket = reader.bytes16()
    plain = login.decrypt_block(reader.take(login.BLOCK_SIZE))
    key, account = login.parse_login(plain)
    return dict(steam_id=steam_id, language=language, ticket=ticket.hex(),
                account=account.decode('latin-1'), session_key=key.hex(),
                plaintext_length=len(plain))


def noble_days(days):
    return Writer(225).u32(days).bytes()
