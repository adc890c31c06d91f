"""A player logs in through the login window, enters the fake server's sample world and walks
one tile east with the Right arrow key."""
import time
import unittest

from datagen import config
from fakeserver import sampleworld
from fakeserver.sampleworld import SampleWorld
from fakeserver.server import FakeServer, Scenario
from harness import ClientTestCase
from test_front_screens import LOGIN_BUTTON, PASSWORD_INPUT, PLAY_BUTTON, SECOND_AVATAR

ACCOUNT, PASSWORD = "tester", "secret"
# The avatar list's rows are 12 high: the first lies one row above the second.
FIRST_AVATAR = (SECOND_AVATAR[0], SECOND_AVATAR[1] - 12)


class WorldWalkTest(ClientTestCase):
    time_limit = 120

    def wait(self, server, predicate, what, timeout=30):
        self.assertTrue(server.wait_for(predicate, timeout),
                        "%s; transcript: %s" % (what, server.transcript.events))

    def test_the_right_arrow_walks_one_tile_east(self):
        # The persons stand still, so that nothing else steps onto the player's way.
        scenario = Scenario(accounts={ACCOUNT: PASSWORD}, on=SampleWorld(wander=False).handlers())
        server = FakeServer(scenario).start()
        self.addCleanup(server.stop)
        folder = self.run_folder()
        values = config.new_file_values()
        values.update(host="127.0.0.1", port=str(server.port))
        folder.write("data/" + config.FILE_NAME, config.render(values))
        client = self.start_client(folder)
        client.wait_window()
        time.sleep(1)

        client.click(*LOGIN_BUTTON)
        time.sleep(0.5)
        client.type(ACCOUNT)
        client.click(*PASSWORD_INPUT)
        client.type(PASSWORD)
        client.key("Return")
        self.wait(server, lambda t: len(t.of("server_frame")) >= 2, "the avatar list")
        time.sleep(1)
        client.click(*FIRST_AVATAR)
        client.click(*PLAY_BUTTON)
        self.wait(server, lambda t: [11, 16, 18, 48] in [e["ops"] for e in t.of("server_frame")],
                  "the area")
        time.sleep(1)  # the first frames in the game

        client.key("Right")

        def walks(transcript):
            return [f["request"] for f in transcript.of("client_frame")
                    if f.get("request", {}).get("op") == 32]

        self.wait(server, walks, "a walk")
        self.assertEqual(walks(server.transcript)[0]["direction"], 2)
        self.wait(server, lambda t: [56] in [e["ops"] for e in t.of("server_frame")], "the step")
        x, y, z = sampleworld.START
        self.assertEqual(server.sessions[0].world.player.position, (x + 1, y, z))
        self.assertEqual(server.transcript.of("closed"), [])
        self.assertTrue(client.running())


if __name__ == "__main__":
    unittest.main()
