"""Checks of the fake server's smaller game messages (single changes of tiles and creatures,
forced steps, the area read again, the player's points and statistics, ability data, trade
requests and renames) against their byte layouts in the protocol."""
import unittest

from datagen import sprites
from fakeserver import abilities, social, stores
from fakeserver import worldmessages as wm
from fakeserver.gamemessages import bare
from fakeserver.wire import Reader
import test_fakeserver_world as world_checks

CREATURE = 9
# Coins on floor 7 whose count names their position.
MARKED = world_checks.AreaAndStepTest.marked


class LayoutTest(unittest.TestCase):
    def test_bytes_of_each_message(self):
        cases = [
            (wm.player_points(120, 30), '13' '7800' '1e00'),
            (wm.stat_first_and_third(2, 12, 3), '15' '02' '0c' '03'),
            (wm.active_status_effects([0, 200]), '17' '02' '00' 'c8'),
            (wm.active_status_effects([]), '17' '00'),
            (wm.stat_second(2, 55), '18' '02' '37'),
            (wm.screen_shake(6, 700), '39' '06' 'bc02'),
            (wm.thing_enter((1, -1, 0), 1, sprites.COINS, 300), '40' '01ff00' '01' '8200' 'ac02'),
            (wm.thing_leave((-2, 0, 1), 3), '41' 'fe0001' '03'),
            (wm.thing_replace((0, 0, 0), 2, sprites.SWORD), '44' '000000' '02' '8d00'),
            (wm.thing_sub_id((1, 0, 0), 1, 7), '45' '010000' '01' '07000000'),
            (wm.thing_count((1, 0, 0), 1, 5), '46' '010000' '01' '05'),
            (wm.tile_effect((0, 1, 0), sprites.SWORD), '48' '000100' '8d00'),
            (wm.creature_effect(wm.LASTING_EFFECT, CREATURE, (1, -1), sprites.SWORD),
             '4a' '09000000' '01ff' '8d00'),
            (wm.creature_effect(wm.ENDING_EFFECT, CREATURE, (0, 0), sprites.POTION, 2, 7),
             '4c' '09000000' '0000' '8400' '02' '07000000'),
            (wm.creature_turn(CREATURE, 4), '64' '09000000' '04'),
            (wm.creature_health(CREATURE, 150), '69' '09000000' '96'),
            (wm.creature_forced_step(CREATURE, 2, 400, flag=True), '6b' '09000000' '9001' '82'),
            (wm.creature_forced_step(CREATURE, 6), '6b' '09000000' '0000' '06'),
            (wm.creature_name(CREATURE, 'Bo'), '72' '09000000' '02426f'),
            (wm.creature_shape(CREATURE, sprites.PERSON, 0x01020304),
             '73' '09000000' 'c800' '04030201'),
            (wm.creature_shape(CREATURE, sprites.SWORD), '73' '09000000' '8d00'),
            (wm.creature_lights(CREATURE, [16, 0x1234]), '75' '09000000' '1000' '3412' 'ff'),
            (wm.creature_lights(CREATURE, []), '75' '09000000' 'ff'),
            (wm.creature_speed(CREATURE, 320), '76' '09000000' '4001'),
            (bare(17), '11'),
            (stores.trade_request(2001), '5b' 'd1070000'),
            (social.player_renamed('Al', 'Bo'), '77' '02416c' '02426f'),
            (abilities.ability_data([
                (5, (sprites.SWORD, 1, 0),
                 {abilities.FIRST_TEXT: 'A', abilities.DROPPED_TEXT: 'B'}),
                (6, None, {abilities.DESCRIPTION: 'C'})]),
             '47' '23' '0500' '8d00' '0141' '0142' '04' '0600' '0143' '00'),
        ]
        for message, expected in cases:
            with self.subTest(expected):
                self.assertEqual(message.hex(), expected)

    def test_what_cannot_be_sent_is_refused(self):
        with self.assertRaises(ValueError):
            wm.creature_lights(CREATURE, [0x1FF])
        with self.assertRaises(ValueError):
            abilities.ability_data([(5, None, {})])


class ForcedStepAndAreaTest(unittest.TestCase):
    def test_a_forced_step_carries_a_transition_behind_its_value(self):
        position = (51, 60, 7)
        forced = wm.forced_step(2, position, 1, 1, MARKED, value=400, flag=True,
                                step_value=wm.DAYLIGHT)
        step = wm.transition(2, position, 1, 1, MARKED)
        self.assertEqual(forced[:4].hex(), '3a' '9001' '82')
        self.assertEqual(forced[4:], step[2:])

    def test_the_area_read_again_covers_the_whole_view(self):
        r = Reader(wm.area_reread((50, 60, 7), 1, 1, MARKED))
        self.assertEqual((r.u8(), r.u8(), r.u8()), (111, 1, 1))
        tiles = world_checks.StreamReader(r).read([wm.area_rectangle(50, 60)], [7, 8, 6])
        self.assertEqual(r.remaining(), 0)
        self.assertEqual(len(tiles), 24 * 20)
        self.assertEqual(tiles[(39, 51, 7)][0], [(sprites.COINS, 39 + 5100 + 1, 0)])


if __name__ == '__main__':
    unittest.main()
