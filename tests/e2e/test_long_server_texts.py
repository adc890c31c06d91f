"""Server texts at the lengths a hostile server may send, against the real client in both graphics
drivers: the login answer of 3000 letters and the avatar-selection answer of 20 000, which the
client shows in message boxes over the connection's status box, and notification lines of 64 KiB
over the game field. Each box lies inside the client area and closes with its button; the client
goes on running."""
import unittest

from fakeserver.gamemessages import notification_line
from fakeserver.messages import avatar_text, login_text
from fakeserver.server import Frame, Scenario
from harness.commands import poll
from harness.frontscreens import FIRST_AVATAR, Box
from worldscreen import (ACCOUNT, DRIVERS, FIELD, PASSWORD, WorldScreenTestCase,
                         mean_difference)

# The widest letter of the font, so that the texts are as wide as their length allows.
LOGIN_TEXT = "W" * 3000
SELECTION_TEXT = "W" * 20000
NOTIFICATION_TEXT = "W" * (64 * 1024)
# The notification kinds of the three places over the field: the centre line, the status line
# at the field's bottom and the info box at its top left.
CENTRE, STATUS, INFO_BOX = 0, 2, 8
# A long text fills the box's width up to the client area less its margins.
WIDE_BOX = 600
# What the client draws on a loaded machine may take seconds to show.
DRAWN = 30


class LongServerTextsTest(WorldScreenTestCase):
    time_limit = 580

    def wide_box(self, before, after):
        """The centred box that appeared between two views when it is a wide one, else None."""
        changed = self.changed_part(before, after)
        if changed is None:
            return None
        box = Box(changed[0], changed[1], after.width, after.height)
        return box if box.width > WIDE_BOX else None

    def assert_box_inside(self, client, before):
        """Waits for the wide centred box; its edges and shadow keep off the client area's
        edges."""
        box = poll(lambda: self.wide_box(before, self.view(client)), DRAWN, "wide box")
        self.assertGreater(box.x, 0, "the box's left edge is inside: %s" % box)
        self.assertGreater(box.y, 0, "the box's top edge is inside: %s" % box)
        return box

    def assert_box_closes_with_ok(self, client, box, before):
        """"ok" sits at the box's bottom right; once pressed, what still differs from the view
        before the box is narrower than the box was."""
        self.click(client, *box.right_button())
        poll(lambda: self.wide_box(before, self.view(client)) is None, DRAWN,
             "wide box closed")

    def check_text_box(self, driver, scenario, reach_text):
        """A client with the driver logs in; `reach_text` leads it to the long text, whose box is
        then checked and closed."""
        server, client = self.start(scenario, engine=DRIVERS[driver])
        try:
            main_screen = self.view(client)
            reach_text(server, client)
            box = self.assert_box_inside(client, main_screen)
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
        _, _, width, height = FIELD
        # Where the lines show over the field: its middle rows, its bottom and its top left.
        places = {"centre line": slice(height // 2 - 12, height // 2 + 12),
                  "status line": slice(height - 20, height),
                  "info box": slice(0, 40)}
        lines = Frame(*[notification_line(kind, NOTIFICATION_TEXT)
                        for kind in (CENTRE, STATUS, INFO_BOX)])
        for driver in DRIVERS:
            with self.subTest(driver=driver), self.playing(driver) as (server, client):
                before = self.field_picture(client)
                seen = set()

                def all_shown():
                    # The same text again keeps a line up for another lifetime, however long a
                    # picture takes on a loaded machine.
                    server.sessions[0].perform([lines])
                    after = self.field_picture(client)
                    seen.update(name for name, rows in places.items()
                                if mean_difference(after[rows], before[rows]) > 1)
                    return len(seen) == len(places)
                try:
                    poll(all_shown, DRAWN, "notification lines")
                except TimeoutError:
                    self.fail("only %s drawn with %s" % (sorted(seen), driver))
                self.assertTrue(client.running(), client.output())


if __name__ == "__main__":
    unittest.main()
