#include "windows/front/settings.h"

#include "core.h"
#include "windows/front/consoles.h"
#include "windows/front/controls.h"
#include "windows/front/general.h"
#include "windows/front/info.h"
#include "windows/front/video.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

Settings::Settings(Core* core) : SettingsPage(core) { Build(); }

Settings::~Settings() { core->SaveConfig(); }

void Settings::Build() {
    BuildPage("Settings", WindowType::Settings, 184, 251, 1);
    AddPageButton(0, GeneralButton, "General");
    AddPageButton(1, ConsoleButton, "Console");
    AddPageButton(2, VideoButton, "Video");
    AddPageButton(3, ControlsButton, "Controls");
    AddPageButton(4, InfoButton, "Info");
    AddOkButton();
    AddCloseButton();
}

void Settings::OnSubmit() { core->RemoveWindow(this); }

void Settings::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Close:
        case ButtonId::Ok: core->RemoveWindow(this); break;
        case GeneralButton: HandOver(new General(core)); break;
        case ConsoleButton: HandOver(new Consoles(core)); break;
        case VideoButton: HandOver(new Video(core)); break;
        case ControlsButton: HandOver(new Controls(core)); break;
        case InfoButton: HandOver(new Info(core)); break;
        default: break;
    }
}
