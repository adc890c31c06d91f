#pragma once
#include <cstdint>
#include <string>

#include "windows/toolkit/panellist.h"

class Panel;

// The ping's quality word and the x of its bar colour in the interface skin.
struct PingQuality {
    const char* word;
    int32_t skinX;
};
PingQuality QualityOfPing(uint32_t pingMs);
// Grams as kilograms with one decimal: 15500 gives "15.5", 1234567 gives "1,234.5".
std::string KilogramText(uint32_t grams);
// The skill pool (0 to 100000) as a number with one decimal: 12345 gives "12.3".
std::string SkillPoolText(uint32_t pool);

class Core;

// The status panel's house warning worked out again, when the panel is open.
void UpdateHouseWarning(Core& core);

// The character status panel of a side column: up to four live rows (connection, experience,
// carried weight, skill pool) above a column of buttons that open the player's windows and log
// out. Option bytes of Core choose the rows and buttons; the panel's own menu flips them.
class Paneltop : public Panellist {
public:
    // Button ids, which are also the hotkeys' (OnButton).
    enum ButtonCode : uint32_t {
        SettingsButton = 3,
        LogoutButton = 4,
        CharacterButton = 21,
        FriendsButton = 22,
        GuideButton = 23,
        StoreButton = 95,
        ReportButton = 108,
        HouseButton = 109,
        JournalButton = 135,
        GuildButton = 142,
    };

    Paneltop(Core* core, Panel* column);

    void Build() override;
    void Paint() override;
    void Draw() override;
    // Tooltips of the live rows.
    void OnMouseUp(int32_t mx, int32_t my) override;
    // The panel's menu: the column entries and one row per option byte it shows or hides.
    void OnRightClick(int32_t mx, int32_t my) override;
    void OnCommand(Button* button) override;
    // Rebuilds the rows and buttons after an option or data change.
    void Refresh() override;
    // Recomputes houseWarning: the noble account or the bank money may not cover the next rent.
    void UpdateHouse();
    // Presses the button of that id as if it were clicked; nothing when it is not shown.
    void OnButton(uint32_t id);
    // The friends list in the panel's column; nothing while one is open.
    void OpenFriendlist();

    // The live rows inside the window; valid only while the row is shown (height 0 otherwise).
    WindowRect connectionRow{}, experienceRow{}, capacityRow{}, skillPoolRow{};
    uint32_t buttonCount = 0;
    uint8_t houseWarning = 0;
    // Set by the quest-update message, cleared by the Journal button.
    uint8_t journalNew = 0;

private:
    // Lays out the rows and buttons from y 4 and sets the height to the content's.
    void BuildContent();
    void PaintContent();
    void DrawButtonMarks();
    void DrawButtonsHighlighted();
    void DrawLiveRows();
    // The bars' width: 4 pixels in from the row, which is 4 pixels in from the window.
    int32_t BarWidth() const;
    void DrawRowBar(const WindowRect& row, int32_t filled, int32_t filledSkinX,
                    const std::string& text);
    void ShowTooltip(int32_t mx, int32_t my, std::string title, std::string text);
    void Logout();
    void OpenStore();
    void OpenHouse();
    void OpenJournal();
    void OpenGuild();
    void ShowLinkedMessage(const std::string& title, const std::string& text,
                           const std::string& linkCaption, const std::string& link);
};
