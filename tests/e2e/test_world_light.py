"""Night in the sample world, with OpenGL and with Direct3D 9: the server's light value -100
darkens the game field, except around the torch in the house where the player stands."""
import time
import unittest

from fakeserver import sampleworld
from fakeserver import worldmessages as wm
from fakeserver.server import Frame
from worldscreen import DRIVERS, WorldScreenTestCase, part, tile_box

# Inside the house, three tiles east and two south of the torch on the wall.
IN_THE_HOUSE = (24, 11, sampleworld.GROUND_FLOOR)
TORCH = (21, 9)
# Night keeps at least this share of the daylight brightness on the torch's tile, and at most
# this share in the house's far corner and out in the meadow (the night colour is about a fifth
# of the day's).
LIT, DARK = 0.5, 0.35


def brightness(picture, dx, dy, reach=0):
    """The mean colour value of the tiles within `reach` of the tile dx, dy from the player."""
    left, top, _, _ = tile_box(dx - reach, dy - reach)
    _, _, right, bottom = tile_box(dx + reach, dy + reach)
    return float(part(picture, (left, top, right, bottom)).mean())


class WorldLightTest(WorldScreenTestCase):

    def test_night_darkens_the_field_but_not_round_the_torch(self):
        x, y, _ = IN_THE_HOUSE
        torch = (TORCH[0] - x, TORCH[1] - y)
        far_corner = (3, 2)  # of the house, from the torch
        meadow = (7, 0)  # east of the house
        for driver in DRIVERS:
            with self.subTest(driver=driver), \
                    self.playing(driver, IN_THE_HOUSE) as (server, client):
                day = self.field_picture(client)
                server.sessions[0].perform([Frame(wm.player_status(150, 150, -100))])
                time.sleep(1)
                night = self.field_picture(client)

                def kept(dx, dy, reach=0):
                    by_day = brightness(day, dx, dy, reach)
                    self.assertGreater(by_day, 20, "daylight at %d, %d" % (dx, dy))
                    return brightness(night, dx, dy, reach) / by_day
                self.assertGreater(kept(*torch), LIT, "the torch's tile")
                self.assertLess(kept(*far_corner), DARK, "the house's far corner")
                self.assertLess(kept(*meadow, reach=1), DARK, "the meadow")


if __name__ == "__main__":
    unittest.main()
