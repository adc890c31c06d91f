"""The popup menu in the game, with OpenGL and with Direct3D 9: a Shift+right click on the chest
beside the player opens a menu of two rows at the click; choosing "Examine" asks the server to
look at the chest; a menu left alone is gone after ten seconds."""
import time
import unittest

import numpy

from datagen import sprites
from fakeserver import sampleworld
from worldscreen import (DRIVERS, FIELD, WorldScreenTestCase, ink_width, mean_difference, part,
                         text_width, tile_centre)

# Inside the house, with the chest on the next tile east.
BESIDE_THE_CHEST = (25, 10, sampleworld.GROUND_FLOOR)
CHEST = (1, 0)
# The menu: at least 120 pixels wide; two rows of 20 pixels below a margin of 10, and 1 more.
MENU_WIDTH, MENU_HEIGHT = 120, 51
ROW_PITCH, ROW_TOP = 20, 10
LABEL_LEFT = 10
LOOK_AT_MAP_ITEM = 163
# The menu's translucent black background darkens what lies below it to about 3/8.
DARKENED = 0.6
# The label colour is a light grey.
LABEL_BRIGHTNESS = 500
# Its fade-in; and the ten seconds of its life.
FADE_IN = 0.5
LIFE_TIME = 10


def brightness(picture):
    return numpy.asarray(picture, dtype=int).sum(axis=-1)


class ActionMenuTest(WorldScreenTestCase):

    def shift_right_click(self, client, x, y):
        area = client.probe.client_area(client.wait_window().hwnd)
        client._focus()
        client.session.xdotool("mousemove", "--sync", area.x + x, area.y + y,
                               "keydown", "shift", "click", "3", "keyup", "shift")

    @staticmethod
    def in_field(x, y):
        return x - FIELD[0], y - FIELD[1]

    def darkened_share(self, before, after, box):
        """The share of the box's pixels that `after` shows darkened against `before`."""
        old, new = brightness(part(before, box)), brightness(part(after, box))
        return float(((new < old * DARKENED) | (new > LABEL_BRIGHTNESS)).mean())

    def assert_menu_shown(self, before, after, x, y):
        """The menu of two rows hangs from (x, y) of the field picture with its labels."""
        inside = (x + 2, y + 2, x + MENU_WIDTH - 2, y + MENU_HEIGHT - 2)
        self.assertGreater(self.darkened_share(before, after, inside), 0.9)
        # Right of it and below it the field is as it was.
        right = (x + MENU_WIDTH + 3, y, x + MENU_WIDTH + 20, y + MENU_HEIGHT)
        below = (x, y + MENU_HEIGHT + 3, x + MENU_WIDTH, y + MENU_HEIGHT + 20)
        for box in (right, below):
            self.assertLess(mean_difference(part(before, box), part(after, box)), 3)
        for row, label in enumerate(("Open..", "Examine")):
            top = y + ROW_TOP + row * ROW_PITCH
            # The labels only: the mouse mark of the first row lies at the right edge.
            box = (x + LABEL_LEFT - 2, top - 1, x + MENU_WIDTH - 30, top + 12)
            ink = brightness(part(after, box)) > LABEL_BRIGHTNESS
            self.assertAlmostEqual(ink_width(ink), text_width(label), delta=3, msg=label)

    def assert_menu_gone(self, before, after, x, y):
        box = (x, y, x + MENU_WIDTH, y + MENU_HEIGHT)
        self.assertLess(mean_difference(part(before, box), part(after, box)), 3)

    def test_a_shift_right_click_on_the_chest_opens_its_menu(self):
        click = tile_centre(*CHEST)
        x, y = self.in_field(*click)
        for driver in DRIVERS:
            with self.subTest(driver=driver), \
                    self.playing(driver, BESIDE_THE_CHEST) as (server, client):
                before = self.field_picture(client)
                self.shift_right_click(client, *click)
                time.sleep(FADE_IN)
                self.assert_menu_shown(before, self.field_picture(client), x, y)

                # "Examine" looks at the chest and closes the menu.
                client.click(click[0] + LABEL_LEFT + 10, click[1] + ROW_TOP + ROW_PITCH + 5)
                look = self.request(server, LOOK_AT_MAP_ITEM)["request"]
                self.assertEqual((look["dx"], look["dy"], look["shape"]),
                                 (CHEST[0], CHEST[1], sprites.CHEST))
                time.sleep(FADE_IN)
                self.assert_menu_gone(before, self.field_picture(client), x, y)

                # Left alone, a menu stays until its ten seconds are over.
                self.shift_right_click(client, *click)
                opened = time.monotonic()
                time.sleep(LIFE_TIME - 2)
                self.assert_menu_shown(before, self.field_picture(client), x, y)
                time.sleep(max(0.0, opened + LIFE_TIME + 1 - time.monotonic()))
                self.assert_menu_gone(before, self.field_picture(client), x, y)
                self.assertEqual(len(self.requests(server, LOOK_AT_MAP_ITEM)), 1)


if __name__ == "__main__":
    unittest.main()
