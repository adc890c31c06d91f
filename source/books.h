#pragma once
#include <cstdint>

// One entry of the books index (data/Veltor.books): a book id and the byte range of its text.
struct BookIndexEntry {
    uint16_t id;
    uint32_t offset;
    uint32_t end;
};
