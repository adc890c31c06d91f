// Core's quest journal: the index of data/Veltor.quests read at start-up, the server's quest
// progress, and the journal records built from the stage records it reveals.
#include <algorithm>
#include <cstring>
#include <memory>

#include "core.h"
#include "mapdriver.h"
#include "mappart.h"
#include "quests.h"
#include "recordfile.h"
#include "windows/toolkit/window.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr const char* QuestsPath = "data/Veltor.quests";
constexpr const char* QuestsLoadFailure = "Failed to load \"Veltor.quests\".";

using QuestFile = std::unique_ptr<FILE, int (*)(FILE*)>;

QuestFile OpenQuestFile() { return QuestFile(fopen(QuestsPath, "rb"), fclose); }

uint16_t StageOf(uint32_t key) { return uint16_t(key >> 16); }
uint16_t QuestIdOf(uint32_t key) { return uint16_t(key & 0xFFFF); }

// The journal record that holds a quest: a grouped one listing it, or its own.
std::vector<QuestRecord>::iterator FindQuestRecord(std::vector<QuestRecord>& quests, uint16_t id) {
    return std::find_if(quests.begin(), quests.end(), [id](const QuestRecord& record) {
        return record.grouped ? std::find(record.questIds.begin(), record.questIds.end(), id) !=
                                    record.questIds.end()
                              : record.questId == id;
    });
}

// Replaces the journal markers of the selected map part with these, placed relative to the
// part's world origin; false while no map is selected.
bool PlaceJournalMarkers(MapDriver* driver, const std::vector<JournalMarker>& markers) {
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

}  // namespace

void Core::LoadQuests() {
    std::vector<uint8_t> bytes;
    uint32_t revision;
    std::vector<QuestIndexRecord> index;
    if (!ReadWholeFile(QuestsPath, bytes) || !ReadQuestIndex(bytes, revision, index))
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
    uint8_t chainKey[XteaKeySize] = {};
    for (auto entry = record->entries.rbegin(); entry != record->entries.rend(); ++entry) {
        if (entry->stage > stage) continue;
        const QuestCount count = CountQuestStage(stage, entry->stage, entry->span);
        // Every record carries the key of the one before it, which is also the key the server's
        // value gives that record: the first record read is opened with the server's value even
        // when its window does not hold the stage.
        uint8_t recordKey[XteaKeySize];
        if (stage <= entry->stage + count.goal || lines.empty())
            QuestStageKey(*record, entry->stage, value, recordKey);
        else memcpy(recordKey, chainKey, XteaKeySize);

        QuestLine line{};
        const StageRecord read = ReadStageRecord(file, *entry, recordKey, line, chainKey);
        // A server value that does not open the quest leaves it out of the journal; a key taken
        // from the file that does not open the next record means the file is damaged.
        if (read == StageRecord::WrongKey && lines.empty()) return;
        if (read == StageRecord::WrongKey) FatalError("Invalid quest key.");
        if (read == StageRecord::Damaged) FatalError(QuestsLoadFailure);
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

void Core::UpdateQuestMarkers() {
    if (!PlaceJournalMarkers(mapDriver, JournalMarkers(quests))) return;
    for (uint32_t type : {WindowType::Panelmap, WindowType::Map})
        if (Window* window = FindWindow(type)) window->Refresh();
}
