"""The status panel at the top of the left column, with OpenGL and with Direct3D 9: its rows show
the connection and the carried weight and skill pool the fake server sends, and its Logout button
asks before leaving."""
import unittest

import numpy

from fakeserver import worldmessages as wm
from fakeserver.server import Frame
from harness.commands import poll
from harness.frontscreens import Box
from worldscreen import DRIVERS, WorldScreenTestCase, count_near, part

# The panel's place in the client area: the top of the left column, 156 pixels wide. The game
# screen (console, columns and field between them) is centred on the 800-pixel client, which
# leaves 6 pixels on the left.
PANEL_X, PANEL_Y, PANEL_WIDTH = 6, 0, 156
# The rows the settings below show, from the top: connection, capacity, skill pool, 18 pixels
# each from y 4; each holds a bar 4 pixels in, 9 high and the panel's width less 16 wide.
ROW_TOP, ROW_HEIGHT, BAR_INSET, BAR_HEIGHT = 4, 18, 8, 9
BAR_WIDTH = PANEL_WIDTH - 16
CONNECTION, CAPACITY, SKILL_POOL = 0, 1, 2
# The buttons below the rows, 19 pixels apart: Character, Journal, Store, Friends, Settings, How
# to guide, Report and Logout with the default settings.
BUTTON_STEP, BUTTON_HEIGHT = 19, 18
LOGOUT = 7
# The column with the marks beside the buttons, which reach 4 pixels past the panel.
COLUMN_RIGHT = PANEL_X + PANEL_WIDTH + 4
# The sample skin's bar colours: an excellent connection, and the capacity and pool fills.
EXCELLENT = (60, 200, 80)
FILL = (60, 170, 200)

# 19 of 20 kg carried fills 133 of 140 pixels; a pool of 20000 of 100000 fills 28. Both ends lie
# clear of the centred texts.
CAPACITY_GRAMS, CARRIED_GRAMS = 20000, 19000
POOL = 20000


def bar_box(row):
    """(left, top, right, bottom) of a row's bar in the panel's picture."""
    top = ROW_TOP + row * ROW_HEIGHT + 4
    return (BAR_INSET, top, BAR_INSET + BAR_WIDTH, top + BAR_HEIGHT)


def filled_columns(picture, row, colour):
    """The columns of a row's bar holding the colour, counted from the bar's left end."""
    pixels = part(picture, bar_box(row))
    return [x for x in range(pixels.shape[1]) if count_near(pixels[:, x], colour) > 0]


class StatusPanelTest(WorldScreenTestCase):

    def panel_picture(self, client):
        """The panel's part of the client area, as rows x columns x RGB."""
        view = numpy.asarray(self.view(client))
        return view[PANEL_Y:PANEL_Y + 240, PANEL_X:PANEL_X + PANEL_WIDTH]

    def test_rows_show_the_server_values_and_logout_asks(self):
        for driver in DRIVERS:
            with self.subTest(driver=driver), \
                    self.playing(driver, beta_mcap="true", beta_mpool="true") as (server, client):
                server.sessions[0].perform([Frame(
                    wm.player_status(150, 150, 100, capacity=CAPACITY_GRAMS, skill_pool=POOL),
                    wm.carried_weight(CARRIED_GRAMS))])

                def rows_drawn():
                    picture = self.panel_picture(client)
                    capacity = filled_columns(picture, CAPACITY, FILL)
                    pool = filled_columns(picture, SKILL_POOL, FILL)
                    if capacity and pool and max(capacity) > 100:
                        return picture, capacity, pool
                    return None
                picture, capacity, pool = poll(rows_drawn, 30, "the status rows")
                # The loopback connection is excellent: the whole bar in its colour.
                self.assertGreater(len(filled_columns(picture, CONNECTION, EXCELLENT)),
                                   BAR_WIDTH * 3 // 4)
                self.assertAlmostEqual(max(capacity) + 1, 133, delta=2)
                self.assertAlmostEqual(max(pool) + 1, 28, delta=2)
                self.assertLessEqual(min(capacity), 1)

                # Logout asks; "no" keeps the player in the game.
                game = self.view(client)
                logout_y = (PANEL_Y + ROW_TOP + 3 * ROW_HEIGHT + LOGOUT * BUTTON_STEP
                            + BUTTON_HEIGHT // 2)
                self.click(client, PANEL_X + PANEL_WIDTH // 2, logout_y)
                box = self.centred_box(game, self.view(client))
                self.click(client, *box.left_button())  # "no"
                area = (box.x, box.y, box.x + box.width, box.y + box.height)
                poll(lambda: self.changed_part(game.crop(area), self.view(client).crop(area))
                     is None, 10, "the field again where the box was")

    def centred_box(self, before, after):
        """The box centred on the client that appeared between two views. The left column (its
        pressed button) is left out, and the box is found by its top and right edges: the water
        left of it moves."""
        column = before.crop((0, 0, COLUMN_RIGHT, before.height))
        after = after.copy()
        after.paste(column, (0, 0))
        changed = self.changed_part(before, after)
        self.assertIsNotNone(changed, "no box appeared")
        _, top, right, _ = changed
        box = Box(before.width - right, top, before.width, before.height)
        self.assertGreater(box.width, 100, box)
        return box

if __name__ == "__main__":
    unittest.main()
