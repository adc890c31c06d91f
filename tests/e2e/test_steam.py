"""The real client with and without a Steam library beside it: Steam starts from the client's
own folder, an account login leaves Steam alone (its callbacks run only while a connection waits
for Steam), and Steam answers that nobody waits for change nothing."""
import time
import unittest

from datagen import config
from fakeserver import messages, steam
from fakeserver.server import FakeServer, Frame, Scenario
from harness import ClientTestCase
from harness.wine import MESSAGE_BOX_CLASS

STEAM_MESSAGE = 0x8004


class SteamTest(ClientTestCase):
    time_limit = 120

    def play(self, with_steam):
        """Logs in by the test-client settings and enters the game, where the server reports
        noble days and a stray Steam answer arrives; then closes the client. Answers the run
        folder."""
        scenario = Scenario(on={(1, 7): [Frame(messages.enter_game(), steam.noble_days(60))]})
        server = FakeServer(scenario).start()
        self.addCleanup(server.stop)
        folder = self.run_folder()
        folder.write("data/" + config.FILE_NAME,
                     config.test_client_variant("127.0.0.1", server.port, "tester", "secret", 0).file)
        if with_steam:
            folder.place_steam_stub("init 1\nsteam_id 5\nticket_handle 7\n")
        client = self.start_client(folder)
        self.assertTrue(server.wait_for(lambda t: any(225 in f["ops"] for f in t.of("server_frame")),
                                        30), server.transcript.events)
        client.post(STEAM_MESSAGE, 1, 0)
        time.sleep(1)
        self.assertTrue(client.running())
        boxes = [w for w in client.own_windows() if w.visible and w.class_name == MESSAGE_BOX_CLASS]
        self.assertEqual(boxes, [])
        client.close()
        self.assertEqual(client.wait_exit(), 0)
        ops = [f.get("request", {}).get("op") for f in server.transcript.of("client_frame")]
        self.assertEqual(ops, [1, 2, 7])
        return folder

    def test_with_steam_an_account_login_asks_nothing_of_steam(self):
        folder = self.play(with_steam=True)
        self.assertEqual(folder.steam_calls(), ["SteamAPI_Init 1", "SteamAPI_Shutdown"])

    def test_without_the_library_nothing_fails(self):
        folder = self.play(with_steam=False)
        self.assertEqual(folder.steam_calls(), [])


if __name__ == "__main__":
    unittest.main()
