"""The game-state messages that change little or nothing a player sees at once, sent by the
server one after the other in the game: after each the connection stays open and the client
keeps running and pinging; a party member's look into a container leaves its line in the Party
channel's log, worded by the client, the server's withdrawn question takes its yes/no box away,
and the deaths after a ban leave their lines in the Info channel's log."""
import unittest

from datagen import sprites
from fakeserver import abilities, containers, social, stores
from fakeserver import gamemessages as gm
from fakeserver import worldmessages as wm
from fakeserver.sampleworld import SPARRING_PARTNER
from fakeserver.server import Frame
from harness.commands import poll
from harness.frontscreens import PING
from worldscreen import WorldScreenTestCase, channel_log

DRIVER = "OpenGL"
# On a loaded machine the client may take its time to answer or to write its logs.
WAIT = 30
# A ping sent after the client has read a message: the next one may already have been on its way.
PINGS_AFTER = 2
# Ends every case's frame: a client that read more bytes than the case's messages hold would
# take a byte 255 of it for an unknown opcode and end the connection.
SENTINEL = gm.unused_value(0xFFFFFFFF)
# The share of a box's pixels that may still look as they did once it has gone: tiles under it
# that happen to look as they did while it was shown.
GONE = 0.05
PARTNER = "Sparring Partner"
UNKNOWN_CREATURE = 99999
# Abilities of the sample spells file.
FIREBALL, HEALING_LIGHT = 1, 2
UNKNOWN_ABILITY = 999
UNKNOWN_SHAPE = 999
SHOP_GOODS = [(sprites.SWORD, 5, 120, "sword"), (sprites.KEY, 9, 15, "key")]
# A party member's looks into containers, (container, items, the end of its line in the log):
# articles before the first and the last item unless they begin with a digit.
LOOKS = [("Bag", (), "bag is empty."),
         ("Chest", ("Sword",), "chest contains a sword."),
         ("Backpack", ("Sword", "Key"), "backpack contains a sword and a key."),
         ("Backpack", ("Apple", "Sword", "3 Arrows"),
          "backpack contains an apple, sword and 3 arrows.")]


class ServerMessagesGameTest(WorldScreenTestCase):

    def alive(self, server, client, name):
        """Waits until the client has pinged again after the last message (or the connection
        has closed) and checks that the connection is still open."""
        pings = len(self.requests(server, PING))
        self.wait(server, lambda t: (len(self.requests(server, PING)) >= pings + PINGS_AFTER
                                     or t.of("closed")),
                  "pings after %s" % name, WAIT)
        self.assertEqual(server.transcript.of("closed"), [], "the connection after " + name)
        self.assertTrue(client.running(), client.output())

    def logged(self, folder, channel, predicate, what):
        return poll(lambda: [line for line in channel_log(folder, channel) if predicate(line)],
                    WAIT, what)

    def test_game_messages_keep_the_connection(self):
        folder = self.run_folder()
        with self.playing(DRIVER, folder=folder, logs="Party", loginfo="true") as (server,
                                                                                    client):
            session = server.sessions[0]
            player = session.world.player
            # The server's question whether to sell opens a yes/no box in the middle of the
            # client area; the server withdraws it and the box goes.
            # The water at the field's left edge goes on moving, under the box too.
            before = self.view(client)
            session.perform([Frame(stores.sell_question(sprites.SWORD, 80))])

            def question():
                shown = self.view(client)
                left, top, right, bottom = self.changed_part(before, shown) or (0, 0, 0, 0)
                return shown if right - left > 100 and bottom - top > 80 else None
            shown = poll(question, WAIT, "the question")
            session.perform([Frame(stores.question_withdrawn())])
            poll(lambda: self.still_shown(before, shown, self.view(client)) < GONE, WAIT,
                 "the question gone")
            self.alive(server, client, "the question withdrawn (223)")

            cases = [
                ("use-with mode (132)", [gm.use_with_mode()]),
                ("walk refused (160)", [wm.walk_refused()]),
                ("target added (161)", [wm.target_list(wm.TARGET_ADD, SPARRING_PARTNER)]),
                ("target removed (161)", [wm.target_list(wm.TARGET_REMOVE, SPARRING_PARTNER)]),
                ("only target (161)", [wm.target_list(wm.TARGET_ONLY, SPARRING_PARTNER)]),
                ("target lost (161)", [wm.target_list(wm.TARGET_ONLY, UNKNOWN_CREATURE)]),
                ("sitting and standing (162)", [wm.sitting(SPARRING_PARTNER, True),
                                                wm.sitting(player.id, True),
                                                wm.sitting(player.id, False),
                                                wm.sitting(UNKNOWN_CREATURE, True)]),
                ("examine refused (164)", [containers.examine_refused()]),
                ("open refused (165)", [containers.open_refused()]),
                ("ignored value (182)", [gm.unused_value(7)]),
                ("ignored notice (191)", [gm.unused_notice(-1, 2, 3, "note")]),
                ("floating numbers (194)", [wm.floating_number(SPARRING_PARTNER, 1, 25),
                                            wm.floating_number(UNKNOWN_CREATURE, 2, 7)]),
                ("typing marks (196, 197)", [gm.typing(SPARRING_PARTNER, True),
                                             gm.typing(SPARRING_PARTNER, False),
                                             gm.typing(UNKNOWN_CREATURE, True)]),
                ("no operations (200, 201, 207)",
                 [gm.bare(op) for op in (200, 201, 207)]),
                ("ability flags (215)", [abilities.ability_flags(FIREBALL, 1),
                                         abilities.ability_flags(UNKNOWN_ABILITY, 2)]),
                ("ability states (216)", [abilities.all_ability_states(
                    [(FIREBALL, abilities.NO_TARGET, 5000, 1230),
                     (HEALING_LIGHT, abilities.UNUSABLE, 0, 0)]),
                    abilities.all_ability_states([])]),
                ("new outfit (218)", [wm.new_outfit(5)]),
                ("goods update (221)", [stores.shop_open("Merchant", SHOP_GOODS, []),
                                        stores.goods_update(1, 3, 99)]),
                ("goods update without a shop (221)", [stores.shop_closed(),
                                                       stores.goods_update(0, 1, 1)]),
                ("question withdrawn without a question (223)",
                 [stores.question_withdrawn()]),
            ]
            # The first case that breaks the connection ends the test: the later ones would
            # only wait in vain.
            for name, messages in cases:
                session.perform([Frame(*messages, SENTINEL)])
                self.alive(server, client, name)

            session.perform([Frame(social.party_started(
                [(player.id, 200, 200, player.name), (SPARRING_PARTNER, 200, 200, PARTNER)]))])
            for container, items, ending in LOOKS:
                session.perform([Frame(containers.container_looked_into(
                    SPARRING_PARTNER, container, items))])
                self.logged(folder, "Party",
                            lambda line: line.endswith("%s: %s" % (PARTNER, ending)),
                            "the look into the %s in the Party log" % container)
            self.alive(server, client, "the looks into containers (166)")

            # Once banned or dead the client sends nothing more, pings neither; the line of the
            # death shows that it still reads what comes after the ban.
            session.perform([Frame(gm.banned())])
            # A corpse of a shape the client does not know is left out; the death is told.
            session.perform([Frame(containers.death(UNKNOWN_SHAPE))])
            session.perform([Frame(containers.death(sprites.CHEST))])
            poll(lambda: channel_log(folder, "Info").count("You are dead.") == 2, WAIT,
                 "both deaths in the Info log")
            self.assertEqual(server.transcript.of("closed"), [], "the connection after the death")


if __name__ == "__main__":
    unittest.main()
