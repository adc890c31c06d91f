"""The server's notices about itself while the client is in the game state, against the real
client: a suspension darkens the screen behind its one notice until the server ends it, and the
crashed server's question is answered with "proceed"."""
import time
import unittest

from datagen import config, sprites
from fakeserver import notices
from fakeserver.messages import Avatar, avatar_text, enter_game
from fakeserver.server import FakeServer, Frame, Scenario
from harness import ClientTestCase

NOTICE_WIDTH, NOTICE_HEIGHT = 335, 120
# The middle of the proceed button, from the notice's corner.
PROCEED = (269 + 27, 92 + 8)
# Beside the notice, inside a message box wider than it: where the dimming shows.
BESIDE = (-50, 25, 40, 70)  # x from the notice's left edge, y from its top, width, height
# The time after which the dimming stands at half.
DIMMED_AFTER = 1.0


class ServerNoticeTest(ClientTestCase):
    time_limit = 150

    def start_in_game(self):
        """A client that plays its configured avatar; the server answers with a long text,
        whose wide box shows beside the notices, and the move into the game state."""
        avatar = Avatar(1001, "Aria", shape=sprites.PERSON, outfit=sprites.PERSON_OUTFIT)
        scenario = Scenario(avatars=[avatar], on={
            (1, 7): [Frame(avatar_text("W" * 90)), Frame(enter_game())]})
        server = FakeServer(scenario).start()
        self.addCleanup(server.stop)
        folder = self.run_folder()
        settings = config.test_client_variant("127.0.0.1", server.port, "tester", "secret")
        folder.write("data/" + config.FILE_NAME, settings.file)
        client = self.start_client(folder)
        self.assertTrue(server.wait_for(lambda t: any(
            f["ops"] == [11] for f in t.of("server_frame")), 30), server.transcript.events)
        return server, client

    def notice_corner(self, client):
        """The screen position of a notice centred in the client area."""
        area = client.probe.client_area(client.wait_window().hwnd)
        return (area.x + area.width // 2 - NOTICE_WIDTH // 2,
                area.y + area.height // 2 - NOTICE_HEIGHT // 2), area

    def beside_notice(self, client):
        (x, y), _ = self.notice_corner(client)
        return client.session.mean_brightness(x + BESIDE[0], y + BESIDE[1], BESIDE[2], BESIDE[3])

    def assert_brightness(self, client, clear, share):
        """The screen beside the notice is at `share` of its brightness without a notice (a
        black of alpha 0x80 over it leaves 127/255)."""
        self.assertAlmostEqual(self.beside_notice(client) / clear, share, delta=0.06)

    def send(self, server, *messages):
        server.sessions[0].perform([Frame(message) for message in messages])

    def proceeds(self, server):
        return [f for f in server.transcript.of("client_frame")
                if f.get("request", {}).get("op") == 248]

    def test_suspension_and_crash_notices(self):
        server, client = self.start_in_game()
        time.sleep(DIMMED_AFTER)
        clear = self.beside_notice(client)
        self.assertGreater(clear, 10, "the message box beside the notice is drawn")

        # Two suspensions in a row stand as one notice: half dark, not a quarter.
        self.send(server, notices.server_suspended(), notices.server_suspended())
        time.sleep(DIMMED_AFTER)
        self.assert_brightness(client, clear, 0.5)

        self.send(server, notices.suspension_over())
        time.sleep(0.5)
        self.assert_brightness(client, clear, 1.0)

        self.send(server, notices.server_crashed())
        time.sleep(DIMMED_AFTER)
        self.assert_brightness(client, clear, 0.5)

        (x, y), area = self.notice_corner(client)
        for _ in range(2):
            client.click(x - area.x + PROCEED[0], y - area.y + PROCEED[1])
            time.sleep(0.3)
        self.assertTrue(server.wait_for(lambda t: len(self.proceeds(server)) == 2, 20),
                        server.transcript.events)
        for frame in self.proceeds(server):
            self.assertEqual((frame["state"], frame["encrypted"]), (2, True))
            self.assertEqual(frame["request"], {"op": 248, "type": "crash_proceed"})
            self.assertEqual(frame["counter"], frame["expected_counter"])
        # The notice stays.
        self.assert_brightness(client, clear, 0.5)
        self.assertTrue(client.running())


if __name__ == "__main__":
    unittest.main()
