"""Checks of the fake server's ability bar, ability state, item description and quest update
messages against readers written here from the protocol."""
import unittest

from fakeserver import abilities, containers, journal
from fakeserver.wire import Reader


def read_bar(payload):
    """The bar slots of an op 208 message as a dict, read as the client reads them."""
    r = Reader(payload)
    assert r.u8() == 208
    slots, slot = {}, 0
    while slot < 254:
        b = r.u8()
        if b == 254:
            slot += r.u8()
        elif b == 255:
            slot += 1
        else:
            slots[slot] = b | r.u8() << 8
            slot += 1
    assert r.remaining() == 0
    return slots


class AbilityBarTest(unittest.TestCase):
    def test_runs_single_gaps_and_abilities(self):
        # Ability 5 in slot 10, ability 263 in slot 12, the rest empty.
        self.assertEqual(abilities.ability_bar({10: 5, 12: 263}),
                         bytes([208, 254, 10, 5, 0, 255, 7, 1, 254, 241]))
        for slots in ({}, {0: 2, 1: 1}, {0: 7, 253: 3}, {30: 2, 200: 6}):
            self.assertEqual(read_bar(abilities.ability_bar(slots)), slots)

    def test_an_ability_whose_low_byte_is_a_marker_is_refused(self):
        with self.assertRaises(ValueError):
            abilities.ability_bar({0: 254})

    def test_one_slot_and_a_state(self):
        self.assertEqual(abilities.bar_slot(30, 0x0102), bytes([209, 30, 2, 1]))
        # Times go out in tens of milliseconds.
        self.assertEqual(abilities.ability_state(2, abilities.NO_TARGET, 5000, 1230),
                         bytes([217, 2, 0, 1, 0xF4, 1, 123, 0]))


class ItemDescriptionTest(unittest.TestCase):
    def test_flags_say_which_parts_follow(self):
        r = Reader(containers.item_description("Axe", "heavy", [(1, "12")], [], [(0, 20)]))
        self.assertEqual((r.u8(), r.u8()), (163, 0b1011))
        self.assertEqual((r.text8(), r.text8()), ("Axe", "heavy"))
        self.assertEqual((r.u8(), r.u8(), r.text8()), (1, 1, "12"))
        self.assertEqual((r.u8(), r.u8(), r.u8()), (1, 0, 20))
        self.assertEqual(r.remaining(), 0)
        self.assertEqual(containers.item_description("Apple"), bytes([163, 0, 5]) + b"Apple")


class QuestUpdateTest(unittest.TestCase):
    def test_quest_stage_and_value(self):
        r = Reader(journal.quest_update(101, 3, 0x3B9A41C7))
        self.assertEqual((r.u8(), r.u16(), r.u16(), r.u32()), (199, 101, 3, 0x3B9A41C7))
        self.assertEqual(r.remaining(), 0)


if __name__ == "__main__":
    unittest.main()
