"""The console and the party as a player meets them: what is typed into the chat line reaches
the server as talk between the typing notices, a "#name" line opens a page and sends nothing,
the party messages leave their lines in the Party channel's log, and the console strip below the
field shows its three bars and the two chat boxes."""
import datetime
import time
import unittest

import numpy

from fakeserver import social
from fakeserver import worldmessages as wm
from fakeserver.server import Frame
from harness.commands import poll
from worldscreen import WorldScreenTestCase, count_near

DRIVER = "OpenGL"
TYPING_START, TALK, TYPING_STOP, PRIVATE = 196, 60, 197, 193
WAIT = 20
# The console strip at the bottom of the 800 x 600 client: 220 pixels high, its bars' fills 9
# pixels high at y 9 of it. Experience runs from x 8 of the console for 142 pixels, health from
# x 161 to 5 pixels short of the middle and mana from 5 past it.
CONSOLE_TOP = 380
FILL_TOP, FILL_HEIGHT = 9, 9
EXPERIENCE_FILL, HEALTH_FILL, MANA_FILL = (220, 190, 60), (200, 40, 40), (50, 90, 220)
PARTNER_ID, PARTNER = 2000, "Sparring Partner"
HELPER_ID, HELPER = 2101, "Carl"


def requests(server):
    return [frame["request"] for frame in server.transcript.of("client_frame")
            if frame.get("request", {}).get("op") in (TYPING_START, TALK, TYPING_STOP, PRIVATE)]


class ConsoleSocialTest(WorldScreenTestCase):

    def test_typed_lines_reach_the_server_between_the_typing_notices(self):
        with self.playing(DRIVER, push="false") as (server, client):
            client.type("  hello   world ")
            client.key("Return")
            self.wait(server, lambda t: TYPING_STOP in [r["op"] for r in requests(server)],
                      "the typing stop", WAIT)
            sent = requests(server)
            self.assertEqual([r["op"] for r in sent], [TYPING_START, TALK, TYPING_STOP])
            self.assertEqual(sent[1]["text"], "hello world")

            client.type("#Bob")
            client.key("Return")
            self.wait(server, lambda t: [r["op"] for r in requests(server)].count(TYPING_STOP) == 2,
                      "the second typing stop", WAIT)
            self.assertEqual([r["op"] for r in requests(server)[3:]], [TYPING_START, TYPING_STOP])

    def test_party_messages_are_logged_in_the_party_channel(self):
        folder = self.run_folder()
        with self.playing(DRIVER, folder=folder, logs="Party") as (server, client):
            session = server.sessions[0]
            player = session.world.player
            session.perform([Frame(social.party_started(
                [(player.id, 200, 200, player.name), (PARTNER_ID, 200, 200, PARTNER)]))])
            session.perform([Frame(social.party_joined(HELPER_ID, 150, 100, HELPER))])
            session.perform([Frame(social.party_member_status(HELPER_ID, 0, 0))])
            session.perform([Frame(social.party_left(PARTNER_ID))])
            session.perform([Frame(social.party_disbanded())])
            path = folder.path / "logs" / "Party" / (datetime.date.today().isoformat() + ".txt")

            def records():
                if not path.exists():
                    return None
                lines = [line.split("] ", 1)[-1]
                         for line in path.read_text("latin-1").splitlines()]
                return lines if "The party has been disbanded." in lines else None
            lines = poll(records, WAIT, "the party log")
            self.assertEqual(lines[-5:], ["You've started a party with %s." % PARTNER,
                                          "%s has joined the party." % HELPER,
                                          "%s is dead." % HELPER,
                                          "%s has left the party." % PARTNER,
                                          "The party has been disbanded."])

    def test_the_console_strip_shows_its_bars_and_chat_boxes(self):
        with self.playing(DRIVER) as (server, client):
            server.sessions[0].perform([Frame(wm.player_status(
                60, 120, 100, mana=30, max_mana=60, experience=50, experience_next=100))])
            def bars():
                picture = numpy.asarray(self.view(client))
                strip = picture[CONSOLE_TOP + FILL_TOP:CONSOLE_TOP + FILL_TOP + FILL_HEIGHT]
                found = [[x for x in range(strip.shape[1]) if count_near(strip[:, x], colour)]
                         for colour in (EXPERIENCE_FILL, HEALTH_FILL, MANA_FILL)]
                return (picture, found) if all(found) else None
            picture, found = poll(bars, WAIT, "the three bars")
            # Half of each bar is filled (the text over it hides a few of its pixels): 71 of the
            # experience bar's 142 columns, and health and mana from their outer ends.
            experience, health, mana = found
            self.assertAlmostEqual(max(experience) - min(experience) + 1, 71, delta=2)
            self.assertLess(max(health), 400)
            self.assertGreater(min(mana), 400)
            # Both chat boxes draw over the strip: the lower part is not the bare frame.
            chat = picture[CONSOLE_TOP + 40:600 - 30]
            self.assertGreater(float(chat.std()), 5.0)


if __name__ == "__main__":
    unittest.main()
