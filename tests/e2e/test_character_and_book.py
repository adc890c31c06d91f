"""The character sheet and the attribute window the character hotkey opens while points are
unspent, raising an attribute point by point, and the book window the server's open-book
message shows from the sample books file, paged with "next"."""
import time
import unittest

from fakeserver import books
from fakeserver import worldmessages as wm
from fakeserver.server import Frame
from harness.commands import poll
from worldscreen import FIELD, WorldScreenTestCase

DRIVER = "OpenGL"
# The windows on the 800 x 600 client area, centred: the sheet 430 x 444 and the attribute
# window 370 x 430 above it; the window shadow reaches 3 pixels aside and 5 below.
SHEET = (185, 78, 430, 444)
ATTRIBUTES = (215, 85, 370, 430)
SHADOW_SIDE, SHADOW_BELOW = 3, 5
# The console and the columns' lower parts, below the game field.
FIELD_BOTTOM = FIELD[1] + FIELD[3] + 8
# The Strength button of the attribute window.
STRENGTH = (ATTRIBUTES[0] + 33 + 32, ATTRIBUTES[1] + 114 + 32)
RAISE = 18
# The sample books: two paragraphs (400 x 500 at (200, 50)) and none (400 x 474 at (200, 63)).
PRIMER, LEDGER = books.sample_book(1), books.sample_book(12)
BOOK_X, BOOK_WIDTH = 200, 400
# A text line of the page area and the "next" button (w - 66, h - 28) of the 500-pixel book.
PAGE_TEXT = (BOOK_X + 33, 50 + 52, BOOK_X + BOOK_WIDTH - 33, 50 + 52 + 30)
NEXT = (BOOK_X + BOOK_WIDTH - 66 + 27, 50 + 500 - 28 + 8)


class CharacterAndBookTest(WorldScreenTestCase):

    def still_view(self, client):
        """The client area once the middle of two views a moment apart is alike: the field has
        settled (the status panel's Character button blinks while points are unspent)."""
        views = [self.view(client)]
        middle = (FIELD[0], 0, FIELD[0] + FIELD[2], views[0].height)

        def settled():
            views.append(self.view(client))
            alike = self.changed_part(views[-2].crop(middle), views[-1].crop(middle)) is None
            return alike and views[-1]
        return poll(settled, 20, "a still game field")

    def closed(self, client, game, window):
        """Waits until the window's place (with its shadow) below the field looks as it did
        before the window opened."""
        x, y, width, height = window
        box = (x - SHADOW_SIDE, FIELD_BOTTOM, x + width + SHADOW_SIDE, y + height + SHADOW_BELOW)
        poll(lambda: self.changed_part(game.crop(box), self.view(client).crop(box)) is None, 20,
             "the window closed")

    def shot(self, client, name):
        client.session.screenshot(client.log_path.with_name(name))

    def assert_window_at(self, before, after, window):
        """The window with its shadow appeared. The field above the console may change as well
        while a modal window is open, so the sides and the bottom are read below the field, and
        the top from the title band."""
        x, y, width, height = window
        below_field = (0, FIELD_BOTTOM, before.width, before.height)
        changed = self.changed_part(before.crop(below_field), after.crop(below_field))
        self.assertIsNotNone(changed, "no window appeared")
        left, _, right, bottom = changed
        self.assertAlmostEqual(left, x - SHADOW_SIDE, delta=2)
        self.assertAlmostEqual(right, x + width + SHADOW_SIDE, delta=2)
        self.assertAlmostEqual(bottom + FIELD_BOTTOM, y + height + SHADOW_BELOW, delta=2)
        band = (x, y + 4, x + width, y + 16)
        band_changed = self.changed_part(before.crop(band), after.crop(band))
        self.assertIsNotNone(band_changed, "no title band")
        self.assertGreater(band_changed[2] - band_changed[0], width * 3 // 4)

    def raised(self, server):
        return [frame["request"]["attribute"] for frame in self.requests(server, RAISE)]

    def test_the_hotkey_shows_the_sheet_and_points_are_raised_one_by_one(self):
        with self.playing(DRIVER) as (server, client):
            server.sessions[0].perform([Frame(wm.player_status(
                150, 150, 100, attribute_points=3, stats=[(12, 0), (9, 0), (8, 0), (20, 40)]))])
            time.sleep(1)
            game = self.view(client)
            client.key("ctrl+c")
            opened = poll(lambda: self.changed_part(game, self.view(client)) and self.view(client),
                          20, "the character and attribute windows")
            self.assert_window_at(game, opened, SHEET)
            self.shot(client, "character-attributes.png")
            # Each click spends one point; with none left the buttons are disabled.
            for _ in range(3):
                self.click(client, *STRENGTH)
                time.sleep(0.3)
            self.wait(server, lambda t: len(self.raised(server)) >= 3, "three raise requests")
            self.click(client, *STRENGTH)
            time.sleep(2)
            self.assertEqual(self.raised(server), [1, 1, 1])
            # The hotkey again closes both.
            client.key("ctrl+c")
            self.closed(client, game, SHEET)
            self.shot(client, "character-closed.png")

    def test_the_open_book_message_shows_the_book_and_next_turns_the_page(self):
        with self.playing(DRIVER) as (server, client):
            game = self.still_view(client)
            server.sessions[0].perform([Frame(books.open_book(PRIMER.id, PRIMER.key_words))])
            first = poll(lambda: self.changed_part(game, self.view(client)) and self.view(client),
                         20, "the book")
            self.assert_window_at(game, first, (BOOK_X, 50, BOOK_WIDTH, 500))
            self.shot(client, "book-page-1.png")
            self.click(client, *NEXT)
            poll(lambda: self.changed_part(first.crop(PAGE_TEXT), self.view(client).crop(PAGE_TEXT)),
                 20, "the second page")
            self.shot(client, "book-page-2.png")
            # Enter belongs to the console's chat line, which has the focus; Escape closes.
            client.key("Escape")
            self.closed(client, game, (BOOK_X, 50, BOOK_WIDTH, 500))

            server.sessions[0].perform([Frame(books.open_book(LEDGER.id, LEDGER.key_words))])
            empty = poll(lambda: self.changed_part(game, self.view(client)) and self.view(client),
                         20, "the book without paragraphs")
            self.assert_window_at(game, empty, (BOOK_X, 63, BOOK_WIDTH, 474))
            client.key("Escape")
            self.closed(client, game, (BOOK_X, 63, BOOK_WIDTH, 474))

            # A key that does not fit the record: a box says so, and the game goes on.
            wrong = list(PRIMER.key_words)
            wrong[0] ^= 1
            server.sessions[0].perform([Frame(books.open_book(PRIMER.id, wrong))])
            poll(lambda: self.changed_part(game, self.view(client)), 20, "the message box")
            self.shot(client, "book-wrong-key.png")
            self.assertTrue(client.running(), client.output())


if __name__ == "__main__":
    unittest.main()
