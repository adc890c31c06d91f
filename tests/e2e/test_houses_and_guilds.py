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


def covered_box(before, after, size):
    """(left, top, right, bottom) of the pixels that changed between two views across most of a
    dialog of the size (the game field's water changes few), or None: where a new opaque window
    stands, its shadow aside."""
    x, y = origin(size)
    first = numpy.asarray(before).astype(int)
    second = numpy.asarray(after).astype(int)
    changed = numpy.abs(first - second).max(axis=2) > 24
    columns = numpy.nonzero(changed[y:y + size[1], :].mean(axis=0) > 0.6)[0]
    rows = numpy.nonzero(changed[:, x:x + size[0]].mean(axis=1) > 0.6)[0]
    if not len(columns) or not len(rows):
        return None
    return (int(columns[0]), int(rows[0]), int(columns[-1]), int(rows[-1]))


class HousesAndGuildsTest(WorldScreenTestCase):

    def assert_window_at(self, before, after, size):
        """A window of the size appeared centred on the client, its shadow aside."""
        x, y = origin(size)
        box = covered_box(before, after, size)
        self.assertIsNotNone(box, "no window appeared")
        left, top, right, bottom = box
        self.assertAlmostEqual(left, x, delta=4)
        self.assertAlmostEqual(right, x + size[0] - 1, delta=4)
        self.assertAlmostEqual(top, y, delta=4)
        self.assertAlmostEqual(bottom, y + size[1] - 1, delta=6)

    def appeared(self, client, before, size, what):
        """The first view in which a window of the size stands over `before`."""
        def shown():
            view = self.view(client)
            return view if covered_box(before, view, size) else None
        return poll(shown, 20, what)

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
            rental = self.appeared(client, before, RENTAL_SIZE, "the rental list")
            self.assert_window_at(before, rental, RENTAL_SIZE)
            # The detail page's two panels are darker than the box around them.
            x, y = origin(RENTAL_SIZE)
            view = numpy.asarray(rental).astype(int)
            panel = view[y + 60:y + 70, x + 330:x + 340].mean()
            gap = view[y + 60:y + 70, x + 312:x + 322].mean()
            self.assertLess(panel, gap)

            self.click(client, *button_centre(RENTAL_SIZE, BID_BUTTON_X, RENTAL_SIZE[1] - 124))
            # The bidding window opens over the list, its field filled with 350: "bid" sends it.
            time.sleep(1)
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
            opened = self.appeared(client, before, FOUNDING_SIZE, "the founding window")
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
            self.appeared(client, before, FOUNDING_SIZE, "the founding window again")
            session.perform([Frame(houses.guild_found_close())])
            poll(lambda: covered_box(before, self.view(client), FOUNDING_SIZE) is None, 20,
                 "the founding window gone")
            time.sleep(QUIET)
            self.assertEqual(len(self.requests(server, houses.GUILD_OPCODE)), 2)


if __name__ == "__main__":
    unittest.main()
