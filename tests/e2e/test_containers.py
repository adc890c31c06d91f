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
# The left column holds the status panel (157 high, pinned to the top) and below it, one pixel
# apart, the container: its cells start 18 + 12 pixels in (the scroll bar's gutter) and 26 below
# its top, 40 pixels apart.
BAG_TOP = 158
FIRST_CELL = (18 + 12 + 18, BAG_TOP + 26 + 18)
# The equipment stands at the right end of the console (y 380 of the 600-high client area); its
# cells start 12 pixels in and 6 down. Slot 2 is the third cell of the first row.
EQUIPMENT = (800 - 156, 380)
BACK_SLOT = (EQUIPMENT[0] + 12 + 2 * 40 + 18, EQUIPMENT[1] + 6 + 18)
LAST_SLOT = (EQUIPMENT[0] + 12 + 2 * 40 + 18, EQUIPMENT[1] + 6 + 4 * 40 + 18)
LOG_WAIT = 20


def requests(transcript, op):
    return [frame["request"] for frame in transcript.of("client_frame")
            if frame.get("request", {}).get("op") == op]


class ContainersTest(WorldScreenTestCase):

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
            before = [self.cell_picture(client, *cell) for cell in (FIRST_CELL, LAST_SLOT)]
            session.perform([Frame(containers.container_open(
                BAG, "golden bag", [(sprites.SWORD, 1), (sprites.COINS, 7)], slots=6),
                containers.container_replace(0, 14, sprites.COINS, 5))])
            time.sleep(SETTLE)
            # The bag stands in the column with the sword in its first cell, and the coins lie
            # in the equipment's last slot.
            after = [self.cell_picture(client, *cell) for cell in (FIRST_CELL, LAST_SLOT)]
            for what, old, new in zip(("bag", "equipment"), before, after):
                self.assertGreater(float(numpy.abs(new.astype(int) - old.astype(int)).mean()), 5,
                                   what)
            client.session.screenshot(client.log_path.with_name("containers.png"))

            # Dragged from its cell onto the equipment's back slot: the move request (op 114).
            area = self.area(client)
            start_x, start_y = area.x + FIRST_CELL[0], area.y + FIRST_CELL[1]
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
