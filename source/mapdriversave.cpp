// The explored-area save "data/Veltor.game": one enciphered record per account, read when the
// account is opened (or when the save is written) and written whole when the driver is deleted.
//
// A save that cannot be read is never fatal and never silently lost: the player whose record
// is damaged is told and plays on with an unexplored map, other accounts' unreadable records
// are written back as they were stored, and the file that held the damage is kept beside the
// new one as "Veltor.game.bak". The new save is written to a temporary file first, so a failed
// write leaves the previous save as it was.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "core.h"
#include "mapdriver.h"
#include "netbuffer.h"
#include "platform.h"
#include "recordfile.h"
#include "spanreader.h"
#include "xtea.h"

namespace {

constexpr const char* SavePath = "data/Veltor.game";
constexpr const char* NewSavePath = "data/Veltor.game.new";
constexpr const char* BackupPath = "data/Veltor.game.bak";
constexpr const char* SaveUnreadable = "Failed to load \"Veltor.game\".";
constexpr const char* SaveUndecipherable = "Failed to decrypt \"Veltor.game\".";
constexpr const char* SaveCorrupted = "Game data is corrupted.";
constexpr const char* SaveNotWritten = "Failed to save \"Veltor.game\".";
constexpr uint32_t SaveVersion = 1;
// A record: the key, the rectangle, the mask, then a zero byte and four zero words.
constexpr uint64_t RecordHeadSize = XteaKeySize + 8;
constexpr uint64_t RecordTrailerSize = 17;

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

// The account key: the account id and three fixed words of the client.
void AccountKeyWords(uint32_t accountId, uint32_t words[4]) {
    words[0] = accountId;
    words[1] = 0x4D61B7C3;
    words[2] = 0x92E05A1F;
    words[3] = 0x1C3F8D65;
}

void AccountKey(uint32_t accountId, uint8_t key[XteaKeySize]) {
    uint32_t words[4];
    AccountKeyWords(accountId, words);
    XteaKeyFromWords(words, key);
}

// A loaded account's record, enciphered.
void BuildRecord(const GameAccount& record, NetBuffer& buffer) {
    uint32_t words[4];
    AccountKeyWords(record.accountId, words);
    for (uint32_t word : words) buffer.AddU32(word);
    for (uint16_t value : {record.rect.x0, record.rect.y0, record.rect.x1, record.rect.y1})
        buffer.AddU16(value);
    buffer.Append(record.mask.data(), int32_t(record.mask.size()));
    buffer.AddU8(0);
    for (int i = 0; i < 4; ++i) buffer.AddU32(0);
    uint8_t key[XteaKeySize];
    AccountKey(record.accountId, key);
    Xtea cipher;
    cipher.SetKey(key);
    cipher.Encrypt(buffer.GetData(), size_t(buffer.GetLength()) / 8);
}

}  // namespace

void MapDriver::ReadSaveDirectory() {
    File file(fopen(SavePath, "rb"), fclose);
    if (!file) return;
    uint32_t version = 0;
    std::vector<RecordEntry> entries;
    if (!ReadRecordDirectory(file.get(), 4, version, entries)) {
        saveDamaged = 1;
        return;
    }
    for (const RecordEntry& entry : entries) {
        auto record = std::make_unique<GameAccount>();
        record->accountId = entry.id;
        record->recordOffset = entry.offset;
        record->recordEnd = entry.end;
        accounts.push_back(std::move(record));
    }
}

GameAccount* MapDriver::FindAccount(uint32_t accountId) const {
    for (const auto& record : accounts)
        if (record->accountId == accountId) return record.get();
    return nullptr;
}

void MapDriver::StartFreshMask(GameAccount& record) const {
    record.rect = worldRect;
    record.mask.assign(size_t(width) * size_t(height), 255);
    record.loaded = 1;
}

const char* MapDriver::LoadAccountRecord(GameAccount& record) {
    std::vector<uint8_t> bytes;
    if (!ReadFileRange(SavePath, record.recordOffset, record.recordEnd, bytes))
        return SaveUnreadable;
    uint8_t key[XteaKeySize];
    AccountKey(record.accountId, key);
    Xtea cipher;
    cipher.SetKey(key);
    cipher.Decrypt(bytes.data(), bytes.size() / 8);
    if (bytes.size() < XteaKeySize || std::memcmp(bytes.data(), key, XteaKeySize) != 0)
        return SaveUndecipherable;

    SpanReader reader(bytes.data(), bytes.size());
    reader.Bytes(XteaKeySize);
    const MapRect stored = ReadRect(reader);
    const int32_t storedWidth = stored.Width(), storedHeight = stored.Height();
    if (storedWidth < 0 || storedHeight < 0) return SaveCorrupted;
    const uint8_t* storedMask = reader.Bytes(uint64_t(storedWidth) * uint64_t(storedHeight));
    if (!storedMask || !reader.Bytes(RecordTrailerSize)) return SaveCorrupted;

    // The stored cells keep their world positions; cells new to the world rectangle are
    // unexplored, cells that left it are dropped.
    std::vector<uint8_t> mask(size_t(width) * size_t(height), 255);
    const int32_t dx = int32_t(stored.x0) - worldRect.x0, dy = int32_t(stored.y0) - worldRect.y0;
    const int32_t x0 = std::max(0, dx), x1 = std::min(width, dx + storedWidth);
    const int32_t y0 = std::max(0, dy), y1 = std::min(height, dy + storedHeight);
    for (int32_t y = y0; x0 < x1 && y < y1; ++y) {
        std::copy_n(storedMask + size_t(y - dy) * size_t(storedWidth) + size_t(x0 - dx),
                    size_t(x1 - x0), mask.begin() + size_t(y) * size_t(width) + size_t(x0));
    }
    record.mask = std::move(mask);
    record.rect = worldRect;
    record.loaded = 1;
    return nullptr;
}

void MapDriver::SaveGameFile() {
    if (!accountOpened) return;
    for (const auto& record : accounts)
        if (!record->loaded && LoadAccountRecord(*record)) saveDamaged = 1;
    bool saved = WriteGameFile(NewSavePath);
    // A damaged save is replaced only once a copy of it is kept.
    if (saved && saveDamaged && GetFileAttributesA(SavePath) != INVALID_FILE_ATTRIBUTES)
        saved = CopyFileA(SavePath, BackupPath, FALSE);
    saved = saved && MoveFileExA(NewSavePath, SavePath, MOVEFILE_REPLACE_EXISTING);
    if (!saved) {
        DeleteFileA(NewSavePath);
        ShowMessageBox(nullptr, SaveNotWritten, "Veltor - Error", MB_OK);
    }
}

// Writes every account: loaded records as they are now, the others as the old save stored them
// (an account whose record cannot be read any more is left out).
bool MapDriver::WriteGameFile(const char* path) {
    struct Entry {
        const GameAccount* record;
        std::vector<uint8_t> stored;  // the old save's bytes of an unreadable record
        uint64_t size;
    };
    std::vector<Entry> entries;
    for (const auto& record : accounts) {
        Entry entry{record.get(), {}, 0};
        if (record->loaded) {
            entry.size = RecordHeadSize + record->mask.size() + RecordTrailerSize;
        } else if (ReadFileRange(SavePath, record->recordOffset, record->recordEnd, entry.stored)) {
            entry.size = entry.stored.size();
        } else {
            continue;
        }
        entries.push_back(std::move(entry));
    }

    NetBuffer head(256);
    head.AddU32(SaveVersion);
    head.AddU32(uint32_t(entries.size()));
    uint64_t offset = 8 + 8 * uint64_t(entries.size());
    for (const Entry& entry : entries) {
        head.AddU32(entry.record->accountId);
        head.AddU32(uint32_t(offset));
        offset += entry.size;
    }
    // Offsets and the last record's end are 32-bit.
    if (offset > UINT32_MAX) return false;

    File file(fopen(path, "wb"), fclose);
    if (!file) return false;
    bool written =
        fwrite(head.GetData(), 1, size_t(head.GetLength()), file.get()) == size_t(head.GetLength());
    for (const Entry& entry : entries) {
        if (!entry.record->loaded) {
            written = written && fwrite(entry.stored.data(), 1, entry.stored.size(), file.get()) ==
                                     entry.stored.size();
            continue;
        }
        NetBuffer buffer(256);
        BuildRecord(*entry.record, buffer);
        written = written && fwrite(buffer.GetData(), 1, size_t(buffer.GetLength()), file.get()) ==
                                 size_t(buffer.GetLength());
    }
    return fclose(file.release()) == 0 && written;
}
