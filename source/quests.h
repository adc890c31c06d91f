#pragma once
// Helpers of the quest journal that Core builds from data/Veltor.quests.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "xtea.h"

// One stage entry of a quest in the quest index: the text's byte range and the count's span.
struct QuestStageEntry {
    uint16_t stage;
    int8_t span;
    uint32_t offset;
    uint32_t end;
};

struct QuestIndexRecord {
    uint16_t groupId;
    uint16_t questId;
    std::vector<QuestStageEntry> entries;
};

struct QuestMarker {
    uint16_t x;
    uint16_t y;
    uint8_t floor;
    std::string label;
};

// The states of a journal line, in its first value.
namespace QuestState {
constexpr uint8_t NoCurrentMark = 2, Completed = 3, FinishedCompleted = 4, FinishedPlain = 5,
                  Greyed = 6, Percent = 7, CountOfGoal = 8;
}

struct QuestLine {
    uint8_t values[4];
    uint32_t count;  // progress reached, 0 .. span
    uint32_t span;   // the goal of the progress
    std::string title;
    std::string text;
    std::vector<QuestMarker> markers;

    uint8_t State() const { return values[0]; }
    // A line that shows progress towards a goal it has not reached yet.
    bool ProgressOpen() const {
        return (State() == QuestState::Percent || State() == QuestState::CountOfGoal) &&
               count < span;
    }
};

struct QuestRecord {
    uint16_t questId;
    uint32_t stageTotal;
    std::string title;
    std::vector<QuestLine> lines;
    uint8_t grouped;
    std::vector<uint16_t> questIds;
};

struct QuestProgress {
    uint32_t key;  // (stage << 16) | quest id
    uint32_t value;
};

// A map marker of a journal line, numbered by its journal record (from 1, in journal order).
struct JournalMarker {
    uint16_t recordNumber;
    QuestMarker marker;
};

// The progress shown by a stage entry with a span: `reached` is the current stage less the
// entry's stage, limited to 0 .. |span|; `count` is `reached` for a positive span and what is
// left (|span| - reached) for a negative one.
struct QuestCount {
    uint32_t reached;
    uint32_t goal;
    uint32_t count;
};
QuestCount CountQuestStage(uint16_t stage, uint16_t entryStage, int8_t span);

// Replaces every "{count}" of the text by the decimal count, going on after each replacement.
void ReplaceCount(std::string& text, uint32_t count);

// The markers of the newest line of every journal record that has lines.
std::vector<JournalMarker> JournalMarkers(const std::vector<QuestRecord>& quests);

// The revision and the quest index of the whole quests file. Each stage record ends where the
// next entry of the file begins, the last one at the end of the file. False when the file is
// shorter than its index says or a record does not lie inside the file.
bool ReadQuestIndex(const std::vector<uint8_t>& bytes, uint32_t& revision,
                    std::vector<QuestIndexRecord>& index);

// The key of a quest's stage record built from the value the server sent with its progress.
void QuestStageKey(const QuestIndexRecord& record, uint16_t entryStage, uint32_t value,
                   uint8_t key[XteaKeySize]);

enum class StageRecord { Read, WrongKey, Damaged };

// Reads a stage record from the quests file, deciphers its whole 8-byte blocks and checks them
// against the key; a record that opens gives its journal line and the key of the record before
// it. Damaged when the record cannot be read or a length in it runs past its end.
StageRecord ReadStageRecord(FILE* file, const QuestStageEntry& entry,
                            const uint8_t key[XteaKeySize], QuestLine& line,
                            uint8_t nextKey[XteaKeySize]);
