"""Reads the sample skin and font packs back by their formats and checks what the client needs."""
import os
import struct
import tempfile
import unittest

from datagen import font, skin
from datagen.imagepack import PIXEL_KEY, deciphered_pixels


def read_skin(data):
    version, count = struct.unpack_from('<IH', data, 0)
    pos, images = 6, {}
    for _ in range(count):
        image_id, w, h = struct.unpack_from('<3H', data, pos)
        pos += 6
        size = w * h * 4
        images[image_id] = (w, h, deciphered_pixels(data[pos:], size))
        pos += (size + 7) // 8 * 8
    return version, images, pos


def read_fonts(data):
    version, count = struct.unpack_from('<IH', data, 0)
    pos, fonts = 6, {}
    for _ in range(count):
        font_id, spacing, line, w, h = struct.unpack_from('<HhhHH', data, pos)
        pos += 10
        size = w * h * 4
        pixels = deciphered_pixels(data[pos:], size)
        pos += (size + 7) // 8 * 8
        (glyph_count,) = struct.unpack_from('<H', data, pos)
        pos += 2
        glyphs = {}
        for _ in range(glyph_count):
            code, sx, sy, w1, h1, advance = struct.unpack_from('<6H', data, pos)
            glyphs[code] = (sx, sy, w1 - 1, h1 - 1, advance)
            pos += 12
        fonts[font_id] = (spacing, line, w, h, pixels, glyphs)
    return version, fonts, pos


def alpha_at(w, pixels, x, y):
    return pixels[(y * w + x) * 4 + 3]


class SampleDataTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        skin.write_sample(cls.dir.name)
        font.write_sample(cls.dir.name)
        with open(os.path.join(cls.dir.name, 'Veltor.skin'), 'rb') as f:
            cls.skin = f.read()
        with open(os.path.join(cls.dir.name, 'Veltor.font'), 'rb') as f:
            cls.fonts = f.read()

    @classmethod
    def tearDownClass(cls):
        cls.dir.cleanup()

    def test_skin_parses_to_its_end(self):
        version, images, end = read_skin(self.skin)
        self.assertEqual(version, skin.VERSION)
        self.assertEqual(end, len(self.skin))
        self.assertTrue({1, 2, 3, 4, 6, 9}.issubset(images))

    def test_pixels_are_enciphered(self):
        _, images, _ = read_skin(self.skin)
        w, h, pixels = images[1]
        self.assertNotIn(pixels[:64], self.skin)

    def test_atlas_has_art_where_windows_cut_pieces(self):
        _, images, _ = read_skin(self.skin)
        w, h, pixels = images[1]
        opaque = [(54, 20), (69, 35), (68, 34), (93, 3), (110, 20), (75, 3), (0, 80), (53, 127),
                  (219, 253), (272, 300), (0, 251), (87, 304), (65, 236), (92, 249), (260, 227),
                  (256, 56), (291, 171), (80, 121), (98, 228), (228, 207), (395, 378),
                  (640, 0), (819, 198), (640, 199), (819, 371), (299, 240), (414, 355)]
        for x, y in opaque:
            self.assertEqual(alpha_at(w, pixels, x, y), 255, (x, y))
        # The inside of the frame blocks is clear, so corner pieces do not cover the centre.
        self.assertEqual(alpha_at(w, pixels, 56, 22), 0)
        self.assertEqual(alpha_at(w, pixels, 95, 5), 0)

    def test_every_smiley_cell_has_ink(self):
        _, images, _ = read_skin(self.skin)
        w, h, pixels = images[1]
        for n in range(1, 34):
            x0 = (n - 1) * 12
            ink = sum(alpha_at(w, pixels, x0 + i, 372 + j) > 0 for i in range(12) for j in range(12))
            self.assertGreater(ink, 20, n)

    def test_status_icons_cover_every_effect(self):
        _, images, _ = read_skin(self.skin)
        w, h, pixels = images[9]
        self.assertEqual((w, h), (360, 12))

    def test_fonts_hold_every_code_from_32_to_255(self):
        version, fonts, end = read_fonts(self.fonts)
        self.assertEqual(version, font.VERSION)
        self.assertEqual(end, len(self.fonts))
        self.assertEqual(set(fonts), {1, 2})
        for font_id, (spacing, line, w, h, pixels, glyphs) in fonts.items():
            self.assertEqual(set(glyphs), set(range(32, 256)), font_id)
            self.assertGreater(line, 0)
            for code, (sx, sy, gw, gh, advance) in glyphs.items():
                self.assertLessEqual(sx + gw, w)
                self.assertLessEqual(sy + gh, h)
            self.assertTrue(all(g[4] > 0 for g in glyphs.values()), font_id)
            self.assertEqual(glyphs[32][2:4], (0, 0))

    def test_glyphs_are_white_with_coverage_alpha(self):
        _, fonts, _ = read_fonts(self.fonts)
        spacing, line, w, h, pixels, glyphs = fonts[1]
        sx, sy, gw, gh, advance = glyphs[ord('H')]
        cell = [pixels[((sy + j) * w + sx + i) * 4:((sy + j) * w + sx + i) * 4 + 4]
                for j in range(gh) for i in range(gw)]
        self.assertTrue(any(p[3] == 255 for p in cell))
        self.assertTrue(all(p[:3] == b'\xff\xff\xff' for p in cell))

    def test_pixel_key_is_sixteen_bytes(self):
        self.assertEqual(len(PIXEL_KEY), 16)


if __name__ == '__main__':
    unittest.main()
