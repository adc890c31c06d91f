"""Checks of the sprite data tools: the cipher, the writer and reader, and the compositor's rules
on cases worked out by hand."""
import os
import struct
import tempfile
import unittest

from datagen import compositor, spritecases, spritefile, sprites
from datagen.compositor import Compositor, PixelFile
from datagen.spritefile import Blend, Mix, Offset, Recolour, Sprite, Tint

RED, GREEN, BLUE = 0xFFFF0000, 0xFF00FF00, 0xFF0000FF


def pixel_file(*blocks):
    """A pixel file holding the given sprites' pixels; sets their offsets."""
    writer = spritefile.SpriteWriter(0)
    for s in blocks:
        s.offset = writer.sprite_block(s.pixels)
    return PixelFile(bytes(writer.pixels))


def solid(width, height, colour, x=0, y=0):
    return Sprite(width, height, [colour] * (width * height), x, y)


class FileTest(unittest.TestCase):
    def test_sample_reads_back(self):
        data, pixels = spritefile.encode(sprites.DATA_REVISION, sprites.HEADER, sprites.sample_shapes(),
                                         sprites.PIXEL_REVISION)
        revision, header, shapes = spritefile.read(data)
        self.assertEqual(revision, sprites.DATA_REVISION)
        self.assertEqual(header, sprites.HEADER)
        self.assertEqual(struct.unpack_from('<I', pixels)[0], sprites.PIXEL_REVISION)
        by_id = {s.id: s for s in shapes}
        for shape_id in [h for h in sprites.HEADER if h]:
            self.assertIn(shape_id, by_id)
        person = by_id[sprites.PERSON]
        self.assertEqual(person.direction_ids, [sprites.PERSON + 1 + d for d in range(8)])
        walk = dict(by_id[sprites.PERSON + 3].ranges[0].animations)[spritefile.TAG_MOVE]
        self.assertEqual(len(walk.views[0].cells[0].layers[0].keyframes), 4)

    def test_ranges_continue_after_last(self):
        data, _ = spritefile.encode(1, [], [sprites.corpus()[7]], 2)
        shape = spritefile.read(data)[2][0]
        self.assertEqual(shape.id, sprites.RANGES)
        self.assertEqual([(r.first, r.last) for r in shape.ranges], [(0, 0), (1, 9), (10, 5), (6, 32767)])

    def test_tiny_sprite_ends_the_pixel_file(self):
        data, pixels = spritefile.encode(1, [], sprites.corpus(), 2)
        tiny = spritefile.read(data)[2][-1]
        tree = tiny.ranges[0].animations[0][1].views[0].cells[0].layers[0].keyframes[0][1]
        self.assertEqual((tree.width, tree.height), (3, 3))
        self.assertEqual(tree.offset + 40, len(pixels))

    def test_page_filler_fills_to_4096(self):
        for length in (0, 100, 4090, 5000, 8191):
            extra = spritefile.SpriteWriter(0).shape(spritecases.page_filler(length))
            self.assertEqual((length + len(extra)) % 4096, 0, length)

    def test_damaged_cases_are_refused(self):
        for name, shapes, tail in spritecases.damaged_cases(68):
            data, _ = spritefile.encode(1, [], shapes, 2, tail)
            if name.startswith(('tag-', 'fragment-', 'repeated', 'truncated')):
                with self.assertRaises(ValueError, msg=name):
                    spritefile.read(data)


class CompositorTest(unittest.TestCase):
    def render(self, tree, *sprites_used, tints=(0, 0, 0, 0)):
        return Compositor(pixel_file(*sprites_used), list(tints)).render(tree)

    def test_offset_moves_left_and_up(self):
        s = solid(32, 32, RED)
        files = pixel_file(s)
        w, h, px = Compositor(files, [0] * 4).frame(Offset(32, 0, s))
        self.assertEqual((w, h), (64, 32))
        self.assertEqual(px[0:32], [RED] * 32)
        self.assertEqual(px[32:64], [0] * 32)

    def test_blend_covers_the_union_and_opaque_above_wins(self):
        below, above = solid(4, 4, RED), solid(2, 2, GREEN, 3, 3)
        image = self.render(Blend(below, above), below, above)
        self.assertEqual((image.x, image.y, image.width, image.height), (0, 0, 5, 5))
        self.assertEqual(image.pixels[0], GREEN)           # top left: above only
        self.assertEqual(image.pixels[1 * 5 + 1], GREEN)   # inside both
        self.assertEqual(image.pixels[4 * 5 + 4], RED)     # bottom right: below only
        self.assertEqual(image.pixels[4], 0)               # top right: neither

    def test_blend_rule(self):
        # 50% white over opaque black: alpha 255, colour (255 x 128 x 255) / 65025.
        self.assertEqual(compositor.lay_over(0x80FFFFFF, 0xFF000000), 0xFF808080)
        self.assertEqual(compositor.lay_over(0x00FFFFFF, 0x00123456), 0)
        self.assertEqual(compositor.lay_over(0x40FF0000, 0), 0x40FF0000)

    def test_blend_with_one_child_returns_the_other(self):
        s = solid(3, 2, BLUE, 1, 1)
        for tree in (Blend(None, s), Blend(s, None)):
            image = self.render(tree, s)
            self.assertEqual((image.x, image.y, image.width, image.height, image.pixels), (1, 1, 3, 2, [BLUE] * 6))

    def test_mix_needs_both_and_an_overlap(self):
        a, b = solid(4, 4, 0xFF808080), solid(4, 4, 0x80FF4000, 2, 0)
        self.assertEqual(self.render(Mix(a, None), a).width, 0)
        apart = self.render(Mix(a, Offset(10, 0, b)), a, b)
        self.assertEqual((apart.width, apart.height, apart.pixels), (0, 0, []))
        image = self.render(Mix(a, b), a, b)
        self.assertEqual((image.x, image.width, image.height), (2, 2, 4))
        self.assertEqual(image.pixels[0], 0x80802000)

    def test_tint_scales_every_channel(self):
        s = solid(1, 1, 0xFF80FF40)
        self.assertEqual(self.render(Tint(0x80FF8000, s), s).pixels, [0x80808000])

    def test_recolour_applies_every_equal_key_in_order(self):
        image, mask = solid(2, 1, 0xFFFFFFFF), Sprite(2, 1, [GREEN, RED])
        tree = Recolour([GREEN, RED, GREEN, BLUE], image, mask)
        out = self.render(tree, image, mask, tints=(0xFF808080, 0xFF00FF00, 0xFF800000, 0xFFFFFFFF))
        self.assertEqual(out.pixels, [0xFF400000, 0xFF00FF00])

    def test_frames(self):
        wide, tiny = solid(33, 20, RED), solid(3, 3, BLUE)
        files = pixel_file(wide, tiny)
        w, h, px = Compositor(files, [0] * 4).frame(wide)
        self.assertEqual((w, h), (64, 32))
        self.assertEqual(px[31 * 64 + 63], RED)
        self.assertEqual(px[12 * 64 + 31], RED)
        self.assertEqual(px[11 * 64 + 63], 0)
        self.assertEqual(px[31 * 64 + 30], 0)
        self.assertEqual(Compositor(files, [0] * 4).frame(None), (1, 1, [0]))
        self.assertEqual(Compositor(files, [0] * 4).frame(Sprite())[:2], (32, 32))

    def test_palettes(self):
        self.assertEqual(compositor.tints(1, 0xFF80), [0xFFFCFCFC, 0xFF5F0F0B, 0xFFFCFCFC, 0xFFFCFCFC])
        self.assertEqual(compositor.tints(0, 0x01000100), [0, 0xFFFFFFFF, 0, 0xFFFFFFFF])


class CasesTest(unittest.TestCase):
    def test_written_cases(self):
        with tempfile.TemporaryDirectory() as out:
            spritecases.write_cases(out)
            root = os.path.join(out, 'sprites')
            self.assertEqual(os.path.getsize(os.path.join(root, 'page-sized', 'data', 'Veltor.data')) % 4096, 0)
            with open(os.path.join(root, 'sample', 'frames.bin'), 'rb') as f:
                count = struct.unpack('<I', f.read(4))[0]
            self.assertGreater(count, 500)
            with open(os.path.join(root, 'sample', 'shapes.txt')) as f:
                text = f.read()
            self.assertIn('shape %d ' % sprites.CODE_THREE, text)
            self.assertIn(' palette 0 code 3 32 ', text)
            self.assertIn(' palette 0 code 4 1 ', text)


if __name__ == '__main__':
    unittest.main()
