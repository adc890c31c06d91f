#include "fileio.h"

#include <io.h>

#include <cstring>

#include "platform.h"

namespace {

constexpr uint32_t InitialCapacity = 4096;

[[noreturn]] void EndWithError(const std::string& text) {
    ShowMessageBox(nullptr, text.c_str(), "Veltor - Error", MB_OK);
    ExitProgram(FatalExitCode);
}

}  // namespace

FileReader::FileReader(const std::string& path) : path(path) {
    file = fopen(path.c_str(), "rb");
    if (!file) EndWithError("Failed to load \"" + path + "\".");
    buffer.resize(InitialCapacity);
}

FileReader::~FileReader() {
    if (file) fclose(file);
}

void FileReader::Check(bool condition, const char* what) const {
    if (!condition) EndWithError("Failed to read \"" + path + "\": " + what);
}

void FileReader::Ensure(uint32_t n) {
    uint32_t remaining = ending - offset;
    if (remaining >= n) return;
    Check(!atEnd, "!eof");
    if (n > Capacity()) {
        // A size read from a damaged file must not grow the buffer past the file itself.
        int64_t left = _filelengthi64(_fileno(file)) - _ftelli64(file);
        Check(left >= 0 && n - remaining <= static_cast<uint64_t>(left), "size <= ending - offset");
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
    Check(n <= ending - offset, "size <= ending - offset");
}

void FileReader::Refill() {
    ending += static_cast<uint32_t>(fread(buffer.data() + ending, 1, Capacity() - ending, file));
    if (ending < Capacity()) {
        Check(ferror(file) == 0, "ferror(file) == 0");
        atEnd = true;
    }
}

uint8_t FileReader::ReadU8() {
    Ensure(1);
    return buffer[offset++];
}

uint16_t FileReader::ReadU16() {
    Ensure(2);
    const uint8_t* p = buffer.data() + offset;
    offset += 2;
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t FileReader::ReadU32() {
    Ensure(4);
    const uint8_t* p = buffer.data() + offset;
    offset += 4;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void FileReader::ReadBytes(void* destination, uint32_t n) {
    Ensure(n);
    std::memcpy(destination, buffer.data() + offset, n);
    offset += n;
}

int FileReader::Seek(uint32_t position) {
    offset = 0;
    ending = 0;
    atEnd = false;
    return _fseeki64(file, position, SEEK_SET);
}

bool FileReader::Finished() {
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
