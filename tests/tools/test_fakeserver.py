"""Checks of the fake game server: its field encodings, framing and login block, and
whole logins against it by a small client written here from the protocol."""
import hashlib
import json
import os
import socket
import struct
import unittest

import veltorxtea as xtea
from datagen import sprites
from fakeserver import login, messages
from fakeserver.gamemessages import notification_line
from fakeserver.server import Close, FakeServer, Scenario, oversized_header, overrunning_frame
from fakeserver.wire import (ClientFrameCutter, Reader, ServerFrameCutter, WireError, Writer,
                             client_frame, latin1_to_utf8, server_frame)


class FieldTest(unittest.TestCase):
    def test_readers(self):
        cases = [
            ('var15', '8502', 261), ('var15', '7f', 127),
            ('varint', 'ffffffff0f', 0xFFFFFFFF), ('varint', '05', 5),
            ('varstop', '0581', 133), ('varstop', '85', 5),
            ('u16', '3412', 0x1234), ('u32', '78563412', 0x12345678),
        ]
        for reader, data, value in cases:
            with self.subTest(reader=reader, data=data):
                r = Reader(bytes.fromhex(data))
                self.assertEqual(getattr(r, reader)(), value)
                self.assertEqual(r.remaining(), 0)

    def test_writers_round_trip(self):
        for writer, value in [('var15', 261), ('var15', 32767), ('varint', 0xFFFFFFFF),
                              ('varint', 300), ('varstop', 133), ('varstop', 0xFFFFFFFF)]:
            with self.subTest(writer=writer, value=value):
                data = getattr(Writer(), writer)(value).bytes()
                self.assertEqual(getattr(Reader(data), writer)(), value)
        self.assertEqual(Writer().var15(261).bytes(), b'\x85\x02')

    def test_a_long_text_counted_by_a_varint(self):
        # A notification line of 64 KiB: its byte count takes three varint bytes.
        data = notification_line(8, 'W' * 65536)
        self.assertEqual(data[:5], bytes([94, 8, 0x80, 0x80, 0x04]))
        self.assertEqual(data[5:], b'W' * 65536)

    def test_malformed_fields_are_refused(self):
        for reader, data in [('varint', 'ffffffff1f'), ('varint', 'ffffffff8f01'),
                             ('varstop', '0000000000'), ('u32', '010203'), ('bytes8', '05616263')]:
            with self.subTest(reader=reader, data=data):
                with self.assertRaises(WireError):
                    getattr(Reader(bytes.fromhex(data)), reader)()

    def test_client_text_is_latin1_as_utf8(self):
        self.assertEqual(latin1_to_utf8(b'\xe9a'), b'\xc3\xa9a')


class FramingTest(unittest.TestCase):
    def test_server_frame_headers(self):
        self.assertEqual(server_frame(b'abcde')[:2], b'\x04\x00')
        self.assertEqual(server_frame(b'abcde', long_form=True)[:4], b'\x04\x80\x00\x00')
        self.assertEqual(server_frame(bytes(32769))[:4], b'\x00\x80\x01\x00')

    def test_cutting_split_at_every_byte_and_joined(self):
        payloads = [b'\x01\x02', bytes(range(200)) * 200, b'x']
        stream = server_frame(payloads[0]) + server_frame(payloads[1]) + server_frame(payloads[2], True)
        cutter = ServerFrameCutter()
        got = []
        for i in range(len(stream)):
            got += cutter.feed(stream[i:i + 1])
        self.assertEqual(got, payloads)
        self.assertEqual(ServerFrameCutter().feed(stream), payloads)

    def test_long_header_waits_for_its_second_word(self):
        cutter = ServerFrameCutter()
        self.assertEqual(cutter.feed(b'\x00\x80\x01'), [])
        self.assertEqual(cutter.feed(b'\x00' + bytes(32768)), [])
        self.assertEqual(cutter.feed(b'\x07'), [bytes(32768) + b'\x07'])

    def test_client_frames_with_both_counter_widths(self):
        cutter = ClientFrameCutter()
        cutter.buffer += client_frame(b'\x07abcd', 0x1234, False) + client_frame(b'\x07abcd', 0x1234, True)
        self.assertEqual(cutter.next_frame(False), (4, 0x34, b'\x07abcd'))
        self.assertIsNone(ClientFrameCutter().next_frame(True))
        self.assertEqual(cutter.next_frame(True), (4, 0x1234, b'\x07abcd'))
        self.assertIsNone(cutter.next_frame(True))


class LoginBlockTest(unittest.TestCase):
    def test_session_key_xors_the_little_endian_challenge(self):
        digest = hashlib.md5(b'secret').digest()
        mask = bytes([4, 3, 2, 1] * 4)
        expected = hashlib.md5(bytes(a ^ b for a, b in zip(digest, mask))).digest()
        self.assertEqual(login.session_key(b'secret', 0x01020304), expected)

    def test_block_round_trip_and_refusals(self):
        message = bytes(16) + b'\x06tester'
        block = login.encrypt_block(message)
        self.assertEqual(len(block), 128)
        self.assertEqual(login.decrypt_block(block), message)
        self.assertEqual(login.parse_login(message), (bytes(16), b'tester'))
        n, e, _ = login.load_key()
        self.assertEqual(pow(65537, 1, n), e)
        not_pkcs = pow(int.from_bytes(b'\x00\x01' + b'\xff' * 126, 'big'), e, n).to_bytes(128, 'big')
        with self.assertRaises(WireError):
            login.decrypt_block(not_pkcs)
        with self.assertRaises(WireError):
            login.decrypt_block(block[:127])


class ToyClient:
    """The client's side of the protocol, as the Parts give it, to drive the server here."""

    def __init__(self, port):
        self.sock = socket.create_connection(('127.0.0.1', port), timeout=5)
        self.cutter = ServerFrameCutter()
        self.frames = []
        self.key = None
        self.counter = 0
        self.state = 0

    def send(self, payload, encrypted=False):
        if encrypted:
            payload = xtea.encrypt(self.key, payload + bytes(-len(payload) % 8))
        self.sock.sendall(client_frame(payload, self.counter, self.state == 2))

    def frame(self, encrypted=False):
        """The next server frame's payload (deciphered), counting its messages' opcodes."""
        while not self.frames:
            data = self.sock.recv(4096)
            if not data:
                return None
            self.frames += self.cutter.feed(data)
        payload = self.frames.pop(0)
        return xtea.decrypt(self.key, payload) if encrypted else payload

    def login(self, account=b'tester', password=b'secret'):
        self.send(struct.pack('<BII', 1, 14, 1234))
        hello = Reader(self.frame())
        if hello.u8() != 1:
            raise WireError('expected the hello')
        challenge = hello.u32()
        self.counter += 1
        self.key = login.session_key(password, challenge)
        block = login.encrypt_block(self.key + bytes([len(account)]) + account)
        self.send(b'\x02' + block)


class LiveServerTest(unittest.TestCase):
    def connect(self, server):
        client = ToyClient(server.port)
        self.addCleanup(client.sock.close)
        return client

    def run_login(self, **options):
        with FakeServer(Scenario(**options)) as server:
            client = self.connect(server)
            client.login()
            reply = client.frame()
            self.assertEqual(reply[0], 2)
            avatars = reply[1:] if len(reply) > 1 else client.frame(encrypted=True)
            r = Reader(avatars)
            self.assertEqual((r.u8(), r.u32(), r.u8(), r.u8()), (8, 7, 0, 1))
            self.assertEqual((r.u32(), r.u8(), r.u16(), r.u32()),
                             (1001, 0, sprites.PERSON, sprites.PERSON_OUTFIT))
            self.assertEqual((r.u16(), r.bytes8(), r.u32()), (0, b'Aria', 0))
            client.counter += 2
            client.state = 1
            client.send(struct.pack('<BI', 7, 1001), encrypted=True)
            self.assertEqual(client.frame(encrypted=True), b'\x0b' + bytes(7))
            self.assertTrue(server.wait_for(lambda t: len(t.of('client_frame')) == 3))
            frames = server.transcript.of('client_frame')
            self.assertEqual([f['request']['op'] for f in frames], [1, 2, 7])
            self.assertEqual([f['counter'] for f in frames], [f['expected_counter'] for f in frames])
            self.assertTrue(frames[1]['request']['login_ok'])
            self.assertEqual(frames[2]['request']['avatar_id'], 1001)
            self.assertEqual((frames[2]['encrypted'], frames[2]['size_field']), (True, 7))
            return server.transcript

    def test_login_whole_split_joined_and_long_headers(self):
        for options in [{}, {'split': 1}, {'accept_frames': 2, 'join': True}, {'long_header': True}]:
            with self.subTest(**options):
                transcript = self.run_login(**options)
                sent = transcript.of('server_frame')
                self.assertEqual(sent[-1]['ops'], [11])
                if options.get('long_header'):
                    self.assertTrue(all(int(f['data'][2:4], 16) & 0x80 for f in sent))

    def test_created_avatar_looks_like_the_first(self):
        first = messages.Avatar(1001, 'Aria', shape=200, outfit=0x0A472C53)
        with FakeServer(Scenario(avatars=[first], accept_frames=2)) as server:
            client = self.connect(server)
            client.login()
            client.frame()
            client.frame(encrypted=True)
            client.counter, client.state = 3, 1
            client.send(b'\x06\x02' + Writer().string8('Bo').bytes(), encrypted=True)
            r = Reader(client.frame(encrypted=True))
            self.assertEqual((r.u8(), r.u32(), r.u8(), r.u16(), r.u32()), (9, 2001, 0, 200, 0x0A472C53))
            self.assertEqual((r.u16(), r.bytes8()), (0, b'Bo'))
            self.assertEqual(server.transcript.of('client_frame')[-1]['request'],
                             {'op': 6, 'choice': 2, 'name': 'Bo'})

    def test_refusals(self):
        for answer, opcode in [('ip_blocked', 4), ('timeout', 5), ('invalid', 6), ('too_old', 250),
                               ('unknown', 77)]:
            with self.subTest(answer=answer):
                with FakeServer(Scenario(answer=answer)) as server:
                    client = self.connect(server)
                    client.login()
                    self.assertEqual(client.frame()[0], opcode)

    def test_wrong_password_is_an_invalid_login(self):
        with FakeServer(Scenario()) as server:
            client = self.connect(server)
            client.login(password=b'wrong')
            self.assertEqual(client.frame()[0], 6)
            self.assertFalse(server.transcript.of('client_frame')[1]['request']['login_ok'])

    def test_scripted_malformed_frames_and_close(self):
        scenario = Scenario(on={(0, 1): [oversized_header(), Close()]})
        with FakeServer(scenario) as server:
            client = self.connect(server)
            client.send(struct.pack('<BII', 1, 14, 0))
            self.assertEqual(client.sock.recv(16), b'\xff\xff\xff\xff')
            self.assertIsNone(client.frame())
            self.assertTrue(server.wait_for(lambda t: t.of('closed')))
            self.assertEqual(server.transcript.of('closed')[0]['by'], 'server')
        cutter = ServerFrameCutter()
        first, second = cutter.feed(overrunning_frame(0).data)
        self.assertEqual(first, b'\x03\xc8\x00abcd')
        self.assertEqual(second, bytes(8))

    def test_bad_client_frames_are_recorded(self):
        with FakeServer(Scenario()) as server:
            client = self.connect(server)
            client.send(b'\x01\x02')
            self.assertTrue(server.wait_for(lambda t: t.of('client_frame')))
            self.assertIn('error', server.transcript.of('client_frame')[0])

    def test_transcript_file_holds_json_lines(self):
        path = os.path.join(os.environ.get('TMPDIR', '/tmp'), 'fakeserver-%d.jsonl' % os.getpid())
        try:
            with FakeServer(Scenario(), transcript_path=path) as server:
                client = self.connect(server)
                client.send(struct.pack('<BII', 1, 14, 99))
                client.frame()
            with open(path) as f:
                events = [json.loads(line) for line in f]
            frame = [e for e in events if e['event'] == 'client_frame'][0]
            self.assertEqual(frame['request'], {'op': 1, 'version': 14, 'data_version': 99})
        finally:
            os.unlink(path)


if __name__ == '__main__':
    unittest.main()
