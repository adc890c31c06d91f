#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "quests.h"
#include "support/packbytes.h"
#include "support/spritedata.h"

namespace {

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

File OpenQuests() { return File(fopen("data/Veltor.quests", "rb"), fclose); }

// Client text as the tools write it in the expectations: printable ASCII as it is, other bytes
// as \xNN.
std::string Shown(const std::string& text) {
    std::string out;
    char escape[8];
    for (unsigned char c : text) {
        if (c >= 32 && c < 127 && c != '\\') {
            out += char(c);
        } else {
            snprintf(escape, sizeof escape, "\\x%02x", c);
            out += escape;
        }
    }
    return out;
}

// A journal record line for line as the tools describe it (tools/datagen/questcases.py).
void Describe(const QuestRecord& record, std::vector<std::string>& out) {
    out.push_back("record total " + std::to_string(record.stageTotal) + " title " +
                  Shown(record.title));
    for (const QuestLine& line : record.lines) {
        std::ostringstream text;
        text << "line " << int(line.values[0]) << ' ' << int(line.values[1]) << ' '
             << int(line.values[2]) << ' ' << int(line.values[3]) << " count " << line.count
             << " goal " << line.span;
        out.push_back(text.str());
        out.push_back(" title " + Shown(line.title));
        out.push_back(" text " + Shown(line.text));
        for (const QuestMarker& marker : line.markers) {
            out.push_back(" marker " + std::to_string(marker.x) + ' ' + std::to_string(marker.y) +
                          ' ' + std::to_string(marker.floor) + ' ' + Shown(marker.label));
        }
    }
}

// Lines as one text, so that a mismatch shows as a diff.
std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

uint32_t Key(uint16_t id, uint16_t stage) { return uint32_t(stage) << 16 | id; }

class QuestsTest : public StartedCore {
protected:
    // Makes a quests file of the test data the one Core reads, and reads its index.
    void UseQuests(const std::string& testCase) {
        CopyDataFile(TestDataPath("quests/" + testCase + "/Veltor.quests"), "Veltor.quests");
        core->LoadQuests();
    }

    // Builds one quest into an empty journal: "" when it builds, else the error box's text.
    std::string BuildAlone(uint16_t id, uint16_t stage, uint32_t value) {
        core->quests.clear();
        fake.boxes.clear();
        const File file = OpenQuests();
        try {
            core->BuildQuest(file.get(), Key(id, stage), value);
        } catch (const ProgramExit& exit) {
            if (exit.code == 0 || fake.boxes.size() != 1) return "exit without one box";
            return fake.boxes[0].title == "Veltor - Error" ? fake.boxes[0].text
                                                           : "box titled " + fake.boxes[0].title;
        }
        return "";
    }

    // The titles of the journal records, in journal order.
    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (const QuestRecord& record : core->quests) titles.push_back(record.title);
        return titles;
    }
};

TEST_F(QuestsTest, SampleQuestsGiveTheLinesTheToolsExpect) {
    UseQuests("sample");
    const std::vector<std::string> expected = ReadLines(TestDataPath("quests/sample/expected.txt"));
    ASSERT_FALSE(expected.empty());
    std::vector<std::string> actual;
    for (const std::string& line : expected) {
        unsigned id, stage, value;
        if (sscanf(line.c_str(), "probe %u %u %u", &id, &stage, &value) != 3) continue;
        actual.push_back(line);
        ASSERT_EQ(BuildAlone(uint16_t(id), uint16_t(stage), value), "") << line;
        ASSERT_LE(core->quests.size(), 1u) << line;
        for (const QuestRecord& record : core->quests) Describe(record, actual);
    }
    EXPECT_EQ(Joined(actual), Joined(expected));
}

TEST_F(QuestsTest, ReadingTheIndexAddsTheRevisionAndEndsEveryRecordAtTheNextOne) {
    const uint32_t before = core->dataVersion;
    PackBytes file;
    file.U32(9).U32(3);
    file.U16(1).U16(10).U16(2).U16(1).U8(0).U32(100).U16(3).U8(0xFD).U32(140);
    file.U16(1).U16(11).U16(0);
    file.U16(2).U16(12).U16(1).U16(5).U8(4).U32(150);
    file.Raw(std::vector<uint8_t>(200 - file.bytes.size()));
    WriteDataFile("Veltor.quests", file.bytes);
    core->LoadQuests();

    EXPECT_EQ(core->dataVersion, before + 9);
    ASSERT_EQ(core->questIndex.size(), 3u);
    const QuestIndexRecord& first = core->questIndex[0];
    EXPECT_EQ(first.groupId, 1);
    EXPECT_EQ(first.questId, 10);
    ASSERT_EQ(first.entries.size(), 2u);
    EXPECT_EQ(first.entries[1].stage, 3);
    EXPECT_EQ(first.entries[1].span, -3);
    EXPECT_EQ(first.entries[0].end, 140u);
    EXPECT_EQ(first.entries[1].end, 150u);  // the next quest's first entry, past the empty one
    EXPECT_TRUE(core->questIndex[1].entries.empty());
    EXPECT_EQ(core->questIndex[2].entries[0].offset, 150u);
    EXPECT_EQ(core->questIndex[2].entries[0].end, 200u);  // the size of the file
}

struct DamagedIndex {
    const char* name;
    std::vector<uint8_t> bytes;
};

class DamagedQuestIndex : public StartedCore, public ::testing::WithParamInterface<DamagedIndex> {};

TEST_P(DamagedQuestIndex, EndsStartUpWithTheLoadError) {
    WriteDataFile("Veltor.quests", GetParam().bytes);
    try {
        core->LoadQuests();
        FAIL() << "the index was taken";
    } catch (const ProgramExit& exit) {
        EXPECT_NE(exit.code, 0u);
    }
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "Veltor - Error");
    EXPECT_EQ(fake.boxes[0].text, "Failed to load \"Veltor.quests\".");
}

// One quest whose index claims `entryCount` stage entries and holds the given ones, padded with
// zero bytes to `size`.
std::vector<uint8_t> QuestIndex(uint32_t count, uint16_t entryCount, std::vector<uint32_t> offsets,
                                size_t size) {
    PackBytes file;
    file.U32(1).U32(count).U16(1).U16(10).U16(entryCount);
    for (uint32_t offset : offsets) file.U16(1).U8(0).U32(offset);
    if (file.bytes.size() < size) file.Raw(std::vector<uint8_t>(size - file.bytes.size()));
    return file.bytes;
}

// A quest index of one quest with one entry is 21 bytes long.
INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedQuestIndex,
    ::testing::Values(DamagedIndex{"NoCount", {1, 0, 0, 0}},
                      DamagedIndex{"MoreQuestsThanTheFileHolds", QuestIndex(2, 1, {21}, 0)},
                      DamagedIndex{"HugeQuestCount", QuestIndex(0xFFFFFFFF, 1, {21}, 0)},
                      DamagedIndex{"EntriesCutShort", QuestIndex(1, 3, {28, 28}, 0)},
                      DamagedIndex{"RecordPastTheEnd", QuestIndex(1, 2, {40, 65}, 64)},
                      DamagedIndex{"RecordsGoingBackwards", QuestIndex(1, 2, {48, 40}, 64)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(QuestsTest, DamagedRecordsAndWrongValues) {
    UseQuests("damaged");
    const std::vector<std::string> probes = ReadLines(TestDataPath("quests/damaged/probes.txt"));
    ASSERT_FALSE(probes.empty());
    for (const std::string& probe : probes) {
        SCOPED_TRACE(probe);
        unsigned id, stage, value;
        int used = 0;
        ASSERT_EQ(sscanf(probe.c_str(), "%u %u %u %n", &id, &stage, &value, &used), 3);
        const std::string outcome = probe.substr(size_t(used));
        const std::string failure = BuildAlone(uint16_t(id), uint16_t(stage), value);
        if (outcome.rfind("fatal ", 0) == 0) {
            EXPECT_EQ(failure, outcome.substr(6));
        } else if (outcome == "absent") {
            EXPECT_EQ(failure, "");
            EXPECT_TRUE(core->quests.empty());
        } else {
            EXPECT_EQ(failure, "");
            ASSERT_EQ(core->quests.size(), 1u);
            EXPECT_EQ("lines " + std::to_string(core->quests[0].lines.size()), outcome);
        }
    }
}

// The sample quests (tools/datagen/quests.py) the journal tests use, with their values:
// 101 "The Miller's Grain" (stages 1, 2 with span 5, 8), 102 "Wolves at the Gate", and 104 and
// 105, two quests under the title "Tidings from Orlen".
constexpr uint32_t Miller = 101, Wolves = 102, Courier = 104, Harbour = 105;
constexpr uint32_t MillerValue = 0x3B9A41C7, WolvesValue = 0xC0FFEE11, CourierValue = 0xFFFFFFFF,
                   HarbourValue = 0x12345678;

TEST_F(QuestsTest, ReloadGroupsQuestsOfOneTitleIntoOneRecord) {
    UseQuests("sample");
    core->SetQuestProgress(Key(Miller, 3), MillerValue);
    core->SetQuestProgress(Key(Courier, 1), CourierValue);
    core->SetQuestProgress(Key(Wolves, 1), WolvesValue);
    core->SetQuestProgress(Key(Harbour, 2), HarbourValue);
    core->ReloadQuests();

    ASSERT_EQ(Titles(), (std::vector<std::string>{"The Miller's Grain", "Tidings from Orlen",
                                                  "Wolves at the Gate"}));
    const QuestRecord& tidings = core->quests[1];
    EXPECT_EQ(tidings.questId, Courier);
    EXPECT_EQ(tidings.grouped, 1);
    EXPECT_EQ(tidings.questIds, (std::vector<uint16_t>{Courier, Harbour}));
    ASSERT_EQ(tidings.lines.size(), 2u);
    EXPECT_EQ(tidings.lines[1].text, "A second letter, from the harbour master.");
    EXPECT_EQ(tidings.stageTotal, 2u);  // its own entry and the one line the other quest added

    EXPECT_EQ(core->FindQuest(Harbour).questId, Courier);
    EXPECT_EQ(core->FindQuest(Wolves).title, "Wolves at the Gate");
    const QuestRecord none = core->FindQuest(999);
    EXPECT_EQ(none.questId, 0);
    EXPECT_TRUE(none.lines.empty());
}

TEST_F(QuestsTest, SingleUpdatesRebuildRemoveOrAddRecords) {
    UseQuests("sample");
    core->SetQuestProgress(Key(Miller, 1), MillerValue);
    core->SetQuestProgress(Key(Courier, 1), CourierValue);
    core->SetQuestProgress(Key(Harbour, 2), HarbourValue);
    core->ReloadQuests();
    ASSERT_EQ(core->quests.size(), 2u);

    // A new stage rebuilds the quest's own record where it stands.
    core->SetQuestProgress(Key(Miller, 4), MillerValue);
    core->LoadQuest(Key(Miller, 4), MillerValue);
    ASSERT_EQ(core->quests[0].lines.size(), 2u);
    EXPECT_EQ(core->quests[0].lines[1].text, "Sacks of grain brought to the mill: 2 of 5.");
    EXPECT_EQ(core->quests[0].questIds, (std::vector<uint16_t>{Miller}));

    // Ending a quest of a group rebuilds the group from the quests still in progress.
    core->SetQuestProgress(Key(Harbour, 0), 0);
    core->LoadQuest(Key(Harbour, 0), 0);
    ASSERT_EQ(core->quests.size(), 2u);
    EXPECT_EQ(core->quests[1].questIds, (std::vector<uint16_t>{Courier}));
    EXPECT_EQ(core->quests[1].lines.size(), 1u);

    // Ending a quest of its own removes its record; a quest not in the journal is added.
    core->SetQuestProgress(Key(Miller, 0), 0);
    core->LoadQuest(Key(Miller, 0), 0);
    core->SetQuestProgress(Key(Wolves, 2), WolvesValue);
    core->LoadQuest(Key(Wolves, 2), WolvesValue);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Tidings from Orlen", "Wolves at the Gate"}));
    EXPECT_EQ(core->quests[1].lines[0].text, "5 wolves still prowl the gate. 5 left!");
}

TEST_F(QuestsTest, WithoutTheQuestsFileTheJournalStaysAsItIs) {
    UseQuests("sample");
    core->SetQuestProgress(Key(Miller, 2), MillerValue);
    core->ReloadQuests();
    ASSERT_EQ(core->quests.size(), 1u);
    remove("data/Veltor.quests");

    core->SetQuestProgress(Key(Wolves, 1), WolvesValue);
    core->ReloadQuests();
    core->LoadQuest(Key(Wolves, 1), WolvesValue);
    ASSERT_EQ(core->quests.size(), 1u);
    EXPECT_EQ(core->quests[0].questId, Miller);
    EXPECT_TRUE(fake.boxes.empty());
}

QuestLine Line(const std::string& title, std::vector<QuestMarker> markers = {}) {
    QuestLine line{};
    line.title = title;
    line.markers = std::move(markers);
    return line;
}

TEST_F(QuestsTest, LinesJoinTheRecordOfTheirQuestOrTitle) {
    // Lines arrive newest first and are kept oldest first.
    core->AddQuestLines(7, 4, "Road", {Line("Road"), Line("Start")});
    ASSERT_EQ(core->quests.size(), 1u);
    EXPECT_EQ(core->quests[0].lines[0].title, "Start");
    EXPECT_EQ(core->quests[0].stageTotal, 4u);
    EXPECT_EQ(core->quests[0].grouped, 0);

    core->AddQuestLines(8, 3, "Road", {Line("Road")});
    ASSERT_EQ(core->quests.size(), 1u);
    EXPECT_EQ(core->quests[0].grouped, 1);
    EXPECT_EQ(core->quests[0].stageTotal, 5u);
    EXPECT_EQ(core->quests[0].questIds, (std::vector<uint16_t>{7, 8}));

    // A quest without lines makes no record and joins none by title.
    core->AddQuestLines(9, 2, "", {});
    core->quests.push_back({10, 1, "", {}, 0, {10}});
    core->AddQuestLines(11, 2, "", {});
    EXPECT_EQ(core->quests.size(), 2u);
    EXPECT_EQ(core->quests[1].questIds, (std::vector<uint16_t>{10}));
    // ... but its own record still takes it.
    core->AddQuestLines(10, 2, "", {});
    EXPECT_EQ(core->quests[1].questIds, (std::vector<uint16_t>{10, 10}));
}

TEST_F(QuestsTest, ProgressPairsAreReplacedInPlaceAndRemovedByStageZero) {
    core->SetQuestProgress(Key(5, 1), 50);
    core->SetQuestProgress(Key(6, 1), 60);
    core->SetQuestProgress(Key(7, 1), 70);
    core->SetQuestProgress(Key(6, 3), 61);
    ASSERT_EQ(core->questProgress.size(), 3u);
    EXPECT_EQ(core->questProgress[1].key, Key(6, 3));
    EXPECT_EQ(core->questProgress[1].value, 61u);

    core->SetQuestProgress(Key(5, 0), 0);
    core->SetQuestProgress(Key(5, 0), 0);
    core->SetQuestProgress(Key(9, 0), 0);
    ASSERT_EQ(core->questProgress.size(), 2u);
    EXPECT_EQ(core->questProgress[0].key, Key(6, 3));
    EXPECT_EQ(core->questProgress[1].key, Key(7, 1));
}

TEST_F(QuestsTest, JournalMarkersComeFromTheNewestLineOfEachRecord) {
    const QuestMarker old{1, 2, 7, "old"}, mill{10, 20, 7, "Mill"}, gate{30, 40, 6, "Gate"},
        cave{50, 60, 8, "Cave"};
    core->quests.push_back({1, 2, "A", {Line("a1", {old}), Line("a2", {mill, gate})}, 0, {1}});
    core->quests.push_back({2, 1, "B", {}, 1, {}});
    core->quests.push_back({3, 1, "C", {Line("c1", {cave})}, 0, {3}});

    const std::vector<JournalMarker> markers = JournalMarkers(core->quests);
    ASSERT_EQ(markers.size(), 3u);
    EXPECT_EQ(markers[0].recordNumber, 1);
    EXPECT_EQ(markers[0].marker.label, "Mill");
    EXPECT_EQ(markers[1].marker.label, "Gate");
    EXPECT_EQ(markers[2].recordNumber, 3);  // numbered in journal order, the empty record too
    EXPECT_EQ(markers[2].marker.x, 50);
    EXPECT_EQ(markers[2].marker.floor, 8);
}

TEST_F(QuestsTest, StatusEffectsAreNumberedShownAndInactive) {
    ASSERT_EQ(core->statusEffects.size(), 31u);
    for (uint32_t i = 0; i < core->statusEffects.size(); ++i) {
        const StatusEffect& effect = core->statusEffects[i];
        EXPECT_EQ(effect.index, i);
        EXPECT_EQ(effect.shown, 1);
        EXPECT_EQ(effect.active, 0);
    }
    EXPECT_EQ(core->statusEffects[0].name, "");
    EXPECT_EQ(core->statusEffects[9].name, "Drunk");
    EXPECT_EQ(core->statusEffects[29].name, "Movement constrained");
}

struct CountCase {
    uint16_t stage, entryStage;
    int8_t span;
    uint32_t reached, count;
};

TEST(QuestCount, ReachedIsLimitedToTheSpanAndANegativeSpanCountsDown) {
    const CountCase cases[] = {
        {5, 5, 3, 0, 0},  {6, 5, 3, 1, 1},  {9, 5, 3, 3, 3},  {20, 5, 3, 3, 3},
        {6, 5, -3, 1, 2}, {9, 5, -3, 3, 0}, {5, 5, -3, 0, 3}, {300, 1, -128, 128, 0},
    };
    for (const CountCase& c : cases) {
        const QuestCount count = CountQuestStage(c.stage, c.entryStage, c.span);
        EXPECT_EQ(count.reached, c.reached) << c.stage << " " << int(c.span);
        EXPECT_EQ(count.goal, uint32_t(c.span < 0 ? -c.span : c.span));
        EXPECT_EQ(count.count, c.count) << c.stage << " " << int(c.span);
    }
}

TEST(QuestCount, EveryCountMarkIsReplacedOnce) {
    const std::pair<std::string, std::string> cases[] = {
        {"{count} of 5", "12 of 5"},   {"{count}{count}", "1212"},           {"{{count}}", "{12}"},
        {"{count}count}", "12count}"}, {"{Count} {count", "{Count} {count"}, {"", ""},
    };
    for (const auto& [text, expected] : cases) {
        std::string replaced = text;
        ReplaceCount(replaced, 12);
        EXPECT_EQ(replaced, expected) << text;
    }
}

}  // namespace
