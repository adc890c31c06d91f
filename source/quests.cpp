// The quest file data/Veltor.quests: its index, and its enciphered stage records deciphered into
// journal lines; the counts and markers the journal shows.
#include "quests.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "converttext.h"
#include "recordfile.h"
#include "spanreader.h"
#include "xtea.h"

namespace {

// The journal line of a deciphered stage record and the key of the record before it. False when
// a length runs past the record's end.
bool ParseStageRecord(const std::vector<uint8_t>& bytes, QuestLine& line,
                      uint8_t nextKey[XteaKeySize]) {
    SpanReader record(bytes);
    record.Bytes(XteaKeySize);
    const uint8_t* next = record.Bytes(XteaKeySize);
    for (uint8_t& value : line.values) value = record.U8();
    line.title = record.Text(record.U8());
    line.text = record.Text(record.U16());
    const uint8_t markerCount = record.U8();
    for (uint32_t n = 0; n < markerCount && !record.Failed(); ++n) {
        QuestMarker marker{};
        marker.x = record.U16();
        marker.y = record.U16();
        marker.floor = record.U8();
        marker.label = record.Text(record.U8());
        ConvertText(marker.label);
        line.markers.push_back(std::move(marker));
    }
    if (record.Failed()) return false;
    ConvertText(line.title);
    ConvertText(line.text);
    memcpy(nextKey, next, XteaKeySize);
    return true;
}

}  // namespace

bool ReadQuestIndex(const std::vector<uint8_t>& bytes, uint32_t& revision,
                    std::vector<QuestIndexRecord>& index) {
    SpanReader file(bytes);
    revision = file.U32();
    const uint32_t count = file.U32();
    for (uint32_t n = 0; n < count && !file.Failed(); ++n) {
        QuestIndexRecord record{};
        record.groupId = file.U16();
        record.questId = file.U16();
        const uint16_t entryCount = file.U16();
        for (uint32_t e = 0; e < entryCount && !file.Failed(); ++e) {
            QuestStageEntry entry{};
            entry.stage = file.U16();
            entry.span = int8_t(file.U8());
            entry.offset = file.U32();
            record.entries.push_back(entry);
        }
        index.push_back(std::move(record));
    }
    if (file.Failed() || file.Size() > UINT32_MAX) return false;
    uint32_t end = uint32_t(file.Size());
    for (auto record = index.rbegin(); record != index.rend(); ++record) {
        for (auto entry = record->entries.rbegin(); entry != record->entries.rend(); ++entry) {
            if (entry->offset > end) return false;
            entry->end = end;
            end = entry->offset;
        }
    }
    return true;
}

void QuestStageKey(const QuestIndexRecord& record, uint16_t entryStage, uint32_t value,
                   uint8_t key[XteaKeySize]) {
    // The last word is the program's own, put together here each time a key is built.
    const uint32_t words[4] = {(uint32_t(record.groupId) << 16) + record.questId, entryStage, value,
                               (0x7C1Eu << 16) | 0x5B93u};
    XteaKeyFromWords(words, key);
}

StageRecord ReadStageRecord(FILE* file, const QuestStageEntry& entry,
                            const uint8_t key[XteaKeySize], QuestLine& line,
                            uint8_t nextKey[XteaKeySize]) {
    std::vector<uint8_t> bytes;
    if (!ReadFileRange(file, entry.offset, entry.end, bytes)) return StageRecord::Damaged;
    if (bytes.size() < XteaKeySize) return StageRecord::WrongKey;
    Xtea cipher;
    cipher.SetKey(key);
    cipher.Decrypt(bytes.data(), bytes.size() / 8);
    if (memcmp(bytes.data(), key, XteaKeySize) != 0) return StageRecord::WrongKey;
    return ParseStageRecord(bytes, line, nextKey) ? StageRecord::Read : StageRecord::Damaged;
}

QuestCount CountQuestStage(uint16_t stage, uint16_t entryStage, int8_t span) {
    const uint32_t goal = uint32_t(std::abs(int32_t(span)));
    const uint32_t reached = std::min<uint32_t>(stage > entryStage ? stage - entryStage : 0, goal);
    return {reached, goal, span < 0 ? goal - reached : reached};
}

void ReplaceCount(std::string& text, uint32_t count) {
    static const std::string mark = "{count}";
    const std::string number = std::to_string(count);
    for (size_t at = text.find(mark); at != std::string::npos;
         at = text.find(mark, at + number.size()))
        text.replace(at, mark.size(), number);
}

std::vector<JournalMarker> JournalMarkers(const std::vector<QuestRecord>& quests) {
    std::vector<JournalMarker> markers;
    for (size_t n = 0; n < quests.size(); ++n) {
        if (quests[n].lines.empty()) continue;
        for (const QuestMarker& marker : quests[n].lines.back().markers)
            markers.push_back({uint16_t(n + 1), marker});
    }
    return markers;
}
