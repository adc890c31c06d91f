"""Book files for the client's unit tests, written under OUT/books/: data/Veltor.books and
cases.txt, one book a line: "<case> <book id> <four key words in hex>". The cases:
- one: a single paragraph;
- three, hyphen, colour: three paragraphs whose second runs past one page (at the test font's
  7 pixels a character, 44 characters a line and 31 lines a page): words, one long word of a
  repeating pattern (every line split with a hyphen), and words behind a colour escape;
- empty: no paragraph at all;
- short, title, paragraph: records cut short: the check block alone, a title and a paragraph
  running past the record's end."""
import os
import struct

import veltorxtea
from datagen import books
from datagen.books import Book

KEYS = [(0x11111111 * n, 0x01020304 + n, 0xA0B0C0D0 - n, 0x0F0E0D0C ^ n) for n in range(1, 10)]
WORDS = ' '.join('w%04d' % n for n in range(300))
PATTERN = 'abcdefghij' * 180
COLOURED = '\x00\xff\x80\x80\xc0' + ' '.join('c%04d' % n for n in range(300))

CASES = [
    ('one', Book(1, KEYS[0], 'One Page', ['A single page.'])),
    ('three', Book(2, KEYS[1], 'Three Parts', ['First.', WORDS, 'Third.'])),
    ('hyphen', Book(3, KEYS[2], 'Long Word', ['First.', PATTERN, 'Third.'])),
    ('colour', Book(4, KEYS[3], 'In Colour', ['First.', COLOURED, 'Third.'])),
    ('empty', Book(5, KEYS[4], 'Nothing', [])),
]
# Plain records that break off: (case, id, key words, bytes after the check block).
BROKEN = [
    ('short', 6, KEYS[5], b''),
    ('title', 7, KEYS[6], struct.pack('<BB', 1, 200) + b'abc'),
    ('paragraph', 8, KEYS[7], struct.pack('<BB', 1, 1) + b'T' + struct.pack('<H', 500) + b'xy'),
]


def write_cases(out_dir):
    folder = os.path.join(out_dir, 'books')
    os.makedirs(os.path.join(folder, 'data'), exist_ok=True)
    records = [(book.id, veltorxtea.encrypt(books.book_key(book), books.plain_record(book)))
               for _, book in CASES]
    for _, book_id, words, rest in BROKEN:
        key = veltorxtea.key_bytes(*words)
        records.append((book_id, veltorxtea.encrypt(key, veltorxtea.padded(key + rest))))
    out, offset = [struct.pack('<II', books.REVISION, len(records))], 8 + 6 * len(records)
    for book_id, record in records:
        out.append(struct.pack('<HI', book_id, offset))
        offset += len(record)
    with open(os.path.join(folder, 'data', books.FILE_NAME), 'wb') as f:
        f.write(b''.join(out + [record for _, record in records]))
    lines = ['%s %d %s' % (name, book.id, ' '.join('%08x' % w for w in book.key_words))
             for name, book in CASES]
    lines += ['%s %d %s' % (name, book_id, ' '.join('%08x' % w for w in words))
              for name, book_id, words, _ in BROKEN]
    with open(os.path.join(folder, 'cases.txt'), 'w') as f:
        f.write('\n'.join(lines) + '\n')
