#include "recordfile.h"

#include <memory>
#include <new>

#include "recordreader.h"

namespace {

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

int64_t FileLength(FILE* file) {
    if (_fseeki64(file, 0, SEEK_END) != 0) return -1;
    const int64_t length = _ftelli64(file);
    return _fseeki64(file, 0, SEEK_SET) == 0 ? length : -1;
}

bool ReadAll(FILE* file, std::vector<uint8_t>& bytes, uint64_t size) {
    try {
        bytes.resize(size_t(size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

}  // namespace

bool ReadRecordDirectory(FILE* file, uint32_t idSize, uint32_t& version,
                         std::vector<RecordEntry>& entries) {
    entries.clear();
    const int64_t length = FileLength(file);
    std::vector<uint8_t> head;
    if (length < 8 || length > int64_t(UINT32_MAX) || !ReadAll(file, head, 8)) return false;
    RecordReader header(head.data(), head.size());
    version = header.U32();
    const uint64_t count = header.U32();
    const uint64_t entrySize = idSize + 4;
    const uint64_t directoryEnd = 8 + entrySize * count;
    std::vector<uint8_t> directory;
    if (directoryEnd > uint64_t(length) || !ReadAll(file, directory, entrySize * count))
        return false;

    RecordReader reader(directory.data(), directory.size());
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

bool ReadFileRange(const char* path, uint32_t offset, uint32_t end, std::vector<uint8_t>& bytes) {
    File file(fopen(path, "rb"), fclose);
    return file && end >= offset && _fseeki64(file.get(), offset, SEEK_SET) == 0 &&
           ReadAll(file.get(), bytes, end - offset);
}
