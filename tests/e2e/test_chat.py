"""Chat in the sample world with OpenGL and with Direct3D 9: channel messages, private messages
and speech arrive in the console's channels and over the field, the logged channels write their
files under logs/, and a chat line shows its coloured word and its smiley."""
import time
import unittest

import numpy
from PIL import Image

from fakeserver import gamemessages as gm
from fakeserver import sampleworld
from fakeserver.server import Frame
from worldscreen import (FIELD, DRIVERS, WorldScreenTestCase, channel_log, count_near,
                         mean_difference)

# The chat boxes lie below the game field on the 800 x 600 client area.
CHAT = (0, 390, 800, 600)
FIELD_BOX = (FIELD[0], FIELD[1], FIELD[0] + FIELD[2], FIELD[1] + FIELD[3])
# A tinted word of the chat's grey text ("{r:"), and the face of the smiley ":)".
RED_WORD, SMILEY_FACE = (224, 134, 134), (250, 160, 40)
WORLD = 1
SPEAKER = sampleworld.SPARRING_PARTNER
LOG_WAIT = 20


class ChatTest(WorldScreenTestCase):

    def pictures(self, client, *boxes):
        """Parts (left, top, right, bottom) of the client area as it is on screen now, all from
        one screenshot."""
        area = client.probe.client_area(client.wait_window().hwnd)
        path = client.log_path.with_name("chat-%d.png" % time.monotonic_ns())
        client.session.screenshot(path)
        with Image.open(path) as shot:
            rgb = shot.convert("RGB")
            return [numpy.asarray(rgb.crop((area.x + left, area.y + top, area.x + right,
                                            area.y + bottom)))
                    for left, top, right, bottom in boxes]

    def log_records(self, folder, channel):
        """The records of today's log of the channel, without their time stamps."""
        return channel_log(folder, channel)

    def wait_records(self, folder, channel, predicate, what):
        deadline = time.monotonic() + LOG_WAIT
        while time.monotonic() < deadline:
            if predicate(self.log_records(folder, channel)):
                return
            time.sleep(0.2)
        self.fail("%s; %s log: %r" % (what, channel, self.log_records(folder, channel)))

    def test_messages_are_shown_and_logged(self):
        folder = self.run_folder()
        with self.playing("OpenGL", folder=folder, logs="World,Alice", loginfo="true",
                          channels="World", ignored="Mallory") as (server, client):
            session = server.sessions[0]
            session.perform([Frame(gm.channel_message(WORLD, "Bob", "hi {r:x} :)"))])
            self.wait_records(folder, "World", lambda r: "Bob: hi {r:x} :)" in r,
                              "the channel message")
            world = self.log_records(folder, "World")
            self.assertEqual(world[0], "Welcome to the world channel!")
            self.assertTrue(world[1].startswith("Say \"hello\""), world)
            self.assertEqual(world[2:], ["Bob: hi {r:x} :)"])

            session.perform([Frame(gm.private_message("Alice", "psst"))])
            session.perform([Frame(gm.private_message("Alice", "psst"))])
            self.wait_records(folder, "Alice", lambda r: len(r) >= 2, "the private messages")
            self.assertEqual(self.log_records(folder, "Alice"), ["Alice: psst"] * 2)
            notice = "There's a personal message from Alice."
            self.wait_records(folder, "Info", lambda r: notice in r, "the notification")

            # A channel that is not open, and a muted sender: nothing at all.
            session.perform([Frame(gm.channel_message(3, "Bob", "sell"),
                                   gm.private_message("Mallory", "spam"))])
            session.perform([Frame(gm.private_message("Alice", "last"))])
            self.wait_records(folder, "Alice", lambda r: "Alice: last" in r, "the last message")
            self.assertEqual(self.log_records(folder, "Info").count(notice), 1)
            self.assertFalse((folder.path / "logs" / "Trade").exists())
            self.assertFalse((folder.path / "logs" / "Mallory").exists())
            self.assertTrue(client.running(), client.output())

    def test_a_chat_line_shows_its_colour_and_smiley_and_speech_a_bubble(self):
        for driver in DRIVERS:
            with self.subTest(driver=driver), \
                    self.playing(driver, channels="") as (server, client):
                chat, field = self.pictures(client, CHAT, FIELD_BOX)
                server.sessions[0].perform([Frame(gm.speech(SPEAKER, "hi {r:red} :)"))])
                # The bubble of a short text shows for 2.5 seconds.
                time.sleep(0.8)
                chat_after, field_after = self.pictures(client, CHAT, FIELD_BOX)
                self.assertGreater(count_near(chat_after, RED_WORD, 0.03, 200),
                                   count_near(chat, RED_WORD, 0.03, 200) + 5, "the red word")
                self.assertGreater(count_near(chat_after, SMILEY_FACE, 0.03, 200),
                                   count_near(chat, SMILEY_FACE, 0.03, 200) + 5, "the smiley")
                self.assertGreater(mean_difference(field, field_after), 0.05, "the speech bubble")

if __name__ == "__main__":
    unittest.main()
