"""Containers and equipment in the normal layout: a container the server opens stands in the left
column under the status panel and shows its items, the equipment beside the console shows what
the player wears; a drag from a container cell to the equipment's back slot asks the server to
move the item there; the server's close of a container makes the client close it once; an
experience message writes its line in the Info channel. A stack dragged from a cell opens the
split window, whose amount goes out with the move; a click on an item asks the server what it
is, and the answer shows as a tooltip at the click."""
import time
import unittest

import numpy

from datagen import sprites
from fakeserver import containers
from fakeserver.server import Frame
from harness.commands import poll
from harness.frontscreens import SETTLE
from worldscreen import DRIVERS, WorldScreenTestCase, channel_log, mean_difference

BAG = 3
# The left column, above the console: the status panel pinned to its top, and below it the
# container, whose cells start 18 + 12 pixels in (the scroll bar's gutter).
COLUMN = (0, 0, 156, 380)
CELL_LEFT = 18 + 12
# The equipment stands at the right end of the console (y 380 of the 600-high client area); its
# cells start 12 pixels in and 6 down. Slot 2 is the third cell of the first row.
EQUIPMENT = (800 - 156, 380)
BACK_SLOT = (EQUIPMENT[0] + 12 + 2 * 40 + 18, EQUIPMENT[1] + 6 + 18)
LAST_SLOT = (EQUIPMENT[0] + 12 + 2 * 40 + 18, EQUIPMENT[1] + 6 + 4 * 40 + 18)
LOG_WAIT = 20
# The split window stands in the middle of the client area; the tooltip hangs from the point it
# was asked for: a strip of it right of and below that point.
SPLIT_PROBE = (400 - 30, 300 - 10, 60, 20)
TOOLTIP_PROBE = (10, 4, 90, 20)
WINDOW_WAIT = 30
# The tooltip stays 5 seconds.
TOOLTIP_WAIT = 4.5


def longest_run(flags):
    """The first index of the longest run of true values, or None."""
    best, best_length, start = None, 0, None
    for index, flag in enumerate(list(flags) + [False]):
        if flag and start is None:
            start = index
        elif not flag and start is not None:
            if index - start > best_length:
                best, best_length = start, index - start
            start = None
    return best


def requests(transcript, op):
    return [frame["request"] for frame in transcript.of("client_frame")
            if frame.get("request", {}).get("op") == op]


class ContainersTest(WorldScreenTestCase):

    def cell_picture(self, client, x, y):
        """The 36 x 36 cell whose centre is (x, y) of the client area."""
        return self.box_picture(client, (x - 18, y - 18, 36, 36))

    def open_bag(self, client, session, *more):
        """Has the server open the bag with a sword and 7 coins (and send the further messages);
        the centre of its first cell, once it shows in the column under the status panel."""
        column = self.box_picture(client, COLUMN)
        session.perform([Frame(containers.container_open(
            BAG, "golden bag", [(sprites.SWORD, 1), (sprites.COINS, 7)], slots=6), *more)])
        time.sleep(SETTLE)
        changed = numpy.abs(self.box_picture(client, COLUMN).astype(int) -
                            column.astype(int)).mean(axis=(1, 2)) > 5
        # Its row of cells is the tallest band that changed.
        cells_top = longest_run(changed)
        self.assertIsNotNone(cells_top, "the bag")
        return (CELL_LEFT + 18, cells_top + 18)

    def drag(self, client, start, end):
        """Drags with the left button from one point of the client area to another."""
        area = self.area(client)
        start_x, start_y = area.x + start[0], area.y + start[1]
        end_x, end_y = area.x + end[0], area.y + end[1]
        client.session.xdotool("mousemove", "--sync", start_x, start_y, "mousedown", "1")
        for step in range(1, 11):
            client.session.xdotool("mousemove", "--sync",
                                   start_x + (end_x - start_x) * step // 10,
                                   start_y + (end_y - start_y) * step // 10)
            time.sleep(0.05)
        client.session.xdotool("mouseup", "1")

    def wait_change(self, client, box, before, what, timeout):
        poll(lambda: mean_difference(self.box_picture(client, box), before) > 5, timeout, what)

    def test_split_and_tooltip(self):
        for driver in DRIVERS:
            with self.subTest(driver=driver), self.playing(driver) as (server, client):
                session = server.sessions[0]
                sword = self.open_bag(client, session)
                coins = (sword[0] + 40, sword[1])

                # The 7 coins dragged onto the back slot: the split window asks how many; 3
                # typed and Enter move 3.
                split_area = self.box_picture(client, SPLIT_PROBE)
                self.drag(client, coins, BACK_SLOT)
                self.wait_change(client, SPLIT_PROBE, split_area, "the split window", WINDOW_WAIT)
                client.type("3")
                client.key("Return")
                self.wait(server, lambda t: requests(t, 114), "the move request")
                move = requests(server.transcript, 114)[0]
                self.assertEqual((move["container"], move["slot"], move["target_container"],
                                  move["target_slot"], move["shape"], move["count"]),
                                 (BAG, 1, 0, 2, sprites.COINS, 3))
                time.sleep(SETTLE)

                # A click on the sword asks what it is (op 164); the answer (op 163) hangs from
                # the click point.
                left, top, width, height = TOOLTIP_PROBE
                probe = (sword[0] + left, sword[1] + top, width, height)
                before = self.box_picture(client, probe)
                client.click(*sword)
                self.wait(server, lambda t: requests(t, 164), "the look request")
                look = requests(server.transcript, 164)[0]
                self.assertEqual((look["container"], look["slot"], look["shape"]),
                                 (BAG, 0, sprites.SWORD))
                session.perform([Frame(containers.item_description(
                    "Sword", "A plain blade.", attributes=[(1, "12")]))])
                self.wait_change(client, probe, before, "the tooltip", TOOLTIP_WAIT)
                client.session.screenshot(client.log_path.with_name("tooltip %s.png" % driver))

    def test_container_and_equipment(self):
        folder = self.run_folder()
        with self.playing("OpenGL", folder=folder, loginfo="true", experience="true") as (
                server, client):
            session = server.sessions[0]
            slot = self.cell_picture(client, *LAST_SLOT)
            first_cell = self.open_bag(client, session,
                                       containers.container_replace(0, 14, sprites.COINS, 5))
            # The coins in the equipment's last slot.
            new_slot = self.cell_picture(client, *LAST_SLOT)
            self.assertGreater(float(numpy.abs(new_slot.astype(int) - slot.astype(int)).mean()),
                               5, "the equipment")
            client.session.screenshot(client.log_path.with_name("containers.png"))

            # Dragged from its cell onto the equipment's back slot: the move request (op 114).
            self.drag(client, first_cell, BACK_SLOT)
            self.wait(server, lambda t: requests(t, 114), "the move request")
            move = requests(server.transcript, 114)[0]
            self.assertEqual((move["container"], move["slot"], move["target_container"],
                              move["target_slot"]), (BAG, 0, 0, 2))

            # The server closes the bag: the client answers with its close, once.
            session.perform([Frame(containers.container_closed(BAG))])
            self.wait(server, lambda t: requests(t, 84), "the close request")
            time.sleep(SETTLE)
            self.assertEqual([r["container"] for r in requests(server.transcript, 84)], [BAG])

            session.perform([Frame(containers.experience_gained(1))])
            line = "You've gained 1 experience point."
            deadline = time.monotonic() + LOG_WAIT
            while time.monotonic() < deadline and line not in channel_log(folder, "Info"):
                time.sleep(0.2)
            self.assertIn(line, channel_log(folder, "Info"))


if __name__ == "__main__":
    unittest.main()
