"""The auctioneer's rental list with its bidding window, and the guild founding window, driven as
a player would against the fake server: the windows stand where they belong, and the requests the
buttons send reach the server, or do not when the client refuses them."""
import time
import unittest

import numpy

from fakeserver import houses
from fakeserver.server import Frame
from harness.commands import poll
from worldscreen import WorldScreenTestCase

# Dialogs are centred on the 800 x 600 client area.
CLIENT_WIDTH, CLIENT_HEIGHT = 800, 600
RENTAL_SIZE, BIDDING_SIZE, FOUNDING_SIZE = (630, 340), (175, 119), (475, 393)
# Push buttons are 54 x 16.
BUTTON_WIDTH, BUTTON_HEIGHT = 54, 16
# Where the rental list's detail page puts its bid button, and the house the list offers.
BID_BUTTON_X = 522
HOUSE_ID = 7
# How long the client is given to send a request it should not send.
QUIET = 3


def origin(size):
    """The top left corner of a dialog of the size."""
    return ((CLIENT_WIDTH - size[0]) // 2, (CLIENT_HEIGHT - size[1]) // 2)


def button_centre(size, bx, by):
    """The centre of a push button at (bx, by) of a dialog of the size."""
    x, y = origin(size)
    return (x + bx + BUTTON_WIDTH // 2, y + by + BUTTON_HEIGHT // 2)


def covered_span(before, after, axis):
    """The first and last column (axis 0) or row (axis 1) of which most pixels changed between
    two views: the place of a new opaque window (the game field's water changes few)."""
    first = numpy.asarray(before).astype(int)
    second = numpy.asarray(after).astype(int)
    changed = numpy.abs(first - second).max(axis=2) > 24
    share = changed.mean(axis=axis)
    covered = numpy.nonzero(share > 0.6)[0]
    return (int(covered[0]), int(covered[-1])) if len(covered) else None


class HousesAndGuildsTest(WorldScreenTestCase):

    def assert_window_at(self, before, after, size):
        """A window of the size appeared centred on the client, its shadow aside."""
        x, y = origin(size)
        columns = covered_span(before, after, 0)
        rows = covered_span(before, after, 1)
        self.assertIsNotNone(columns, "no window appeared")
        self.assertAlmostEqual(columns[0], x, delta=4)
        self.assertAlmostEqual(columns[1], x + size[0] - 1, delta=4)
        self.assertAlmostEqual(rows[0], y, delta=4)
        self.assertAlmostEqual(rows[1], y + size[1] - 1, delta=6)

    def guild_requests(self, server, kind):
        return [f for f in self.requests(server, houses.GUILD_OPCODE) if f["request"]["type"] == kind]

    def test_outbidding_sends_the_bid_the_bank_can_pay(self):
        with self.playing("OpenGL") as (server, client):
            session = server.sessions[0]
            before = self.view(client)
            house = {'house': HOUSE_ID, 'current_bid': 250, 'bid_holder': 'Bob',
                     'auction_seconds': 3600, 'description': 'A quiet house by the sea.'}
            session.perform([Frame(houses.bank_balance(400),
                                   houses.rental_open("Auctioneer", [house]))])
            rental = poll(lambda: covered_span(before, self.view(client), 0) and self.view(client),
                          20, "the rental list")
            self.assert_window_at(before, rental, RENTAL_SIZE)
            # The detail page's two panels are darker than the box around them.
            x, y = origin(RENTAL_SIZE)
            view = numpy.asarray(rental).astype(int)
            panel = view[y + 60:y + 70, x + 330:x + 340].mean()
            gap = view[y + 60:y + 70, x + 312:x + 322].mean()
            self.assertLess(panel, gap)

            self.click(client, *button_centre(RENTAL_SIZE, BID_BUTTON_X, RENTAL_SIZE[1] - 124))
            bidding = self.view(client)
            self.assert_window_at(rental, bidding, BIDDING_SIZE)
            self.click(client, *button_centre(BIDDING_SIZE, BIDDING_SIZE[0] - 66, BIDDING_SIZE[1] - 28))
            request = self.request(server, 155)["request"]
            self.assertEqual((request["house"], request["bid"]), (HOUSE_ID, 350))

            # With 300 coins in the bank the same bid is refused: nothing reaches the server.
            session.perform([Frame(houses.bank_balance(300))])
            time.sleep(1)
            self.click(client, *button_centre(RENTAL_SIZE, BID_BUTTON_X, RENTAL_SIZE[1] - 124))
            time.sleep(1)
            self.click(client, *button_centre(BIDDING_SIZE, BIDDING_SIZE[0] - 66, BIDDING_SIZE[1] - 28))
            time.sleep(QUIET)
            self.assertEqual(len(self.requests(server, 155)), 1)

    def test_founding_sends_the_name_or_the_cancel_once(self):
        with self.playing("OpenGL") as (server, client):
            session = server.sessions[0]
            found = button_centre(FOUNDING_SIZE, FOUNDING_SIZE[0] - 66, FOUNDING_SIZE[1] - 28)
            cancel = button_centre(FOUNDING_SIZE, 12, FOUNDING_SIZE[1] - 28)

            before = self.view(client)
            session.perform([Frame(houses.guild_found_open())])
            opened = poll(lambda: covered_span(before, self.view(client), 0) and self.view(client),
                          20, "the founding window")
            self.assert_window_at(before, opened, FOUNDING_SIZE)
            client.type("Wolves")
            self.click(client, *found)
            self.wait(server, lambda t: self.guild_requests(server, "guild_found"), "the founding")
            self.assertEqual([f["request"]["name"] for f in self.guild_requests(server, "guild_found")],
                             ["Wolves"])

            session.perform([Frame(houses.guild_found_open())])
            time.sleep(1)
            self.click(client, *cancel)
            self.wait(server, lambda t: self.guild_requests(server, "guild_found_close"), "the cancel")
            time.sleep(QUIET)
            self.assertEqual(len(self.guild_requests(server, "guild_found_close")), 1)

            # Closed by the server: the window goes and nothing is sent.
            before = self.view(client)
            session.perform([Frame(houses.guild_found_open())])
            poll(lambda: covered_span(before, self.view(client), 0), 20, "the founding window again")
            session.perform([Frame(houses.guild_found_close())])
            poll(lambda: covered_span(before, self.view(client), 0) is None, 20,
                 "the founding window gone")
            time.sleep(QUIET)
            self.assertEqual(len(self.requests(server, houses.GUILD_OPCODE)), 2)


if __name__ == "__main__":
    unittest.main()
