"""The minimap at the top of the right column, with OpenGL and with Direct3D 9: until the server
puts the player on the world map it shows no map; after op 78 it shows the generated atlas page
around the player's tile, and after op 77 it has followed the player to the new tile."""
import functools
import unittest

import numpy

from datagen import maps
from fakeserver import worldmessages as wm
from fakeserver.server import Frame
from harness.commands import poll
from worldscreen import DRIVERS, WorldScreenTestCase, mean_difference

# The minimap's view on the 800 x 600 client area: (x, y, w, h); the window is pinned to the top
# of the right column (x 637), its view 5 pixels in and below its title band.
VIEW = (642, 21, 146, 146)
# At zoom 1 the view shows one page pixel a screen pixel, its centre on the player's.
HALF_VIEW = VIEW[2] // 2
# Compared around the centre, where the explored area is clear of fog and the shade is light;
# the centre cross (7 x 7) is left out.
NEAR, CROSS = 10, 3
# The central part of the view matches the page within this mean difference (0 to 255), about 3
# when it is in place; the page shifted by 6 pixels differs by about 14, no page at all by 80.
MATCH, MISMATCH = 7.0, 10.0
# The player's tiles on the world map, well inside it so that the view is not moved off centre.
FIRST, SECOND = (1160, 1120, 7), (1172, 1104, 7)


@functools.lru_cache(maxsize=None)
def world_page():
    """The world map's base page as the atlas holds it: rows x columns x RGB."""
    page = maps.world_map().pages[0]
    pixels = numpy.frombuffer(page.pixels, dtype=numpy.uint8).reshape(page.height, page.width, 4)
    return pixels[:, :, 2::-1]


def around_centre(picture):
    """The pixels near the centre of a picture of the view, without the cross."""
    centre = HALF_VIEW
    block = picture[centre - NEAR:centre + NEAR + 1, centre - NEAR:centre + NEAR + 1]
    keep = numpy.ones(block.shape[:2], dtype=bool)
    keep[NEAR - CROSS:NEAR + CROSS + 1, NEAR - CROSS:NEAR + CROSS + 1] = False
    return block[keep]


def page_view(tile, shift=(0, 0)):
    """The page as the view shows it with the player on a world tile: 146 x 146 page pixels
    centred on the tile's, optionally shifted."""
    x0, y0 = maps.WORLD_RECT[:2]
    left = tile[0] - x0 - HALF_VIEW + shift[0]
    top = tile[1] - y0 - HALF_VIEW + shift[1]
    return world_page()[top:top + VIEW[3], left:left + VIEW[2]]


class MinimapTest(WorldScreenTestCase):

    def view_picture(self, client):
        x, y, width, height = VIEW
        return numpy.asarray(self.view(client).crop((x, y, x + width, y + height)))

    def difference(self, picture, tile, shift=(0, 0)):
        return mean_difference(around_centre(picture), around_centre(page_view(tile, shift)))

    def assert_shows(self, client, tile):
        """Waits until the view shows the page around the tile, then checks that a page a few
        pixels off would not match as well."""
        def matching():
            picture = self.view_picture(client)
            return [picture] if self.difference(picture, tile) < MATCH else None
        picture, = poll(matching, 30, "minimap around %s" % (tile[:2],))
        for shift in ((6, 0), (0, 6), (-6, -6)):
            self.assertGreater(self.difference(picture, tile, shift), MISMATCH,
                               "the page shifted by %s matches too" % (shift,))

    def test_the_minimap_shows_the_atlas_page_round_the_player(self):
        for driver in DRIVERS:
            with self.subTest(driver=driver), self.playing(driver) as (server, client):
                self.assertGreater(self.difference(self.view_picture(client), FIRST), MISMATCH,
                                   "a map before the server named one")
                session = server.sessions[0]
                session.perform([Frame(wm.select_map(1, maps.MAP_KEYS[1], 0, 0, FIRST))])
                self.assert_shows(client, FIRST)
                session.perform([Frame(wm.map_position(0, 0, SECOND))])
                self.assert_shows(client, SECOND)


if __name__ == "__main__":
    unittest.main()
