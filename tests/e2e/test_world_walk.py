"""A player logs in through the login window, enters the fake server's sample world and walks
one tile east with the Right arrow key."""
import time
import unittest

from fakeserver import sampleworld
from fakeserver.sampleworld import SampleWorld
from fakeserver.server import Scenario
from harness.frontscreens import FIRST_AVATAR, FrontScreensCase

ACCOUNT, PASSWORD = "tester", "secret"


class WorldWalkTest(FrontScreensCase):
    def test_the_right_arrow_walks_one_tile_east(self):
        # The persons stand still, so that nothing else steps onto the player's way.
        scenario = Scenario(accounts={ACCOUNT: PASSWORD}, on=SampleWorld(wander=False).handlers())
        server, client = self.start(scenario)
        self.log_in(client, ACCOUNT, PASSWORD)
        self.play(server, client, FIRST_AVATAR)
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
