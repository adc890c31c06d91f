"""The fake server's house, rental and guild messages: their bytes in the layouts the protocol
gives, field by field."""
import struct
import unittest

from fakeserver import houses


def text(value):
    raw = value.encode('utf-8')
    return bytes([len(raw)]) + raw


class HouseMessagesTest(unittest.TestCase):

    def test_house_info_puts_the_guest_count_before_the_texts(self):
        message = houses.house_info(77, 1, 120, 2500, 172800, 'Northport', 'Elm', 'Lane 3',
                                    [('Ann', 1), ('Bob', 0)])
        expected = (bytes([146]) + struct.pack('<IHHIII', 77, 1, 120, 2500, 172800, 2)
                    + text('Northport') + text('Elm') + text('Lane 3')
                    + text('Ann') + struct.pack('<I', 1) + text('Bob') + struct.pack('<I', 0))
        self.assertEqual(message, expected)

    def test_small_messages(self):
        self.assertEqual(houses.house_lost(), bytes([147, 0, 0, 0, 0]))
        self.assertEqual(houses.bank_balance(400), bytes([148]) + struct.pack('<I', 400))
        self.assertEqual(houses.auction_update(7, 1, 350, 60, 'Bob'),
                         bytes([155]) + struct.pack('<IIII', 7, 1, 350, 60) + text('Bob'))
        self.assertEqual(houses.rental_close(), bytes([156]))
        self.assertEqual(houses.auction_notice('Sold.'), bytes([157]) + text('Sold.'))
        self.assertEqual(houses.guild_found_open(), bytes([227, 2]))
        self.assertEqual(houses.guild_found_close(), bytes([227, 3]))

    def test_rental_list_fills_missing_fields_with_defaults(self):
        message = houses.rental_open('Auctioneer', [{'house': 7, 'current_bid': 250,
                                                     'bid_holder': 'Bob', 'auction_seconds': 3600}])
        expected = (bytes([154]) + text('Auctioneer') + struct.pack('<I', 1)
                    + struct.pack('<IHHIII', 7, 1, 100, 1000, 250, 3600)
                    + text('Northport') + text('Elm') + text('Lane 3') + text('') + text('Bob')
                    + text(''))
        self.assertEqual(message, expected)

    def test_guild_list_widens_nothing_and_puts_invitations_last(self):
        message = houses.guild_list([(300, 'Wolves', 9, [(4, 'Hero', 1)])],
                                    [(12, 'Bears', 'Ann', 3, 4)])
        expected = (bytes([227, 1, 1, 1]) + struct.pack('<H', 300) + text('Wolves')
                    + struct.pack('<IH', 9, 1) + bytes([4]) + text('Hero') + struct.pack('<I', 1)
                    + bytes([1]) + struct.pack('<H', 12) + text('Bears') + text('Ann')
                    + struct.pack('<II', 3, 4))
        self.assertEqual(message, expected)


if __name__ == '__main__':
    unittest.main()
