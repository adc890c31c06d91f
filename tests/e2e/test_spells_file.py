"""A spells file shorter than its records say ends start-up like a missing one: an error box and a
failing exit code, never reading past its end."""
import unittest

from harness import ClientTestCase


class DamagedSpellsFileTest(ClientTestCase):
    time_limit = 60

    def test_a_cut_spells_file_ends_start_up_with_an_error_box(self):
        folder = self.run_folder()
        whole = folder.read("data/Veltor.spells")
        folder.write("data/Veltor.spells", whole[:len(whole) // 2])
        client = self.start_client(folder)
        box = client.wait_box()
        self.assertEqual((box.title, box.text), ("Veltor - Error", 'Failed to load "Veltor.spells".'))
        self.assertIsNone(client.main_window(), "start-up ended before showing it")
        client.probe.press_ok(box.hwnd)
        self.assertNotEqual(client.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
