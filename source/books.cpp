// The index of data/Veltor.books, by which the book window finds a book's enciphered pages.
#include "core.h"
#include "packreader.h"

namespace {

// The revision and the index entries, each ending where the next begins and the last at the end
// of the file. False when the file is shorter than its index says or an entry's bytes do not lie
// inside the file.
bool ReadBooksIndex(PackReader& file, uint32_t& revision, std::vector<BookIndexEntry>& books) {
    uint32_t count;
    if (!file.ReadU32(revision) || !file.ReadU32(count)) return false;
    for (uint32_t n = 0; n < count; ++n) {
        BookIndexEntry entry{};
        if (!file.ReadU16(entry.id) || !file.ReadU32(entry.offset)) return false;
        books.push_back(entry);
    }
    if (file.Size() > UINT32_MAX) return false;
    uint32_t end = uint32_t(file.Size());
    for (auto entry = books.rbegin(); entry != books.rend(); ++entry) {
        if (entry->offset > end) return false;
        entry->end = end;
        end = entry->offset;
    }
    return true;
}

}  // namespace

void Core::LoadBooksIndex() {
    PackReader file;
    uint32_t revision;
    std::vector<BookIndexEntry> index;
    if (!file.Open("data/Veltor.books") || !ReadBooksIndex(file, revision, index))
        FatalError("Failed to load \"Veltor.books\".");
    dataVersion += revision;
    books = std::move(index);
}

const BookIndexEntry* Core::GetBookRecord(uint16_t id) {
    for (const BookIndexEntry& entry : books)
        if (entry.id == id) return &entry;
    return nullptr;
}
