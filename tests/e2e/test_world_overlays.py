"""What the server makes appear over the game field, with OpenGL and with Direct3D 9: a
floating damage number rises red over a creature and is gone within 1.5 s, a missile flies
from tile to tile, and a light word of darkness level 8 blacks out the field except around the
torch. The pictures are read straight from the screen, fast enough to catch what lasts a
fraction of a second."""
import threading
import time
import unittest

import numpy

from datagen import sprites
from fakeserver import sampleworld
from fakeserver import worldmessages as wm
from fakeserver.server import Frame
from harness.commands import poll
from worldscreen import DRIVERS, WorldScreenTestCase, mean_difference, part, tile_box

# The sparring partner, 1 tile east and 3 north of the start; the damage number's kind.
PARTNER = next(c for c in sampleworld.sample_creatures() if c.id == sampleworld.SPARRING_PARTNER)
DAMAGE_KIND = 2
# A number lives 1280 ms from the frame that made it; none is left 1.5 s after it first showed.
NUMBER_GONE = 1.5
# The number's red (224, 64, 64) over the grass: red well above green and blue. Text has soft
# edges: a number shows at least this many such pixels that were not red before.
REDDER, RED = 50, 110
NUMBER_INK = 8

# A missile over the clear row of the start, 5 tiles west of the player to 1 tile west, shown
# with the person's direction shapes; it flies for 320 ms.
MISSILE_FROM, MISSILE_TO = (-5, 0), (-1, 0)
FLIGHT = 0.32
# A tile the missile passes differs from the still picture by more than this (0 to 255).
PASSING = 4

# The torch's house, and the darkest light word: darkness level 8 with the day flag.
IN_THE_HOUSE = (24, 11, sampleworld.GROUND_FLOOR)
TORCH = (21, 9)
BLACK_WORD = 0x80 | 8
# Darkness leaves no more than this of the daylight brightness away from the torch, and at least
# this on the torch's tile.
BLACK, LIT = 0.08, 0.5
# Tiles far from the torch: in the meadow east of the house, and west and south of it.
FAR_FROM_THE_TORCH = [(7, 0), (8, 1), (-8, 4), (7, -5)]

# What the client shows may take seconds to come on a loaded machine.
SHOWN = 30
# Pictures are taken one after another with this pause between them, which leaves the client
# the processor for its frames: on two cores a loop without pauses slows it down so much that
# a missile's 320-ms flight falls between two frames.
GRAB_PAUSE = 0.03
# Missiles in flight are caught only by pictures that fall into a flight: more time for them.
MISSILES_SEEN = 60


def tiles_box(first, last):
    """The field picture's box over the tiles from the top-left (dx, dy) to the bottom-right
    one, both included."""
    left, top, _, _ = tile_box(*first)
    _, _, right, bottom = tile_box(*last)
    return left, top, right, bottom


def red(picture):
    """Which pixels are of a clear red."""
    r, g, b = (picture[..., channel].astype(int) for channel in range(3))
    return (r > g + REDDER) & (r > b + REDDER) & (r > RED)


def brightness(picture, dx, dy):
    return float(part(picture, tile_box(dx, dy)).mean())


class WorldOverlaysTest(WorldScreenTestCase):
    time_limit = 580

    def check_damage_number(self, server, client):
        x, y, _ = sampleworld.START
        dx, dy = PARTNER.position[0] - x, PARTNER.position[1] - y
        # The number is drawn right-aligned a quarter tile into the partner's tile and rises up
        # to 64 pixels.
        around = tiles_box((dx - 1, dy - 3), (dx + 1, dy + 1))
        still = red(part(self.field_picture(client), around))
        server.sessions[0].perform([Frame(wm.creature_damage(
            PARTNER.id, PARTNER.health, DAMAGE_KIND, 15))])
        # Newly red pixels, picture by picture, until the number has been seen and gone.
        shown = []

        def shown_and_gone():
            picture = self.field_picture(client)
            shown.append((time.monotonic(), red(part(picture, around)) & ~still))
            inked = [at for at, ink in shown if ink.sum() >= NUMBER_INK]
            return inked and time.monotonic() > inked[0] + NUMBER_GONE + 0.5
        poll(shown_and_gone, SHOWN, "damage number", interval=GRAB_PAUSE)

        inked = [(at, ink) for at, ink in shown if ink.sum() >= NUMBER_INK]
        first = inked[0][0]
        self.assertLess(inked[-1][0] - first, NUMBER_GONE, "no number after %.1f s" % NUMBER_GONE)
        # Lower rows first, higher later: the mean row of the red pixels goes up.
        rows = [float(numpy.nonzero(ink)[0].mean()) for _, ink in inked]
        self.assertGreater(len(rows), 1, "the number in several pictures")
        self.assertLess(rows[-1], rows[0] - 8, "the number rises")
        self.assertEqual(int(shown[-1][1].sum()), 0, "the number is gone")

    def check_missiles(self, server, client):
        path = tiles_box(MISSILE_FROM, MISSILE_TO)
        columns = [tile_box(dx, MISSILE_FROM[1])
                   for dx in range(MISSILE_FROM[0], MISSILE_TO[0] + 1)]
        still = self.field_picture(client)
        stop = threading.Event()

        def shoot():
            # One missile after the other, so that pictures find them in flight at different
            # places.
            while not stop.is_set():
                server.sessions[0].perform([Frame(wm.missile(
                    MISSILE_FROM, MISSILE_TO, 100, sprites.PERSON,
                    sub_id=sprites.PERSON_OUTFIT))])
                stop.wait(FLIGHT + 0.1)
        shooter = threading.Thread(target=shoot, daemon=True)
        shooter.start()
        # Which of the row's tiles differ from the still picture, picture by picture.
        passed = set()

        def seen_between_the_ends():
            picture = self.field_picture(client)
            passed.add(tuple(mean_difference(part(picture, column), part(still, column))
                             > PASSING for column in columns))
            between = {p for p in passed if any(p[1:-1])}
            return len(between) > 1
        try:
            poll(seen_between_the_ends, MISSILES_SEEN,
                 "missiles between their ends at different places", interval=GRAB_PAUSE)
        finally:
            stop.set()
            shooter.join()

        # Once they have all arrived, none is left.
        poll(lambda: mean_difference(part(self.field_picture(client), path),
                                     part(still, path)) < 1, SHOWN, "the row without missiles")

    def check_darkness(self, server, client):
        x, y, _ = IN_THE_HOUSE
        torch = (TORCH[0] - x, TORCH[1] - y)
        day = self.field_picture(client)
        for tile in [torch] + FAR_FROM_THE_TORCH:
            self.assertGreater(brightness(day, *tile), 20, "daylight at %d, %d" % tile)
        server.sessions[0].perform([Frame(wm.light(BLACK_WORD))])

        def kept(picture, tile):
            return brightness(picture, *tile) / brightness(day, *tile)
        def black_away_from_the_torch():
            picture = self.field_picture(client)
            far = [kept(picture, tile) < BLACK for tile in FAR_FROM_THE_TORCH]
            return [picture] if all(far) else None
        # The darkness comes in over 550 ms of the client's frames.
        dark, = poll(black_away_from_the_torch, SHOWN, "black away from the torch")
        self.assertGreater(kept(dark, torch), LIT, "the torch's tile")

    def test_a_damage_number_rises_and_goes_and_missiles_fly(self):
        for driver in DRIVERS:
            with self.subTest(driver=driver), self.playing(driver) as (server, client):
                self.field_picture(client)  # the window's place, asked once
                with self.subTest(driver=driver, overlay="number"):
                    self.check_damage_number(server, client)
                with self.subTest(driver=driver, overlay="missiles"):
                    self.check_missiles(server, client)

    def test_darkness_level_8_blacks_out_all_but_the_torch(self):
        for driver in DRIVERS:
            with self.subTest(driver=driver), \
                    self.playing(driver, IN_THE_HOUSE) as (server, client):
                self.check_darkness(server, client)

if __name__ == "__main__":
    unittest.main()
