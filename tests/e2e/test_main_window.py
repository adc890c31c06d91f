"""The client's main window: its identity, closing it, and starting a second client."""
import unittest

from datagen import config
from harness import MAIN_CLASS, MAIN_TITLE, ClientTestCase
from harness.commands import poll
from harness.wine import SC_MINIMIZE, WM_SYSCOMMAND

SETTINGS = "data/" + config.FILE_NAME


class MainWindowTest(ClientTestCase):
    time_limit = 60

    def test_the_one_visible_window_has_the_class_and_title_of_the_client(self):
        client = self.start_client(self.run_folder())
        client.wait_window()
        shown = [(window.class_name, window.title)
                 for window in client.own_windows() if window.visible]
        self.assertEqual(shown, [(MAIN_CLASS, MAIN_TITLE)])

    def test_closing_the_window_on_the_main_screen_ends_the_client_and_writes_settings(self):
        folder = self.run_folder()
        client = self.start_client(folder)
        client.wait_window()
        folder.remove(SETTINGS)
        client.close()
        self.assertEqual(client.wait_exit(), 0)
        # The sample settings are the defaults, window size included.
        self.assertEqual(folder.read(SETTINGS), config.render(config.new_file_values()))

    def test_a_second_client_brings_the_first_forward_and_starts_as_well(self):
        folder = self.run_folder()
        first = self.start_client(folder)
        window = first.wait_window()
        first.post(WM_SYSCOMMAND, SC_MINIMIZE)
        poll(lambda: first.probe.client_area(window.hwnd).iconic, 10, "minimised window")

        second = self.start_client(folder)
        second.wait_window()
        poll(lambda: not first.probe.client_area(window.hwnd).iconic, 10,
             "first window restored")
        for client in first, second:
            client.close()
            self.assertEqual(client.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
