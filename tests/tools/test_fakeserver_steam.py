"""The fake server's side of the Steam login (ops 8 and 9 of the login state) and its store
message, driven by the toy client of the fake server's own checks."""
import struct
import unittest

from fakeserver import login, steam
from fakeserver.server import FakeServer, Scenario
from fakeserver.wire import Reader
from test_fakeserver import ToyClient

TICKET = bytes.fromhex('0a0b0c0d0e')
STEAM_ID = 76561197960287930


def steam_login(op, challenge, ticket=TICKET, account=b'', extra=b''):
    """The payload of op 8 or 9 as the protocol lays it out, and its session key (of an empty
    password, as a Steam login without one has)."""
    key = login.session_key(b'', challenge)
    block = login.encrypt_block(key + bytes([len(account)]) + account + extra)
    payload = (bytes([op]) + struct.pack('<Q', STEAM_ID) + b'\x02en' +
               struct.pack('<H', len(ticket)) + ticket + block)
    return payload, key


class SteamLoginTest(unittest.TestCase):
    def log_in(self, server, op, **fields):
        """Says hello, sends the Steam login; answers the client and the login's transcript."""
        client = ToyClient(server.port)
        self.addCleanup(client.sock.close)
        client.send(struct.pack('<BII', 1, 14, 0))
        hello = Reader(client.frame())
        self.assertEqual(hello.u8(), 1)
        payload, client.key = steam_login(op, hello.u32(), **fields)
        client.counter += 1
        client.send(payload)
        reply = client.frame()
        self.assertTrue(server.wait_for(lambda t: len(t.of('client_frame')) == 2))
        return client, reply, server.transcript.of('client_frame')[1]

    def test_an_accepted_ticket_logs_in_and_the_session_key_enciphers(self):
        for op, account in [(steam.STEAM_LOGIN, b''), (steam.STEAM_LINK, b'tester')]:
            with self.subTest(op=op), FakeServer(Scenario(steam_tickets=[TICKET],
                                                          accept_frames=2)) as server:
                client, reply, frame = self.log_in(server, op, account=account)
                self.assertEqual(reply, b'\x02')
                self.assertEqual(client.frame(encrypted=True)[0], 8, 'the avatar list')
                request = frame['request']
                self.assertEqual(request['op'], op)
                self.assertEqual((request['steam_id'], request['language'], request['ticket']),
                                 (STEAM_ID, 'en', TICKET.hex()))
                self.assertEqual(request['account'], account.decode())
                self.assertEqual(request['session_key'], client.key.hex())
                self.assertEqual(request['plaintext_length'], 17 + len(account))
                self.assertTrue(request['login_ok'])

    def test_an_unknown_ticket_is_an_invalid_login(self):
        with FakeServer(Scenario(steam_tickets=[TICKET])) as server:
            _, reply, frame = self.log_in(server, steam.STEAM_LOGIN, ticket=b'\x01\x02')
            self.assertEqual(reply[0], 6)
            self.assertFalse(frame['request']['login_ok'])

    def test_bytes_after_the_account_name_are_a_malformed_login(self):
        with FakeServer(Scenario(steam_tickets=[TICKET])) as server:
            client = ToyClient(server.port)
            self.addCleanup(client.sock.close)
            client.send(struct.pack('<BII', 1, 14, 0))
            challenge = Reader(client.frame()[1:]).u32()
            client.counter += 1
            client.send(steam_login(steam.STEAM_LOGIN, challenge, extra=b'\x00')[0])
            self.assertTrue(server.wait_for(lambda t: len(t.of('client_frame')) == 2))
            self.assertIn('error', server.transcript.of('client_frame')[1])

    def test_noble_days_message(self):
        self.assertEqual(steam.noble_days(90), bytes.fromhex('e15a000000'))


if __name__ == '__main__':
    unittest.main()
