#include "windows/front/general.h"

#include "core.h"
#include "windows/front/generalesthetics.h"
#include "windows/front/generalgameplay.h"
#include "windows/front/generalinterface.h"
#include "windows/front/generalmiscellaneous.h"
#include "windows/front/networks.h"
#include "windows/front/settings.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

General::General(Core* core) : SettingsPage(core) { Build(); }

void General::Build() {
    BuildPage("General", WindowType::General, 184, 223, 1);
    AddPageButton(0, GameplayButton, "Gameplay");
    AddPageButton(1, InterfaceButton, "Interface");
    AddPageButton(2, EstheticsButton, "Esthetics");
    AddPageButton(3, MiscellaneousButton, "Miscellaneous");
    AddLeftButton(NetworkButton, "network");
    AddOkButton();
    AddCloseButton();
}

void General::OnSubmit() { HandOver(new Settings(core)); }

void General::OnCommand(Button* button) {
    switch (button->id) {
        case GameplayButton: HandOver(new GeneralGameplay(core)); break;
        case InterfaceButton: HandOver(new GeneralInterface(core)); break;
        case EstheticsButton: HandOver(new GeneralEsthetics(core)); break;
        case MiscellaneousButton: HandOver(new GeneralMiscellaneous(core)); break;
        case NetworkButton: HandOver(new Networks(core)); break;
        case ButtonId::Ok: HandOver(new Settings(core)); break;
        case ButtonId::Close: core->RemoveWindow(this); break;
        default: break;
    }
}
