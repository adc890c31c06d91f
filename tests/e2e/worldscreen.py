"""Playing in the fake server's sample world and looking at the game field: a client that logs
in through the login window with either graphics driver, pictures of its field, and where each
tile of the view lies in them."""
import contextlib
import datetime
import functools
import time

import numpy

from datagen import font
from fakeserver import sampleworld
from fakeserver.sampleworld import SampleWorld
from fakeserver.server import Scenario
from harness.commands import poll
from harness.frontscreens import (FIRST_AVATAR, PING, PLAY_BUTTON_OF_STEAM, STEAM_TICKET,
                                  FrontScreensCase, steam_control)

ACCOUNT, PASSWORD = "tester", "secret"
# The settings' names of the two graphics drivers.
DRIVERS = {"OpenGL": "OpenGL", "Direct3D 9": "DirectX"}

# The game field on the 800 x 600 client area with the console below it: (x, y, w, h).
FIELD = (164, 6, 471, 372)
# The view: 19 x 15 tiles of 32 pixels in the world image, the player at column 9, row 7. The
# image is drawn scaled over the field widened by 3 pixels on every side.
VIEW_COLUMNS, VIEW_ROWS, IMAGE_TILE = 19, 15, 32
PLAYER_COLUMN, PLAYER_ROW = 9, 7
IMAGE_MARGIN = 3
# The names and bars drawn over the field use whole pixels per tile.
OVERLAY_TILE = (FIELD[2] + 6) // VIEW_COLUMNS

# Colours are told apart by hue (`hue`): within this distance, and when bright enough.
HUE_DISTANCE, DARKEST = 0.03, 120
# Trunks and texts are drawn in the darker edges of the field too; text has soft edges.
DARK_EDGES = 50
TEXT_HUE = 0.05

# After entering: the field's fade-in (512 ms) and the first frames.
SETTLE_IN_GAME = 2.0
# By the client's second ping the game screen has replaced the front screens, whose "Connecting"
# box would otherwise pass for a drawn, still field on a loaded machine.
IN_GAME_PINGS = 2
# On a loaded machine the first frames of the world may come much later: the field counts as
# drawn once it is no longer black and two pictures a moment apart agree.
FIELD_DRAWN_WITHIN, FIELD_STILL_INTERVAL = 60, 0.3
DRAWN_BRIGHTNESS, STILL_DIFFERENCE = 10, 2
# A step of the player and its slide to the new tile.
STEP_TIME = 1.5


def tile_box(dx, dy):
    """(left, top, right, bottom) of the part of the field picture that shows the tile dx, dy
    from the player's."""
    _, _, width, height = FIELD
    scale_x = (width + 2 * IMAGE_MARGIN) / (VIEW_COLUMNS * IMAGE_TILE)
    scale_y = (height + 2 * IMAGE_MARGIN) / (VIEW_ROWS * IMAGE_TILE)
    left = (PLAYER_COLUMN + dx) * IMAGE_TILE * scale_x - IMAGE_MARGIN
    top = (PLAYER_ROW + dy) * IMAGE_TILE * scale_y - IMAGE_MARGIN
    return (round(left), round(top), round(left + IMAGE_TILE * scale_x),
            round(top + IMAGE_TILE * scale_y))


def tile_centre(dx, dy):
    """The point of the client area at the middle of the tile dx, dy from the player's."""
    left, top, right, bottom = tile_box(dx, dy)
    return FIELD[0] + (left + right) // 2, FIELD[1] + (top + bottom) // 2


def in_view(dx, dy):
    return (abs(dx) <= PLAYER_COLUMN and abs(dy) <= PLAYER_ROW)


def part(picture, box, inset=0):
    """The pixels of a box of a picture (rows x columns x 3), less `inset` on every side."""
    left, top, right, bottom = box
    return picture[max(top + inset, 0):max(bottom - inset, 0),
                   max(left + inset, 0):max(right - inset, 0)]


def hue(colours):
    """Colours without their brightness: red, green and blue as shares of their sum. The field
    is darker towards its edges, and night darkens it all; the hue stays."""
    colours = numpy.asarray(colours, dtype=float)
    return colours / numpy.maximum(colours.sum(axis=-1, keepdims=True), 1)


def near(pixels, colour, distance=HUE_DISTANCE, darkest=DARKEST):
    """Which pixels have nearly the colour's hue (within `distance`) and are not too dark to
    tell (the sum of red, green and blue at least `darkest`)."""
    difference = hue(pixels) - hue(colour)
    return ((numpy.sqrt((difference ** 2).sum(axis=-1)) <= distance)
            & (numpy.asarray(pixels, dtype=int).sum(axis=-1) >= darkest))


def count_near(pixels, colour, distance=HUE_DISTANCE, darkest=DARKEST):
    return int(near(pixels, colour, distance, darkest).sum())


def nearest(colour, colours):
    """The key of `colours` whose hue is nearest to the colour's."""
    return min(colours, key=lambda key: float(((hue(colour) - hue(colours[key])) ** 2).sum()))


def ink_width(ink):
    """The width of what a mask of pixels (rows x columns) marks: from its first to its last
    column."""
    columns = numpy.flatnonzero(ink.any(axis=0))
    return int(columns[-1] - columns[0] + 1) if len(columns) else 0


@functools.lru_cache(maxsize=None)
def _interface_font():
    return {glyph.code: glyph for glyph in font.sample_fonts()[0].glyphs}


def text_width(text):
    """The width of a line of text in the sample interface font (font 1)."""
    glyphs = _interface_font()
    return sum(glyphs[ord(ch)].advance for ch in text[:-1]) + glyphs[ord(text[-1])].width


def mean_difference(first, second):
    """The mean absolute difference of two pictures of the same size (0 to 255)."""
    return float(numpy.abs(first.astype(int) - second.astype(int)).mean())


def channel_log(folder, channel):
    """The records of today's log of the channel in the client's folder, without their time
    stamps."""
    path = folder.path / "logs" / channel / (datetime.date.today().isoformat() + ".txt")
    if not path.exists():
        return []
    return [line.split("] ", 1)[-1] for line in path.read_text("latin-1").splitlines()]


def walks(transcript):
    """The directions of the player's steps the client asked for (requests 32 and 33)."""
    return [frame["request"]["direction"] for frame in transcript.of("client_frame")
            if frame.get("request", {}).get("op") in (32, 33)]


def server_ops(transcript):
    """The opcodes of the messages the server sent, frame by frame."""
    return [event["ops"] for event in transcript.of("server_frame")]


class WorldScreenTestCase(FrontScreensCase):
    """Tests that play in the sample world, usually once with each of the DRIVERS."""

    time_limit = 300

    @contextlib.contextmanager
    def playing(self, driver, start=sampleworld.START, on=None, folder=None,
                connection_stays=True, steam=False, **settings):
        """A fake server with the sample world, the persons standing still and the player at
        `start`, and a client with the driver that has logged in through the login window (with
        `steam`, through Steam by the main screen's Play) and shows the world; both are stopped
        on leaving the block, after checking that the client still runs and, with
        `connection_stays`, that the connection was not closed. `on` adds scenario handlers; the
        client runs in `folder` with the further `settings`."""
        handlers = SampleWorld(wander=False, start=start).handlers()
        handlers.update(on or {})
        scenario = Scenario(accounts={ACCOUNT: PASSWORD}, on=handlers,
                            steam_tickets=[STEAM_TICKET] if steam else [])
        if steam:
            folder = folder or self.run_folder()
            folder.place_steam_stub(steam_control())
        server, client = self.start(scenario, folder, engine=DRIVERS[driver], widescreen="false",
                                    **settings)
        try:
            if steam:
                self.click(client, *PLAY_BUTTON_OF_STEAM)
            else:
                self.log_in(client, ACCOUNT, PASSWORD)
            self.play(server, client, FIRST_AVATAR)
            self.wait(server, lambda t: [11, 16, 18, 48] in server_ops(t), "the area")
            self.wait(server, lambda t: len(self.requests(server, PING)) >= IN_GAME_PINGS,
                      "the client in the game", FIELD_DRAWN_WITHIN)
            time.sleep(SETTLE_IN_GAME)
            self.wait_for_field(client)
            yield server, client
            if connection_stays:
                self.assertEqual(server.transcript.of("closed"), [], "the connection stays")
            self.assertTrue(client.running(), client.output())
        finally:
            client.kill()
            server.stop()

    def wait_for_field(self, client):
        """Waits until the field shows the world and has stopped fading in."""
        def drawn():
            first = self.field_picture(client)
            time.sleep(FIELD_STILL_INTERVAL)
            second = self.field_picture(client)
            return (float(second.mean()) > DRAWN_BRIGHTNESS
                    and mean_difference(first, second) < STILL_DIFFERENCE)
        poll(drawn, FIELD_DRAWN_WITHIN, "world drawn in the field")

    def field_picture(self, client):
        """The game field as it is on screen now: rows x columns x RGB."""
        return self.box_picture(client, FIELD)

    def box_picture(self, client, box):
        """The box (x, y, w, h) of the client area as it is on screen now."""
        left, top, width, height = box
        area = self.area(client)
        pixels = client.session.grab(area.x + left, area.y + top, width, height)
        return numpy.frombuffer(pixels, dtype=numpy.uint8).reshape(height, width, 3)
