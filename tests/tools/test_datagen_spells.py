"""Reads the sample spells file back by its format and checks that it exercises what the client
must handle, and the expectations written beside it."""
import os
import struct
import tempfile
import unittest

from datagen import spells, sprites


def read_spells(data):
    revision, count = struct.unpack_from('<IH', data, 0)
    pos, records = 6, []

    def text(width):
        nonlocal pos
        (length,) = struct.unpack_from('<' + width, data, pos)
        pos += struct.calcsize(width)
        value = data[pos:pos + length]
        if len(value) != length:
            raise ValueError('text runs past the end')
        pos += length
        return value

    for _ in range(count):
        spell_id, icon = struct.unpack_from('<HI', data, pos)
        pos += 6
        records.append((spell_id, icon, text('B'), text('H'), text('B'), text('B')))
    return revision, records, pos


class SampleSpellsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with tempfile.TemporaryDirectory() as folder:
            spells.write_sample(folder)
            spells.write_cases(folder)
            with open(os.path.join(folder, spells.FILE_NAME), 'rb') as f:
                cls.data = f.read()
            with open(os.path.join(folder, 'spells', 'sample.txt')) as f:
                cls.summary = f.read().splitlines()
        cls.revision, cls.records, cls.end = read_spells(cls.data)

    def test_records_fill_the_file(self):
        self.assertEqual(self.revision, spells.REVISION)
        self.assertEqual(self.end, len(self.data))
        self.assertEqual(len(self.records), len(spells.sample_spells()))
        self.assertEqual(len({r[0] for r in self.records}), len(self.records))

    def test_every_field_and_length_is_used(self):
        names, descriptions = [r[2] for r in self.records], [r[3] for r in self.records]
        self.assertTrue(all(names))
        self.assertTrue(any(len(d) > 255 for d in descriptions))
        self.assertTrue(any(b > 127 for name in names for b in name))
        for field in (3, 4, 5):
            self.assertTrue(any(r[field] for r in self.records))
            self.assertTrue(any(not r[field] for r in self.records))

    def test_icons_are_sample_shapes(self):
        shape_ids = {shape.id for shape in sprites.sample_shapes()}
        for record in self.records:
            self.assertIn(record[1], shape_ids)

    def test_every_tag_and_cooldown_form_is_used(self):
        text = b''.join(r[3] for r in self.records)
        for name, _ in spells.TAGS:
            self.assertIn(b'<%s>' % name.encode(), text, name)
            self.assertIn(b'</%s>' % name.encode(), text, name)
        forms = [spells.kept_description(r[3]) for r in self.records]
        self.assertTrue(any(cooldown == b'12 s' for _, cooldown in forms))
        self.assertTrue(any(cooldown.startswith(b'Cooldown:') for _, cooldown in forms))
        self.assertTrue(any(d.startswith(b'[Cooldown') and not c for d, c in forms))

    def test_cooldown_cut_and_markup_follow_the_format(self):
        cases = [(b'Heals. [Cooldown 12 s]', (b'Heals. ', b'12 s')),
                 (b'Go.[Cooldown:5s]', (b'Go.', b'Cooldown:5s')),
                 (b'[Cooldown 1 s] first', (b'[Cooldown 1 s] first', b'')),
                 (b'None', (b'None', b''))]
        for text, expected in cases:
            self.assertEqual(spells.kept_description(text), expected)
        white, pop = b'\x00\xff\xff\xff\xff', b'\x00' * 5
        self.assertEqual(spells.mark_up(b'<Distance>3</Distance> <Odd>'), white + b'3' + pop + b' <Odd>')
        self.assertEqual(spells.mark_up(b'<PhysicalDamage>'), b'\x00\xff\x80\x80\xc0')
        self.assertEqual(spells.mark_up(b'<Distance>' * 256).count(white), 255)

    def test_summary_lists_every_record(self):
        self.assertEqual(self.summary[0], 'revision %d count %d' % (spells.REVISION, len(self.records)))
        self.assertEqual(len(self.summary), 1 + 7 * len(self.records))
        first = self.records[0]
        self.assertEqual(self.summary[1], 'spell %d icon %d' % (first[0], first[1]))
        self.assertEqual(self.summary[2], ' name ' + first[2].hex())


if __name__ == '__main__':
    unittest.main()
