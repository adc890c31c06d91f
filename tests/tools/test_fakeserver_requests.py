"""The fake server's decoding of the client's game-state requests: the bytes the client's unit
test checks the client against (tests/data/clientrequests.txt), sent in the game state to a live
fake server, come out of its transcript as the requests and fields they stand for."""
import os
import struct
import unittest

from fakeserver import requests
from fakeserver.server import FakeServer, Scenario
from fakeserver.wire import Reader, WireError
from test_fakeserver import ToyClient

REQUESTS_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'data', 'clientrequests.txt')


def read_cases():
    """{name: payload bytes} of the shared request file."""
    cases = {}
    with open(REQUESTS_FILE) as f:
        for line in f:
            if line.strip() and not line.startswith('#'):
                name, hex_bytes = line.split(None, 1)
                cases[name] = bytes.fromhex(hex_bytes)
    return cases


def request(op, type_, **fields):
    return dict(op=op, type=type_, **fields)


# What each request of the file means, by the request layouts (player at 100, 200, 7).
EXPECTED = {
    'walk_east': request(32, 'walk', direction=2),
    'walk_redirect_south': request(33, 'walk_redirect', direction=4),
    'turn_west': request(40, 'turn', direction=6),
    'target_only': request(51, 'target', mode=0, creature=0x01020304),
    'target_none': request(51, 'target', mode=0, creature=0),
    'target_add': request(51, 'target', mode=1, creature=0x01020304),
    'target_remove': request(51, 'target', mode=2, creature=0x01020304),
    'push_creature': request(121, 'push_creature', creature=0x11223344, dx=-2, dy=-1, dz=0),
    'push_to_creature': request(123, 'push_to_creature', creature=5, target=6),
    'sit_down': request(162, 'sit', sit=1),
    'stand_up': request(162, 'sit', sit=0),
    'move_map_to_map_stack': request(48, 'move_map_to_map', dx=1, dy=0, stack=2, target_dx=-1, target_dy=1,
                                     target_dz=0, shape=130, count=300),
    'move_map_to_map_single': request(48, 'move_map_to_map', dx=0, dy=1, stack=0, target_dx=1, target_dy=1,
                                      target_dz=1, shape=141),
    'move_to_own_tile_other_floor': request(48, 'move_map_to_map', dx=1, dy=1, stack=0, target_dx=1, target_dy=1,
                                            target_dz=-1, shape=141),
    'move_map_to_slot': request(112, 'move_map_to_slot', dx=0, dy=-1, stack=1, target_container=1, target_slot=4,
                                shape=130, count=300),
    'move_slot_to_map': request(113, 'move_slot_to_map', container=1, slot=4, target_dx=1, target_dy=1, target_dz=0,
                                shape=130, count=300),
    'move_slot_to_slot': request(114, 'move_slot_to_slot', container=1, slot=4, target_container=0, target_slot=5,
                                 shape=141),
    'move_slot_to_slot_huge': request(114, 'move_slot_to_slot', container=1, slot=4, target_container=0,
                                      target_slot=5, shape=130, count=32767),
    'use_map_item': request(49, 'use_map_item', dx=1, dy=-1, stack=1, shape=141),
    'use_map_on_map': request(50, 'use_map_on_map', dx=0, dy=-1, stack=2, target_dx=1, target_dy=0, shape=143,
                              target_shape=100),
    'use_slot_item_on_creature': request(77, 'use_slot_item_on_creature', container=3, slot=4,
                                         creature=0x0A0B0C0D, shape=132),
    'use_map_item_on_creature': request(78, 'use_map_item_on_creature', dx=-1, dy=0, stack=0, creature=7,
                                        shape=132),
    'use_slot_item': request(80, 'use_slot_item', container=1, slot=2, shape=132),
    'use_slot_on_slot': request(81, 'use_slot_on_slot', container=1, slot=2, target_container=250, target_slot=3,
                                shape=143, target_shape=140),
    'use_slot_on_map': request(82, 'use_slot_on_map', container=1, slot=0, target_dx=-2, target_dy=1, shape=143,
                               target_shape=100),
    'use_map_on_slot': request(83, 'use_map_on_slot', dx=1, dy=1, stack=0, target_container=1, target_slot=5,
                               shape=143, target_shape=140),
    'container_close': request(84, 'container_close', container=7),
    'container_up': request(85, 'container_up', container=7),
    'container_stack': request(86, 'container_stack', container=7),
    'use_cancel': request(132, 'use_cancel'),
    'use_with_map': request(133, 'use_with_map', dx=-2, dy=1, dz=-1, stack=2, shape=141),
    'use_with_slot': request(134, 'use_with_slot', container=1, slot=3, shape=141),
    'use_on_creature': request(135, 'use_on_creature', creature=0x12345678),
    'open_map_item': request(166, 'open_map_item', dx=0, dy=1, stack=0, shape=140),
    'open_slot_item': request(167, 'open_slot_item', container=1, slot=2, shape=140),
    'look_map_item': request(163, 'look_map_item', dx=-1, dy=-2, dz=0, stack=3, shape=141),
    'look_slot_item': request(164, 'look_slot_item', container=250, slot=1, shape=141),
    'look_creature': request(165, 'look_creature', creature=9),
    'look_shop_item': request(217, 'look_shop_item', shape=130, entry=200),
    'raise_attribute': request(18, 'raise_attribute', attribute=2),
    'abilities_request': request(71, 'abilities_request'),
    'cast_self_first_spell': request(208, 'cast_self', spell=1),
    'cast_creature': request(209, 'cast_creature', spell=5, creature=0x55),
    'cast_tile': request(210, 'cast_tile', spell=2, dx=1, dy=0, dz=0),
    'cast_armed': request(215, 'cast_armed', spell=3),
    'spellbar_slot_29': request(216, 'spellbar_slot', slot=30, ability=0x0102),
    'outfit_coloured': request(218, 'outfit', shape=200, colours=0x0A472C53),
    'outfit_plain': request(218, 'outfit', shape=100),
    'outfit_unknown_shape': request(218, 'outfit', shape=4242),
    'talk_main': request(60, 'talk', text='hi'),
    'talk_world': request(203, 'talk_channel', channel=1, text='hi'),
    'talk_console': request(241, 'talk_console', text='heal'),
    'talk_main_accented': request(60, 'talk', text='\u00e9'),
    'private_message': request(193, 'private_message', recipient='Bob', text='yo'),
    'typing_on': request(196, 'typing_start'),
    'typing_off': request(197, 'typing_stop'),
    'open_channel': request(202, 'open_channel', channel=3),
    'close_channel_trade': request(204, 'close_channel', channel=3),
    'friend_add': request(64, 'friend_add', name='Ann', group=0, note=''),
    'friend_remove': request(65, 'friend_remove', friend=0x21),
    'trade_request': request(88, 'trade_request', creature=0x31),
    'trade_accept': request(89, 'trade_accept'),
    'trade_cancel': request(90, 'trade_cancel'),
    'party_accept': request(169, 'party_accept', creature=1),
    'party_invite': request(170, 'party_invite', creature=2),
    'party_expel': request(171, 'party_expel', member=3),
    'party_invite_name': request(172, 'party_invite_name', name='Cy'),
    'party_leave': request(173, 'party_leave'),
    'party_leader': request(174, 'party_leader', member=4),
    'party_reject': request(175, 'party_reject', creature=5),
    'guild_found': request(227, 'guild_found', name='Owls'),
    'guild_found_close': request(227, 'guild_found_close'),
    'guild_invite': request(227, 'guild_invite', name='Bo'),
    'guild_uninvite': request(227, 'guild_uninvite', name='Bo'),
    'guild_join': request(227, 'guild_join', guild=0x10),
    'guild_reject': request(227, 'guild_reject', guild=0x10),
    'guild_patron': request(227, 'guild_membership', guild=0x10, kind=2),
    'guild_kick': request(227, 'guild_kick', name='Bo'),
    'guild_leadership': request(227, 'guild_leadership', name='Bo'),
    'marker_add': request(72, 'marker_add', marker=3, x=1000, y=2000, icon=5, text='Camp'),
    'marker_remove': request(73, 'marker_remove', marker=3),
    'brew': request(92, 'brew'),
    'brew_close': request(93, 'brew_close'),
    'bank_close': request(145, 'bank_close'),
    'house_invitee_add': request(146, 'house_invitee_add', house=0x0102, name='Al'),
    'house_invitee_remove': request(148, 'house_invitee_remove', house=0x0102, name='Al'),
    'house_bid': request(155, 'house_bid', house=7, bid=5000),
    'rental_close': request(156, 'rental_close'),
    'craft': request(212, 'craft'),
    'craft_close': request(213, 'craft_close'),
    'shop_sell': request(219, 'shop_sell', shape=130, entry=2, count=300),
    'shop_close': request(220, 'shop_close'),
    'confirm_yes': request(221, 'confirm_yes'),
    'confirm_no': request(222, 'confirm_no'),
    'crash_proceed': request(248, 'crash_proceed'),
}

# Game-state requests that other parts of the client build, written here from their layouts.
OTHER_REQUESTS = [
    (b'\xf0', request(240, 'ping')),
    (b'\xe1' + struct.pack('<I', 90), request(225, 'store_purchase', days=90)),
    (b'\xe2' + struct.pack('<Q', 1 << 40) + b'\x01', request(226, 'store_authorisation', order=1 << 40,
                                                             authorised=1)),
    (b'\xf6', request(246, 'transfer_done')),
    (b'\xfb', request(251, 'end_recording')),
]


def decode(payload):
    r = Reader(payload)
    op = r.u8()
    return dict(op=op, **requests.decode(r, op, requests.sample_shape_flags())), r.remaining()


class DecoderTest(unittest.TestCase):
    def test_every_request_of_the_file_is_expected_here(self):
        self.assertEqual(sorted(read_cases()), sorted(EXPECTED))

    def test_every_request_kind_is_exercised(self):
        payloads = list(read_cases().values()) + [payload for payload, _ in OTHER_REQUESTS]
        seen = {(p[0], p[1] if p[0] == requests.GUILD_OPCODE else None) for p in payloads}
        kinds = {(op, None) for op in requests.REQUESTS}
        kinds |= {(requests.GUILD_OPCODE, sub) for sub in requests.GUILD_REQUESTS}
        self.assertEqual(seen, kinds)

    def test_other_parts_requests(self):
        for payload, expected in OTHER_REQUESTS:
            with self.subTest(op=expected['op']):
                self.assertEqual(decode(payload), (expected, 0))

    def test_optional_fields_follow_the_shape(self):
        # A stackable shape carries a count after its id, others do not; an unknown shape
        # carries neither count nor colours.
        self.assertEqual(decode(bytes.fromhex('72 01 04 00 05 8200 05')), (EXPECTED['move_slot_to_slot_huge']
                                                                          | {'count': 5}, 0))
        self.assertEqual(decode(bytes.fromhex('72 01 04 00 05 8d00 05'))[1], 1)
        self.assertEqual(decode(bytes.fromhex('da 9210 532c470a'))[1], 4)

    def test_refusals(self):
        cases = {
            'no request': '01',
            'no guild request': 'e3 0a',
            'use without its zero byte': '31 01 01 ff 01 8d00',
            'cut short': '33 00 0403',
            'text cut short': '3c 05 6869',
        }
        for what, payload in cases.items():
            with self.subTest(what):
                with self.assertRaises(WireError):
                    decode(bytes.fromhex(payload))


class LiveDecodingTest(unittest.TestCase):
    def test_the_clients_requests_in_the_transcript(self):
        cases = read_cases()
        with FakeServer(Scenario(accept_frames=2)) as server:
            client = ToyClient(server.port)
            self.addCleanup(client.sock.close)
            client.login()
            client.frame()
            client.frame(encrypted=True)
            client.counter, client.state = 3, 1
            client.send(struct.pack('<BI', 7, 1001), encrypted=True)
            client.frame(encrypted=True)
            client.counter, client.state = 4, 2
            for payload in cases.values():
                client.send(payload, encrypted=True)  # zero fill to whole blocks, as the client sends
            self.assertTrue(server.wait_for(lambda t: len(t.of('client_frame')) == 3 + len(cases)))
            frames = server.transcript.of('client_frame')[3:]
        self.assertEqual([f.get('error') for f in frames], [None] * len(cases))
        for name, frame in zip(cases, frames):
            with self.subTest(name):
                self.assertEqual(frame['request'], EXPECTED[name])


if __name__ == '__main__':
    unittest.main()
