"""Reads the sample atlas back by its format, and checks the explored-area save's writer, reader
and reveal rule on the cases the client relies on."""
import struct
import unittest

import numpy

import veltorxtea
from datagen import maps
from datagen.maps import SaveRecord


def page_array(page):
    return numpy.frombuffer(page.pixels, dtype=numpy.uint8).reshape(page.height, page.width, 4)


class SampleAtlasTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.data = maps.sample_atlas()
        cls.maps = maps.read_atlas(cls.data, maps.MAP_KEYS)

    def test_every_record_deciphers_with_its_own_key_only(self):
        version, entries = maps.read_directory(self.data, 'H')
        self.assertEqual(version, maps.VERSION)
        self.assertEqual([entry[0] for entry in entries], [1, 2, 3])
        self.assertEqual(entries[-1][2], len(self.data))
        self.assertEqual(sorted(self.maps), [1, 2, 3])
        _, offset, end = entries[1]
        self.assertIsNone(maps.read_record(self.data[offset:end], maps.MAP_KEYS[1]))

    def test_a_record_leaves_its_tail_past_the_last_whole_block_plain(self):
        tails = 0
        for map_id, offset, end in maps.read_directory(self.data, 'H')[1]:
            key = maps.MAP_KEYS[map_id]
            plain = maps.plain_record(next(m for m in maps.sample_maps() if m.map_id == map_id), key)
            self.assertEqual(end - offset, len(plain))
            tail = len(plain) % 8
            self.assertEqual(self.data[end - tail:end], plain[len(plain) - tail:])
            tails += tail > 0
        self.assertGreater(tails, 0, 'no sample record has a plain tail')

    def test_the_world_map_is_three_pages_of_one_pixel_a_tile(self):
        world = self.maps[maps.WORLD_MAP_ID]
        width, height = maps.rect_size(maps.WORLD_RECT)
        self.assertEqual(len(world.pages), 3)
        for page in world.pages:
            self.assertEqual((page.width, page.height), (width, height))
        first = world.pages[0].parts[0]
        self.assertEqual(first.world_rect, maps.WORLD_RECT)
        self.assertEqual(first.page_rect, (0, 0, width, height))

    def test_labels_lie_in_their_parts_and_texts_are_utf8(self):
        texts = []
        for atlas_map in self.maps.values():
            for page in atlas_map.pages:
                for part in page.parts:
                    x0, y0, x1, y1 = part.world_rect
                    for label in part.labels:
                        self.assertTrue(x0 <= label.x < x1 and y0 <= label.y < y1, label)
                        texts.append(label.text.decode('utf-8'))
        self.assertIn('Pântano Sombrio', texts)
        self.assertEqual(maps.convert_text('Pântano'), b'P\xe2ntano')

    def test_the_world_reads_as_a_map_under_fog_and_clouds(self):
        base, fog, clouds = (page_array(p) for p in self.maps[maps.WORLD_MAP_ID].pages)
        blue, green, red = (base[..., i].astype(int) for i in range(3))
        water = numpy.mean((blue > red + 40) & (blue > green))
        land = numpy.mean(green > blue + 10)
        self.assertTrue(0.2 < water < 0.7, water)
        self.assertGreater(land, 0.2)
        self.assertTrue((fog[..., 3] == 255).all())
        cover = numpy.mean(clouds[..., 3] > 128)
        self.assertTrue(0.2 < cover < 0.8, cover)


class ExploredAreaSaveTest(unittest.TestCase):
    def test_records_read_back_and_keep_their_tail_plain(self):
        rect = (10, 20, 13, 22)
        records = [SaveRecord(5, rect, bytes(range(6))), SaveRecord(9, (0, 0, 0, 0), b'')]
        data = maps.pack_save(records)
        self.assertEqual(maps.read_save(data), records)
        self.assertEqual(struct.unpack_from('<II', data), (1, 2))
        # 41 + 6 bytes: the last 7 lie in the trailer and are stored as they are.
        self.assertEqual(data[24:24 + 47][-7:], bytes(7))
        key = maps.account_key(5)
        self.assertEqual(veltorxtea.decrypt(key, data[24:24 + 16]), key)

    def test_a_damaged_save_is_refused(self):
        good = maps.pack_save([SaveRecord(5, (0, 0, 4, 4), bytes(16))])
        for name, data in [('count', struct.pack('<II', 1, 3) + good[8:]),
                           ('cut', good[:-3]),
                           ('other key', good[:16] + veltorxtea.encrypt(maps.account_key(6), good[16:]))]:
            with self.subTest(name):
                with self.assertRaises(ValueError):
                    maps.read_save(data)

    def test_the_reveal_has_a_soft_edge_and_never_raises_the_mask(self):
        width, height = 100, 60
        mask = bytearray([255] * width * height)
        maps.reveal(mask, width, height, 50, 30)
        self.assertEqual(mask[30 * width + 50], 0)
        self.assertEqual(mask[30 * width + 70], 127)
        self.assertEqual(mask[30 * width + 90], 255)
        self.assertEqual(mask[30 * width + 60], 15)
        maps.reveal(mask, width, height, 60, 30)
        self.assertEqual(mask[30 * width + 50], 0)
        self.assertEqual(mask[30 * width + 40], 15)
        # Single precision: just inside the radius the value rounds up to 255.
        self.assertEqual(maps.brush_value(37, 15), 255)
        self.assertEqual(maps.brush_value(40, 0), None)

    def test_a_carried_mask_keeps_world_positions(self):
        stored = bytes(range(12))                       # 4 x 3 at (10, 10)
        moved = maps.carry_over((10, 10, 14, 13), stored, (11, 9, 14, 12))
        self.assertEqual(moved, bytes([255, 255, 255, 1, 2, 3, 5, 6, 7]))
        self.assertEqual(maps.carry_over((0, 0, 2, 2), bytes(4), (5, 5, 7, 7)), bytes([255] * 4))


if __name__ == '__main__':
    unittest.main()
