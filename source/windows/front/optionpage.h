#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "config.h"
#include "windows/front/settingspage.h"

// One labelled check box of an option page and the option byte it edits.
struct OptionRow {
    uint32_t id;
    uint8_t Options::*option;
    const char* label;
    // How far right of the box a click still toggles it; 0 for across the page less 40 pixels.
    int32_t hitWidth = 0;
};

// A settings page with one column of labelled check boxes, each editing one option byte of Core
// at the moment it is clicked (a click on the label counts too). "ok" and Enter lead to the page
// `Back` names; the close button and Escape remove the page only.
class OptionPage : public SettingsPage {
public:
    static constexpr int32_t BoxX = 28;
    static constexpr int32_t FirstBoxY = 47;
    static constexpr int32_t RowSpacing = 20;
    static constexpr int32_t LabelX = 50;
    static constexpr int32_t FirstLabelY = 50;

    void OnSubmit() override;
    void OnCommand(Button* button) override;

protected:
    OptionPage(Core* core, std::vector<OptionRow> rows);

    // The page with its boxes ticked as the options stand, "ok" and close.
    void BuildRows(std::string title, uint32_t type, int32_t w, int32_t h);
    // A click on a row's box, which has flipped its own tick already; the base flips the option.
    virtual void Toggle(const OptionRow& row, Button* box);
    virtual std::string Label(const OptionRow& row) const;
    // The window "ok" and Enter open in the page's place.
    virtual Window* Back() = 0;
    void Flip(const OptionRow& row);
    // The option keeps its value, the box shows it again, and a message says why.
    void Refuse(Button* box, const std::string& title, const std::string& text);

    std::vector<OptionRow> rows;

private:
    void PaintContent() override;
};
