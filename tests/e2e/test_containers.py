"""Containers and equipment in the normal layout: a container the server opens stands in the left
column under the status panel and shows its items, the equipment beside the console shows what
the player wears; a drag from a container cell to the equipment's back slot asks the server to
move the item there; the server's close of a container makes the client close it once; an
experience message writes its line in the Info channel."""
import time
import unittest

import numpy

from datagen import sprites
from fakeserver import containers
from fakeserver.server import Frame
from harness.frontscreens import SETTLE
from worldscreen import WorldScreenTestCase, channel_log

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

    def column_picture(self, client):
        left, top, width, height = COLUMN
        area = self.area(client)
        pixels = client.session.grab(area.x + left, area.y + top, width, height)
        return numpy.frombuffer(pixels, dtype=numpy.uint8).reshape(height, width, 3)

    def cell_picture(self, client, x, y):
        """The 36 x 36 cell whose centre is (x, y) of the client area."""
        area = self.area(client)
        pixels = client.session.grab(area.x + x - 18, area.y + y - 18, 36, 36)
        return numpy.frombuffer(pixels, dtype=numpy.uint8).reshape(36, 36, 3)

    def test_container_and_equipment(self):
        folder = self.run_folder()
        with self.playing("OpenGL", folder=folder, loginfo="true", experience="true") as (
                server, client):
            session = server.sessions[0]
            column = self.column_picture(client)
            slot = self.cell_picture(client, *LAST_SLOT)
            session.perform([Frame(containers.container_open(
                BAG, "golden bag", [(sprites.SWORD, 1), (sprites.COINS, 7)], slots=6),
                containers.container_replace(0, 14, sprites.COINS, 5))])
            time.sleep(SETTLE)
            # The bag appears in the column under the status panel, and the coins in the
            # equipment's last slot.
            changed = numpy.abs(self.column_picture(client).astype(int) -
                                column.astype(int)).mean(axis=(1, 2)) > 5
            # Its row of cells is the tallest band that changed.
            cells_top = longest_run(changed)
            self.assertIsNotNone(cells_top, "the bag")
            first_cell = (CELL_LEFT + 18, cells_top + 18)
            new_slot = self.cell_picture(client, *LAST_SLOT)
            self.assertGreater(float(numpy.abs(new_slot.astype(int) - slot.astype(int)).mean()),
                               5, "the equipment")
            client.session.screenshot(client.log_path.with_name("containers.png"))

            # Dragged from its cell onto the equipment's back slot: the move request (op 114).
            area = self.area(client)
            start_x, start_y = area.x + first_cell[0], area.y + first_cell[1]
            end_x, end_y = area.x + BACK_SLOT[0], area.y + BACK_SLOT[1]
            client.session.xdotool("mousemove", "--sync", start_x, start_y, "mousedown", "1")
            for step in range(1, 11):
                client.session.xdotool("mousemove", "--sync",
                                       start_x + (end_x - start_x) * step // 10,
                                       start_y + (end_y - start_y) * step // 10)
                time.sleep(0.05)
            client.session.xdotool("mouseup", "1")
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
