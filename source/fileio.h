#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Buffered reader of the sprite data files: bytes and little-endian integers, read through a
// buffer so the many small reads cost no call into the file layer each. A file that cannot be
// opened, and a read past its end, end the program with an error box: there is no way to go on
// without the sprite data.
class FileReader {
public:
    explicit FileReader(const std::string& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Makes at least n unread bytes available in the buffer, growing it when n exceeds it.
    void Ensure(uint32_t n);
    uint8_t ReadU8();
    uint16_t ReadU16();
    uint32_t ReadU32();
    void ReadBytes(void* destination, uint32_t n);
    // Moves to an absolute file position and drops the buffered bytes; returns the file seek's
    // result (0 on success).
    int Seek(uint32_t position);
    // True when every byte of the file has been read. An empty buffer without the end flag (the
    // last refill filled it exactly) first tries one more refill, so a file whose size is a
    // multiple of the buffer's ends cleanly at its last record.
    bool Finished();

    uint32_t Capacity() const { return static_cast<uint32_t>(buffer.size()); }

private:
    void Refill();
    void Check(bool condition, const char* what) const;

    std::string path;
    FILE* file = nullptr;
    std::vector<uint8_t> buffer;
    uint32_t offset = 0;  // next unread byte in the buffer
    uint32_t ending = 0;  // number of valid bytes in the buffer
    bool atEnd = false;   // a refill got fewer bytes than there was room for
};
