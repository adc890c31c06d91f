"""What the server makes appear over the game field, with OpenGL and with Direct3D 9: a
floating damage number rises red over a creature and is gone within 1.5 s, a missile flies
from tile to tile, and a light word of darkness level 8 blacks out the field except around the
torch."""
import threading
import time
import unittest

import numpy

from datagen import sprites
from fakeserver import sampleworld
from fakeserver import worldmessages as wm
from fakeserver.server import Frame
from worldscreen import (DRIVERS, TEXT_HUE, WorldScreenTestCase, mean_difference, near, part,
                         tile_box)

# The sparring partner, 1 tile east and 3 north of the start; the damage number's red.
PARTNER = next(c for c in sampleworld.sample_creatures() if c.id == sampleworld.SPARRING_PARTNER)
DAMAGE_RED = (224, 64, 64)
DAMAGE_KIND = 2
# A number lives 1280 ms; the frames after that have none.
NUMBER_GONE = 1.5
# Text has soft edges: a number shows at least this many pixels of its red.
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
# The darkness comes in 550 ms.
DARKENING = 1.5
# Darkness leaves no more than this of the daylight brightness away from the torch, and at least
# this on the torch's tile.
BLACK, LIT = 0.08, 0.5


def tiles_box(first, last):
    """The field picture's box over the tiles from the top-left (dx, dy) to the bottom-right
    one, both included."""
    left, top, _, _ = tile_box(*first)
    _, _, right, bottom = tile_box(*last)
    return left, top, right, bottom


def brightness(picture, dx, dy):
    return float(part(picture, tile_box(dx, dy)).mean())


class WorldOverlaysTest(WorldScreenTestCase):

    def pictures_for(self, client, seconds):
        """Pictures of the field taken one after another for `seconds`: (time, picture)."""
        pictures, end = [], time.monotonic() + seconds
        while time.monotonic() < end:
            pictures.append((time.monotonic(), self.field_picture(client)))
        return pictures

    def test_a_damage_number_rises_and_goes(self):
        x, y, _ = sampleworld.START
        dx, dy = PARTNER.position[0] - x, PARTNER.position[1] - y
        # The number starts over the partner's tile and rises up to 64 pixels.
        around = tiles_box((dx - 1, dy - 3), (dx + 1, dy + 1))
        for driver in DRIVERS:
            with self.subTest(driver=driver), self.playing(driver) as (server, client):
                def red(picture):
                    return near(part(picture, around), DAMAGE_RED, TEXT_HUE)

                still = int(red(self.field_picture(client)).sum())
                sent = time.monotonic()
                server.sessions[0].perform([Frame(wm.creature_damage(
                    PARTNER.id, PARTNER.health, DAMAGE_KIND, 15))])
                shown = [(at - sent, red(picture))
                         for at, picture in self.pictures_for(client, NUMBER_GONE + 0.5)]
                inked = [(at, ink) for at, ink in shown if ink.sum() >= still + NUMBER_INK]
                self.assertTrue(inked, "a red number over the partner")
                # Lower rows first, higher later: the mean row of the red pixels goes up.
                rows = [float(numpy.nonzero(ink)[0].mean()) for _, ink in inked]
                if len(rows) > 1:
                    self.assertLess(rows[-1], rows[0], "the number rises")
                self.assertTrue(all(at < NUMBER_GONE for at, _ in inked),
                                "no number after %.1f s" % NUMBER_GONE)
                gone = [ink.sum() for at, ink in shown if at >= NUMBER_GONE]
                self.assertTrue(gone and gone[-1] <= still, "the number is gone")

    def test_a_missile_flies(self):
        path = tiles_box(MISSILE_FROM, MISSILE_TO)
        columns = [tile_box(dx, 0) for dx in range(MISSILE_FROM[0], MISSILE_TO[0] + 1)]
        for driver in DRIVERS:
            with self.subTest(driver=driver), self.playing(driver) as (server, client):
                still = self.field_picture(client)
                stop = threading.Event()

                def shoot():
                    # One missile after the other, so that pictures find them in flight at
                    # different places.
                    while not stop.is_set():
                        server.sessions[0].perform([Frame(wm.missile(
                            MISSILE_FROM, MISSILE_TO, 100, sprites.PERSON,
                            sub_id=sprites.PERSON_OUTFIT))])
                        stop.wait(FLIGHT + 0.1)
                shooter = threading.Thread(target=shoot, daemon=True)
                shooter.start()
                try:
                    pictures = [picture for _, picture in self.pictures_for(client, 4)]
                finally:
                    stop.set()
                    shooter.join()

                # Which of the row's tiles differ from the still picture, picture by picture.
                passed = [tuple(mean_difference(part(picture, column), part(still, column))
                                > PASSING for column in columns) for picture in pictures]
                inside = [p for p in passed if any(p[1:-1])]
                self.assertTrue(inside, "a missile between its ends")
                self.assertGreater(len(set(passed)), 1, "missiles at different places")

                time.sleep(FLIGHT + 0.5)
                after = self.field_picture(client)
                self.assertLess(mean_difference(part(after, path), part(still, path)), 1,
                                "no missile left once they have all arrived")

    def test_darkness_level_8_blacks_out_all_but_the_torch(self):
        x, y, _ = IN_THE_HOUSE
        torch = (TORCH[0] - x, TORCH[1] - y)
        for driver in DRIVERS:
            with self.subTest(driver=driver), \
                    self.playing(driver, IN_THE_HOUSE) as (server, client):
                day = self.field_picture(client)
                server.sessions[0].perform([Frame(wm.light(BLACK_WORD))])
                time.sleep(DARKENING)
                dark = self.field_picture(client)

                def kept(dx, dy):
                    by_day = brightness(day, dx, dy)
                    self.assertGreater(by_day, 20, "daylight at %d, %d" % (dx, dy))
                    return brightness(dark, dx, dy) / by_day
                self.assertGreater(kept(*torch), LIT, "the torch's tile")
                for far in [(7, 0), (8, 1), (-8, 4), (7, -5)]:
                    self.assertLess(kept(*far), BLACK, "black at %d, %d" % far)


if __name__ == "__main__":
    unittest.main()
