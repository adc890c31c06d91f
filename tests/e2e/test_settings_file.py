"""The settings file as the client reads and writes it through a whole run, compared with the
generator's writer of the same layout."""
import os
import unittest
from pathlib import Path

from datagen import config
from harness import ClientTestCase

SETTINGS = "data/" + config.FILE_NAME
ROOT = Path(os.environ["VELTOR_ROOT"])


@unittest.skipUnless((ROOT / "source/core.cpp").exists() and (ROOT / "source/config.cpp").exists(),
                     "the application core and settings have not landed")
class SettingsFileTest(ClientTestCase):
    time_limit = 60

    def run_client(self, folder):
        """Starts the client, waits for its window and closes it again."""
        client = self.start_client(folder)
        client.wait_window()
        client.close()
        self.assertEqual(client.wait_exit(), 0)

    def test_first_start_writes_every_default_in_text_mode(self):
        folder = self.run_folder()
        folder.remove(SETTINGS)
        client = self.start_client(folder)
        client.wait_window()
        written = folder.read(SETTINGS)
        self.assertNotIn(b"\n", written.replace(b"\r\n", b""), "every line ends with CR LF")
        self.assertEqual(written, config.defaults_variant().file)

    def test_a_second_start_reads_the_file_back_and_writes_the_same_bytes(self):
        folder = self.run_folder()
        folder.remove(SETTINGS)
        self.run_client(folder)
        first = folder.read(SETTINGS)
        os.utime(folder.file(SETTINGS), (0, 0))
        self.run_client(folder)
        self.assertNotEqual(folder.file(SETTINGS).stat().st_mtime, 0, "written at exit")
        self.assertEqual(folder.read(SETTINGS), first)

    def test_keys_missing_from_the_file_get_their_missing_values(self):
        variant = config.partial_variant(
            {"target": "60", "names": "false", "north": "72", "channels": "World"})
        folder = self.run_folder()
        folder.write(SETTINGS, variant.file)
        self.run_client(folder)
        self.assertEqual(folder.read(SETTINGS), variant.expected)


if __name__ == "__main__":
    unittest.main()
