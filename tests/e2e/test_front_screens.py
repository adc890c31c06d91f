"""A new player in front of the game: the client starts with ordinary settings (not the test
client's), and the player logs in through the login window with the mouse and the keyboard,
picks an avatar, sees the CAPS Lock warning, and quits from the main screen."""
import tempfile
import time
import unittest
from pathlib import Path

from PIL import Image

from datagen import sprites
from fakeserver.messages import Avatar, hello
from fakeserver.server import Frame, Scenario
from harness.frontscreens import EXIT_BUTTON, SECOND_AVATAR, WARNING_LINE, FrontScreensCase

ACCOUNT, PASSWORD = "player", "hunter2"


def two_avatars():
    return [Avatar(1001, "Aria", shape=sprites.PERSON, outfit=sprites.PERSON_OUTFIT),
            Avatar(1002, "Bram", shape=sprites.PERSON, outfit=sprites.PERSON_OUTFIT)]


class FrontScreensTest(FrontScreensCase):
    def start(self, scenario=None):
        return super().start(scenario or Scenario(accounts={ACCOUNT: PASSWORD},
                                                  avatars=two_avatars()))

    def test_logging_in_through_the_login_window_sends_the_typed_credentials(self):
        server, client = self.start()
        self.log_in(client, ACCOUNT, PASSWORD)
        login = self.request(server, 2)
        self.assertEqual(login["request"]["account"], ACCOUNT)
        self.assertTrue(login["request"]["login_ok"], "the block's key is the password's")
        self.assertEqual(login["counter"], 1)

    def test_the_chosen_avatar_is_played(self):
        server, client = self.start()
        self.log_in(client, ACCOUNT, PASSWORD)
        self.play(server, client, SECOND_AVATAR)
        select = self.request(server, 7)
        self.assertEqual(select["request"]["avatar_id"], 1002)
        self.assertTrue(select["encrypted"])
        self.assertEqual((select["counter"], select["expected_counter"]), (3, 3))

    def test_an_empty_password_opens_no_connection(self):
        server, client = self.start()
        self.log_in(client, ACCOUNT, "")
        time.sleep(2)
        self.assertEqual(server.transcript.of("connect"), [])
        self.assertTrue(client.running())

    def test_each_cancelled_attempt_shows_its_box_and_the_fourth_logs_in(self):
        # The server accepts the first three connections and stays silent on them.
        def greet_from_the_fourth(session, request):
            return [Frame(hello(session.scenario.challenge))] if session.number > 3 else []

        server, client = self.start(Scenario(accounts={ACCOUNT: PASSWORD}, avatars=two_avatars(),
                                             on={(0, 1): greet_from_the_fourth}))
        main_screen = self.view(client)
        boxes = []
        for attempt in range(1, 4):
            self.log_in(client, ACCOUNT, PASSWORD)
            self.wait(server, lambda t: len(self.requests(server, 1)) == attempt,
                      "the hello of attempt %d" % attempt)
            box = self.find_box(main_screen, self.view(client))
            boxes.append(box)
            self.click(client, *box.right_button())  # "cancel"
            self.wait_closed_by_client(server, attempt)
            self.assert_alike(self.view(client), main_screen,
                              "the box of attempt %d gone" % attempt)
        self.assertEqual([vars(box) for box in boxes], [vars(boxes[0])] * 3,
                         "the same progress box each time")

        self.log_in(client, ACCOUNT, PASSWORD)
        login = self.request(server, 2)
        self.assertEqual(login["session"], 4)
        self.assertEqual(login["request"]["account"], ACCOUNT)
        self.assertTrue(login["request"]["login_ok"])
        self.assertEqual(len(server.transcript.of("connect")), 4)

    def test_the_caps_lock_warning_shows_exactly_while_caps_lock_is_on(self):
        _, client = self.start()
        self.open_login(client)
        self.addCleanup(self.leave_caps_lock_off, client)
        shots = {}
        with tempfile.TemporaryDirectory() as temp:
            for name in ("off", "on", "off again"):
                if name != "off":
                    self.toggle_caps_lock(client)
                time.sleep(0.5)
                path = Path(temp) / (name.replace(" ", "_") + ".png")
                client.session.screenshot(path)
                shots[name] = self.warning_line(client, path)
        reddish = [sum(1 for r, g, b in shots[name] if r > g + 40) for name in shots]
        self.assertEqual(reddish[0], 0, "no warning before CAPS Lock")
        self.assertGreater(reddish[1], 20, "the warning while CAPS Lock is on")
        self.assertEqual(shots["off again"], shots["off"], "gone once CAPS Lock is off")

    caps_lock = False

    def toggle_caps_lock(self, client):
        client.key("Caps_Lock")
        self.caps_lock = not self.caps_lock

    def leave_caps_lock_off(self, client):
        # The display is shared: a test stopped half way must not leave CAPS Lock on.
        if self.caps_lock:
            client.session.xdotool("key", "Caps_Lock")
            self.caps_lock = False

    @staticmethod
    def warning_line(client, path):
        area = client.probe.client_area(client.wait_window().hwnd)
        x, y, width, height = WARNING_LINE
        with Image.open(path) as shot:
            line = shot.convert("RGB").crop((area.x + x, area.y + y, area.x + x + width,
                                             area.y + y + height))
            return list(line.getdata())

    def test_exit_ends_the_program_with_code_zero(self):
        _, client = self.start()
        self.click(client, *EXIT_BUTTON)
        self.assertEqual(client.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
