"""Checks of the end-to-end harness itself, against whatever client the build holds."""
import os
import struct
import tempfile
import time
import unittest
from pathlib import Path

from PIL import Image

from harness import ClientTestCase, session
from harness.wine import parse_window


class WinProbeOutputTest(unittest.TestCase):
    def test_escaped_fields_are_read_back(self):
        window = parse_window("0x1f\t264\t0xa00001\t1\t#32770\tVeltor - Error\t"
                               "line\\none\\ttab \\\\n")
        self.assertEqual(window.hwnd, 0x1F)
        self.assertEqual(window.x_window, 0xA00001)
        self.assertTrue(window.visible)
        self.assertEqual(window.text, "line\none\ttab \\n")


class ClientLifeTest(ClientTestCase):
    time_limit = 60

    def test_window_found_closed_and_exit_code_read(self):
        client = self.start_client(self.run_folder())
        client.wait_window()
        client.close()
        self.assertEqual(client.wait_exit(), 0)

    def test_timed_close_runs_from_the_close_request_to_the_end_of_the_process_group(self):
        client = self.start_client(self.run_folder())
        client.wait_window()
        asked = time.time()
        closing = client.timed_close()
        self.assertEqual(client.process.returncode, 0)
        with self.assertRaises(ProcessLookupError):
            os.killpg(client.pid, 0)
        self.assertTrue(0 <= closing.taking and 0 < closing.ending, closing)
        self.assertLess(closing.taking + closing.ending, time.time() - asked)

    def test_kill_ends_the_client_and_its_process_group(self):
        client = self.start_client(self.run_folder())
        client.wait_window()
        client.kill()
        self.assertFalse(client.running())
        with self.assertRaises(ProcessLookupError):
            os.killpg(client.pid, 0)

    def test_screenshot_is_a_png_of_the_whole_screen(self):
        with tempfile.TemporaryDirectory() as temp:
            path = Path(temp) / "screen.png"
            session().screenshot(path)
            header = path.read_bytes()[:24]
        self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
        size = session().xdotool("getdisplaygeometry").split()
        self.assertEqual(struct.unpack(">II", header[16:24]), tuple(map(int, size)))

    def test_a_grabbed_part_of_the_screen_is_what_a_screenshot_shows(self):
        client = self.start_client(self.run_folder())
        area = client.probe.client_area(client.wait_window().hwnd)
        time.sleep(2)  # the main screen's first frames; it then stays still
        x, y, width, height = area.x + 10, area.y + 20, 300, 200
        grabbed = session().grab(x, y, width, height)
        with tempfile.TemporaryDirectory() as temp:
            path = Path(temp) / "screen.png"
            session().screenshot(path)
            with Image.open(path) as shot:
                shown = shot.convert("RGB").crop((x, y, x + width, y + height)).tobytes()
        self.assertEqual(len(grabbed), width * height * 3)
        self.assertEqual(grabbed, shown)
        self.assertGreater(len(set(grabbed)), 16, "a picture, not a plain colour")


if __name__ == "__main__":
    unittest.main()
