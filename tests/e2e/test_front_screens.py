"""A new player in front of the game: the client starts with ordinary settings (not the test
client's), and the player logs in through the login window with the mouse and the keyboard,
picks an avatar, sees the CAPS Lock warning, and quits from the main screen."""
import tempfile
import time
import unittest
from pathlib import Path

from PIL import Image

from datagen import config, sprites
from fakeserver.messages import Avatar
from fakeserver.server import FakeServer, Scenario
from harness import ClientTestCase

ACCOUNT, PASSWORD = "player", "hunter2"

# Places on the 800 x 600 client area. The main screen's column of buttons, 88 x 18 from
# (356, 250), 28 apart.
LOGIN_BUTTON = (400, 259)
EXIT_BUTTON = (400, 343)
# The login window, 226 x 139 at (287, 231): its password input, 100 x 18 at (98, 67), and the
# line of its CAPS Lock warning, at (15, 115).
PASSWORD_INPUT = (435, 307)
WARNING_LINE = (302, 344, 120, 14)
# The avatar list, 356 x 249 at (222, 176): its list from (38, 57) with rows 12 high below a
# margin of 4, and "play", 54 x 16 at (290, 221).
SECOND_AVATAR = (310, 255)
PLAY_BUTTON = (539, 405)


def two_avatars():
    return [Avatar(1001, "Aria", shape=sprites.PERSON, outfit=sprites.PERSON_OUTFIT),
            Avatar(1002, "Bram", shape=sprites.PERSON, outfit=sprites.PERSON_OUTFIT)]


class FrontScreensTest(ClientTestCase):
    time_limit = 120

    def start(self, scenario=None):
        """A fake server and a client whose settings name it, otherwise as a first start writes
        them; returns both once the main screen shows."""
        scenario = scenario or Scenario(accounts={ACCOUNT: PASSWORD}, avatars=two_avatars())
        server = FakeServer(scenario).start()
        self.addCleanup(server.stop)
        folder = self.run_folder()
        values = config.new_file_values()
        values.update(host="127.0.0.1", port=str(server.port))
        folder.write("data/" + config.FILE_NAME, config.render(values))
        client = self.start_client(folder)
        client.wait_window()
        time.sleep(1)  # the first frames
        return server, client

    def open_login(self, client):
        client.click(*LOGIN_BUTTON)
        time.sleep(0.5)

    def wait(self, server, predicate, what, timeout=30):
        self.assertTrue(server.wait_for(predicate, timeout),
                        "%s; transcript: %s" % (what, server.transcript.events))

    def request(self, server, op, timeout=30):
        def sent(t):
            return [f for f in t.of("client_frame") if f.get("request", {}).get("op") == op]
        self.wait(server, sent, "client request %d" % op, timeout)
        return sent(server.transcript)[0]

    def log_in(self, client, account, password):
        self.open_login(client)
        client.type(account)  # the account input has the focus
        client.click(*PASSWORD_INPUT)
        client.type(password)
        client.key("Return")

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
        self.wait(server, lambda t: len(t.of("server_frame")) >= 2, "the avatar list")
        time.sleep(1)
        client.click(*SECOND_AVATAR)
        client.click(*PLAY_BUTTON)
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
        client.click(*EXIT_BUTTON)
        self.assertEqual(client.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
