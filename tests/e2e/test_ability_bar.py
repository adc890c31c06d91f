"""The ability bar as the server fills it: the whole bar (op 208), then one more slot (op 209)
and the abilities' states (op 217). The function keys cast the abilities of the bar's first
page, each request naming its bar slot plus one; an ability that cannot be used sends nothing."""
import unittest

from fakeserver import abilities
from fakeserver.server import Frame
from worldscreen import WorldScreenTestCase

# Abilities of the sample spells file.
FIREBALL, HEALING_LIGHT, SWIFT_STEP = 1, 2, 3
CAST_SELF = 208


def casts(transcript):
    """The bar slots (plus one) of the casts without a target the client asked for."""
    return [frame["request"]["spell"] for frame in transcript.of("client_frame")
            if frame.get("request", {}).get("op") == CAST_SELF]


class AbilityBarTest(WorldScreenTestCase):

    def test_function_keys_cast_the_bar_the_server_filled(self):
        with self.playing("OpenGL") as (server, client):
            session = server.sessions[0]
            session.perform([Frame(
                abilities.ability_bar({0: HEALING_LIGHT, 2: SWIFT_STEP}),
                abilities.bar_slot(1, FIREBALL),
                abilities.ability_state(HEALING_LIGHT, abilities.NO_TARGET),
                abilities.ability_state(FIREBALL, abilities.NO_TARGET),
                abilities.ability_state(SWIFT_STEP, abilities.NO_TARGET | abilities.UNUSABLE))])
            client.key("F1")
            self.wait(server, lambda t: casts(t) == [1], "the first slot's cast")
            # F3's ability cannot be used: only F2's cast follows.
            client.key("F3")
            client.key("F2")
            self.wait(server, lambda t: len(casts(t)) >= 2, "the second slot's cast")
            self.assertEqual(casts(server.transcript), [1, 2])


if __name__ == "__main__":
    unittest.main()
