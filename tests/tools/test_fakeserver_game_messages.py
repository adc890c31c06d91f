"""Checks of the fake server's smaller game-state messages against their layouts written here
from the protocol: creature marks, targets, abilities, shop updates, refusals, the party's look
into a container and the death."""
import unittest

from datagen import sprites
from fakeserver import abilities, containers, stores
from fakeserver import gamemessages as gm
from fakeserver import worldmessages as wm
from fakeserver.wire import Reader


class LayoutTest(unittest.TestCase):
    def test_fields_in_wire_order(self):
        cases = [
            (gm.use_with_mode(), [132]),
            (wm.target_list(wm.TARGET_ADD, 0x01020304), [161, 1, 4, 3, 2, 1]),
            (wm.sitting(2000, True), [162, 0xD0, 0x07, 0, 0, 1]),
            (wm.sitting(2000, False), [162, 0xD0, 0x07, 0, 0, 0]),
            (containers.examine_refused(), [164]),
            (containers.open_refused(), [165]),
            (gm.unused_value(7), [182, 7, 0, 0, 0]),
            # Two signed bytes, a u8 and a text with its length as a varint.
            (gm.unused_notice(-1, 2, 3, "ok"), [191, 0xFF, 2, 3, 2, ord("o"), ord("k")]),
            (wm.floating_number(5, 1, 300), [194, 5, 0, 0, 0, 1, 0x2C, 0x01]),
            (abilities.ability_flags(2, abilities.UNUSABLE), [215, 2, 0, 0x80]),
            (abilities.all_ability_states([]), [216, 0, 0]),
            # Times go out in tens of milliseconds.
            (abilities.all_ability_states([(1, abilities.NO_TARGET, 5000, 1230), (3, 0, 0, 0)]),
             [216, 2, 0, 1, 0, 1, 0xF4, 1, 123, 0, 3, 0, 0, 0, 0, 0, 0]),
            (wm.new_outfit(0x0102), [218, 2, 1]),
            (stores.goods_update(4, 3, 99), [221, 4, 3, 0, 99, 0, 0, 0]),
            (stores.question_withdrawn(), [223]),
            (gm.banned(), [224]),
            # A stackable corpse carries its count; an unknown shape stands alone.
            (containers.death(sprites.COINS, 7), [252, 130, 0, 7]),
            (containers.death(999), [252, 0xE7, 0x03]),
        ]
        for message, expected in cases:
            with self.subTest(message=message):
                self.assertEqual(message, bytes(expected))

    def test_only_the_opcodes_without_fields_and_effect(self):
        self.assertEqual([gm.bare(op) for op in (200, 201, 207)],
                         [bytes([200]), bytes([201]), bytes([207])])
        with self.assertRaises(ValueError):
            gm.bare(224)


class LookIntoContainerTest(unittest.TestCase):
    def test_the_member_then_one_description_more_than_items(self):
        r = Reader(containers.container_looked_into(2000, "Backpack", ("Sword", "Key")))
        self.assertEqual((r.u8(), r.u32(), r.u8()), (166, 2000, 2))
        self.assertEqual([(r.u8(), r.text8()) for _ in range(3)],
                         [(0, "Backpack"), (0, "Sword"), (0, "Key")])
        self.assertEqual(r.remaining(), 0)

    def test_an_empty_container(self):
        self.assertEqual(containers.container_looked_into(1, "Bag"),
                         bytes([166, 1, 0, 0, 0, 0, 0, 3]) + b"Bag")


if __name__ == "__main__":
    unittest.main()
