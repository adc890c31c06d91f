"""The side columns of a player in the wide layout, with OpenGL and with Direct3D 9: the windows
the layouts bring stand at the top and the bottom of both columns, drawn over the game field; a
window collapsed and another dragged with the mouse are saved in `panel_data` when the player
logs out."""
import re
import time

import numpy

from datagen import config
from fakeserver import sampleworld
from fakeserver.sampleworld import SampleWorld
from fakeserver.server import Scenario
from harness.frontscreens import FIRST_AVATAR, SETTLE, leave_game
from worldscreen import ACCOUNT, DRIVERS, PASSWORD, SETTLE_IN_GAME, WorldScreenTestCase, server_ops

CLIENT_WIDTH, CLIENT_HEIGHT = 800, 600
COLUMN_WIDTH = 156
LEFT_X, RIGHT_X = 0, CLIENT_WIDTH - COLUMN_WIDTH
# The left column's default layout: the status panel pinned to the top and the ability bar to
# the bottom. The right one holds the friends list and the minimap, unpinned, above the
# equipment pinned to the bottom.
LEFT_LAYOUT = "50,2,1,0,157;40,0,2,0,199"
RIGHT_LAYOUT = "52,0,0,0,120;54,0,0,0,150;21,41,2,0,200"
# A window pinned to the bottom of a column ends 1 pixel above the client's bottom edge.
BAR_HEIGHT = 200
# The equipment keeps its own height, and shows its health bar where others have their title.
EQUIPMENT_HEIGHT = 239
# A panel window's title is white text 8 pixels in and 6 down, in its 22-pixel title band; its
# collapse button is the second from the right, 18 wide, 3 down.
TITLE_BAND = 22
TITLE_TEXT = (8, 6, 60, 15)
COLLAPSE_BUTTON = (COLUMN_WIDTH - 30, 11)
# Near-white pixels of a title's text: no world tile is that bright and grey.
WHITE = 235
TITLE_INK = 15
# The mana bar inside the ability bar's top band (x, y, w, h), and how dark its empty part is.
MANA_BAR = (9, 9, 138, 9)
DARK = 60
MANA_BAR_DARK = 600


def title_ink(picture, x, y):
    """How many near-white pixels the title text of a panel window at (x, y) has."""
    left, top, right, bottom = TITLE_TEXT
    box = numpy.asarray(picture)[y + top:y + bottom, x + left:x + right].astype(int)
    return int((box.min(axis=-1) >= WHITE).sum())


def dark_pixels(picture, x, y):
    """How many nearly black pixels the mana bar of an ability bar at (x, y) has."""
    width, height = MANA_BAR[2:]
    box = numpy.asarray(picture)[y:y + height, x:x + width].astype(int)
    return int((box.max(axis=-1) < DARK).sum())


def settings_value(text, key):
    match = re.search(r"^\s*%s\s*=\s*(.*?)\s*$" % re.escape(key), text, re.MULTILINE)
    return match.group(1) if match else None


class SidePanelsTest(WorldScreenTestCase):

    def test_columns_show_and_a_changed_layout_is_saved_on_logout(self):
        for driver in DRIVERS:
            with self.subTest(driver=driver):
                self.check_columns(driver)

    def check_columns(self, driver):
        scenario = Scenario(accounts={ACCOUNT: PASSWORD},
                            on=SampleWorld(wander=False, start=sampleworld.START).handlers())
        folder = self.run_folder()
        server, client = self.start(scenario, folder, engine=DRIVERS[driver],
                                    widescreen="true", panel="true", inventory="true",
                                    panel_left=LEFT_LAYOUT, panel_right=RIGHT_LAYOUT)
        try:
            self.log_in(client, ACCOUNT, PASSWORD)
            self.play(server, client, FIRST_AVATAR)
            self.wait(server, lambda t: [11, 16, 18, 48] in server_ops(t), "the area")
            time.sleep(SETTLE_IN_GAME)

            # Every titled window of both columns shows its title where the layout put it, over
            # the field that fills the screen between the columns (the status panel at the top
            # of the left column has no title: its own test looks at its rows).
            view = self.view(client)
            bottom_y = CLIENT_HEIGHT - 1 - BAR_HEIGHT
            self.assertGreater(title_ink(view, RIGHT_X, 0), TITLE_INK, "friends list")
            # The ability bar's top band holds its mana bar, dark while the player has no mana.
            self.assertGreater(dark_pixels(view, LEFT_X + MANA_BAR[0], bottom_y + MANA_BAR[1]),
                               MANA_BAR_DARK, "ability bar")
            # Between the status panel and the ability bar lies the column's free area.
            self.assertEqual(title_ink(view, LEFT_X, (157 + bottom_y) // 2), 0)

            # Collapsing the friends list lifts the minimap below it to y 23.
            self.click(client, RIGHT_X + COLLAPSE_BUTTON[0], COLLAPSE_BUTTON[1])
            time.sleep(SETTLE)
            collapsed = self.view(client)
            self.assertGreater(title_ink(collapsed, RIGHT_X, TITLE_BAND + 1), TITLE_INK,
                               "minimap under the collapsed friends list")

            # The minimap dragged by its title above the friends list's middle takes its place.
            area = self.area(client)
            grip_x, grip_y = area.x + RIGHT_X + 60, area.y + TITLE_BAND + 1 + 8
            client.session.xdotool("mousemove", "--sync", grip_x, grip_y, "mousedown", "1")
            for dy in range(4, 40, 4):
                client.session.xdotool("mousemove", "--sync", grip_x, grip_y - dy)
                time.sleep(0.05)
            client.session.xdotool("mouseup", "1")
            time.sleep(SETTLE)
            dragged = self.view(client)
            self.assertGreater(title_ink(dragged, RIGHT_X, 0), TITLE_INK, "minimap on top")

            # Logging out and quitting writes the avatar's layout: right column first.
            leave_game(client)
            client.close()
            self.assertEqual(client.wait_exit(), 0)
        finally:
            client.kill()
            server.stop()

        settings = folder.read("data/" + config.FILE_NAME).decode("latin-1")
        record = settings_value(settings, "panel_data")
        self.assertIsNotNone(record, settings)
        fields = record.split(";")
        self.assertEqual(fields[1], "3", record)
        right, left = fields[2:5], fields[5:7]
        self.assertEqual([entry.split(",")[0] for entry in right], ["54", "52", "21"], record)
        self.assertEqual(right[1], "52,255,0,1,120", record)
        self.assertEqual(right[2], "21,255,2,0,%d" % EQUIPMENT_HEIGHT, record)
        # The status panel saves the height of its own rows and buttons, not the layout's.
        self.assertRegex(left[0], r"^50,255,1,0,\d+$", record)
        self.assertEqual(left[1], "40,255,2,0,199", record)
        self.assertEqual(fields[7:], [""], record)


if __name__ == "__main__":
    import unittest
    unittest.main()
