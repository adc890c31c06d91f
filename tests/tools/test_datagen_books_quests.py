"""Reads the sample quests and books files back by their formats: every record lies inside its
file, opens with its key, and the quest records chain from the newest stage to the oldest."""
import os
import struct
import tempfile
import unittest

import veltorxtea
from datagen import books, quests


def read_quest_index(data):
    """[(group, quest, [(stage, span, offset, end)])] with each record's end."""
    revision, count = struct.unpack_from('<II', data, 0)
    pos, index = 8, []
    for _ in range(count):
        group, quest, n = struct.unpack_from('<3H', data, pos)
        pos += 6
        entries = []
        for _ in range(n):
            entries.append(list(struct.unpack_from('<HbI', data, pos)))
            pos += 7
        index.append((group, quest, entries))
    flat = [e for _, _, entries in index for e in entries]
    for entry, following in zip(flat, flat[1:] + [None]):
        entry.append(following[2] if following else len(data))
    return revision, index, pos


def read_stage(record):
    """(check, next key, values, title, text, markers) of a deciphered stage record."""
    check, next_key, values = record[:16], record[16:32], tuple(record[32:36])
    pos = 36
    title = record[pos + 1:pos + 1 + record[pos]]
    pos += 1 + len(title)
    (length,) = struct.unpack_from('<H', record, pos)
    text = record[pos + 2:pos + 2 + length]
    pos += 2 + length
    markers = []
    for _ in range(record[pos]):
        x, y, floor, n = struct.unpack_from('<HHBB', record, pos + 1)
        markers.append((x, y, floor, record[pos + 7:pos + 7 + n]))
        pos += 6 + n
    assert pos + 1 <= len(record)
    return check, next_key, values, title, text, markers


class SampleQuestsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with tempfile.TemporaryDirectory() as folder:
            quests.write_sample(folder)
            books.write_sample(folder)
            with open(os.path.join(folder, quests.FILE_NAME), 'rb') as f:
                cls.quests = f.read()
            with open(os.path.join(folder, books.FILE_NAME), 'rb') as f:
                cls.books = f.read()

    def test_records_follow_the_index_end_to_end(self):
        revision, index, index_end = read_quest_index(self.quests)
        self.assertEqual(revision, quests.REVISION)
        self.assertEqual([q for _, q, _ in index], [q.quest for q in quests.SAMPLE_QUESTS])
        position = index_end
        for _, _, entries in index:
            for _, _, offset, end in entries:
                self.assertEqual(offset, position)
                self.assertEqual((end - offset) % 8, 0)
                position = end
        self.assertEqual(position, len(self.quests))

    def test_the_chain_opens_every_older_stage_from_the_newest(self):
        _, index, _ = read_quest_index(self.quests)
        for (group, quest_id, entries), quest in zip(index, quests.SAMPLE_QUESTS):
            if not entries:
                continue
            with self.subTest(quest=quest_id):
                key = struct.pack('<4I', (group << 16) + quest_id, entries[-1][0], quest.value,
                                  quests.PROGRAM_WORD)
                opened = []
                for stage, _, offset, end in reversed(entries):
                    check, key_after, values, title, text, markers = read_stage(
                        veltorxtea.decrypt(key, self.quests[offset:end]))
                    self.assertEqual(check, key)
                    opened.append((stage, title.decode('utf-8')))
                    key = key_after
                self.assertEqual(key, bytes(16))   # the oldest stage carries no further key
                self.assertEqual(opened[::-1], [(s.stage, s.title) for s in quest.stages])

    def test_every_record_opens_with_the_server_value_of_its_own_stage(self):
        _, index, _ = read_quest_index(self.quests)
        for (group, quest_id, entries), quest in zip(index, quests.SAMPLE_QUESTS):
            for (stage, span, offset, end), plain in zip(entries, quest.stages):
                key = struct.pack('<4I', (group << 16) + quest_id, stage, quest.value,
                                  quests.PROGRAM_WORD)
                _, _, values, title, text, markers = read_stage(
                    veltorxtea.decrypt(key, self.quests[offset:end]))
                self.assertEqual((span, values), (plain.span, plain.values))
                self.assertEqual(text.decode('utf-8'), plain.text)
                self.assertEqual([(x, y, f, label.decode('utf-8')) for x, y, f, label in markers],
                                 [tuple(m) for m in plain.markers])

    def test_the_sample_exercises_the_journal(self):
        spans = [s.span for q in quests.SAMPLE_QUESTS for s in q.stages]
        self.assertTrue(any(s > 0 for s in spans) and any(s < 0 for s in spans))
        self.assertTrue(all(len(q.stages) >= 2 for q in quests.SAMPLE_QUESTS[:3]))
        titles = [q.stages[-1].title for q in quests.SAMPLE_QUESTS if q.stages]
        self.assertLess(len(set(titles)), len(titles))   # two quests share a journal record
        self.assertTrue(any(ord(c) > 127 for q in quests.SAMPLE_QUESTS for s in q.stages
                            for c in s.title + s.text))

    def test_progress_counts_up_or_down_within_the_span(self):
        cases = [((6, 5, 3), (1, 3, 1)), ((9, 5, 3), (3, 3, 3)), ((6, 5, -3), (1, 3, 2)),
                 ((9, 5, -3), (3, 3, 0)), ((20, 5, 3), (3, 3, 3))]
        for args, expected in cases:
            self.assertEqual(quests.progress(*args), expected, args)

    def test_client_text_keeps_the_low_byte_of_each_character(self):
        self.assertEqual(quests.client_text('Café €'), b'Caf\xe9 \xac')

    def test_books_open_with_their_keys(self):
        revision, count = struct.unpack_from('<II', self.books, 0)
        self.assertEqual((revision, count), (books.REVISION, len(books.SAMPLE_BOOKS)))
        entries = [struct.unpack_from('<HI', self.books, 8 + 6 * i) for i in range(count)]
        ends = [offset for _, offset in entries[1:]] + [len(self.books)]
        self.assertEqual(entries[0][1], 8 + 6 * count)
        for (book_id, offset), end, book in zip(entries, ends, books.SAMPLE_BOOKS):
            with self.subTest(book=book_id):
                self.assertEqual(book_id, book.id)
                record = veltorxtea.decrypt(struct.pack('<4I', *book.key_words),
                                            self.books[offset:end])
                self.assertEqual(record[:16], struct.pack('<4I', *book.key_words))
                paragraphs, title_length = record[16], record[17]
                self.assertEqual(record[18:18 + title_length].decode('utf-8'), book.title)
                pos, texts = 18 + title_length, []
                for _ in range(paragraphs):
                    (n,) = struct.unpack_from('<H', record, pos)
                    texts.append(record[pos + 2:pos + 2 + n].decode('utf-8'))
                    pos += 2 + n
                self.assertEqual(texts, book.paragraphs)
                self.assertLess(len(record) - pos, 8)   # only the padding is left


if __name__ == '__main__':
    unittest.main()
