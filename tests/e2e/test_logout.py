"""A player in the game closes the client's window: the client asks before logging out, asks only
once however often the window is closed, goes on playing after "no", and after "yes" drops the
connection and shows the main screen again, from which Exit ends the program."""
import unittest

from PIL import ImageDraw

from datagen import sprites
from fakeserver.gamemessages import attach
from fakeserver.messages import Avatar, enter_game
from fakeserver.server import Frame, Scenario
from harness.frontscreens import EXIT_BUTTON, FIRST_AVATAR, PING, FrontScreensCase

ACCOUNT, PASSWORD = "player", "hunter2"
AVATAR_ID = 1001
# In the game the console's chat line holds the focus and its caret blinks: the comparisons leave
# out the strip of the client area it lies in (x, y, right, bottom).
CHAT_LINE_STRIP = (0, 570, 800, 600)


class LogoutTest(FrontScreensCase):
    time_limit = 240

    def view(self, client):
        image = super().view(client)
        ImageDraw.Draw(image).rectangle(CHAT_LINE_STRIP, fill=(0, 0, 0))
        return image

    def enter_game(self):
        scenario = Scenario(accounts={ACCOUNT: PASSWORD},
                            avatars=[Avatar(AVATAR_ID, "Aria", shape=sprites.PERSON,
                                            outfit=sprites.PERSON_OUTFIT)],
                            on={(1, 7): [Frame(enter_game(), attach(AVATAR_ID))]})
        # Without push-to-talk the chat draws no pulsing typing hint: the screen stays still.
        server, client = self.start(scenario, push="false")
        main_screen = self.view(client)
        self.log_in(client, ACCOUNT, PASSWORD)
        self.play(server, client, FIRST_AVATAR)
        self.wait(server, lambda t: self.requests(server, PING), "a ping in the game")
        return server, client, main_screen

    def closed_by_client(self, server):
        return [e for e in server.transcript.of("closed") if e["by"] == "client"]

    def test_closing_in_game_asks_once_and_yes_returns_to_the_main_screen(self):
        server, client, main_screen = self.enter_game()
        game = self.view(client)

        client.close()
        asked = self.view(client)
        box = self.find_box(game, asked)
        client.close()
        self.assert_alike(self.view(client), asked, "a second close request opens nothing")

        self.click(client, *box.left_button())  # "no"
        self.assert_alike(self.view(client), game, "after no the one box is gone")
        self.assertEqual(self.closed_by_client(server), [])

        client.close()
        self.assert_alike(self.view(client), asked, "the question again")
        self.click(client, *box.right_button())  # "yes"
        self.wait_closed_by_client(server)
        self.assert_alike(self.view(client), main_screen, "the main screen after leaving")
        self.click(client, *EXIT_BUTTON)
        self.assertEqual(client.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
