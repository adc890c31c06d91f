"""The real client logging in by itself (the test-client settings) against the fake game server:
what it sends, how it follows the server's frames however they arrive, and how it survives
refusals and faults of the server."""
import struct
import time
import unittest

from datagen import config, sprites
from fakeserver.messages import Avatar, avatar_list, login_text
from fakeserver.server import FakeServer, Frame, Scenario, oversized_header, overrunning_frame
from harness import ClientTestCase
from harness.wine import MESSAGE_BOX_CLASS

# The data files whose leading revision words make up the data version the client sends.
DATA_FILES = ["Veltor.data", "Veltor.shapes", "Veltor.books", "Veltor.quests", "Veltor.maps",
              "Veltor.skin", "Veltor.font", "Veltor.spells"]
CLIENT_VERSION = 14


def sample_avatar():
    """An avatar that looks like the person of the sample sprite data (with outfit colours)."""
    return Avatar(1001, "Aria", shape=sprites.PERSON, outfit=sprites.PERSON_OUTFIT, value2=12)


class LoginTest(ClientTestCase):
    time_limit = 120

    def start(self, scenario, character=0):
        """A fake server playing the scenario and a client logging in to it with avatar number
        `character`; returns both and the client's run folder."""
        server = FakeServer(scenario).start()
        self.addCleanup(server.stop)
        folder = self.run_folder()
        settings = config.test_client_variant("127.0.0.1", server.port, "tester", "secret", character)
        folder.write("data/" + config.FILE_NAME, settings.file)
        return server, folder, self.start_client(folder)

    def wait(self, server, predicate, what, timeout=30):
        self.assertTrue(server.wait_for(predicate, timeout), "%s; transcript: %s" % (what, server.transcript.events))

    def requests(self, server):
        return [frame.get("request", {}).get("op") for frame in server.transcript.of("client_frame")]

    def wait_request(self, server, op, timeout=30):
        self.wait(server, lambda t: op in self.requests(server), "client request %d" % op, timeout)
        return next(f for f in server.transcript.of("client_frame") if f.get("request", {}).get("op") == op)

    def wait_client_closed(self, server):
        self.wait(server, lambda t: any(e["by"] == "client" for e in t.of("closed")), "client closing")

    def assert_still_running_without_box(self, client):
        client.wait_window()
        self.assertTrue(client.running())
        boxes = [w for w in client.own_windows() if w.visible and w.class_name == MESSAGE_BOX_CLASS]
        self.assertEqual(boxes, [])

    def test_hello_carries_the_versions_and_the_login_block_the_session_key(self):
        server, folder, client = self.start(Scenario(avatars=[]))
        login = self.wait_request(server, 2)
        hello = server.transcript.of("client_frame")[0]
        revisions = sum(struct.unpack("<I", folder.read("data/" + name)[:4])[0] for name in DATA_FILES)
        self.assertEqual(hello["request"], {"op": 1, "version": CLIENT_VERSION,
                                            "data_version": revisions & 0xFFFFFFFF})
        self.assertEqual((hello["counter"], hello["encrypted"]), (0, False))
        self.assertEqual(login["request"]["account"], "tester")
        self.assertTrue(login["request"]["login_ok"], "the server's check of the session key")
        self.assertEqual((login["counter"], login["expected_counter"]), (1, 1))
        # With no avatars the list opens and nothing more is sent.
        self.wait(server, lambda t: len(t.of("server_frame")) == 2, "the avatar list")
        self.assert_still_running_without_box(client)
        self.assertEqual(self.requests(server), [1, 2])

    def test_refusals_and_faults_end_the_connection_and_the_client_goes_on(self):
        cases = {
            "ip blocked": Scenario(answer="ip_blocked"),
            "time-out": Scenario(answer="timeout"),
            "invalid login": Scenario(accounts={"tester": "other"}),
            "client too old": Scenario(answer="too_old"),
            "unknown op": Scenario(answer="unknown"),
            "server closes": Scenario(answer="close"),
            "oversized header": Scenario(on={(0, 2): [oversized_header()]}),
            "message past its frame": Scenario(on={(0, 2): [overrunning_frame(0)]}),
        }
        # All clients at once: each wait looks at its own server and client only.
        started = {name: self.start(scenario) for name, scenario in cases.items()}
        for name, (server, _, client) in started.items():
            with self.subTest(case=name):
                if name == "server closes":
                    self.wait(server, lambda t: t.of("closed"), "server closing")
                else:
                    self.wait_client_closed(server)
                self.assert_still_running_without_box(client)
                self.assertEqual(self.requests(server), [1, 2], "nothing sent after the end")

    def test_long_server_texts_are_shown_and_the_client_goes_on(self):
        # The box of such a text is wider than any texture as the text is long: it must fit the
        # client area instead of ending the client with a driver error.
        for length in (3000, 20000):
            with self.subTest(length=length):
                scenario = Scenario(on={(0, 2): [Frame(login_text("W" * length))]})
                server, _, client = self.start(scenario)
                self.wait(server, lambda t: len(t.of("server_frame")) == 2, "the text")
                client.wait_window()
                time.sleep(2)
                self.assert_still_running_without_box(client)

    def test_login_and_avatar_choice_in_every_delivery(self):
        deliveries = {
            "whole frames": {},
            "one byte per send": {"split": 1},
            "two frames in one send": {"accept_frames": 2, "join": True},
            "long headers": {"long_header": True},
        }
        started = {name: self.start(Scenario(avatars=[sample_avatar()], **options))
                   for name, options in deliveries.items()}
        for name, (server, _, client) in started.items():
            with self.subTest(delivery=name):
                select = self.wait_request(server, 7)
                self.assertEqual(select["request"]["avatar_id"], 1001)
                self.assertTrue(select["encrypted"])
                self.assertEqual((select["counter"], select["expected_counter"]), (3, 3))
                self.assertEqual(select["size_field"], 7, "op 7 and its id fill one block")
                self.wait(server, lambda t: t.of("server_frame")[-1]["ops"] == [11], "enter game")
                self.assert_still_running_without_box(client)

    def test_cipher_padding_counts_as_keep_alives(self):
        # Acceptance alone, then a 3-byte text padded with five zero bytes, then the list.
        scenario = Scenario(avatars=[sample_avatar()], on={(0, 2): lambda session, request: [
            Frame(b"\x02"), Frame(b"\x0a\x00\x00"), Frame(avatar_list(7, [sample_avatar()]))]})
        server, _, _ = self.start(scenario)
        select = self.wait_request(server, 7)
        self.assertEqual(select["counter"], 4, "hello, acceptance, text and list; no keep-alive")

    def test_configured_avatar_outside_the_list_is_not_played(self):
        server, _, client = self.start(Scenario(avatars=[sample_avatar()]), character=1)
        self.wait(server, lambda t: len(t.of("server_frame")) == 2, "the avatar list")
        self.assert_still_running_without_box(client)
        self.assertEqual(self.requests(server), [1, 2])


if __name__ == "__main__":
    unittest.main()
