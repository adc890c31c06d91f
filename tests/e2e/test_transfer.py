"""The real client moved by its game server to a second and then a third fake server, in game:
the new connection's hello, the old connection's pings during the move, and where the pings go
once each move is done."""
import unittest

from datagen import config
from fakeserver.messages import enter_game
from fakeserver.server import FakeServer, Frame, Scenario
from fakeserver.transfer import transfer, transfer_done
from fakeserver.wire import Writer
from harness import ClientTestCase
from harness.frontscreens import PING
from harness.wine import MESSAGE_BOX_CLASS

TRANSFER, TRANSFER_DONE = 245, 246
EQUIPMENT_SLOTS = 15


def attach(player_id):
    """Op 16: the player's creature id and fifteen empty equipment slots."""
    w = Writer(16).u32(player_id)
    for _ in range(EQUIPMENT_SLOTS):
        w.u16(0)
    return w.bytes()


def client_frames(server):
    return server.transcript.of("client_frame")


def requests(server, op):
    return [f for f in client_frames(server) if f.get("request", {}).get("op") == op]


class TransferTest(ClientTestCase):
    time_limit = 150

    def server(self, scenario=None):
        server = FakeServer(scenario or Scenario()).start()
        self.addCleanup(server.stop)
        return server

    def wait(self, server, predicate, what, timeout=30):
        self.assertTrue(server.wait_for(predicate, timeout), "%s; transcript: %s" % (what, server.transcript.events))

    def wait_pings(self, server, count):
        self.wait(server, lambda t: len(requests(server, PING)) >= count, "%d pings" % count)

    def assert_frames_in_step(self, server):
        """Every client frame was read whole, with the counter the server expects."""
        for frame in client_frames(server):
            self.assertNotIn("error", frame)
            self.assertEqual(frame["counter"], frame["expected_counter"], frame)

    def move(self, old, new, token, key):
        """The old server moves the client to the new one, which then checks a game message
        under the key; returns the new server's hello frame."""
        old.sessions[-1].perform([Frame(transfer("127.0.0.1", new.port, token, key))])
        self.wait(new, lambda t: client_frames(new), "the hello on the new server")
        hello = client_frames(new)[0]
        # The counter check counts itself: it passes only when the client read it in game, under
        # the key.
        new.sessions[-1].perform([Frame(Writer(241).u16(1).bytes())])
        return hello

    def complete(self, old):
        """The old server says the move is done: the client answers and closes that connection."""
        old.sessions[-1].perform([Frame(transfer_done())])
        self.wait(old, lambda t: any(e["by"] == "client" for e in t.of("closed")), "the old connection closing")
        self.assertEqual(client_frames(old)[-1]["request"], {"op": TRANSFER_DONE, "type": "transfer_done"})

    def test_the_game_moves_to_a_second_server_and_on_to_a_third(self):
        a = self.server(Scenario(on={(1, 7): [Frame(enter_game(), attach(77))]}))
        b, c = self.server(), self.server()
        folder = self.run_folder()
        folder.write("data/" + config.FILE_NAME,
                     config.test_client_variant("127.0.0.1", a.port, "tester", "secret").file)
        client = self.start_client(folder)
        self.wait_pings(a, 1)

        key_b, token_b = bytes(range(16)), 0x12345678
        hello = self.move(a, b, token_b, key_b)
        self.assertEqual((hello["state"], hello["encrypted"], hello["counter"]), (0, False, 0))
        self.assertEqual((hello["size_field"], hello["payload_length"]), (128, 129),
                         "132 bytes: header, one-byte counter, op 245 and the block")
        self.assertEqual(hello["request"], {"op": TRANSFER, "key": key_b.hex(), "token": token_b})

        # During the move the old server goes on receiving game frames: pings with the two-byte
        # counter, enciphered under the first key.
        pings_before = len(requests(a, PING))
        self.wait_pings(a, pings_before + 2)
        self.assertEqual(requests(b, PING), [])
        self.complete(a)
        self.wait_pings(b, 2)
        self.assertEqual(requests(a, PING)[-1]["state"], 2)

        key_c, token_c = bytes(range(100, 116)), 0x0BADBEEF
        hello = self.move(b, c, token_c, key_c)
        self.assertEqual(hello["request"], {"op": TRANSFER, "key": key_c.hex(), "token": token_c})
        self.complete(b)
        self.wait_pings(c, 2)

        for server in (a, b, c):
            self.assert_frames_in_step(server)
            for ping in requests(server, PING):
                self.assertEqual((ping["state"], ping["encrypted"], ping["size_field"]), (2, True, 7))
        self.assertTrue(client.running())
        boxes = [w for w in client.own_windows() if w.visible and w.class_name == MESSAGE_BOX_CLASS]
        self.assertEqual(boxes, [])


if __name__ == "__main__":
    unittest.main()
