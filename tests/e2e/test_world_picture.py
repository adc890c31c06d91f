"""The sample world on the game field, with OpenGL and with Direct3D 9: the ground, the house's
walls, the trees and the persons with their names stand where the fake server placed them, the
player carries its name and bars, and both drivers draw the same picture."""
import time
import unittest

import numpy

from datagen import sprites
from fakeserver import sampleworld
from fakeserver import worldmessages as wm
from fakeserver.server import Frame
from worldscreen import (DARK_EDGES, DRIVERS, OVERLAY_TILE, PLAYER_ROW, STEP_TIME, TEXT_HUE,
                         WorldScreenTestCase, count_near, hue, in_view, mean_difference, near,
                         nearest, part, tile_box)

# The sample art's colours: the ground tiles' base colours, the tree trunk, the persons' skin,
# the names' colour at full health, and the health bar.
GROUND_COLOURS = {sprites.GRASS: (62, 128, 52), sprites.DIRT: (132, 98, 62),
                  sprites.WATER: (40, 88, 170)}
TRUNK = (110, 74, 40)
SKIN = (236, 188, 150)
FULL_HEALTH_NAME = (40, 180, 40)
HEALTH_BAR = (234, 36, 27)
# A grey wall: red, green and blue shares within this of each other.
GREY = 0.1

# The two drivers' pictures agree when they differ by at most this much on average (0 to 255)
# and when at most this share of the pixels differs by more than STRAY in a channel. The same
# picture moved by one pixel differs by about 3.5 on average; a missing layer or another colour
# order by far more.
AGREEMENT = 2.0
STRAY, STRAY_SHARE = 64, 0.005


def ground_floor(dx, dy):
    x, y, z = sampleworld.START
    return sampleworld.tile_shapes(x + dx, y + dy, z)


def persons_in_view():
    """The persons on the player's floor in view, (name, dx, dy)."""
    x, y, z = sampleworld.START
    return [(c.name, c.position[0] - x, c.position[1] - y) for c in sampleworld.sample_creatures()
            if c.position[2] == z and in_view(c.position[0] - x, c.position[1] - y)]


def under_the_house(dx, dy):
    """Tiles the house (its walls, its upper storey, drawn a floor higher) may cover."""
    x, y, _ = sampleworld.START
    left, top, right, bottom = sampleworld.HOUSE
    return left - 1 <= x + dx <= right + 1 and top - 2 <= y + dy <= bottom + 1


def plain_ground(dx, dy, occupied):
    """The ground shape of a tile that shows nothing but its ground: no person on it or below
    it (names are drawn above), no tall thing to the south or east, and not by the house."""
    shapes = ground_floor(dx, dy)
    if len(shapes) != 1 or shapes[0] not in GROUND_COLOURS or under_the_house(dx, dy):
        return None
    neighbours = [(dx + i, dy + j) for i in (-1, 0, 1, 2) for j in (0, 1, 2)]
    if any(n in occupied for n in neighbours):
        return None
    if any(len(ground_floor(*n)) > 1 for n in neighbours if n != (dx, dy)):
        return None
    return shapes[0]


def name_band(dx, dy):
    """Where the name (and bars) of a creature on the tile dx, dy is drawn: above its tile."""
    left, top, right, _ = tile_box(dx, dy)
    middle = (left + right) // 2
    return (middle - 2 * OVERLAY_TILE, top - 2 * OVERLAY_TILE, middle + 2 * OVERLAY_TILE,
            top + OVERLAY_TILE // 2)


class WorldPictureTest(WorldScreenTestCase):

    def check_picture(self, picture):
        persons = persons_in_view()
        occupied = {(dx, dy) for _, dx, dy in persons} | {(0, 0)}
        # The ground: every plain tile shows the colour of its ground.
        wrong, plain = [], 0
        for dy in range(-7, 8):
            for dx in range(-9, 10):
                shape = plain_ground(dx, dy, occupied)
                if shape is None:
                    continue
                plain += 1
                median = numpy.median(part(picture, tile_box(dx, dy), 3).reshape(-1, 3), axis=0)
                if nearest(median, GROUND_COLOURS) != shape:
                    wrong.append(((dx, dy), shape, median.tolist()))
        self.assertGreater(plain, 30)
        self.assertEqual(wrong, [], "tiles showing another ground")

        # The trees: their trunks stand on their tiles, and none stand on plain grass.
        trees = [(dx, dy) for dy in range(-6, 8) for dx in range(-9, 10)
                 if ground_floor(dx, dy)[-1:] == [sprites.TREE] and not under_the_house(dx, dy)]
        self.assertGreater(len(trees), 3)
        for dx, dy in trees:
            self.assertGreater(count_near(self.tall(picture, dx, dy), TRUNK, darkest=DARK_EDGES),
                               20, "a trunk at %d, %d" % (dx, dy))
        grass = [(dx, dy) for dy in range(-6, 8) for dx in range(-9, 10)
                 if plain_ground(dx, dy, occupied) == sprites.GRASS
                 and plain_ground(dx, dy - 1, occupied) == sprites.GRASS]
        self.assertGreater(len(grass), 8)
        for dx, dy in grass:
            self.assertLess(count_near(self.tall(picture, dx, dy), TRUNK, darkest=DARK_EDGES), 5,
                            "no trunk at %d, %d" % (dx, dy))

        # The house's walls: its south wall, grey stone, where the grass would be green.
        x, y, _ = sampleworld.START
        left, _, _, bottom = sampleworld.HOUSE
        walls = [(wx - x, bottom - y) for wx in range(left, x + 10)
                 if (wx, bottom) != sampleworld.DOOR]
        for dx, dy in walls:
            shares = hue(numpy.median(part(picture, tile_box(dx, dy), 3).reshape(-1, 3), axis=0))
            self.assertLess(shares.max() - shares.min(), GREY, "grey wall at %d, %d" % (dx, dy))

        # The persons, each with its name above it, and the player with its bars.
        # Those in the top row have their names above the field.
        below_the_top = [p for p in persons if p[2] > -PLAYER_ROW]
        self.assertGreater(len(below_the_top), 8)
        for name, dx, dy in below_the_top + [("the player", 0, 0)]:
            self.assertGreater(count_near(self.tall(picture, dx, dy), SKIN), 20,
                               "%s at %d, %d" % (name, dx, dy))
            self.assertGreaterEqual(self.text(picture, name_band(dx, dy), FULL_HEALTH_NAME), 8,
                                    "the name of %s" % name)
        self.assertGreater(self.text(picture, name_band(0, 0), HEALTH_BAR), 40,
                           "the player's health bar")
        for dx, dy in grass:
            self.assertLess(self.text(picture, tile_box(dx, dy), FULL_HEALTH_NAME), 3,
                            "no name over %d, %d" % (dx, dy))

    @staticmethod
    def text(picture, box, colour):
        """How many pixels of a box show text in the colour."""
        return count_near(part(picture, box), colour, TEXT_HUE, DARK_EDGES)

    @staticmethod
    def tall(picture, dx, dy):
        """A tile and the one above it: tall things reach up into it."""
        left, top, right, bottom = tile_box(dx, dy)
        return part(picture, (left, top - (bottom - top), right, bottom))

    def test_the_world_stands_where_the_server_placed_it_and_both_drivers_agree(self):
        pictures = {}
        for driver in DRIVERS:
            with self.subTest(driver=driver), self.playing(driver) as (_, client):
                pictures[driver] = self.field_picture(client)
                self.check_picture(pictures[driver])
        self.assertEqual(len(pictures), 2)
        opengl, direct3d = pictures.values()
        self.assertLess(mean_difference(opengl, direct3d), AGREEMENT)
        strays = (numpy.abs(opengl.astype(int) - direct3d.astype(int)) > STRAY).any(axis=2)
        self.assertLess(strays.mean(), STRAY_SHARE)
        # The same comparison tells a picture one pixel off.
        self.assertGreater(mean_difference(opengl, numpy.roll(direct3d, 1, axis=1)), AGREEMENT)

    def test_a_person_stepping_moves_on_screen(self):
        east = wm.DELTAS.index((1, 0))
        for driver in DRIVERS:
            with self.subTest(driver=driver), self.playing(driver) as (server, client):
                before = self.field_picture(client)
                world = server.sessions[0].world
                with world.lock:
                    # The first person near the player who may step east (op 104).
                    for name, dx, dy in persons_in_view():
                        if abs(dx) < 8 and abs(dy) < 6 and name != "Sparring Partner":
                            person = next(c for c in world.creatures.values() if c.name == name)
                            step = world.step_creature(person, east)
                            if step:
                                break
                    self.assertEqual([message[0] for message in step], [104])
                    world.session.perform([Frame(*step)])
                time.sleep(STEP_TIME)
                after = self.field_picture(client)
                skin = [(count_near(self.tall(shot, dx, dy), SKIN),
                         count_near(self.tall(shot, dx + 1, dy), SKIN))
                        for shot in (before, after)]
                self.assertGreater(skin[0][0], 20, "%s on its tile" % name)
                self.assertLess(skin[1][0], skin[0][0] / 2, "%s left its tile" % name)
                self.assertGreater(skin[1][1], 20, "%s on the tile east" % name)
                # Its name went along: the middle of the name's pixels moved a tile east.
                left, top, _, bottom = name_band(dx, dy)
                band = (left, top, name_band(dx + 1, dy)[2], bottom)
                middles = []
                for shot in (before, after):
                    ink = near(part(shot, band), FULL_HEALTH_NAME, TEXT_HUE, DARK_EDGES)
                    middles.append(numpy.nonzero(ink)[1].mean())
                self.assertAlmostEqual(middles[1] - middles[0], OVERLAY_TILE,
                                       delta=OVERLAY_TILE / 3)

if __name__ == "__main__":
    unittest.main()
