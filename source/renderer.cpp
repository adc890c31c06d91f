#include "renderer.h"

#include <cstdio>
#include <ctime>
#include <memory>

#include "core.h"
#include "driver/gfxcore.h"
#include "fileio.h"
#include "recordfile.h"
#include "recordingblocks.h"
#include "spanreader.h"
#include "windows/toolkit/list.h"

namespace {

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

// The header and thumbnail of a block as its entry.
RecordingEntry ReadEntry(FILE* file, const RecordingBlock& block) {
    RecordingEntry entry{block.length, 0, 0, nullptr, ""};
    std::vector<uint8_t> head;
    if (!ReadFileRange(file, block.offset, block.offset + RecordingRecordsOffset, head))
        return entry;
    SpanReader reader(head);
    reader.Bytes(16);  // length, 0, client version, data version
    entry.startMs = uint64_t(reader.U32()) | uint64_t(reader.U32()) << 32;
    entry.stopMs = uint64_t(reader.U32()) | uint64_t(reader.U32()) << 32;
    if (reader.U32() == ThumbnailBytes)
        entry.thumbnail = GFX_CreateImage(ThumbnailWidth, ThumbnailHeight,
                                          reader.Bytes(ThumbnailBytes), ThumbnailWidth * 4, 0, 0);
    entry.name = RecordingName(entry.startMs, entry.stopMs);
    return entry;
}

// Whether the entries' blocks follow one another from the start of the bytes, each headed by its
// length.
bool EntriesMatch(const std::vector<RecordingEntry>& entries, const std::vector<uint8_t>& bytes) {
    uint64_t offset = 0;
    for (const RecordingEntry& entry : entries) {
        if (offset + entry.length > bytes.size()) return false;
        SpanReader head(bytes.data() + offset, 4);
        if (head.U32() != entry.length) return false;
        offset += entry.length;
    }
    return true;
}

}  // namespace

std::string RecordingName(uint64_t startMs, uint64_t stopMs) {
    const __time64_t start = __time64_t(startMs / 1000);
    std::tm parts{};
    if (_gmtime64_s(&parts, &start) != 0) return "?";
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &parts);
    const uint64_t seconds = stopMs > startMs ? (stopMs - startMs) / 1000 : 0;
    char duration[32];
    std::snprintf(duration, sizeof duration, " (%llu:%02u)", (unsigned long long)(seconds / 60),
                  unsigned(seconds % 60));
    return std::string(date) + duration;
}

Renderer::Renderer(Core* core, List* list) : list(list), core(core) { core->recordingList = this; }

Renderer::~Renderer() {
    ReleaseEntries();
    if (core->recordingList == this) core->recordingList = nullptr;
}

void Renderer::ReleaseEntries() {
    for (RecordingEntry& entry : entries) GFX_DeleteImage(entry.thumbnail);
    entries.clear();
}

void Renderer::Load() {
    ReleaseEntries();
    File file(fopen(RecordingsPath, "rb"), fclose);
    if (file)
        for (const RecordingBlock& block : ListRecordingBlocks(file.get()))
            entries.push_back(ReadEntry(file.get(), block));
    ShowEntries(0);
}

void Renderer::DeleteRecording() {
    const int32_t selected = list ? list->selected : -1;
    if (selected < 0 || size_t(selected) >= entries.size()) return;
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(RecordingsPath, bytes) || !EntriesMatch(entries, bytes)) return;

    uint64_t start = 0;
    for (int32_t i = 0; i < selected; ++i) start += entries[size_t(i)].length;
    const uint64_t end = start + entries[size_t(selected)].length;
    // What follows the listed blocks (a recording left unfinished) is kept as it is.
    const bool written = WriteFileReplacing(RecordingsPath, "wb", [&](FILE* file) {
        return fwrite(bytes.data(), 1, size_t(start), file) == start &&
               fwrite(bytes.data() + end, 1, size_t(bytes.size() - end), file) ==
                   bytes.size() - end;
    });
    if (!written) return;
    GFX_DeleteImage(entries[size_t(selected)].thumbnail);
    entries.erase(entries.begin() + selected);
    ShowEntries(selected < int32_t(entries.size()) ? selected : int32_t(entries.size()) - 1);
}

// The list is filled again rather than losing one line: its removal names lines by a byte.
void Renderer::ShowEntries(int32_t selection) {
    if (!list) return;
    list->Clear();
    for (const RecordingEntry& entry : entries) list->AddItem(entry.name);
    if (selection >= 0) list->Select(selection);
}
