#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// Buffered reader of the sprite data files: bytes and little-endian integers, read through a
// buffer so the many small reads cost no call into the file layer each. A file that cannot be
// opened, and a read past its end, are handed to the owner's failure handler with a text naming
// the file (and the failed check); the sprite loader ends the program there, as there is no way
// to go on without the sprite data. Should the handler return, the reader stays failed: every
// later read gives zeros and moves nothing.
class FileReader {
public:
    using FailureHandler = std::function<void(const std::string& text)>;

    FileReader(const std::string& path, FailureHandler onFailure);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Makes at least n unread bytes available in the buffer, growing it when n exceeds it; false
    // (and the reader failed) when the file holds fewer.
    bool Ensure(uint32_t n);
    uint8_t ReadU8();
    uint16_t ReadU16();
    uint32_t ReadU32();
    // Writes nothing when the n bytes are not there.
    void ReadBytes(void* destination, uint32_t n);
    // Moves to an absolute file position and drops the buffered bytes; returns the file seek's
    // result (0 on success).
    int Seek(uint32_t position);
    // True when every byte of the file has been read, or the reader failed. An empty buffer
    // without the end flag (the last refill filled it exactly) first tries one more refill, so a
    // file whose size is a multiple of the buffer's ends cleanly at its last record.
    bool Finished();

    uint32_t Capacity() const { return static_cast<uint32_t>(buffer.size()); }
    bool Failed() const { return failed; }

private:
    void Refill();
    // False, after reporting the failure once, when the condition does not hold.
    bool Check(bool condition, const char* what);
    void Fail(const std::string& text);

    std::string path;
    FailureHandler onFailure;
    bool failed = false;
    FILE* file = nullptr;
    std::vector<uint8_t> buffer;
    uint32_t offset = 0;  // next unread byte in the buffer
    uint32_t ending = 0;  // number of valid bytes in the buffer
    bool atEnd = false;   // a refill got fewer bytes than there was room for
};

// Replaces the file at `path` through a new file beside it (the same name plus ".new"), opened
// with `mode` ("w" or "wb") and filled by `write`, which answers whether it wrote everything;
// the new file is then moved over the old one. False when any step fails: the old file is then
// left as it was and the new one deleted.
bool WriteFileReplacing(const std::string& path, const char* mode,
                        const std::function<bool(FILE* file)>& write);
