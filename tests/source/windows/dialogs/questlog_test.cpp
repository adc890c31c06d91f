// The journal window over topics held in the core: counts and filters, the finished states, the
// progress labels, the filter menu, and what closing keeps for the next opening.
#include "windows/dialogs/questlog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "support/recordingdriver.h"
#include "support/startup.h"
#include "windows/game/action.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"

namespace {

QuestLine Entry(uint8_t state, uint8_t category, uint32_t count = 0, uint32_t goal = 0) {
    QuestLine line{};
    line.values[0] = state;
    line.values[2] = category;
    line.count = count;
    line.span = goal;
    line.text = "Go on.\\nThen come back.";
    return line;
}

QuestRecord Topic(uint16_t id, const std::string& title, std::vector<QuestLine> lines) {
    return {id, 1, title, std::move(lines), 0, {id}};
}

class Journal : public StartedCore {
protected:
    void SetUp() override {
        StartedCore::SetUp();
        RecordingDriver::Install();
    }

    // Quests, a treasure, a discovery, and a topic of category 25 (none of the three).
    void SampleTopics() {
        core->quests = {
            Topic(1, "Rats", {Entry(1, 20)}),
            Topic(2, "Gold", {Entry(1, 31), Entry(4, 30)}),
            Topic(3, "Ruins", {Entry(5, 12)}),
            Topic(4, "Oddity", {Entry(1, 25)}),
            Topic(5, "Wolves", {Entry(8, 21, 2, 3)}),
        };
    }

    Questlog* Open() {
        auto* journal = new Questlog(core);
        core->AddWindow(journal);
        return journal;
    }

    bool IsOpen(const Window* window) const {
        return std::find(core->windows.begin(), core->windows.end(), window) != core->windows.end();
    }
};

TEST_F(Journal, CountsAndFilters) {
    SampleTopics();
    Questlog* journal = Open();
    EXPECT_EQ(journal->questCount, 2);
    EXPECT_EQ(journal->treasureCount, 1);
    EXPECT_EQ(journal->discoveryCount, 1);
    EXPECT_EQ(journal->finishedCount, 2);
    EXPECT_EQ(journal->unfinishedCount, 3);
    EXPECT_EQ(journal->totalCount, 5);
    const struct {
        uint8_t filter;
        std::vector<std::string> rows;
    } cases[] = {
        {Questlog::AllTopics, {"Rats", "Gold", "Ruins", "Oddity", "Wolves"}},
        {Questlog::Quests, {"Rats", "Wolves"}},
        {Questlog::Treasures, {"Gold"}},
        {Questlog::Discoveries, {"Ruins"}},
        {Questlog::Finished, {"Gold", "Ruins"}},
        {Questlog::Unfinished, {"Rats", "Oddity", "Wolves"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.filter));
        journal->SelectTab(c.filter);
        EXPECT_EQ(journal->list->items, c.rows);
        ASSERT_EQ(journal->shown.size(), c.rows.size());
        // Unfinished topics are marked in the list.
        for (size_t i = 0; i < c.rows.size(); ++i)
            EXPECT_EQ(journal->list->marks[i],
                      !Questlog::IsFinished(journal->shown[i].lines.back()));
    }
}

TEST_F(Journal, FinishedStatesAndIcons) {
    EXPECT_FALSE(Questlog::IsFinished(Entry(3, 20)));
    EXPECT_TRUE(Questlog::IsFinished(Entry(4, 20)));
    EXPECT_TRUE(Questlog::IsFinished(Entry(5, 20)));
    EXPECT_EQ(Questlog::CategoryOf(Entry(1, 25)), Questlog::AllTopics);
    EXPECT_EQ(Questlog::IconOf(Entry(1, 25)), 0u);
    const struct {
        uint8_t category;
        uint32_t icon;
    } icons[] = {{10, 20}, {14, 12}, {17, 0},  {21, 7},  {24, 14},
                 {30, 24}, {33, 6},  {36, 14}, {35, 18}, {40, 0}};
    for (const auto& c : icons) EXPECT_EQ(Questlog::IconOf(Entry(1, c.category)), c.icon);
}

// State 4 gets the completed box; state 5, though finished, is drawn as any entry.
TEST_F(Journal, OnlyStateFourIsDrawnCompleted) {
    for (const uint8_t state : {4, 5}) {
        SCOPED_TRACE(int(state));
        core->quests = {Topic(1, "Done", {Entry(state, 20)})};
        Questlog* journal = Open();
        RecordingDriver::Take();
        journal->Draw();
        const std::vector<std::string> log = RecordingDriver::Take();
        const bool boxed = std::any_of(log.begin(), log.end(), [](const std::string& call) {
            return call.find(",310,") != std::string::npos &&
                   call.find("0x40000000") != std::string::npos;
        });
        EXPECT_EQ(boxed, state == 4);
        core->RemoveWindow(journal);
    }
}

TEST_F(Journal, ProgressLabels) {
    EXPECT_EQ(Questlog::ProgressText(Entry(8, 20, 2, 3)), "2 / 3");
    EXPECT_EQ(Questlog::ProgressText(Entry(7, 20, 2, 3)), "66 %");
    EXPECT_EQ(Questlog::ProgressFill(Entry(7, 20, 2, 3)), 180);
    EXPECT_EQ(Questlog::ProgressFill(Entry(7, 20, 3, 3)), 270);
    // A goal of 0 fills nothing and divides nothing.
    EXPECT_EQ(Questlog::ProgressText(Entry(8, 20, 0, 0)), "0 / 0");
    EXPECT_EQ(Questlog::ProgressText(Entry(7, 20, 0, 0)), "0 %");
    EXPECT_EQ(Questlog::ProgressFill(Entry(7, 20, 0, 0)), 0);
    core->quests = {Topic(1, "Empty goal", {Entry(7, 20, 0, 0), Entry(8, 20, 0, 0)})};
    Open()->Draw();
}

TEST_F(Journal, TheFilterMenuCountsAndColoursUnfinished) {
    core->quests = {Topic(2, "Gold", {Entry(4, 30)})};
    Questlog* journal = Open();
    const WindowRect box = journal->filterBox;
    journal->OnMouseUp(journal->x + box.x + 10, journal->y + box.y + 10);
    auto* menu = static_cast<Action*>(core->FindWindow(WindowType::Action));
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> rows;
    for (const Action::Entry& entry : menu->entries)
        rows.push_back(std::to_string(entry.code) + " " + entry.label + " " + entry.hint);
    EXPECT_EQ(rows, (std::vector<std::string>{"151 Quests 0", "152 Treasures 1",
                                              "153 Discoveries 0", "0 - ", "154 Finished 1",
                                              "155 Unfinished 0", "0 - ", "150 All topics 1"}));
    core->RemoveWindow(menu);

    core->quests.push_back(Topic(1, "Rats", {Entry(1, 20)}));
    journal->SelectTab(Questlog::AllTopics);
    journal->OnMouseUp(journal->x + box.x + 10, journal->y + box.y + 10);
    menu = static_cast<Action*>(core->FindWindow(WindowType::Action));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->entries[5].hint, std::string("\0\xE0\xA0\x78\xFF", 5) + "1");
}

TEST_F(Journal, ReopeningShowsTheFilterAndTopicOfTheClose) {
    SampleTopics();
    Questlog* journal = Open();
    journal->SelectTab(Questlog::Quests);
    journal->list->Select(1);
    journal->OnSubmit();
    EXPECT_FALSE(IsOpen(journal));
    EXPECT_EQ(core->journalFilter, Questlog::Quests);
    EXPECT_EQ(core->journalSelection, "Wolves");

    journal = Open();
    EXPECT_EQ(journal->filter, Questlog::Quests);
    EXPECT_EQ(journal->list->selected, 1);
}

TEST_F(Journal, AFilterShowingNothingFallsBackToAllTopics) {
    SampleTopics();
    core->journalFilter = Questlog::Treasures;
    core->quests.erase(core->quests.begin() + 1);
    Questlog* journal = Open();
    EXPECT_EQ(journal->filter, Questlog::AllTopics);
    EXPECT_EQ(journal->shown.size(), 4u);
}

TEST_F(Journal, AnEmptyJournalKeepsTheSettings) {
    core->journalFilter = 2;
    core->journalSelection = "Gold";
    Questlog* journal = Open();
    journal->Draw();
    journal->OnSubmit();
    EXPECT_EQ(core->journalFilter, 2u);
    EXPECT_EQ(core->journalSelection, "Gold");
}

TEST_F(Journal, ASelectedTitleIsKeptWithoutControlBytes) {
    core->quests = {Topic(1, "Two\nlines\t", {Entry(1, 20)})};
    Open()->OnSubmit();
    EXPECT_EQ(core->journalSelection, "Twolines");
}

}  // namespace

namespace {

size_t LiveSurfaces() {
    size_t count = 0;
    for (const GfxRenderTarget* target = gfxState.targets; target; target = target->next) ++count;
    return count;
}

// The journal's list of topics goes with it.
TEST_F(Journal, ClosingLeavesNoSurfaceBehind) {
    SampleTopics();
    const size_t before = LiveSurfaces();
    Open()->OnSubmit();
    EXPECT_EQ(LiveSurfaces(), before);
}

}  // namespace
