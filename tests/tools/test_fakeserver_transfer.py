"""Checks of the fake server's side of a move to another server: the op 245 and 246 messages,
and a new server taking the clear hello and going on in game under the key it carries."""
import struct
import unittest

from fakeserver import login
from fakeserver.server import FakeServer, Frame, Scenario
from fakeserver.transfer import transfer, transfer_done
from test_fakeserver import ToyClient

KEY = bytes(range(16))
TOKEN = 0xCAFEF00D


class MessageTest(unittest.TestCase):
    def test_transfer_carries_host_port_token_and_key(self):
        self.assertEqual(transfer('h', 7171, TOKEN, KEY).hex(),
                         'f5' '0168' '031c' '0df0feca' + KEY.hex())
        self.assertEqual(transfer_done(), b'\xf6')
        with self.assertRaises(ValueError):
            transfer('h', 1, TOKEN, KEY[:15])


class NewServerTest(unittest.TestCase):
    def hello(self, server, plaintext):
        client = ToyClient(server.port)
        self.addCleanup(client.sock.close)
        client.send(b'\xf5' + login.encrypt_block(plaintext))
        return client

    def test_hello_switches_the_session_to_the_game_under_its_key(self):
        with FakeServer(Scenario()) as server:
            client = self.hello(server, KEY + struct.pack('<I', TOKEN))
            client.key, client.state = KEY, 2
            client.send(b'\xf0', encrypted=True)
            self.assertTrue(server.wait_for(lambda t: len(t.of('client_frame')) == 2))
            hello, ping = server.transcript.of('client_frame')
            self.assertEqual((hello['state'], hello['encrypted'], hello['payload_length']), (0, False, 129))
            self.assertEqual(hello['request'], {'op': 245, 'key': KEY.hex(), 'token': TOKEN})
            self.assertEqual((ping['state'], ping['encrypted']), (2, True))
            self.assertEqual(ping['request'], {'op': 240, 'type': 'ping'})

            server.sessions[0].perform([Frame(b'\xf1\x01\x00')])
            self.assertEqual(client.frame(encrypted=True), b'\xf1\x01\x00' + bytes(5))

    def test_block_without_exactly_key_and_token_is_refused(self):
        for plaintext in (KEY + b'\x01\x02\x03', KEY + struct.pack('<I', TOKEN) + b'\x00'):
            with self.subTest(length=len(plaintext)), FakeServer(Scenario()) as server:
                self.hello(server, plaintext)
                self.assertTrue(server.wait_for(lambda t: t.of('client_frame')))
                frame = server.transcript.of('client_frame')[0]
                self.assertIn('error', frame)
                self.assertEqual(server.sessions[0].state, 0)
                self.assertIsNone(server.sessions[0].key)


if __name__ == '__main__':
    unittest.main()
