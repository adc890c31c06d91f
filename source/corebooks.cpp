// The index of data/Veltor.books, by which the book window finds a book's enciphered pages.
#include "core.h"
#include "recordfile.h"

// The index is a record directory: u32 revision, u32 count, then per book its u16 id and the
// offset of its pages, which end where the next book's begin and the last at the end of the file.
void Core::LoadBooksIndex() {
    FILE* file = fopen("data/Veltor.books", "rb");
    uint32_t revision = 0;
    std::vector<RecordEntry> entries;
    const bool read = file && ReadRecordDirectory(file, 2, revision, entries);
    if (file) fclose(file);
    if (!read) FatalError("Failed to load \"Veltor.books\".");
    dataVersion += revision;
    books.clear();
    for (const RecordEntry& entry : entries)
        books.push_back({uint16_t(entry.id), entry.offset, entry.end});
}

const BookIndexEntry* Core::GetBookRecord(uint16_t id) {
    for (const BookIndexEntry& entry : books)
        if (entry.id == id) return &entry;
    return nullptr;
}
