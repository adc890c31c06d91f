#include "windows/front/optionpage.h"

#include <utility>

#include "core.h"
#include "font.h"
#include "windows/toolkit/button.h"

OptionPage::OptionPage(Core* core, std::vector<OptionRow> rows)
    : SettingsPage(core), rows(std::move(rows)) {}

void OptionPage::BuildRows(std::string title, uint32_t type, int32_t w, int32_t h) {
    BuildPage(std::move(title), type, w, h, 1);
    for (size_t k = 0; k < rows.size(); ++k) {
        const OptionRow& row = rows[k];
        AddCheckBox(BoxX, FirstBoxY + RowSpacing * static_cast<int32_t>(k), row.id,
                    core->options.*row.option, row.hitWidth ? row.hitWidth : width - 40);
    }
    AddOkButton();
    AddCloseButton();
}

std::string OptionPage::Label(const OptionRow& row) const { return row.label; }

void OptionPage::PaintContent() {
    if (!font) return;
    for (size_t k = 0; k < rows.size(); ++k)
        font->DrawText(LabelX, FirstLabelY + RowSpacing * static_cast<int32_t>(k), Label(rows[k]),
                       LabelColour);
}

void OptionPage::Flip(const OptionRow& row) {
    uint8_t& value = core->options.*row.option;
    value = value ? 0 : 1;
}

void OptionPage::Toggle(const OptionRow& row, Button*) { Flip(row); }

void OptionPage::Refuse(Button* box, const std::string& title, const std::string& text) {
    box->pressed = box->pressed ? 0 : 1;
    core->ShowMessage(title, text, 0);
}

void OptionPage::OnSubmit() { HandOver(Back()); }

void OptionPage::OnCommand(Button* button) {
    for (const OptionRow& row : rows) {
        if (row.id == button->id) {
            Toggle(row, button);
            return;
        }
    }
    if (button->id == ButtonId::Ok) HandOver(Back());
    else if (button->id == ButtonId::Close) core->RemoveWindow(this);
}
