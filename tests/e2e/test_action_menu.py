"""The popup menu in the game, with OpenGL and with Direct3D 9: a Shift+right click on the chest
beside the player opens a menu of two rows at the click; choosing "Examine" asks the server to
look at the chest; a menu left alone is gone after ten seconds."""
import time
import unittest

import numpy

from datagen import sprites
from fakeserver import sampleworld
from harness.commands import poll
from worldscreen import (DRIVERS, FIELD, WorldScreenTestCase, ink_width, mean_difference, part,
                         text_width, tile_centre)

# Inside the house, with the chest on the next tile east.
BESIDE_THE_CHEST = (25, 10, sampleworld.GROUND_FLOOR)
CHEST = (1, 0)
# The menu: at least 120 pixels wide; two rows of 20 pixels below a margin of 10, and 1 more.
MENU_WIDTH, MENU_HEIGHT = 120, 51
ROW_PITCH, ROW_TOP = 20, 10
LABEL_LEFT = 10
# The requests of looking at a thing of the field, and of opening it.
LOOK_AT_MAP_ITEM, OPEN_MAP_ITEM = 163, 166
# The menu's translucent black background darkens what lies below it to about 3/8.
DARKENED = 0.6
# The labels' light grey, drawn three quarters opaque over the background: the sum of red, green
# and blue stays above this, while the darkened field under the menu stays below.
LABEL_BRIGHTNESS = 300
# The menu's life: ten seconds from its opening, the last 256 ms fading out.
LIFE_TIME, FADE = 10, 0.256
# How late a picture may show what the client drew: grabs and frames slow down on a loaded
# machine.
PICTURE_LATENCY = 3
# What the client shows may take seconds to come on a loaded machine.
SHOWN = 30


def brightness(picture):
    return numpy.asarray(picture, dtype=int).sum(axis=-1)


class ActionMenuTest(WorldScreenTestCase):

    @staticmethod
    def in_field(x, y):
        return x - FIELD[0], y - FIELD[1]

    @staticmethod
    def darkened_share(before, after, box):
        """The share of the box's pixels that `after` shows darkened against `before`, or
        covered by the labels' light grey."""
        old, new = brightness(part(before, box)), brightness(part(after, box))
        return float(((new < old * DARKENED) | (new > LABEL_BRIGHTNESS)).mean())

    def menu_shown(self, before, after, x, y):
        """Whether the menu of two rows hangs from (x, y) of the field picture with its labels;
        else what differs."""
        inside = (x + 2, y + 2, x + MENU_WIDTH - 2, y + MENU_HEIGHT - 2)
        if self.darkened_share(before, after, inside) <= 0.9:
            return "no menu's background"
        # Right of it and below it the field is as it was.
        right = (x + MENU_WIDTH + 3, y, x + MENU_WIDTH + 20, y + MENU_HEIGHT)
        below = (x, y + MENU_HEIGHT + 3, x + MENU_WIDTH, y + MENU_HEIGHT + 20)
        for box in (right, below):
            if mean_difference(part(before, box), part(after, box)) >= 3:
                return "more than the menu at %s" % (box,)
        for row, label in enumerate(("Open..", "Examine")):
            top = y + ROW_TOP + row * ROW_PITCH
            # The labels only: the mouse mark of the first row lies at the right edge.
            box = (x + LABEL_LEFT - 2, top - 1, x + MENU_WIDTH - 30, top + 12)
            ink = brightness(part(after, box)) > LABEL_BRIGHTNESS
            if abs(ink_width(ink) - text_width(label)) > 3:
                return "no label %r" % label
        return True

    def menu_gone(self, before, after, x, y):
        box = (x, y, x + MENU_WIDTH, y + MENU_HEIGHT)
        return mean_difference(part(before, box), part(after, box)) < 3

    def wait_for_menu(self, client, before, x, y):
        """Waits until the menu shows in full; returns when it was seen."""
        why = []

        def shown():
            found = self.menu_shown(before, self.field_picture(client), x, y)
            why[:] = [found]
            return found is True
        try:
            poll(shown, SHOWN, "menu", interval=0.05)
        except TimeoutError:
            self.fail("no menu at (%d, %d): %s" % (x, y, why[0]))
        return time.monotonic()

    def wait_until_gone(self, client, before, x, y):
        poll(lambda: self.menu_gone(before, self.field_picture(client), x, y), SHOWN,
             "menu closed", interval=0.05)
        return time.monotonic()

    def test_a_shift_right_click_on_the_chest_opens_its_menu(self):
        click = tile_centre(*CHEST)
        x, y = self.in_field(*click)
        for driver in DRIVERS:
            with self.subTest(driver=driver), \
                    self.playing(driver, BESIDE_THE_CHEST) as (server, client):
                before = self.field_picture(client)
                # The click is read after Shift was let go, as when it comes during a long
                # frame: Shift counts as it was when the click was made.
                client.click_holding("shift", *click, button=3, busy=True)
                self.wait_for_menu(client, before, x, y)
                # Shift held, the click opens no chest.
                self.assertEqual(self.requests(server, OPEN_MAP_ITEM), [])

                # "Examine" looks at the chest and closes the menu.
                client.click(click[0] + LABEL_LEFT + 10, click[1] + ROW_TOP + ROW_PITCH + 5)
                look = self.request(server, LOOK_AT_MAP_ITEM)["request"]
                self.assertEqual((look["dx"], look["dy"], look["shape"]),
                                 (CHEST[0], CHEST[1], sprites.CHEST))
                self.wait_until_gone(client, before, x, y)

                # Left alone, a menu stays until its ten seconds are over: it opens at the
                # earliest with the click and at the latest when it is seen.
                clicked = time.monotonic()
                client.click_holding("shift", *click, button=3)
                seen = self.wait_for_menu(client, before, x, y)
                time.sleep(max(0.0, clicked + LIFE_TIME - 2 - time.monotonic()))
                self.assertIs(self.menu_shown(before, self.field_picture(client), x, y), True,
                              "the menu 8 s after the click")
                gone = self.wait_until_gone(client, before, x, y)
                self.assertGreater(gone, clicked + LIFE_TIME - FADE - 0.5)
                self.assertLess(gone, seen + LIFE_TIME + PICTURE_LATENCY)
                self.assertEqual(len(self.requests(server, LOOK_AT_MAP_ITEM)), 1)
                self.assertEqual(self.requests(server, OPEN_MAP_ITEM), [])


if __name__ == "__main__":
    unittest.main()
