"""The demo a new user runs: scripts/run.sh without a display logs in to the sample world through
the login window, writes a screenshot of the world to run/screen.png and ends with exit code 0."""
import os
import socket
import subprocess
import unittest
from pathlib import Path

import numpy
from PIL import Image

from worldscreen import DARK_EDGES, TEXT_HUE, count_near

DEMO_PORT = 4080
GRASS, NAME = (62, 128, 52), (40, 180, 40)


def port_taken(port):
    with socket.socket() as probe:
        return probe.connect_ex(("127.0.0.1", port)) == 0


class DemoTest(unittest.TestCase):

    def test_the_demo_shows_the_world_and_ends_cleanly(self):
        if port_taken(DEMO_PORT):
            self.skipTest("port %d, the demo's, is taken by another program" % DEMO_PORT)
        root = Path(os.environ.get("VELTOR_ROOT") or Path(__file__).resolve().parents[2])
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        if "VELTOR_EXE" in env:
            env["BUILD_DIR"] = str(Path(env["VELTOR_EXE"]).parent)
        screen = root / "run" / "screen.png"
        screen.unlink(missing_ok=True)
        result = subprocess.run([str(root / "scripts" / "run.sh")], env=env, cwd=root,
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=500)
        output = (result.stdout + result.stderr).decode(errors="replace")
        self.assertEqual(result.returncode, 0, output)
        self.assertIn("run: logged in and entered the world", output)
        with Image.open(screen) as shot:
            pixels = numpy.asarray(shot.convert("RGB"))
        # The world: a meadow of many shades, not one flat colour, and the persons' names.
        self.assertGreater(count_near(pixels, GRASS), 50000, "the meadow")
        self.assertGreater(len(numpy.unique(pixels.reshape(-1, 3), axis=0)), 1000, "not flat")
        self.assertGreater(count_near(pixels, NAME, TEXT_HUE, DARK_EDGES), 200, "names")


if __name__ == "__main__":
    unittest.main()
