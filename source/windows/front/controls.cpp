#include "windows/front/controls.h"

#include "core.h"
#include "windows/front/controlsfunction.h"
#include "windows/front/controlshotkey.h"
#include "windows/front/controlsmove.h"
#include "windows/front/settings.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

Controls::Controls(Core* core) : SettingsPage(core) { Build(); }

Controls::~Controls() { core->SaveConfig(); }

void Controls::Build() {
    BuildPage("Controls", WindowType::Controls, 184, 195, 1);
    AddPageButton(0, MovementButton, "Movement");
    AddPageButton(1, HotkeysButton, "Hotkeys");
    AddPageButton(2, FunctionsButton, "Functions");
    AddOkButton();
    AddCloseButton();
}

void Controls::OnSubmit() { HandOver(new Settings(core)); }

void Controls::OnCommand(Button* button) {
    switch (button->id) {
        case MovementButton: HandOver(new ControlsMove(core)); break;
        case HotkeysButton: HandOver(new ControlsHotkey(core)); break;
        case FunctionsButton: HandOver(new ControlsFunction(core)); break;
        case ButtonId::Ok: HandOver(new Settings(core)); break;
        case ButtonId::Close: core->RemoveWindow(this); break;
        default: break;
    }
}
