"""The front screens as a player meets them: a client that starts with the settings a first start
writes (only the server's address set), the places of the main screen, the login window and the
avatar list on its 800 x 600 client area, and the boxes the client draws in the middle of it."""
import tempfile
import time
from pathlib import Path

import numpy
from PIL import Image, ImageChops

from datagen import config
from fakeserver.server import FakeServer
from harness.commands import poll
from harness.testcase import ClientTestCase

# The main screen's column of buttons, 88 x 18 from (356, 250), 28 apart: the first reads
# "Login" without Steam and "Play" with it.
LOGIN_BUTTON = (400, 259)
PLAY_BUTTON_OF_STEAM = LOGIN_BUTTON
EXIT_BUTTON = (400, 343)
# The login window, 226 x 139 at (287, 231): its password input, 100 x 18 at (98, 67), and the
# line of its CAPS Lock warning, at (15, 115).
PASSWORD_INPUT = (435, 307)
# The login window's title band, above the main screen's buttons (left, top, right, bottom).
LOGIN_TITLE = (287, 231, 513, 249)
WARNING_LINE = (302, 344, 120, 14)
# The avatar list, 356 x 249 at (222, 176): its list from (38, 57) with rows 12 high below a
# margin of 4, and "play", 54 x 16 at (290, 221).
SECOND_AVATAR = (310, 255)
FIRST_AVATAR = (SECOND_AVATAR[0], SECOND_AVATAR[1] - 12)
PLAY_BUTTON = (539, 405)
# The boxes' push buttons (54 x 16): "yes", "ok" or "cancel" 66 pixels left of the box's right
# edge, "no" 12 right of its left edge, both 28 above its bottom edge; aimed at their middle.
BOX_BUTTON_MIDDLE = (27, 8)
# A Steam account (its id above 32 bits) and the ticket its Steam hands out for the game server;
# the fake server accepts the ticket when its scenario lists it.
STEAM_ID = 76561198000000042
STEAM_TICKET = bytes.fromhex("140000000a1b2c3d4e5f60718293a4b5c6d7e8f9")
STEAM_TICKET_HANDLE = 7
# The client's ping request, sent once a second in the game and never before.
PING = 240
# Time for a few frames: what an input changes is drawn by then.
SETTLE = 0.7
# The largest difference of a colour channel between two pictures of what is still the same.
ALIKE = 24


def steam_control(ticket_result=1):
    """The Steam stand-in's control text for a Steam that starts as STEAM_ID and hands out
    STEAM_TICKET, its request answered with `ticket_result`."""
    return (f"init 1\nsteam_id {STEAM_ID}\nticket_handle {STEAM_TICKET_HANDLE}\n"
            f"ticket {STEAM_TICKET.hex()}\nticket_result {ticket_result}\n")


def exchange(transcript):
    """The messages of both sides in order, shortly: the client's requests as decoded (pings
    left out) and the opcodes of the server's frames."""
    lines = []
    for event in transcript.events:
        if event["event"] == "server_frame":
            lines.append("server %s" % event["ops"])
        elif event["event"] == "client_frame" and event.get("request", {}).get("op") != 240:
            lines.append("client %s" % event.get("request", event.get("error")))
        elif event["event"] == "closed":
            lines.append("closed by %s" % event["by"])
    return "\n".join([""] + lines)


def enter_game(client, account, password, wait_avatar_list):
    """Without a test case (the demo): logs in through the login window and plays the first
    avatar once wait_avatar_list() has returned."""
    client.click(*LOGIN_BUTTON)
    time.sleep(2 * SETTLE)  # the login window's first frames
    client.type(account)
    client.click(*PASSWORD_INPUT)
    client.type(password)
    client.key("Return")
    wait_avatar_list()
    time.sleep(1)  # its first frames
    client.click(*FIRST_AVATAR)
    client.click(*PLAY_BUTTON)


def leave_game(client):
    """Closes the window in the game: the client asks whether to log out, Return answers yes,
    and the main screen shows again."""
    client.close()
    time.sleep(2 * SETTLE)
    client.key("Return")
    time.sleep(2 * SETTLE)


class Box:
    """A box the client drew centred on its client area, found as the part of the screen it
    changed: its left and top edges (the left one may be its shadow's, 3 pixels further out,
    which the buttons' middles allow for), and its size from its being centred."""

    def __init__(self, left, top, area_width, area_height):
        self.x, self.y = left, top
        self.width, self.height = area_width - 2 * left, area_height - 2 * top

    def right_button(self):
        return (self.x + self.width - 66 + BOX_BUTTON_MIDDLE[0],
                self.y + self.height - 28 + BOX_BUTTON_MIDDLE[1])

    def left_button(self):
        return (self.x + 12 + BOX_BUTTON_MIDDLE[0],
                self.y + self.height - 28 + BOX_BUTTON_MIDDLE[1])

    def __repr__(self):
        return "Box(%d, %d, %d x %d)" % (self.x, self.y, self.width, self.height)


class FrontScreensCase(ClientTestCase):
    """Clients of new players against fake servers, and the view of their client area."""

    time_limit = 120

    def setUp(self):
        super().setUp()
        self._areas = {}

    def start(self, scenario, folder=None, **settings):
        """A fake server playing the scenario and a client whose settings name it, otherwise as
        a first start writes them but for the given `settings` values; returns both once the
        main screen shows."""
        server = FakeServer(scenario).start()
        self.addCleanup(server.stop)
        folder = folder or self.run_folder()
        values = config.new_file_values()
        values.update(host="127.0.0.1", port=str(server.port), **settings)
        folder.write("data/" + config.FILE_NAME, config.render(values))
        client = self.start_client(folder)
        client.wait_window()
        time.sleep(1)  # the first frames
        return server, client

    def open_login(self, client):
        """Clicks Login and waits until the login window is drawn: keys typed before it opened
        would go to the main screen."""
        before = self.view(client).crop(LOGIN_TITLE)
        self.click(client, *LOGIN_BUTTON)
        poll(lambda: self.changed_part(before, self.view(client).crop(LOGIN_TITLE)), 20,
             "login window")

    def log_in(self, client, account, password):
        """Opens the login window, types the account (its input has the focus), moves to the
        password input, types it and presses Enter."""
        self.open_login(client)
        client.type(account)
        self.click(client, *PASSWORD_INPUT)
        client.type(password)
        client.key("Return")

    def play(self, server, client, avatar):
        """Once the avatar list is up, clicks the avatar's name (FIRST_AVATAR, SECOND_AVATAR)
        and "play"."""
        self.wait(server, lambda t: len(t.of("server_frame")) >= 2, "the avatar list")
        time.sleep(1)  # its first frames
        self.click(client, *avatar)
        self.click(client, *PLAY_BUTTON)

    def wait(self, server, predicate, what, timeout=30):
        self.assertTrue(server.wait_for(predicate, timeout),
                        "%s; messages: %s" % (what, exchange(server.transcript)))

    @staticmethod
    def requests(server, op):
        return [f for f in server.transcript.of("client_frame")
                if f.get("request", {}).get("op") == op]

    def request(self, server, op, timeout=30):
        """The first client frame carrying request op, once it arrived."""
        self.wait(server, lambda t: self.requests(server, op), "client request %d" % op, timeout)
        return self.requests(server, op)[0]

    def wait_closed_by_client(self, server, count=1, timeout=30):
        self.wait(server, lambda t: sum(e["by"] == "client" for e in t.of("closed")) >= count,
                  "%d connection(s) closed by the client" % count, timeout)

    def area(self, client):
        """The client area's place on the screen, asked once: the window does not move."""
        if client.pid not in self._areas:
            self._areas[client.pid] = client.probe.client_area(client.wait_window().hwnd)
        return self._areas[client.pid]

    def click(self, client, x, y):
        """Clicks (x, y) of the client area, as Client.click does without asking for the area."""
        area = self.area(client)
        client.session.xdotool("mousemove", "--sync", area.x + x, area.y + y, "click", 1)

    def view(self, client):
        """The client area as an RGB image, once the latest input has been drawn; the pointer
        rests in the top left corner, where it lights up nothing (off the window the client
        would keep the last place the pointer had in it)."""
        area = self.area(client)
        client.session.xdotool("mousemove", area.x + 1, area.y + 1)
        time.sleep(SETTLE)
        with tempfile.TemporaryDirectory() as temp:
            path = Path(temp) / "screen.png"
            client.session.screenshot(path)
            with Image.open(path) as shot:
                return shot.convert("RGB").crop((area.x, area.y, area.x + area.width,
                                                 area.y + area.height))

    @staticmethod
    def changed_part(before, after):
        """The rectangle (left, top, right, bottom) of the client area that differs between two
        images of it, or None when they are alike."""
        return ImageChops.difference(before, after).convert("L").point(
            lambda value: 255 if value > ALIKE else 0).getbbox()

    @staticmethod
    def still_shown(before, shown, now):
        """The share of the pixels that changed from `before` to `shown` and look in `now` as
        they did in `shown`: near 0 once what appeared has gone again, even where the picture
        under it (an animated tile) has changed meanwhile."""
        def changed(one, other):
            return numpy.abs(numpy.asarray(one, dtype=int)
                             - numpy.asarray(other, dtype=int)).max(axis=2) > ALIKE
        appeared = changed(before, shown)
        return float((appeared & ~changed(shown, now)).sum()) / max(1, int(appeared.sum()))

    def find_box(self, before, after):
        """The centred box that appeared between two images of the client area."""
        changed = self.changed_part(before, after)
        self.assertIsNotNone(changed, "no box appeared")
        left, top, _, _ = changed
        box = Box(left, top, after.width, after.height)
        self.assertGreater(box.width, 100, box)
        self.assertGreater(box.height, 80, box)
        return box

    def assert_alike(self, image, reference, what):
        self.assertIsNone(self.changed_part(reference, image), what)
