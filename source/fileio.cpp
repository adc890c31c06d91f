#include "fileio.h"

#include <windows.h>

#include <io.h>

#include <cstring>
#include <utility>

namespace {

constexpr uint32_t InitialCapacity = 4096;
// A replaced file is written whole under this suffix first.
constexpr const char* NewFileSuffix = ".new";

}  // namespace

FileReader::FileReader(const std::string& path, FailureHandler onFailure)
    : path(path), onFailure(std::move(onFailure)) {
    buffer.resize(InitialCapacity);
    file = fopen(path.c_str(), "rb");
    if (!file) Fail("Failed to load \"" + path + "\".");
}

FileReader::~FileReader() {
    if (file) fclose(file);
}

void FileReader::Fail(const std::string& text) {
    failed = true;
    onFailure(text);
}

bool FileReader::Check(bool condition, const char* what) {
    if (!condition && !failed) Fail("Failed to read \"" + path + "\": " + what);
    return condition;
}

bool FileReader::Ensure(uint32_t n) {
    if (failed) return false;
    uint32_t remaining = ending - offset;
    if (remaining >= n) return true;
    if (!Check(!atEnd, "!eof")) return false;
    if (n > Capacity()) {
        // A size read from a damaged file must not grow the buffer past the file itself.
        int64_t left = _filelengthi64(_fileno(file)) - _ftelli64(file);
        if (!Check(left >= 0 && n - remaining <= static_cast<uint64_t>(left),
                   "size <= ending - offset"))
            return false;
        uint32_t capacity = Capacity();
        while (capacity < n) capacity *= 2;
        std::memmove(buffer.data(), buffer.data() + offset, remaining);
        buffer.resize(capacity);
    } else {
        std::memmove(buffer.data(), buffer.data() + offset, remaining);
    }
    ending = remaining;
    offset = 0;
    Refill();
    return Check(!failed && n <= ending - offset, "size <= ending - offset");
}

void FileReader::Refill() {
    ending += static_cast<uint32_t>(fread(buffer.data() + ending, 1, Capacity() - ending, file));
    if (ending < Capacity()) {
        Check(ferror(file) == 0, "ferror(file) == 0");
        atEnd = true;
    }
}

uint8_t FileReader::ReadU8() {
    if (!Ensure(1)) return 0;
    return buffer[offset++];
}

uint16_t FileReader::ReadU16() {
    if (!Ensure(2)) return 0;
    const uint8_t* p = buffer.data() + offset;
    offset += 2;
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t FileReader::ReadU32() {
    if (!Ensure(4)) return 0;
    const uint8_t* p = buffer.data() + offset;
    offset += 4;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void FileReader::ReadBytes(void* destination, uint32_t n) {
    if (!Ensure(n)) return;
    std::memcpy(destination, buffer.data() + offset, n);
    offset += n;
}

int FileReader::Seek(uint32_t position) {
    if (!file) return -1;
    offset = 0;
    ending = 0;
    atEnd = false;
    return _fseeki64(file, position, SEEK_SET);
}

bool FileReader::Finished() {
    if (failed) return true;
    if (offset < ending) return false;
    // The last refill may have filled the buffer exactly with the file's last bytes, leaving the
    // end flag clear: only one more refill can tell whether the file goes on.
    if (!atEnd) {
        offset = 0;
        ending = 0;
        Refill();
    }
    return offset == ending;
}

bool WriteFileReplacing(const std::string& path, const char* mode,
                        const std::function<bool(FILE* file)>& write) {
    const std::string newPath = path + NewFileSuffix;
    FILE* file = fopen(newPath.c_str(), mode);
    if (!file) return false;
    bool written = write(file);
    written = fclose(file) == 0 && written;
    written = written && MoveFileExA(newPath.c_str(), path.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!written) DeleteFileA(newPath.c_str());
    return written;
}
