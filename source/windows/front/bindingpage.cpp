#include "windows/front/bindingpage.h"

#include <utility>

#include "config.h"
#include "core.h"
#include "font.h"
#include "keynames.h"
#include "windows/front/controls.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"

BindingPage::BindingPage(Core* core, std::vector<BindingField> fields)
    : SettingsPage(core), fields(std::move(fields)) {}

void BindingPage::BuildBindings(std::string title, uint32_t type, int32_t w, int32_t h) {
    BuildPage(std::move(title), type, w, h, 0);
    AddOkButton();
    AddLeftButton(DefaultButton, "default");
    AddCloseButton();
    for (const BindingField& field : fields)
        inputs.push_back(Own(
            Input::KeyBinding(core, this, NameLength, {field.x, field.y, InputWidth, InputHeight},
                              KeyNameText(core->keys[field.keyIndex]), field.keyIndex)));
}

void BindingPage::PaintContent() {
    if (!font) return;
    for (const BindingField& field : fields)
        font->DrawText(field.x + LabelOffsetX, field.y + LabelOffsetY, field.label, LabelColour);
}

void BindingPage::OnOpen() {
    OpenControls();
    if (!inputs.empty()) core->focusedInput = inputs.front();
}

void BindingPage::RestoreDefaults() {
    for (size_t i = 0; i < fields.size(); ++i) {
        const uint32_t index = fields[i].keyIndex;
        core->keys[index] = DefaultKeyCode(index);
        inputs[i]->SetText(KeyNameText(core->keys[index]));
    }
}

void BindingPage::OnSubmit() {
    core->AddWindow(new Controls(core));
    Close();
}

void BindingPage::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Ok: OnSubmit(); break;
        case DefaultButton: RestoreDefaults(); break;
        case ButtonId::Close: Close(); break;
        default: break;
    }
}
