"""The settings file as the client reads and writes it through a whole run, compared with the
generator's writer of the same layout."""
import os
import unittest

from datagen import config
from harness import ClientTestCase

SETTINGS = "data/" + config.FILE_NAME


def drawing_area(values):
    """The size of the window's drawing area that settings values ask for."""
    return int(values["width"]), int(values["height"])


class SettingsFileTest(ClientTestCase):
    time_limit = 60

    def run_client(self, folder):
        """Starts the client, closes its window and returns the window's last client area."""
        client = self.start_client(folder)
        area = client.probe.client_area(client.wait_window().hwnd)
        client.close()
        self.assertEqual(client.wait_exit(), 0)
        return area

    def test_first_start_writes_every_default_in_text_mode(self):
        folder = self.run_folder()
        folder.remove(SETTINGS)
        client = self.start_client(folder)
        client.wait_window()
        written = folder.read(SETTINGS)
        self.assertNotIn(b"\n", written.replace(b"\r\n", b""), "every line ends with CR LF")
        self.assertEqual(written, config.render(config.new_file_values()))

    def test_a_second_start_reads_the_file_back_and_writes_the_same_bytes(self):
        folder = self.run_folder()
        folder.remove(SETTINGS)
        area = self.run_client(folder)
        # The drawing area is the size kept, so a run keeps it.
        self.assertEqual((area.width, area.height), drawing_area(config.new_file_values()))
        first = folder.read(SETTINGS)
        self.assertEqual(first, config.render(config.new_file_values()))
        os.utime(folder.file(SETTINGS), (0, 0))
        self.run_client(folder)
        self.assertNotEqual(folder.file(SETTINGS).stat().st_mtime, 0, "written at exit")
        self.assertEqual(folder.read(SETTINGS), first)

    def test_keys_missing_from_the_file_get_their_missing_values(self):
        given = {"target": "60", "names": "false", "north": "72", "channels": "World"}
        folder = self.run_folder()
        folder.write(SETTINGS, config.render(given))
        area = self.run_client(folder)
        expected = dict(config.missing_values(), **given)
        self.assertEqual((area.width, area.height), drawing_area(expected))
        self.assertEqual(folder.read(SETTINGS), config.render(expected))

    def test_a_save_blocked_by_a_folder_leaves_the_file_and_the_run_ends_normally(self):
        folder = self.run_folder()
        folder.write(SETTINGS, config.render({"target": "60", "host": "example.test"}))
        before = folder.read(SETTINGS)
        folder.file(SETTINGS + ".new").mkdir()
        self.run_client(folder)
        self.assertEqual(folder.read(SETTINGS), before)


if __name__ == "__main__":
    unittest.main()
