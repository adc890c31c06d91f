#pragma once
// Data files read into memory to be parsed with a SpanReader, and the files of records behind a
// directory: the world-map atlas, the explored-area save and the books. Those start with a u32
// version and a u32 entry count, then per entry an id (2 or 4 bytes) and the u32 offset of its
// record from the start of the file. A record runs to the next entry's offset, the last one to
// the end of the file.
#include <cstdint>
#include <cstdio>
#include <vector>

struct RecordEntry {
    uint32_t id;
    uint32_t offset;
    uint32_t end;
};

// Reads the version and the directory of an open file. False when the file is shorter than its
// directory claims, or a record would start inside the directory, before the previous record or
// past the end of the file.
bool ReadRecordDirectory(FILE* file, uint32_t idSize, uint32_t& version,
                         std::vector<RecordEntry>& entries);

// The bytes from offset to end of a file. False when it cannot be opened or read whole.
bool ReadFileRange(FILE* file, uint64_t offset, uint64_t end, std::vector<uint8_t>& bytes);
bool ReadFileRange(const char* path, uint32_t offset, uint32_t end, std::vector<uint8_t>& bytes);
// Every byte of a file. False when it cannot be opened or read whole.
bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes);
