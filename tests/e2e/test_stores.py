"""The bank and a trade opened by the server in the game, driven by the player's clicks: what
each sends, and that the bank's window goes again when closed."""
import unittest

from datagen import sprites
from fakeserver import stores
from fakeserver.server import Frame
from harness.commands import poll
from worldscreen import WorldScreenTestCase

CLIENT_WIDTH, CLIENT_HEIGHT = 800, 600
DRIVER = "OpenGL"
# What the client shows may take seconds to come on a loaded machine.
SHOWN = 30


def centred(width, height):
    """The top-left corner of a window centred on the client area."""
    return CLIENT_WIDTH // 2 - width // 2, CLIENT_HEIGHT // 2 - height // 2


class StoresTest(WorldScreenTestCase):

    def sent(self, server, op, count=1):
        self.wait(server, lambda t: len(self.requests(server, op)) >= count,
                  "client request %d" % op, SHOWN)
        return [frame["request"] for frame in self.requests(server, op)]

    def shown(self, client, box, before):
        """Waits until the part of the client area changed from `before`."""
        poll(lambda: self.changed_part(before.crop(box), self.view(client).crop(box)),
             SHOWN, "the window at %s" % (box,))

    def test_bank(self):
        with self.playing(DRIVER) as (server, client):
            left, top = centred(396, 339)
            box = (left, top, left + 396, top + 339)
            before = self.view(client)
            server.sessions[0].perform([Frame(stores.bank_open("Bank", {10: sprites.SWORD}),
                                              stores.bank_balance(1234567))])
            self.shown(client, box, before)
            # Slot 10: the third column, first row.
            self.click(client, left + 39 + 2 * 40 + 18, top + 78 + 18)
            look = self.sent(server, 164)[0]
            self.assertEqual((look["container"], look["slot"], look["shape"]),
                             (250, 10, sprites.SWORD))
            self.click(client, left + 396 - 66 + 27, top + 339 - 28 + 8)  # "close"
            self.sent(server, 145)
            poll(lambda: self.changed_part(before.crop(box), self.view(client).crop(box)) is None,
                 SHOWN, "the field again where the bank was")

    def test_trade(self):
        with self.playing(DRIVER) as (server, client):
            left, top = centred(394, 413)
            box = (left, top, left + 394, top + 413)
            before = self.view(client)
            server.sessions[0].perform([Frame(stores.trade_open("Bob"))])
            self.shown(client, box, before)
            self.click(client, left + 394 - 66 + 27, top + 413 - 28 + 8)  # "accept"
            self.sent(server, 89)
            self.click(client, left + 12 + 27, top + 413 - 28 + 8)  # "cancel"
            self.sent(server, 90)


if __name__ == "__main__":
    unittest.main()
