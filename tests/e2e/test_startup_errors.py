"""A data file the start-up cannot open ends it with an error box and a failing exit code."""
import unittest

from harness import ClientTestCase

# Each data file the start-up loads, and the text of the box when it is missing: the sprite
# files are named by the path their reader opened.
MISSING_FILE_TEXTS = {
    "Veltor.shapes": 'Failed to load "data/Veltor.shapes".',
    "Veltor.data": 'Failed to load "data/Veltor.data".',
    "Veltor.maps": 'Failed to load "Veltor.maps".',
    "Veltor.books": 'Failed to load "Veltor.books".',
    "Veltor.quests": 'Failed to load "Veltor.quests".',
    "Veltor.skin": 'Failed to load "Veltor.skin".',
    "Veltor.font": 'Failed to load "Veltor.font".',
    "Veltor.spells": 'Failed to load "Veltor.spells".',
}


class MissingDataFileTest(ClientTestCase):
    time_limit = 60

    def test_a_missing_data_file_ends_start_up_with_an_error_box(self):
        # One client at a time: a starting client brings any other client's main window
        # forward, which would show the window of one that is failing at that moment.
        for name, text in MISSING_FILE_TEXTS.items():
            with self.subTest(missing=name):
                folder = self.run_folder()
                folder.remove("data/" + name)
                client = self.start_client(folder)
                box = client.wait_box()
                self.assertEqual((box.title, box.text), ("Veltor - Error", text))
                self.assertIsNone(client.main_window(), "start-up ended before showing it")
                client.probe.press_ok(box.hwnd)
                self.assertNotEqual(client.wait_exit(), 0)

if __name__ == "__main__":
    unittest.main()
