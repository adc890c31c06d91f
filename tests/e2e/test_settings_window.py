"""The settings window as a player uses it from the main screen: a console option switched by a
click on its label, movement keys rebound by pressing keys in their fields and restored by
"default", and the graphics driver switched both ways on the Video page. Each road ends on the
hub's "ok", which writes the settings file."""
import re
import time
import unittest

from fakeserver.server import Scenario
from harness.commands import poll
from harness.frontscreens import SETTLE, FrontScreensCase

SETTINGS = "data/Veltor.config"

# The main screen's Settings button, third in its column.
SETTINGS_BUTTON = (400, 315)
# The pages are centred on the 800 x 600 client area; (left, top, width, height).
HUB = (308, 174, 184, 251)
CONSOLE = (258, 192, 284, 215)
CONTROLS = (308, 202, 184, 195)
MOVEMENT = (295, 145, 211, 311)
VIDEO = (258, 162, 284, 276)


def page_button(page, row):
    """The middle of the row-th menu button (88 x 18) down the middle of a page."""
    left, top, width, _ = page
    return (left + width // 2, top + 57 + 28 * row + 9)


def ok_button(page):
    left, top, width, height = page
    return (left + width - 66 + 27, top + height - 28 + 8)


def left_button(page):
    left, top, _, height = page
    return (left + 12 + 27, top + height - 28 + 8)


def at(page, x, y):
    return (page[0] + x, page[1] + y)


def crop(image, page, x, y, width, height):
    return image.crop((page[0] + x, page[1] + y, page[0] + x + width, page[1] + y + height))


def value(text, key):
    match = re.search(r"^ *%s = (.*?)\r?$" % re.escape(key), text, re.MULTILINE)
    return match and match.group(1)


class SettingsWindowTest(FrontScreensCase):
    time_limit = 240

    def open_settings(self, client):
        self.click(client, *SETTINGS_BUTTON)
        time.sleep(SETTLE)

    def press(self, client, point):
        self.click(client, *point)
        time.sleep(SETTLE)

    def settings(self, folder):
        return folder.read(SETTINGS).decode("latin-1")

    def saved(self, folder, keys, expected):
        """Waits until the settings file holds the expected values of the keys: a busy client
        may take a moment over the last click."""
        def holds():
            found = [value(self.settings(folder), key) for key in keys]
            return found if found == expected else None
        poll(holds, 20, "%s = %s in the settings file" % (keys, expected))

    def test_a_click_on_a_console_label_switches_the_option_and_ok_saves_it(self):
        folder = self.run_folder()
        _, client = self.start(Scenario(), folder=folder)
        self.assertEqual(value(self.settings(folder), "time"), "true")
        self.open_settings(client)
        self.press(client, page_button(HUB, 1))  # Console
        # The label of "Prefix: time ...", well right of its box.
        self.press(client, at(CONSOLE, 50 + 40, 52))
        self.press(client, ok_button(CONSOLE))
        self.press(client, ok_button(HUB))
        self.saved(folder, ["time"], ["false"])
        self.assertTrue(client.running())

    def open_movement(self, client):
        self.open_settings(client)
        self.press(client, page_button(HUB, 3))  # Controls
        self.press(client, page_button(CONTROLS, 0))  # Movement

    def back_to_the_main_screen(self, client):
        self.press(client, ok_button(MOVEMENT))
        self.press(client, ok_button(CONTROLS))
        self.press(client, ok_button(HUB))

    def test_movement_keys_are_bound_by_pressing_them_and_default_restores_them(self):
        folder = self.run_folder()
        _, client = self.start(Scenario(), folder=folder)
        self.open_movement(client)

        def north_field():
            # The name's part of the field, left of where the blinking caret stands after it.
            return crop(self.view(client), MOVEMENT, 33, 52, 12, 18)
        client.key("z")
        after_z = north_field()
        for key in ("F5", "space", "Up"):
            client.key(key)
            self.assert_alike(north_field(), after_z, "%s leaves the field as it was" % key)
        client.key("q")
        self.assertIsNotNone(self.changed_part(after_z, north_field()), "Q shown")
        # Tab walks north, east, south, west, the four diagonals, and wraps to north.
        client.key("Tab")
        client.key("x")
        client.key(*["Tab"] * 6)
        client.key("y")
        client.key("Tab")
        client.key("q")
        time.sleep(SETTLE)
        self.back_to_the_main_screen(client)
        self.saved(folder, ["north", "east", "northwest"], ["16", "45", "21"])

        self.open_movement(client)
        self.press(client, left_button(MOVEMENT))  # default
        self.back_to_the_main_screen(client)
        keys = ["north", "northeast", "east", "southeast", "south", "southwest", "west",
                "northwest"]
        self.saved(folder, keys, ["17", "18", "32", "46", "31", "44", "30", "16"])

    def test_the_video_page_switches_the_driver_both_ways(self):
        folder = self.run_folder()
        _, client = self.start(Scenario(), folder=folder, engine="OpenGL")
        self.open_settings(client)
        self.press(client, page_button(HUB, 2))  # Video
        before = self.view(client)
        for name, x in (("DirectX", 132), ("OpenGL", 191), ("DirectX", 132)):
            self.press(client, at(VIDEO, x + 27, 71 + 8))
            time.sleep(1)  # the new driver's first frames
            shot = self.view(client)
            # The page is drawn again by the new driver, and no message box covers it.
            self.assert_alike(crop(shot, VIDEO, 0, 0, 120, VIDEO[3]),
                              crop(before, VIDEO, 0, 0, 120, VIDEO[3]),
                              "the page's left half after switching to %s" % name)
            self.assert_alike(crop(shot, VIDEO, 126, 113, 125, 26),
                              crop(before, VIDEO, 126, 113, 125, 26),
                              "the mode box after switching to %s" % name)
        self.press(client, ok_button(VIDEO))
        self.press(client, ok_button(HUB))
        self.saved(folder, ["engine"], ["DirectX"])
        self.assertTrue(client.running())


if __name__ == "__main__":
    unittest.main()
