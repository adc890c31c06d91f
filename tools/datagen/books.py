"""Writes data/Veltor.books, the books the server can open. All integers little-endian:

    u32 revision, u32 book count, then per book u16 book id and u32 offset of its record; then
    the records, each running from its offset to the next book's offset (the last one to the end
    of the file).

A record is padded to a multiple of 8 bytes and enciphered with XTEA under the book's own key,
which only the server knows and sends when it opens the book; deciphered it holds the key itself
(16 bytes, the check block), u8 paragraph count, u8 title length and title, then per paragraph u16
length and text. Texts are UTF-8."""
import collections
import os
import struct

import veltorxtea

FILE_NAME = 'Veltor.books'
REVISION = 3

Book = collections.namedtuple('Book', 'id key_words title paragraphs')

SAMPLE_BOOKS = [
    Book(1, (0x1F2E3D4C, 0x5B6A7988, 0x97A6B5C4, 0xD3E2F101), 'A Traveller\'s Primer', [
        'Sorvan lies where the river bends twice. Its bridge was built by the first millers.',
        'Keep a torch at hand below ground: the caves do not forgive the careless.',
    ]),
    Book(7, (0x0BADF00D, 0x600DCAFE, 0x13579BDF, 0x2468ACE0), 'Légendes du Nord', [
        'Une seule page, écrite à la hâte.',
    ]),
    Book(12, (0xA5A5A5A5, 0x5A5A5A5A, 0x01234567, 0x89ABCDEF), 'The Empty Ledger', []),
]


def book_key(book):
    return veltorxtea.key_bytes(*book.key_words)


def plain_record(book):
    """A book's record before enciphering, padded to a multiple of 8 bytes."""
    title = book.title.encode('utf-8')
    out = [book_key(book), struct.pack('<BB', len(book.paragraphs), len(title)), title]
    for paragraph in book.paragraphs:
        text = paragraph.encode('utf-8')
        out.append(struct.pack('<H', len(text)) + text)
    return veltorxtea.padded(b''.join(out))


def build(books, revision=REVISION):
    records = [veltorxtea.encrypt(book_key(b), plain_record(b)) for b in books]
    out, offset = [struct.pack('<II', revision, len(books))], 8 + 6 * len(books)
    for book, record in zip(books, records):
        out.append(struct.pack('<HI', book.id, offset))
        offset += len(record)
    return b''.join(out + records)


def write_sample(data_dir):
    with open(os.path.join(data_dir, FILE_NAME), 'wb') as out:
        out.write(build(SAMPLE_BOOKS))
