"""The world map, the marker dialog, the journal and the guide, in the game on the sample world
map: the map hotkey opens the explored page with the player's cross over it; a marker added from
its menu reaches the server in world coordinates; the help hotkey opens and closes the guide,
whose language choice is kept in the settings file; and after the server reports a quest the
journal hotkey shows its topic."""
import os
import time
import unittest
from pathlib import Path

import numpy

from datagen import maps
from datagen import quests
from fakeserver import journal
from fakeserver import sampleworld
from fakeserver import worldmessages as wm
from fakeserver.sampleworld import SampleWorld
from fakeserver.server import Frame, Scenario
from harness.commands import poll
from worldscreen import ACCOUNT, DRIVERS, PASSWORD, SETTLE_IN_GAME, WorldScreenTestCase, \
    count_near, server_ops
from harness.frontscreens import FIRST_AVATAR

SETTINGS = "data/Veltor.config"
CLIENT = (800, 600)
# The player's tile on the world map, and the map window centred on the client area with its
# view 5 pixels in and 21 below its top.
TILE = (1160, 1120, 7)
MAP = (50, 50, 700, 500)
VIEW = (55, 71, 690, 473)
# The title bands, away from the minimap, which shows the new marker too.
MAP_TITLE = (60, 52, 500, 16)
GUIDE_TITLE = (110, 5, 400, 16)
CROSS_GREEN = (0x96, 0xE6, 0x1E)
# The marker dialog (161 x 240) centred: "Cave" is the second cell of its grid, "add" its button.
MARKER = (320, 180)
CAVE = (MARKER[0] + 33 + 19 + 9, MARKER[1] + 85 + 9)
ADD = (MARKER[0] + 161 - 66 + 27, MARKER[1] + 240 - 28 + 8)
CAVE_KIND = 2
# The popup menu hangs from the click; its first row lies below its title band.
FIRST_ROW = (20, 55)
# The guide (600 x 595) centred on 800 x 600, its page list and language box.
GUIDE = (100, 3, 600, 595)
PAGE_LIST = (GUIDE[0] + 38 + 20, GUIDE[1] + 99 + 6)
LANGUAGE_BOX = (GUIDE[0] + 103 + 20, GUIDE[1] + 57 + 10)
MENU_ROW = 20
# Where the pages leave their lines blank, right of what stands there, per page and language:
# the rows of the three link buttons on page 1, the pictures of page 2 (24 pixels lower in
# Portuguese) and the channel button's icon on page 6. No text may be drawn there.
BLANK = {
    1: {"en": [(405, 230, 680, 246), (405, 314, 680, 330), (405, 374, 680, 390)]},
    2: {"en": [(582, 172, 690, 219)], "pt": [(582, 196, 690, 243)]},
    6: {"en": [(370, 130, 690, 150)]},
}
# Text is drawn in light colours; the page's background is dark.
LIGHT = 170
# The journal (630 x 504) centred.
JOURNAL = (85, 48, 630, 504)
JOURNAL_TITLE = (95, 50, 500, 16)
MILLER = quests.SAMPLE_QUESTS[0]
ICON_PLACE = (JOURNAL[0] + 290, JOURNAL[1] + 62, 16, 16)


def page_point(screen, zoom, scroll):
    """The page point under a screen point of the view, whole pixels."""
    return (int((screen[0] - VIEW[0] + scroll[0]) * zoom),
            int((screen[1] - VIEW[1] + scroll[1]) * zoom))


def opening_view():
    """The zoom and scroll the window opens with, centred on the player: the sample page is
    smaller than the view, so the zoom drops to its least (0.5) and the view shows the page
    from its top left, as far down as the player's centring allows."""
    x0, y0, x1, y1 = maps.WORLD_RECT
    width, height = x1 - x0, y1 - y0
    zoom = 0.5
    limit_x = int(width / zoom) - VIEW[2]
    limit_y = int(height / zoom) - VIEW[3]
    wished_x = (TILE[0] - x0) / zoom - VIEW[2] // 2
    wished_y = (TILE[1] - y0) / zoom - VIEW[3] // 2
    return zoom, (max(min(wished_x, limit_x), 0), max(min(wished_y, limit_y), 0))


class MapJournalGuideTest(WorldScreenTestCase):

    time_limit = 400

    def enter(self, folder):
        handlers = SampleWorld(wander=False, start=sampleworld.START).handlers()
        scenario = Scenario(accounts={ACCOUNT: PASSWORD}, on=handlers)
        server, client = self.start(scenario, folder, engine=DRIVERS["OpenGL"],
                                    widescreen="false")
        self.addCleanup(client.kill)
        self.log_in(client, ACCOUNT, PASSWORD)
        self.play(server, client, FIRST_AVATAR)
        self.wait(server, lambda t: [11, 16, 18, 48] in server_ops(t), "the area")
        time.sleep(SETTLE_IN_GAME)
        session = server.sessions[0]
        session.perform([Frame(wm.select_map(1, maps.MAP_KEYS[1], 0, 0, TILE))])
        time.sleep(1)
        return server, client, session

    def crop(self, client, box):
        x, y, width, height = box
        return numpy.asarray(self.view(client).crop((x, y, x + width, y + height)))

    def wait_changed(self, client, before, box, what):
        def changed():
            return self.changed_part(before.crop(_corners(box)),
                                     self.view(client).crop(_corners(box)))
        poll(changed, 20, what)

    def wait_back(self, client, before, box, what):
        def same():
            return self.changed_part(before.crop(_corners(box)),
                                     self.view(client).crop(_corners(box))) is None
        poll(same, 20, what)

    def shoot(self, client, name):
        """Keeps a picture of the client area in VELTOR_SCREENSHOTS, when set, for a person to
        look at; returns it."""
        picture = self.view(client)
        folder = os.environ.get("VELTOR_SCREENSHOTS")
        if folder:
            Path(folder).mkdir(parents=True, exist_ok=True)
            picture.save(str(Path(folder) / name))
        return picture

    def test_map_guide_and_journal(self):
        folder = self.run_folder()
        server, client, session = self.enter(folder)

        # The world map: the page under the player's cross.
        before = self.view(client)
        client.key("ctrl+e")
        self.wait_changed(client, before, MAP_TITLE, "the world map window")
        self.shoot(client, "map.png")
        view = self.crop(client, VIEW)
        self.assertGreater(count_near(view, CROSS_GREEN, darkest=200), 4, "the player's cross")

        # A marker from the map's menu, at the clicked point.
        click = (200, 200)
        zoom, scroll = opening_view()
        client.click(*click, button=3)
        time.sleep(1)
        client.click(click[0] + FIRST_ROW[0], click[1] + FIRST_ROW[1])
        time.sleep(1)
        client.click(*CAVE)
        client.click(*ADD)
        added = self.request(server, 72)["request"]
        px, py = page_point(click, zoom, scroll)
        self.assertEqual((added["x"], added["y"], added["icon"], added["text"]),
                         (maps.WORLD_RECT[0] + px, maps.WORLD_RECT[1] + py, CAVE_KIND, "Cave"))
        self.shoot(client, "map-marker.png")
        client.key("ctrl+e")
        self.wait_back(client, before, MAP_TITLE, "the world map closed")

        # The guide: pages 1, 2 and 6 in both languages, then Portuguese kept.
        before = self.view(client)
        client.key("ctrl+h")
        self.wait_changed(client, before, GUIDE_TITLE, "the guide")
        for language, row in (("en", 0), ("pt", 1)):
            client.click(*LANGUAGE_BOX)
            time.sleep(1)
            client.click(LANGUAGE_BOX[0] + 20, LANGUAGE_BOX[1] + 15 + row * MENU_ROW)
            time.sleep(1)
            for page in (1, 2, 6):
                client.click(PAGE_LIST[0], PAGE_LIST[1] + 12 * (page - 1))
                picture = numpy.asarray(self.shoot(client, "guide-%s-%d.png" % (language, page)))
                boxes = BLANK[page].get(language, BLANK[page]["en"])
                for left, top, right, bottom in boxes:
                    light = (picture[top:bottom, left:right] > LIGHT).all(axis=-1).sum()
                    self.assertEqual(int(light), 0, "text on page %d (%s) at %s" % (
                        page, language, (left, top, right, bottom)))
        client.click(PAGE_LIST[0], PAGE_LIST[1])
        client.key("ctrl+h")
        self.wait_back(client, before, GUIDE_TITLE, "the guide closed")

        # The journal on the quest the server reports.
        stage = MILLER.stages[1]
        session.perform([Frame(journal.quest_progress([(MILLER.quest, stage.stage,
                                                        MILLER.value)]))])
        time.sleep(1)
        before = self.view(client)
        client.key("ctrl+j")
        self.wait_changed(client, before, JOURNAL_TITLE, "the journal")
        self.shoot(client, "journal.png")
        icon = self.crop(client, ICON_PLACE)
        self.assertGreater(float(icon.std()), 5.0, "the topic's icon")
        client.key("ctrl+j")
        self.wait_back(client, before, JOURNAL_TITLE, "the journal closed")

        # Quitting asks to log out first; the answer leaves the game, a second close ends it.
        client.close()
        time.sleep(1)
        client.key("Return")
        time.sleep(2)
        client.close()
        self.assertEqual(client.wait_exit(), 0)
        settings = folder.read(SETTINGS).decode("latin-1")
        self.assertIn("language = Portuguese", settings)


def _corners(box):
    x, y, width, height = box
    return (x, y, x + width, y + height)


if __name__ == "__main__":
    unittest.main()
