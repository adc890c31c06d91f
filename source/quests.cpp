// The quest journal: the index of data/Veltor.quests read at start-up, and its enciphered stage
// records deciphered into journal lines as the server reveals the player's quest stages.
#include "quests.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "converttext.h"
#include "mapdriver.h"
#include "mappart.h"
#include "windows/toolkit/window.h"
#include "windows/toolkit/windowtypes.h"
#include "packreader.h"
#include "xtea.h"

namespace {

constexpr const char* QuestsPath = "data/Veltor.quests";
constexpr const char* QuestsLoadFailure = "Failed to load \"Veltor.quests\".";
constexpr size_t KeySize = 16;

using QuestFile = std::unique_ptr<FILE, int (*)(FILE*)>;

QuestFile OpenQuestFile() { return QuestFile(fopen(QuestsPath, "rb"), fclose); }

uint16_t StageOf(uint32_t key) { return uint16_t(key >> 16); }
uint16_t QuestIdOf(uint32_t key) { return uint16_t(key & 0xFFFF); }

// The revision and the quest index. Each stage record ends where the next entry of the file
// begins, the last one at the end of the file. False when the file is shorter than its index says
// or a record does not lie inside the file.
bool ReadQuestIndex(PackReader& file, uint32_t& revision, std::vector<QuestIndexRecord>& index) {
    uint32_t count;
    if (!file.ReadU32(revision) || !file.ReadU32(count)) return false;
    for (uint32_t n = 0; n < count; ++n) {
        QuestIndexRecord record{};
        uint16_t entryCount;
        if (!file.ReadU16(record.groupId) || !file.ReadU16(record.questId) ||
            !file.ReadU16(entryCount))
            return false;
        for (uint32_t e = 0; e < entryCount; ++e) {
            QuestStageEntry entry{};
            uint8_t span;
            if (!file.ReadU16(entry.stage) || !file.ReadU8(span) || !file.ReadU32(entry.offset))
                return false;
            entry.span = int8_t(span);
            record.entries.push_back(entry);
        }
        index.push_back(std::move(record));
    }
    if (file.Size() > UINT32_MAX) return false;
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

// The key of a quest's stage record built from the value the server sent with its progress.
void StageKey(const QuestIndexRecord& record, uint16_t entryStage, uint32_t value,
              uint8_t key[KeySize]) {
    // The last word is the program's own, put together here each time a key is built.
    const uint32_t words[4] = {(uint32_t(record.groupId) << 16) + record.questId, entryStage,
                               value, (0x7C1Eu << 16) | 0x5B93u};
    for (size_t i = 0; i < KeySize; ++i) key[i] = uint8_t(words[i / 4] >> (8 * (i % 4)));
}

enum class StageRecord { Read, WrongKey, Damaged };

// Reads a stage record, deciphers its whole 8-byte blocks and checks them against the key.
StageRecord ReadStageRecord(FILE* file, const QuestStageEntry& entry, const uint8_t key[KeySize],
                            std::vector<uint8_t>& bytes) {
    bytes.resize(entry.end - entry.offset);
    if (entry.offset > uint32_t(LONG_MAX) || fseek(file, long(entry.offset), SEEK_SET) != 0 ||
        fread(bytes.data(), 1, bytes.size(), file) != bytes.size())
        return StageRecord::Damaged;
    if (bytes.size() < KeySize) return StageRecord::WrongKey;
    Xtea cipher;
    cipher.SetKey(key);
    cipher.Decrypt(bytes.data(), bytes.size() / 8);
    return memcmp(bytes.data(), key, KeySize) == 0 ? StageRecord::Read : StageRecord::WrongKey;
}

// The journal line of a deciphered stage record and the key of the record before it. False when
// a length runs past the record's end.
bool ParseStageRecord(std::vector<uint8_t> bytes, QuestLine& line, uint8_t nextKey[KeySize]) {
    PackReader record;
    record.Assign(std::move(bytes));
    std::string check, next;
    uint8_t titleLength, markerCount;
    uint16_t textLength;
    if (!record.ReadText(KeySize, check) || !record.ReadText(KeySize, next)) return false;
    for (uint8_t& value : line.values)
        if (!record.ReadU8(value)) return false;
    if (!record.ReadU8(titleLength) || !record.ReadText(titleLength, line.title) ||
        !record.ReadU16(textLength) || !record.ReadText(textLength, line.text) ||
        !record.ReadU8(markerCount))
        return false;
    for (uint32_t n = 0; n < markerCount; ++n) {
        QuestMarker marker{};
        uint8_t labelLength;
        if (!record.ReadU16(marker.x) || !record.ReadU16(marker.y) ||
            !record.ReadU8(marker.floor) || !record.ReadU8(labelLength) ||
            !record.ReadText(labelLength, marker.label))
            return false;
        ConvertText(marker.label);
        line.markers.push_back(std::move(marker));
    }
    ConvertText(line.title);
    ConvertText(line.text);
    memcpy(nextKey, next.data(), KeySize);
    return true;
}

// The journal record that holds a quest: a grouped one listing it, or its own.
std::vector<QuestRecord>::iterator FindQuestRecord(std::vector<QuestRecord>& quests, uint16_t id) {
    return std::find_if(quests.begin(), quests.end(), [id](const QuestRecord& record) {
        return record.grouped
                   ? std::find(record.questIds.begin(), record.questIds.end(), id) !=
                         record.questIds.end()
                   : record.questId == id;
    });
}

}  // namespace

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

void Core::LoadQuests() {
    PackReader file;
    uint32_t revision;
    std::vector<QuestIndexRecord> index;
    if (!file.Open(QuestsPath) || !ReadQuestIndex(file, revision, index))
        FatalError(QuestsLoadFailure);
    dataVersion += revision;
    questIndex = std::move(index);
}

void Core::SetQuestProgress(uint32_t key, uint32_t value) {
    const uint16_t id = QuestIdOf(key);
    const auto pair = std::find_if(questProgress.begin(), questProgress.end(),
                                   [id](const QuestProgress& p) { return QuestIdOf(p.key) == id; });
    if (StageOf(key) == 0) {
        if (pair != questProgress.end()) questProgress.erase(pair);
    } else if (pair != questProgress.end()) {
        *pair = {key, value};
    } else {
        questProgress.push_back({key, value});
    }
}

void Core::ReloadQuests() {
    const QuestFile file = OpenQuestFile();
    if (!file) return;
    quests.clear();
    for (const QuestProgress& pair : questProgress) BuildQuest(file.get(), pair.key, pair.value);
}

void Core::LoadQuest(uint32_t key, uint32_t value) {
    const QuestFile file = OpenQuestFile();
    if (!file) return;
    const auto record = FindQuestRecord(quests, QuestIdOf(key));
    if (record == quests.end()) {
        if (StageOf(key) != 0) BuildQuest(file.get(), key, value);
        return;
    }
    if (StageOf(key) == 0 && !record->grouped) {
        quests.erase(record);
        return;
    }
    // The record is emptied in place and filled again by the quests it held.
    const std::vector<uint16_t> heldIds = std::move(record->questIds);
    const bool grouped = record->grouped;
    record->questIds.clear();
    record->lines.clear();
    record->stageTotal = 0;
    if (!grouped) {
        BuildQuest(file.get(), key, value);
        return;
    }
    for (const QuestProgress& pair : questProgress) {
        if (std::find(heldIds.begin(), heldIds.end(), QuestIdOf(pair.key)) != heldIds.end())
            BuildQuest(file.get(), pair.key, pair.value);
    }
}

void Core::BuildQuest(FILE* file, uint32_t key, uint32_t value) {
    const uint16_t stage = StageOf(key);
    const uint16_t id = QuestIdOf(key);
    const auto record = std::find_if(questIndex.begin(), questIndex.end(),
                                     [id](const QuestIndexRecord& r) { return r.questId == id; });
    if (record == questIndex.end() || record->entries.empty()) return;

    std::vector<QuestLine> lines;  // newest first
    uint8_t chainKey[KeySize];
    for (auto entry = record->entries.rbegin(); entry != record->entries.rend(); ++entry) {
        if (entry->stage > stage) continue;
        const QuestCount count = CountQuestStage(stage, entry->stage, entry->span);
        // Every record carries the key of the one before it, which is also the key the server's
        // value gives that record: the first record read is opened with the server's value even
        // when its window does not hold the stage.
        uint8_t recordKey[KeySize];
        if (stage <= entry->stage + count.goal || lines.empty())
            StageKey(*record, entry->stage, value, recordKey);
        else
            memcpy(recordKey, chainKey, KeySize);

        std::vector<uint8_t> bytes;
        const StageRecord read = ReadStageRecord(file, *entry, recordKey, bytes);
        // A server value that does not open the quest leaves it out of the journal; a key taken
        // from the file that does not open the next record means the file is damaged.
        if (read == StageRecord::WrongKey && lines.empty()) return;
        if (read == StageRecord::WrongKey) FatalError("Invalid quest key.");
        QuestLine line{};
        if (read == StageRecord::Damaged || !ParseStageRecord(std::move(bytes), line, chainKey))
            FatalError(QuestsLoadFailure);
        if (entry->span != 0) {
            line.count = count.reached;
            line.span = count.goal;
            ReplaceCount(line.text, count.count);
        }
        lines.push_back(std::move(line));
    }
    const std::string title = lines.empty() ? std::string() : lines.front().title;
    AddQuestLines(id, uint32_t(record->entries.size()), title, lines);
}

void Core::AddQuestLines(uint16_t questId, uint32_t stageCount, const std::string& title,
                         const std::vector<QuestLine>& lines) {
    // Without lines only the quest's own record takes it; with lines also one of the same title.
    const auto record = std::find_if(quests.begin(), quests.end(), [&](const QuestRecord& r) {
        return r.questId == questId || (!lines.empty() && r.title == title);
    });
    if (record != quests.end()) {
        record->questIds.push_back(questId);
        if (!record->lines.empty()) record->grouped = 1;
        record->lines.insert(record->lines.end(), lines.rbegin(), lines.rend());
        record->stageTotal += uint32_t(lines.size());
    } else if (!lines.empty()) {
        quests.push_back(
            {questId, stageCount, title, {lines.rbegin(), lines.rend()}, 0, {questId}});
    }
}

QuestRecord Core::FindQuest(uint16_t id) {
    const auto record = FindQuestRecord(quests, id);
    return record == quests.end() ? QuestRecord{} : *record;
}

// Replaces the journal markers of the selected map part with these, placed relative to the
// part's world origin; false while no map is selected.
static bool PlaceJournalMarkers(MapDriver* driver, const std::vector<JournalMarker>& markers) {
    MapPart* part = driver ? driver->SelectedPart() : nullptr;
    if (!part) return false;
    part->journalMarkers.clear();
    for (const JournalMarker& journal : markers) {
        MapLabel label;
        label.id = journal.recordNumber;
        label.x = uint16_t(journal.marker.x - part->worldRect.x0);
        label.y = uint16_t(journal.marker.y - part->worldRect.y0);
        label.icon = journal.marker.floor;
        label.text = journal.marker.label;
        label.flag = 1;
        part->journalMarkers.push_back(label);
    }
    return true;
}

void Core::UpdateQuestMarkers() {
    if (!PlaceJournalMarkers(mapDriver, JournalMarkers(quests))) return;
    for (uint32_t type : {WindowType::Panelmap, WindowType::Map})
        if (Window* window = FindWindow(type)) window->Refresh();
}
