#include "recordfile.h"

#include <memory>
#include <new>

#include "spanreader.h"

namespace {

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

int64_t FileLength(FILE* file) {
    if (_fseeki64(file, 0, SEEK_END) != 0) return -1;
    const int64_t length = _ftelli64(file);
    return _fseeki64(file, 0, SEEK_SET) == 0 ? length : -1;
}

}  // namespace

bool ReadRecordDirectory(FILE* file, uint32_t idSize, uint32_t& version,
                         std::vector<RecordEntry>& entries) {
    entries.clear();
    const int64_t length = FileLength(file);
    std::vector<uint8_t> head;
    if (length < 8 || length > int64_t(UINT32_MAX) || !ReadFileRange(file, 0, 8, head))
        return false;
    SpanReader header(head);
    version = header.U32();
    const uint64_t count = header.U32();
    const uint64_t entrySize = idSize + 4;
    const uint64_t directoryEnd = 8 + entrySize * count;
    std::vector<uint8_t> directory;
    if (directoryEnd > uint64_t(length) || !ReadFileRange(file, 8, directoryEnd, directory))
        return false;

    SpanReader reader(directory);
    for (uint64_t i = 0; i < count; ++i) {
        const uint32_t id = idSize == 2 ? reader.U16() : reader.U32();
        const uint32_t offset = reader.U32();
        const uint32_t previous = entries.empty() ? uint32_t(directoryEnd) : entries.back().offset;
        if (offset < previous || offset > uint64_t(length)) return false;
        if (!entries.empty()) entries.back().end = offset;
        entries.push_back({id, offset, uint32_t(length)});
    }
    return true;
}

bool ReadFileRange(FILE* file, uint64_t offset, uint64_t end, std::vector<uint8_t>& bytes) {
    if (end < offset || end - offset > SIZE_MAX || offset > uint64_t(INT64_MAX) ||
        _fseeki64(file, int64_t(offset), SEEK_SET) != 0)
        return false;
    try {
        bytes.resize(size_t(end - offset));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

bool ReadFileRange(const char* path, uint32_t offset, uint32_t end, std::vector<uint8_t>& bytes) {
    File file(fopen(path, "rb"), fclose);
    return file && ReadFileRange(file.get(), offset, end, bytes);
}

bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes) {
    File file(fopen(path, "rb"), fclose);
    if (!file) return false;
    const int64_t length = FileLength(file.get());
    return length >= 0 && ReadFileRange(file.get(), 0, uint64_t(length), bytes);
}
