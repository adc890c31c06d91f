#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "quests.h"
#include "windows/toolkit/window.h"

// The journal: the player's quest topics in a list under a filter, and the selected topic's
// entries on a page to the right with their marks and progress. Closing keeps the filter and
// the selected topic for the next opening.
class Questlog : public Window {
public:
    // The filters, by number.
    static constexpr uint8_t AllTopics = 0, Quests = 1, Treasures = 2, Discoveries = 3,
                             Finished = 4, Unfinished = 5;

    explicit Questlog(Core* core);
    ~Questlog() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    // A release on the filter box opens the filter menu.
    void OnMouseUp(int32_t mx, int32_t my) override;
    // Keeps the filter and the selection, then closes.
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;

    // Shows the topics of another filter.
    void SelectTab(uint8_t index);
    // Copies the core's topics and lists those the filter lets through.
    void Rebuild();
    // Selects the topic last looked at.
    void Select();
    // The filter a topic's last entry falls under: quests, treasures, discoveries or none (0).
    static uint8_t CategoryOf(const QuestLine& last);
    static bool IsFinished(const QuestLine& last);
    // The marker icon of a topic's last entry.
    static uint32_t IconOf(const QuestLine& last);
    // The progress label of an entry in state 7 (percent) or 8 (count / goal).
    static std::string ProgressText(const QuestLine& entry);
    // The pixels of the progress bar that fill.
    static int32_t ProgressFill(const QuestLine& entry);

    std::vector<QuestRecord> topics;
    std::vector<QuestRecord> shown;
    uint8_t filter = AllTopics;
    int32_t questCount = 0, discoveryCount = 0, treasureCount = 0, finishedCount = 0,
            unfinishedCount = 0, totalCount = 0;
    WindowRect filterBox = {83, 57, 190, 26};

private:
    void PaintContent();
    void DrawPage();
    // Draws one entry from its top and answers the top of the next.
    int32_t DrawEntry(const QuestLine& entry, bool current, int32_t top);
    std::string SelectedTitle() const;
    bool OverFilterBox(int32_t mx, int32_t my) const;
};
