#include "windows/front/info.h"

#include "core.h"
#include "font.h"
#include "windows/front/settings.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

Info::Info(Core* core) : SettingsPage(core) { Build(); }

void Info::Build() {
    BuildPage("Info", WindowType::Info, 184, 159, 1);
    AddOkButton();
    AddCloseButton();
}

// Two lines centred in the sunken box.
void Info::PaintContent() {
    if (!font) return;
    const int32_t middle = 31 + (height - 69) / 2;
    font->DrawTextCentered(width / 2, middle - 14, "Veltor client 14", LabelColour);
    font->DrawTextCentered(width / 2, middle + 2, "by the Veltor project", LabelColour);
}

void Info::OnSubmit() { HandOver(new Settings(core)); }

void Info::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Ok: HandOver(new Settings(core)); break;
        case ButtonId::Close: core->RemoveWindow(this); break;
        default: break;
    }
}
