"""The open-book message and the sample books it can name (tools/datagen/books.py)."""
from datagen.books import SAMPLE_BOOKS
from fakeserver.wire import Writer


def sample_book(book_id):
    return next(book for book in SAMPLE_BOOKS if book.id == book_id)


def open_book(book_id, key_words):
    """Op 79: the client opens the book of the id, deciphering its record with the key given as
    four u32 words."""
    writer = Writer(79).u32(book_id)
    for word in key_words:
        writer.u32(word)
    return writer.bytes()
