#pragma once
// Helpers of the quest journal that Core builds from data/Veltor.quests.
#include <cstdint>
#include <string>
#include <vector>

#include "core.h"

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
