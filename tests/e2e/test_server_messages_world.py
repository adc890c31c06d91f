"""The server messages of the world, its creatures and the player's values, sent one after the
other to a client playing in the sample world with OpenGL: each is read whole (the experience
line sent behind it in the same frame reaches the Info log), the connection stays open and the
client runs on. A trade request opens a menu whose "Start trading" asks the server to trade with
the creature; either message of the player's death ends the connection while the client runs
on."""
import time
import unittest

import numpy

from datagen import sprites
from fakeserver import abilities, containers, sampleworld, social, stores
from fakeserver import worldmessages as wm
from fakeserver.gamemessages import DEATH_OPS, IDLE_OPS, bare
from fakeserver.server import Frame
from harness.commands import poll
from worldscreen import WorldScreenTestCase, channel_log

DRIVER = "OpenGL"
PARTNER = sampleworld.SPARRING_PARTNER
TRADER, TRADER_NAME = PARTNER + 1, sampleworld.NAMES[0]
# The sparring partner stands at (16, 12); it is pushed to the free ground east of it and back.
EAST_OF_PARTNER = (17, 12, sampleworld.GROUND_FLOOR)
EAST, SOUTH, WEST = 2, 4, 6
# The path tile east of the player, and the one beyond it.
NEXT_TILE, FAR_TILE = (1, 0, 0), (2, 0, 0)
# On the path tile lies its ground alone: a thing put on top of it is at this index.
ON_TOP = 1
# The experience message that follows every case in its frame, and the line it writes.
PROBE = containers.experience_gained(1)
PROBE_LINE = "You've gained 1 experience point."
# What the client shows or logs may take seconds to come on a loaded machine.
SHOWN = 30
# The trade request's menu is centred on (400, 150) of the 800 x 600 client area; it lives ten
# seconds. Its rows of text are looked for within this box (left, top, right, bottom).
MENU_SEARCH = (300, 60, 500, 240)
MENU_LIFE, MENU_ATTEMPTS = 10, 3
# The entries' rows of text lie 20 pixels apart.
ROW_PITCH, ROW_PITCH_SLACK = 20, 2
# Menu text is drawn light over the menu's dark background (the sum of red, green and blue).
TEXT_BRIGHTNESS = 300
START_TRADING = 88

ALL_TEXTS = {abilities.FIRST_TEXT: "Ember", abilities.DESCRIPTION: "Throws a small flame.",
             abilities.THIRD_TEXT: "Fire", abilities.FIFTH_TEXT: "Costs 5 mana",
             abilities.DROPPED_TEXT: "unused"}

# Cases that need no state of the world: (what, messages).
PLAIN_CASES = [
    ("idle messages", [bare(op) for op in IDLE_OPS]),
    ("player points", [wm.player_points(120, 30)]),
    ("statistic first and third", [wm.stat_first_and_third(0, 12, 3)]),
    ("statistic second", [wm.stat_second(0, 55)]),
    ("status effects, one beyond the list", [wm.active_status_effects([0, 200])]),
    ("no status effects", [wm.active_status_effects([])]),
    ("screen shake", [wm.screen_shake(6, 700)]),
    ("ability data", [abilities.ability_data([
        (1, (sprites.SPARKLE, 1, 0), ALL_TEXTS),
        (999, None, {abilities.DROPPED_TEXT: "an ability the client does not know"})])]),
    ("a thing enters the path", [wm.thing_enter(NEXT_TILE, ON_TOP, sprites.COINS, 5)]),
    ("its count", [wm.thing_count(NEXT_TILE, ON_TOP, 300)]),
    ("its sub-id", [wm.thing_sub_id(NEXT_TILE, ON_TOP, 7)]),
    ("it becomes a sword", [wm.thing_replace(NEXT_TILE, ON_TOP, sprites.SWORD)]),
    ("it leaves", [wm.thing_leave(NEXT_TILE, ON_TOP)]),
    ("count and sub-id of a tile out of the world", [
        wm.thing_count((-12, 0, 0), 0, 2), wm.thing_sub_id((-12, 0, 0), 0, 1)]),
    ("an effect on the path", [wm.tile_effect(FAR_TILE, sprites.SPARKLE)]),
    ("a lasting effect on a creature", [
        wm.creature_effect(wm.LASTING_EFFECT, PARTNER, (0, 0), sprites.SPARKLE)]),
    ("an effect plays once", [
        wm.creature_effect(wm.PASSING_EFFECT, PARTNER, (1, -1), sprites.PUFF)]),
    ("the lasting effect ends", [
        wm.creature_effect(wm.ENDING_EFFECT, PARTNER, (0, 0), sprites.SPARKLE)]),
    ("a creature turns", [wm.creature_turn(PARTNER, SOUTH)]),
    ("a creature's health", [wm.creature_health(PARTNER, 150)]),
    ("a creature's name", [wm.creature_name(PARTNER, "Sparring Master")]),
    ("a creature's look", [wm.creature_shape(PARTNER, sprites.PERSON, 0x01020304)]),
    ("a creature's lights", [wm.creature_lights(PARTNER, [sprites.TORCH, sprites.SPARKLE])]),
    ("a creature without lights", [wm.creature_lights(PARTNER, [])]),
    ("a creature's speed", [wm.creature_speed(PARTNER, 320)]),
    ("a player's new name", [social.player_renamed(TRADER_NAME, "Brannoc")]),
]


def info_lines(folder):
    return channel_log(folder, "Info").count(PROBE_LINE)


class ServerMessagesWorldTest(WorldScreenTestCase):

    def send_case(self, server, client, folder, what, messages):
        """Sends the messages and the probe behind them in one frame; waits for the probe's
        line and checks that the connection and the client are still there."""
        before = info_lines(folder)
        server.sessions[0].perform([Frame(*messages, PROBE)])
        try:
            poll(lambda: info_lines(folder) > before or server.transcript.of("closed"), SHOWN,
                 "the line after %s" % what)
        except TimeoutError:
            self.fail("%s: the message behind it was not read" % what)
        self.assertEqual(server.transcript.of("closed"), [], what)
        self.assertEqual(info_lines(folder), before + 1, what)
        self.assertTrue(client.running(), what)

    @staticmethod
    def forced_player_step(world, direction):
        """Op 58: the player is pushed one tile; the world follows."""
        with world.lock:
            x, y, z = world.player.position
            dx, dy = wm.DELTAS[direction]
            world.player.position = (x + dx, y + dy, z)
            _, up, down = world.floors()
            return [wm.forced_step(direction, world.player.position, up, down, world.content,
                                   value=400, flag=True)]

    @staticmethod
    def forced_creature_step(world, creature_id, direction):
        """Op 107: a creature is pushed one tile; the world follows."""
        with world.lock:
            creature = world.creatures[creature_id]
            x, y, z = creature.position
            dx, dy = wm.DELTAS[direction]
            creature.position = (x + dx, y + dy, z)
            return [wm.creature_forced_step(creature_id, direction, value=400, flag=True)]

    @staticmethod
    def area_again(world):
        """Op 111 with the things of the area; the creatures, which the client knows already,
        are not in it."""
        def things(x, y, z):
            return [(shape, 1, 0) for shape in sampleworld.tile_shapes(x, y, z)], []
        with world.lock:
            _, up, down = world.floors()
            return [wm.area_reread(world.player.position, up, down, things)]

    def test_each_message_is_read_whole_and_the_game_goes_on(self):
        folder = self.run_folder()
        with self.playing(DRIVER, folder=folder, loginfo="true", experience="true") as (
                server, client):
            world = server.sessions[0].world
            for what, messages in PLAIN_CASES:
                self.send_case(server, client, folder, what, messages)
            self.assertTrue(world.free(EAST_OF_PARTNER))
            steps = [
                ("a creature pushed east", lambda: self.forced_creature_step(world, PARTNER, EAST)),
                ("and back west", lambda: self.forced_creature_step(world, PARTNER, WEST)),
                ("the player pushed east", lambda: self.forced_player_step(world, EAST)),
                ("and back west", lambda: self.forced_player_step(world, WEST)),
                ("the area read again", lambda: self.area_again(world)),
                ("a creature still known after it", lambda: [wm.creature_health(PARTNER, 90)]),
            ]
            for what, messages in steps:
                self.send_case(server, client, folder, what, messages())

    def test_a_trade_request_offers_to_start_trading(self):
        with self.playing(DRIVER) as (server, client):
            for _ in range(MENU_ATTEMPTS):
                before = numpy.asarray(self.view(client), dtype=int)
                server.sessions[0].perform([Frame(stores.trade_request(TRADER))])
                sent = time.monotonic()
                start_trading = poll(lambda: self.first_entry(
                    before, numpy.asarray(self.view(client), dtype=int)), SHOWN,
                    "the trade request's menu")
                if time.monotonic() - sent < MENU_LIFE / 2:
                    break
                # Seen too late to be sure of a click before it goes: once gone, again.
                time.sleep(MENU_LIFE)
            else:
                self.fail("the menu was never seen soon enough to choose from it")
            self.click(client, MENU_SEARCH[0] + 100, start_trading)
            request = self.request(server, START_TRADING, SHOWN)["request"]
            self.assertEqual(request["creature"], TRADER)

    @staticmethod
    def first_entry(before, after):
        """The middle (y of the client area) of the menu's first entry, "Start trading": of the
        rows of light text that came into MENU_SEARCH (the menu's title, its two entries and
        perhaps the request's notification line), the first of two a row pitch apart."""
        left, top, right, bottom = MENU_SEARCH
        old = before[top:bottom, left:right].sum(axis=-1)
        new = after[top:bottom, left:right].sum(axis=-1)
        lit = ((new > TEXT_BRIGHTNESS) & (old <= TEXT_BRIGHTNESS)).any(axis=1)
        rows, start = [], None
        for y, on in enumerate(list(lit) + [False]):
            if on and start is None:
                start = y
            elif not on and start is not None:
                rows.append(top + (start + y) // 2)
                start = None
        pairs = [first for first, second in zip(rows, rows[1:])
                 if abs(second - first - ROW_PITCH) <= ROW_PITCH_SLACK]
        return pairs[0] if len(pairs) == 1 else None

    def test_either_death_message_ends_the_connection(self):
        for op in DEATH_OPS:
            with self.subTest(op=op), self.playing(DRIVER, connection_stays=False) as (
                    server, client):
                server.sessions[0].perform([Frame(bare(op))])
                self.wait_closed_by_client(server, timeout=SHOWN)


if __name__ == "__main__":
    unittest.main()
