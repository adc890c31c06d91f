"""The bank, a shop, a trade and the brewing and crafting windows opened by the server in the
game, and the noble-account store opened from the status panel after a login through Steam,
driven by the player's clicks and drags: what each sends, that each shows the sample skin's parts
where its layout puts them, with both drivers, and that a bank message naming a slot past the
mailbox ends the connection while the client runs on."""
import functools
import unittest

import numpy

from datagen import skin, sprites
from fakeserver import stores
from fakeserver.server import Frame
from harness.commands import poll
from worldscreen import DRIVERS, WorldScreenTestCase

CLIENT_WIDTH, CLIENT_HEIGHT = 800, 600
DRIVER = "OpenGL"
# What the client shows may take seconds to come on a loaded machine.
SHOWN = 30
# A push button (54 x 16) is aimed at its middle.
BUTTON_MIDDLE = (27, 8)
LEFT, RIGHT = "left", "right"

# Sizes of the windows (width, height).
BANK, TRADE, BREWING, STORE = (396, 339), (394, 413), (357, 272), (316, 381)
# The status panel's Store button: the third below the connection row, 19 pixels apart.
STORE_BUTTON = (6 + 156 // 2, 4 + 18 + 2 * 19 + 9)
# The store's purchase buttons of 30, 90 and 180 days, 64 x 64 from (46, 124), 80 apart; their
# looks lie 64 apart in the atlas from (448, 0).
PURCHASES = [(46 + 80 * i, 124, 448 + 64 * i, 0) for i in range(3)]
# A shop of 3 goods and 1 offer: 6 columns, 3 rows of goods and 1 of offers.
SHOP = (316, 339)
SHOP_GOODS_TOP, SHOP_OFFERS_TOP = 78, 78 + 4 * 40
SHOP_GOODS = [(sprites.SWORD, 5, 120, "sword"), (sprites.SHIELD, 2, 300, "shield"),
              (sprites.KEY, 9, 15, "key")]
SHOP_OFFERS = [(sprites.SWORD, 1, 80, "sword")]

# Places of the sample skin's atlas (skin image 1) that are one colour 3 pixels around, and where
# each window shows them, window-relative: (x, y, atlas x, atlas y).
GRID_CORNER, GRID_TOP_EDGE, EMPTY_CELL = (91, 31), (101, 61), (274, 114)
BUTTON_FACE = (223, 261)  # the left end of a push button, clear of its caption
POTION_MIDDLE = (730, 130)
ANVIL_TOP = (730, 299)
SOCKET_MIDDLE = (319, 260)
# Atlas colours and the screen's may differ by blending and filtering this much per channel.
TOLERANCE = 12


def centred(size):
    """The top-left corner of a window of the size centred on the client area."""
    width, height = size
    return CLIENT_WIDTH // 2 - width // 2, CLIENT_HEIGHT // 2 - height // 2


def push_button(size, side):
    """The middle of the push button at a bottom corner of a window of the size centred on the
    client area: 12 pixels from its left edge or 66 from its right one, 28 above its bottom."""
    left, top = centred(size)
    width, height = size
    x = 12 if side == LEFT else width - 66
    return left + x + BUTTON_MIDDLE[0], top + height - 28 + BUTTON_MIDDLE[1]


def grid_parts(left, top):
    """A grid frame whose outer corner is (left, top): its top-left corner piece, its first top
    edge and its first cell, empty."""
    return [(left + 4, top + 4) + GRID_CORNER, (left + 8 + 16, top + 4) + GRID_TOP_EDGE,
            (left + 6 + 18, top + 6 + 18) + EMPTY_CELL]


def button_parts(size, left=True, right=True):
    """The push buttons at the bottom corners of a window of the size."""
    width, height = size
    return ([(12 + 4, height - 28 + 8) + BUTTON_FACE] * left
            + [(width - 66 + 4, height - 28 + 8) + BUTTON_FACE] * right)


def brewing_parts(picture, point):
    """The brewing or crafting window: its picture, (x, y, w, h) of the atlas shown at (w - 193,
    h - 39 - its height), seen at one point; the empty component slots' sockets; the frames
    around the components and the main slot; the buttons."""
    sx, sy, _, picture_height = picture
    left, top = BREWING[0] - 193, BREWING[1] - 39 - picture_height
    px, py = point
    return ([(left + px - sx, top + py - sy) + point]
            + [(46 + 38 * c + 18, 88 + 38 * r + 18) + SOCKET_MIDDLE
               for c in range(3) for r in range(3)]
            + [(38 + 4, 80 + 4) + GRID_CORNER, (191 + 4, 80 + 4) + GRID_CORNER]
            + button_parts(BREWING))


@functools.lru_cache(maxsize=None)
def atlas():
    """The sample skin's atlas as rows x columns x RGB."""
    return numpy.asarray(skin.skin_atlas().convert("RGB"), dtype=int)


def mismatched(view, origin, parts):
    """The parts (x, y, atlas x, atlas y) that the window at `origin` of a view of the client
    area does not show: its pixel at (x, y), as the median of the 3 x 3 pixels around it, is
    not within TOLERANCE of the atlas's at (atlas x, atlas y). Each as (place, atlas colour,
    seen)."""
    pixels = numpy.asarray(view, dtype=int)
    left, top = origin
    found = []
    for x, y, sx, sy in parts:
        around = pixels[top + y - 1:top + y + 2, left + x - 1:left + x + 2].reshape(-1, 3)
        seen = numpy.median(around, axis=0)
        if numpy.abs(seen - atlas()[sy, sx]).max() > TOLERANCE:
            found.append(((x, y), tuple(atlas()[sy, sx]), tuple(seen)))
    return found


class StoresTest(WorldScreenTestCase):

    def sent(self, server, op, count=1):
        self.wait(server, lambda t: len(self.requests(server, op)) >= count,
                  "client request %d" % op, SHOWN)
        return [frame["request"] for frame in self.requests(server, op)]

    def shown(self, client, box, before):
        """Waits until the part of the client area changed from `before`."""
        poll(lambda: self.changed_part(before.crop(box), self.view(client).crop(box)),
             SHOWN, "the window at %s" % (box,))

    def gone(self, client, box, before):
        poll(lambda: self.changed_part(before.crop(box), self.view(client).crop(box)) is None,
             SHOWN, "the field again where the window was at %s" % (box,))

    def drag(self, client, start, end):
        """Presses the button at `start` of the client area, moves to `end` in steps and lets go
        there."""
        area = self.area(client)
        (sx, sy), (ex, ey) = start, end
        client.session.xdotool("mousemove", "--sync", area.x + sx, area.y + sy, "mousedown", "1")
        steps = 10
        for step in range(1, steps + 1):
            client.session.xdotool("mousemove", "--sync", area.x + sx + (ex - sx) * step // steps,
                                   area.y + sy + (ey - sy) * step // steps)
        client.session.xdotool("mouseup", "1")

    def shows_parts(self, client, origin, parts, name):
        """Waits until the window at `origin` of the client area shows each part (mismatched)
        and keeps a screenshot of the last look."""
        mismatches = []

        def matching():
            mismatches[:] = mismatched(self.view(client), origin, parts)
            return not mismatches
        try:
            poll(matching, SHOWN, "the parts of the %s" % name, interval=0.5)
        except TimeoutError:
            self.fail("%s: (place, atlas colour, seen) %s" % (name, mismatches))
        finally:
            client.session.screenshot(client.log_path.with_name(name + ".png"))

    def test_bank(self):
        with self.playing(DRIVER) as (server, client):
            left, top = centred(BANK)
            box = (left, top, left + BANK[0], top + BANK[1])
            before = self.view(client)
            server.sessions[0].perform([Frame(stores.bank_open("Bank", {10: sprites.SWORD}),
                                              stores.bank_balance(1234567))])
            self.shown(client, box, before)
            # Slot 10: the third column, first row.
            self.click(client, left + 39 + 2 * 40 + 18, top + 78 + 18)
            look = self.sent(server, 164)[0]
            self.assertEqual((look["container"], look["slot"], look["shape"]),
                             (250, 10, sprites.SWORD))
            self.click(client, *push_button(BANK, RIGHT))  # "close"
            self.sent(server, 145)
            self.gone(client, box, before)

    def test_bank_slot_past_the_mailbox_ends_the_connection(self):
        with self.playing(DRIVER, connection_stays=False) as (server, client):
            left, top = centred(BANK)
            box = (left, top, left + BANK[0], top + BANK[1])
            before = self.view(client)
            session = server.sessions[0]
            session.perform([Frame(stores.bank_open("Bank", {}))])
            self.shown(client, box, before)
            bank = self.view(client)
            session.perform([Frame(stores.container_insert(stores.BANK, 41, sprites.SWORD))])
            self.wait_closed_by_client(server, timeout=SHOWN)
            # The client leaves the game, tells why, and goes on drawing.
            poll(lambda: self.changed_part(bank, self.view(client)), SHOWN,
                 "the client's picture after the disconnection")
            self.assertTrue(client.running(), client.output())

    def test_shop_sells_a_dragged_offer_and_closes(self):
        with self.playing(DRIVER) as (server, client):
            left, top = centred(SHOP)
            box = (left, top, left + SHOP[0], top + SHOP[1])
            before = self.view(client)
            server.sessions[0].perform([Frame(stores.shop_open("Merchant", SHOP_GOODS,
                                                               SHOP_OFFERS))])
            self.shown(client, box, before)
            shop = self.view(client)
            # The offer (first cell of its row) onto the third goods cell.
            self.drag(client, (left + 39 + 18, top + SHOP_OFFERS_TOP + 18),
                      (left + 39 + 2 * 40 + 18, top + SHOP_GOODS_TOP + 18))
            poll(lambda: self.changed_part(shop, self.view(client)), SHOWN, "the question")
            question = self.find_box(shop, self.view(client))
            self.assertEqual(self.requests(server, 219), [], "nothing sold before yes")
            self.click(client, *question.right_button())  # "yes"
            sale = self.sent(server, 219)[0]
            self.assertEqual((sale["shape"], sale["entry"], sale["count"]), (sprites.SWORD, 0, 1))
            self.sent(server, 221)
            ops = [frame["request"]["op"] for frame in server.transcript.of("client_frame")
                   if frame.get("request", {}).get("op") in (219, 221)]
            self.assertEqual(ops, [219, 221])
            self.gone(client, box, shop)
            self.click(client, *push_button(SHOP, LEFT))  # "close"
            self.sent(server, 220)
            self.gone(client, box, before)

    def test_trade(self):
        with self.playing(DRIVER) as (server, client):
            left, top = centred(TRADE)
            box = (left, top, left + TRADE[0], top + TRADE[1])
            before = self.view(client)
            server.sessions[0].perform([Frame(stores.trade_open("Bob"))])
            self.shown(client, box, before)
            self.click(client, *push_button(TRADE, RIGHT))  # "accept"
            self.sent(server, 89)
            self.click(client, *push_button(TRADE, LEFT))  # "cancel"
            self.sent(server, 90)

    def test_the_store_shows_its_purchases_and_a_purchase_is_requested(self):
        # A purchase button's face, clear of its mark.
        parts = ([(x + 5, y + 5, sx + 5, sy + 5) for x, y, sx, sy in PURCHASES]
                 + button_parts(STORE, left=False))
        left, top = centred(STORE)
        for driver in DRIVERS:
            with self.subTest(driver=driver), self.playing(driver, steam=True) as (server,
                                                                                  client):
                self.click(client, *STORE_BUTTON)
                self.shows_parts(client, (left, top), parts, "store " + driver)
                x, y, _, _ = PURCHASES[0]
                self.click(client, left + x + 32, top + y + 32)
                self.assertEqual([purchase["days"] for purchase in self.sent(server, 225)], [30])
                # The window goes; the hint to the Steam overlay comes in a box of its own.
                poll(lambda: len(mismatched(self.view(client), (left, top), parts[:3])) == 3,
                     SHOWN, "the store gone")

    def test_windows_show_the_skin_parts_where_they_belong(self):
        windows = [
            ("bank", BANK, stores.bank_open("Bank", {10: sprites.SWORD}), stores.bank_closed(),
             grid_parts(33, 72) + button_parts(BANK, left=False)),
            ("trade", TRADE, stores.trade_open("Bob"), stores.trade_closed(),
             grid_parts(33, 65) + grid_parts(33, 226) + button_parts(TRADE)),
            ("shop", SHOP, stores.shop_open("Merchant", SHOP_GOODS, SHOP_OFFERS),
             stores.shop_closed(),
             [(33 + 4, 72 + 4) + GRID_CORNER, (33 + 4, 72 + 4 * 40 + 4) + GRID_CORNER,
              (39 + 5 * 40 + 18, SHOP_GOODS_TOP + 18) + EMPTY_CELL,
              (39 + 5 * 40 + 18, SHOP_OFFERS_TOP + 18) + EMPTY_CELL]
             + button_parts(SHOP, right=False)),
            ("brewing", BREWING, stores.brewing_open(), stores.brewing_closed(),
             brewing_parts(skin.BREWING_PICTURE, POTION_MIDDLE)),
            ("crafting", BREWING, stores.crafting_open(), stores.crafting_closed(),
             brewing_parts(skin.CRAFTING_PICTURE, ANVIL_TOP)),
        ]
        for driver in DRIVERS:
            with self.subTest(driver=driver), self.playing(driver) as (server, client):
                for name, size, opened, closed, parts in windows:
                    left, top = centred(size)
                    box = (left, top, left + size[0], top + size[1])
                    before = self.view(client)
                    server.sessions[0].perform([Frame(opened)])
                    self.shows_parts(client, (left, top), parts, "%s %s" % (name, driver))
                    server.sessions[0].perform([Frame(closed)])
                    self.gone(client, box, before)


if __name__ == "__main__":
    unittest.main()
