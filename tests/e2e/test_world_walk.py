"""A player logs in through the login window, enters the fake server's sample world and walks in
it, with OpenGL and with Direct3D 9: one tile east with the Right arrow key, round a tree to a
clicked tile, and a step the server refuses."""
import time
import unittest

from datagen import shapeflags
from fakeserver import sampleworld
from fakeserver import worldmessages as wm
from fakeserver.requests import sample_shape_flags
from fakeserver.server import Frame
from worldscreen import (DRIVERS, FIELD, STEP_TIME, WorldScreenTestCase, hue, ink_width,
                         mean_difference, near, part, server_ops, text_width, tile_box,
                         tile_centre, walks)

EAST, NORTH_EAST, SOUTH_EAST = 2, 1, 3
# A place in the meadow with a tree two tiles east and free grass round it.
BEFORE_A_TREE = (21, 23, sampleworld.GROUND_FLOOR)
# The notice of a refused step: a line of light grey text at the bottom of the field.
NOTICE = (FIELD[2] // 2 - 100, FIELD[3] - 20, FIELD[2] // 2 + 100, FIELD[3])
NOTICE_GREY, NOTICE_BRIGHTNESS = (224, 224, 224), 300


def picture_moved(before, after, columns):
    """How far the hues of `after` are from those of `before` moved left by `columns` pixels,
    and from those of `before` as it was (mean differences, 0 to 255). Hues, because the
    field's darker edges stay where they are."""
    before, after = hue(before) * 255, hue(after) * 255
    return (mean_difference(before[:, columns:], after[:, :-columns]),
            mean_difference(before, after))


class WorldWalkTest(WorldScreenTestCase):

    def position(self, server):
        return server.sessions[0].world.player.position

    def test_the_right_arrow_walks_one_tile_east(self):
        for driver in DRIVERS:
            with self.subTest(driver=driver), self.playing(driver) as (server, client):
                before = self.field_picture(client)
                client.key("Right")
                self.wait(server, walks, "a walk")
                self.assertEqual(walks(server.transcript)[0], EAST)
                self.wait(server, lambda t: [wm.STEP] in server_ops(t), "the step")
                x, y, z = sampleworld.START
                self.assertEqual(self.position(server), (x + 1, y, z))
                time.sleep(STEP_TIME)
                self.assertEqual(walks(server.transcript), [EAST])
                # The view follows the player: the world moved one tile west.
                left, _, right, _ = tile_box(0, 0)
                shifted, unshifted = picture_moved(before, self.field_picture(client),
                                                   right - left)
                self.assertLess(shifted, 2)
                self.assertLess(shifted * 3, unshifted)

    def test_a_click_behind_a_tree_walks_round_it(self):
        x, y, z = BEFORE_A_TREE
        flags = sample_shape_flags()

        def blocks(dx, dy):
            return any(flags.get(shape, 0) & shapeflags.BLOCKING
                       for shape in sampleworld.tile_shapes(x + dx, y + dy, z))
        self.assertTrue(blocks(2, 0))
        self.assertFalse(any(blocks(dx, dy) for dx in range(-1, 5) for dy in (-1, 0, 1)
                             if (dx, dy) != (2, 0)))
        for driver in DRIVERS:
            with self.subTest(driver=driver), \
                    self.playing(driver, BEFORE_A_TREE) as (server, client):
                client.click(*tile_centre(3, 0))
                self.wait(server, lambda t: len(walks(t)) >= 3, "three steps")
                time.sleep(2 * STEP_TIME)
                # East, north-east past the tree and south-east onto the clicked tile.
                self.assertEqual(walks(server.transcript), [EAST, NORTH_EAST, SOUTH_EAST])
                self.assertEqual(self.position(server), (x + 3, y, z))

    def test_a_refused_step_says_so_and_leaves_the_player_on_its_tile(self):
        refuse = {(2, 32): [Frame(wm.walk_refused())], (2, 33): [Frame(wm.walk_refused())]}
        for driver in DRIVERS:
            with self.subTest(driver=driver), self.playing(driver, on=refuse) as (server, client):
                before = self.field_picture(client)
                client.key("Right")
                self.wait(server, lambda t: [wm.WALK_REFUSED] in server_ops(t), "the refusal")
                time.sleep(STEP_TIME)
                after = self.field_picture(client)
                self.assertEqual(walks(server.transcript), [EAST])
                self.assertEqual(self.position(server), sampleworld.START)
                notice = (near(part(after, NOTICE), NOTICE_GREY, darkest=NOTICE_BRIGHTNESS)
                          & ~near(part(before, NOTICE), NOTICE_GREY, darkest=NOTICE_BRIGHTNESS))
                self.assertGreater(notice.sum(), 100, "a notice")
                self.assertAlmostEqual(ink_width(notice), text_width("You cannot walk there."),
                                       delta=4)
                # Elsewhere the picture is the one before the step.
                above = slice(0, NOTICE[1])
                self.assertLess(mean_difference(before[above], after[above]), 2)


if __name__ == "__main__":
    unittest.main()
