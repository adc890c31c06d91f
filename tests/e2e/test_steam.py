"""The real client with and without a Steam library beside it: Steam starts from the client's
own folder, an account login leaves Steam alone (its callbacks run only while a connection waits
for Steam), and Steam answers that nobody waits for change nothing. A new player with Steam logs
in with the main screen's Play: the ticket Steam hands over goes to the server, and a ticket Steam
refuses sends nothing."""
import time
import unittest

from datagen import config
from fakeserver import messages, steam
from fakeserver.server import FakeServer, Frame, Scenario
from harness import ClientTestCase
from harness.commands import poll
from harness.frontscreens import (FIRST_AVATAR, PLAY_BUTTON_OF_STEAM, STEAM_ID, STEAM_TICKET,
                                  STEAM_TICKET_HANDLE, FrontScreensCase, steam_control)
from harness.wine import MESSAGE_BOX_CLASS

STEAM_MESSAGE = 0x8004
# What the client asks of Steam besides the ticket: its callbacks run on every tick while it
# waits, and its interface is looked up.
ROUTINE_CALLS = ("SteamAPI_RunCallbacks", "SteamInternal_", "SteamAPI_RegisterCallback",
                 "SteamAPI_UnregisterCallback")


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


class SteamPlayTest(FrontScreensCase):
    def start_with_steam(self, ticket_result):
        folder = self.run_folder()
        folder.place_steam_stub(steam_control(ticket_result))
        server, client = self.start(Scenario(steam_tickets=[STEAM_TICKET]), folder)
        return server, client, folder

    @staticmethod
    def steam_calls(folder):
        return [call for call in folder.steam_calls() if not call.startswith(ROUTINE_CALLS)]

    def test_play_sends_the_steam_id_and_the_ticket_and_logs_in(self):
        server, client, folder = self.start_with_steam(ticket_result=1)
        self.click(client, *PLAY_BUTTON_OF_STEAM)
        login = self.request(server, steam.STEAM_LOGIN)
        self.assertEqual((login["state"], login["encrypted"], login["counter"]), (0, False, 1))
        fields = login["request"]
        self.assertEqual((fields["steam_id"], fields["language"], fields["ticket"]),
                         (STEAM_ID, "en", STEAM_TICKET.hex()))
        self.assertEqual((fields["account"], fields["plaintext_length"]), ("", 17),
                         "the session key and an empty name")
        self.assertTrue(fields["login_ok"])

        # The block's session key enciphers what follows.
        self.play(server, client, FIRST_AVATAR)
        select = self.request(server, 7)
        self.assertEqual(select["request"]["avatar_id"], 1001)
        self.assertTrue(select["encrypted"])
        self.assertEqual((select["counter"], select["expected_counter"]), (3, 3))

        client.close()
        self.assertEqual(client.wait_exit(), 0)
        self.assertEqual(self.steam_calls(folder), [
            "SteamAPI_Init 1", f"GetAuthTicketForWebApi gameserver {STEAM_TICKET_HANDLE}",
            "deliver 168", "GetSteamID", f"CancelAuthTicket {STEAM_TICKET_HANDLE}",
            "SteamAPI_Shutdown"])

    def test_a_refused_ticket_shows_a_notice_and_sends_nothing(self):
        server, client, folder = self.start_with_steam(ticket_result=2)
        main_screen = self.view(client)
        self.click(client, *PLAY_BUTTON_OF_STEAM)
        poll(lambda: "deliver 168" in folder.steam_calls(), 30, "the ticket's answer")
        self.find_box(main_screen, self.view(client))

        # The notice lies over the progress box: Enter closes the notice, and the connection
        # stays. So it does after a Steam answer that comes late, when nothing waits for it.
        client.key("Return")
        client.post(STEAM_MESSAGE, 1, 0)
        time.sleep(1)
        client.key("Return")
        time.sleep(1)
        self.assertEqual(server.transcript.of("closed"), [])
        # Then Enter cancels the attempt.
        client.key("Return")
        self.wait_closed_by_client(server)
        self.assert_alike(self.view(client), main_screen, "back on the main screen")
        self.assertEqual([f["request"]["op"] for f in server.transcript.of("client_frame")], [1])
        self.assertNotIn("GetSteamID", folder.steam_calls())


if __name__ == "__main__":
    unittest.main()
