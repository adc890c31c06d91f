"""The client's requests of the game state, decoded for the fake server's transcript.

REQUESTS holds every request the client may send in the game state: its opcode, its name (the
'type' of the decoded request) and its fields in wire order as (key, kind). Kinds:

  u8, u16, u32, u64   little-endian integers
  zero                a u8 that is always 0 (left out of the decoded request)
  offset              a tile relative to the player: the u8 difference modulo 256, read as -128..127
  var15, varint       the 15-bit count and the LEB128 integer
  string              a u8-counted UTF-8 text
  count               a var15 present only when the request's `shape` is stackable (flag bit 3)
  colours             a u32 present only when the request's `shape` has several palettes (flag bit 2)

Spell numbers and ability-bar slots are given as sent: the client's index plus one. The guild
requests share op 227 and name themselves by the sub-opcode that follows it (GUILD_REQUESTS)."""
import functools

from datagen import shapeflags, sprites
from fakeserver.wire import WireError

REQUESTS = {
    # Movement, stance and targets
    32: ('walk', [('direction', 'u8')]),
    33: ('walk_redirect', [('direction', 'u8')]),
    40: ('turn', [('direction', 'u8')]),
    51: ('target', [('mode', 'u8'), ('creature', 'u32')]),
    121: ('push_creature', [('creature', 'u32'), ('dx', 'offset'), ('dy', 'offset'), ('dz', 'offset')]),
    123: ('push_to_creature', [('creature', 'u32'), ('target', 'u32')]),
    162: ('sit', [('sit', 'u8')]),
    # Items: using, moving, opening
    48: ('move_map_to_map', [('dx', 'offset'), ('dy', 'offset'), ('stack', 'u8'), ('target_dx', 'offset'),
                             ('target_dy', 'offset'), ('target_dz', 'offset'), ('shape', 'u16'), ('count', 'count')]),
    49: ('use_map_item', [('', 'zero'), ('dx', 'offset'), ('dy', 'offset'), ('stack', 'u8'), ('shape', 'u16')]),
    50: ('use_map_on_map', [('dx', 'offset'), ('dy', 'offset'), ('stack', 'u8'), ('target_dx', 'offset'),
                            ('target_dy', 'offset'), ('shape', 'u16'), ('target_shape', 'u16')]),
    77: ('use_slot_item_on_creature', [('container', 'u8'), ('slot', 'u8'), ('creature', 'u32'), ('shape', 'u16')]),
    78: ('use_map_item_on_creature', [('dx', 'offset'), ('dy', 'offset'), ('stack', 'u8'), ('creature', 'u32'),
                                      ('shape', 'u16')]),
    80: ('use_slot_item', [('', 'zero'), ('container', 'u8'), ('slot', 'u8'), ('shape', 'u16')]),
    81: ('use_slot_on_slot', [('container', 'u8'), ('slot', 'u8'), ('target_container', 'u8'),
                              ('target_slot', 'u8'), ('shape', 'u16'), ('target_shape', 'u16')]),
    82: ('use_slot_on_map', [('container', 'u8'), ('slot', 'u8'), ('target_dx', 'offset'), ('target_dy', 'offset'),
                             ('shape', 'u16'), ('target_shape', 'u16')]),
    83: ('use_map_on_slot', [('dx', 'offset'), ('dy', 'offset'), ('stack', 'u8'), ('target_container', 'u8'),
                             ('target_slot', 'u8'), ('shape', 'u16'), ('target_shape', 'u16')]),
    84: ('container_close', [('container', 'u8')]),
    85: ('container_up', [('container', 'u8')]),
    86: ('container_stack', [('container', 'u8')]),
    112: ('move_map_to_slot', [('dx', 'offset'), ('dy', 'offset'), ('stack', 'u8'), ('target_container', 'u8'),
                               ('target_slot', 'u8'), ('shape', 'u16'), ('count', 'count')]),
    113: ('move_slot_to_map', [('container', 'u8'), ('slot', 'u8'), ('target_dx', 'offset'), ('target_dy', 'offset'),
                               ('target_dz', 'offset'), ('shape', 'u16'), ('count', 'count')]),
    114: ('move_slot_to_slot', [('container', 'u8'), ('slot', 'u8'), ('target_container', 'u8'),
                                ('target_slot', 'u8'), ('shape', 'u16'), ('count', 'count')]),
    132: ('use_cancel', []),
    133: ('use_with_map', [('dx', 'offset'), ('dy', 'offset'), ('dz', 'offset'), ('stack', 'u8'), ('shape', 'u16')]),
    134: ('use_with_slot', [('container', 'u8'), ('slot', 'u8'), ('shape', 'u16')]),
    135: ('use_on_creature', [('creature', 'u32')]),
    166: ('open_map_item', [('', 'zero'), ('dx', 'offset'), ('dy', 'offset'), ('stack', 'u8'), ('shape', 'u16')]),
    167: ('open_slot_item', [('', 'zero'), ('container', 'u8'), ('slot', 'u8'), ('shape', 'u16')]),
    # Looking at things
    163: ('look_map_item', [('dx', 'offset'), ('dy', 'offset'), ('dz', 'offset'), ('stack', 'u8'), ('shape', 'u16')]),
    164: ('look_slot_item', [('container', 'u8'), ('slot', 'u8'), ('shape', 'u16')]),
    165: ('look_creature', [('creature', 'u32')]),
    217: ('look_shop_item', [('shape', 'u16'), ('entry', 'varint')]),
    # Abilities and character
    18: ('raise_attribute', [('attribute', 'u8')]),
    71: ('abilities_request', []),
    208: ('cast_self', [('spell', 'u8')]),
    209: ('cast_creature', [('spell', 'u8'), ('creature', 'u32')]),
    210: ('cast_tile', [('spell', 'u8'), ('dx', 'offset'), ('dy', 'offset'), ('dz', 'offset')]),
    215: ('cast_armed', [('spell', 'u8')]),
    216: ('spellbar_slot', [('slot', 'u8'), ('ability', 'u16')]),
    218: ('outfit', [('shape', 'u16'), ('colours', 'colours')]),
    # Speech, chat channels, friends and trade
    60: ('talk', [('text', 'string')]),
    203: ('talk_channel', [('channel', 'u8'), ('text', 'string')]),
    241: ('talk_console', [('text', 'string')]),
    193: ('private_message', [('recipient', 'string'), ('text', 'string')]),
    196: ('typing_start', []),
    197: ('typing_stop', []),
    202: ('open_channel', [('channel', 'u8')]),
    204: ('close_channel', [('channel', 'u8')]),
    64: ('friend_add', [('name', 'string'), ('group', 'u8'), ('note', 'string')]),
    65: ('friend_remove', [('friend', 'u32')]),
    88: ('trade_request', [('creature', 'u32')]),
    89: ('trade_accept', []),
    90: ('trade_cancel', []),
    # Party
    169: ('party_accept', [('creature', 'u32')]),
    170: ('party_invite', [('creature', 'u32')]),
    171: ('party_expel', [('member', 'u32')]),
    172: ('party_invite_name', [('name', 'string')]),
    173: ('party_leave', []),
    174: ('party_leader', [('member', 'u32')]),
    175: ('party_reject', [('creature', 'u32')]),
    # Windows and answers
    72: ('marker_add', [('marker', 'u16'), ('x', 'u16'), ('y', 'u16'), ('icon', 'u8'), ('text', 'string')]),
    73: ('marker_remove', [('marker', 'u8')]),
    92: ('brew', []),
    93: ('brew_close', []),
    145: ('bank_close', []),
    146: ('house_invitee_add', [('house', 'u32'), ('name', 'string')]),
    148: ('house_invitee_remove', [('house', 'u32'), ('name', 'string')]),
    155: ('house_bid', [('house', 'u32'), ('bid', 'u32')]),
    156: ('rental_close', []),
    212: ('craft', []),
    213: ('craft_close', []),
    219: ('shop_sell', [('shape', 'u16'), ('entry', 'varint'), ('count', 'varint')]),
    220: ('shop_close', []),
    221: ('confirm_yes', []),
    222: ('confirm_no', []),
    248: ('crash_proceed', []),
    # Ping, store, transfer and recording requests of the game state
    240: ('ping', []),
    225: ('store_purchase', [('days', 'u32')]),
    226: ('store_authorisation', [('order', 'u64'), ('authorised', 'u8')]),
    246: ('transfer_done', []),
    251: ('end_recording', []),
}

GUILD_OPCODE = 227
GUILD_REQUESTS = {
    1: ('guild_found', [('name', 'string')]),
    2: ('guild_found_close', []),
    3: ('guild_invite', [('name', 'string')]),
    4: ('guild_uninvite', [('name', 'string')]),
    5: ('guild_join', [('guild', 'u32')]),
    6: ('guild_reject', [('guild', 'u32')]),
    7: ('guild_membership', [('guild', 'u32'), ('kind', 'u8')]),
    8: ('guild_kick', [('name', 'string')]),
    9: ('guild_leadership', [('name', 'string')]),
}


@functools.lru_cache(maxsize=None)
def sample_shape_flags():
    """The flag words of the sample sprite data by shape id (the shapes the fake server's world
    is made of)."""
    return {shape.id: shape.flag_word() for shape in sprites.sample_shapes()}


def decode(reader, op, shape_flags):
    """The request `op` read from `reader` (just after the opcode): a dict of its fields and its
    name as 'type'. WireError for an opcode or sub-opcode of no request, or for fields cut short.
    shape_flags maps shape ids to flag words; an unknown shape has no optional fields."""
    if op == GUILD_OPCODE:
        sub = reader.u8()
        if sub not in GUILD_REQUESTS:
            raise WireError('guild request %d is no request' % sub)
        name, fields = GUILD_REQUESTS[sub]
    elif op in REQUESTS:
        name, fields = REQUESTS[op]
    else:
        raise WireError('op %d is no request of the game state' % op)
    request = {'type': name}
    for key, kind in fields:
        value = _read(reader, kind, shape_flags.get(request.get('shape'), 0))
        if kind == 'zero':
            if value != 0:
                raise WireError('%s: byte %d where 0 belongs' % (name, value))
        elif value is not None:
            request[key] = value
    return request


def _read(reader, kind, flags):
    if kind in ('u8', 'zero'):
        return reader.u8()
    if kind == 'offset':
        value = reader.u8()
        return value - 256 if value >= 128 else value
    if kind == 'count':
        return reader.var15() if flags & shapeflags.STACKABLE else None
    if kind == 'colours':
        return reader.u32() if flags & shapeflags.PALETTE_ID else None
    if kind == 'string':
        return reader.text8()
    return getattr(reader, kind)()
