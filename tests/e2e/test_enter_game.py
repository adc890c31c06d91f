"""The real client entering the game when the fake server lets its avatar in (op 16), and the
test client leaving it again when its window is closed."""
import unittest

from datagen import config, sprites
from fakeserver.gamemessages import attach, counter_check
from fakeserver.messages import Avatar, enter_game
from fakeserver.server import FakeServer, Frame, Scenario
from harness import ClientTestCase
from harness.wine import MESSAGE_BOX_CLASS

AVATAR_ID = 1001
# The person's outfit in the second equipment slot and coins in the last: one record with a
# sub-id, one with a count. Misread, empty slots would pass for keep-alives; the last is not one.
EQUIPMENT = {1: (sprites.PERSON, 1, sprites.PERSON_OUTFIT), 14: (sprites.COINS, 5)}


def let_in(session, request):
    """The avatar enters the game; a counter check after op 16 in the same frame shows whether
    the client read op 16 to its end (hello, acceptance, list, 11, 16 and the check)."""
    check = counter_check(session.sent_messages + 3)
    return [Frame(enter_game(), attach(AVATAR_ID, EQUIPMENT), check)]


class EnterGameTest(ClientTestCase):
    time_limit = 120

    def test_entering_sends_the_entry_texts_and_closing_leaves_the_game(self):
        scenario = Scenario(avatars=[Avatar(AVATAR_ID, "Aria", shape=sprites.PERSON,
                                            outfit=sprites.PERSON_OUTFIT)],
                            on={(1, 7): let_in})
        server = FakeServer(scenario).start()
        self.addCleanup(server.stop)
        folder = self.run_folder()
        settings = config.test_client_variant("127.0.0.1", server.port, "tester", "secret",
                                              console="join World;;join Trade")
        folder.write("data/" + config.FILE_NAME, settings.file)
        client = self.start_client(folder)

        def texts(transcript):
            return [frame["request"]["text"] for frame in transcript.of("client_frame")
                    if frame.get("request", {}).get("type") == "talk_console"]

        expected = ["teleport sorvan", "join World", "join Trade"]
        self.assertTrue(server.wait_for(lambda t: len(texts(t)) >= 3, 30),
                        "entry texts; transcript: %s" % server.transcript.events)
        self.assertEqual(texts(server.transcript), expected)
        # In the game the connection stays and the client pings every second.
        def pinged(transcript):
            frames = transcript.of("client_frame")
            return sum(f.get("request", {}).get("op") == 240 for f in frames) >= 2

        self.assertTrue(server.wait_for(pinged, 10),
                        "pings; transcript: %s" % server.transcript.events)
        self.assertEqual(server.transcript.of("closed"), [])
        client.wait_window()
        self.assertTrue(client.running())
        self.assertEqual([w for w in client.own_windows()
                          if w.visible and w.class_name == MESSAGE_BOX_CLASS], [])

        # The test client asks nothing: it leaves the game and ends.
        client.close()
        self.assertEqual(client.wait_exit(), 0)
        self.assertTrue(server.wait_for(
            lambda t: any(e["by"] == "client" for e in t.of("closed")), 10))
        self.assertEqual(texts(server.transcript), expected)


if __name__ == "__main__":
    unittest.main()
