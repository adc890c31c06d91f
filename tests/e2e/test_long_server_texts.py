"""Server texts at the lengths a hostile server may send, against the real client in both graphics
drivers: the login answer of 3000 letters and the avatar-selection answer of 20 000, which the
client shows in message boxes over the connection's status box, and notification lines of 64 KiB
over the game field. Each box lies inside the client area and closes with its button; the client
goes on running."""
import time
import unittest

from fakeserver.gamemessages import notification_line
from fakeserver.messages import avatar_text, login_text
from fakeserver.server import Frame, Scenario
from harness.frontscreens import FIRST_AVATAR, SETTLE, Box
from worldscreen import ACCOUNT, DRIVERS, FIELD, PASSWORD, WorldScreenTestCase

# The widest letter of the font, so that the texts are as wide as their length allows.
LOGIN_TEXT = "W" * 3000
SELECTION_TEXT = "W" * 20000
NOTIFICATION_TEXT = "W" * (64 * 1024)
# The notification kinds of the three places over the field: the centre line, the status line
# at the field's bottom and the info box at its top left.
CENTRE, STATUS, INFO_BOX = 0, 2, 8
# A long text fills the box's width up to the client area less its margins.
WIDE_BOX = 600


class LongServerTextsTest(WorldScreenTestCase):
    time_limit = 580

    def assert_box_inside(self, before, after):
        """The centred box that appeared between two views: its edges and shadow keep off the
        client area's edges, and the long text makes it wide."""
        changed = self.changed_part(before, after)
        self.assertIsNotNone(changed, "no box appeared")
        left, top, right, bottom = changed
        self.assertGreater(left, 0, "the box's left edge is inside: %s" % (changed,))
        self.assertGreater(top, 0, "the box's top edge is inside: %s" % (changed,))
        box = Box(left, top, after.width, after.height)
        self.assertGreater(box.width, WIDE_BOX, box)
        return box

    def assert_box_closes_with_ok(self, client, box, before):
        """"ok" sits at the box's bottom right; once pressed, what still differs from the view
        before the box is narrower than the box was."""
        self.click(client, *box.right_button())
        changed = self.changed_part(before, self.view(client))
        if changed is not None:
            self.assertGreater(changed[0], box.x + 20, "the wide box is gone: %s" % (changed,))

    def check_text_box(self, driver, scenario, reach_text):
        """A client with the driver logs in; `reach_text` leads it to the long text, whose box is
        then checked and closed."""
        server, client = self.start(scenario, engine=DRIVERS[driver])
        try:
            main_screen = self.view(client)
            reach_text(server, client)
            time.sleep(2 * SETTLE)
            box = self.assert_box_inside(main_screen, self.view(client))
            self.assert_box_closes_with_ok(client, box, main_screen)
            self.assertTrue(client.running(), client.output())
        finally:
            client.kill()
            server.stop()

    def test_the_login_answer_of_3000_letters_shows_in_a_box_inside_the_client_area(self):
        def log_in(server, client):
            self.log_in(client, ACCOUNT, PASSWORD)
            self.wait(server, lambda t: len(t.of("server_frame")) == 2, "the text")

        scenario = Scenario(accounts={ACCOUNT: PASSWORD},
                            on={(0, 2): [Frame(login_text(LOGIN_TEXT))]})
        for driver in DRIVERS:
            with self.subTest(driver=driver):
                self.check_text_box(driver, scenario, log_in)

    def test_the_answer_of_20000_letters_to_the_chosen_avatar_shows_inside_the_client_area(self):
        # The text arrives while the status box says the client is connecting to the world.
        def choose_avatar(server, client):
            self.log_in(client, ACCOUNT, PASSWORD)
            self.play(server, client, FIRST_AVATAR)
            self.wait(server, lambda t: len(t.of("server_frame")) == 3, "the text")

        scenario = Scenario(accounts={ACCOUNT: PASSWORD},
                            on={(1, 7): [Frame(avatar_text(SELECTION_TEXT))]})
        for driver in DRIVERS:
            with self.subTest(driver=driver):
                self.check_text_box(driver, scenario, choose_avatar)

    def test_notifications_of_64_kib_leave_the_game_going(self):
        for driver in DRIVERS:
            with self.subTest(driver=driver), self.playing(driver) as (server, client):
                before = self.field_picture(client)
                server.sessions[0].perform(
                    [Frame(notification_line(kind, NOTIFICATION_TEXT))
                     for kind in (CENTRE, STATUS, INFO_BOX)])
                time.sleep(1)
                after = self.field_picture(client)
                # The lines show over the field: its middle row, its bottom and its top left.
                _, _, width, height = FIELD
                for name, rows in (("centre line", slice(height // 2 - 12, height // 2 + 12)),
                                   ("status line", slice(height - 20, height)),
                                   ("info box", slice(0, 40))):
                    self.assertGreater(
                        abs(after[rows].astype(int) - before[rows].astype(int)).mean(), 1,
                        "%s drawn with %s" % (name, driver))
                self.assertTrue(client.running(), client.output())


if __name__ == "__main__":
    unittest.main()
