#include "windows/front/networks.h"

#include "config.h"
#include "core.h"
#include "font.h"
#include "windows/front/settings.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/windowtypes.h"

Networks::Networks(Core* core) : SettingsPage(core) { Build(); }

void Networks::Build() {
    BuildPage("Network", WindowType::Networks, 259, 142, 0);
    hostInput = Own(new Input(core, this, HostLength, {33, 65, 154, 18}, core->host, 0, 0));
    portInput = Own(new Input(core, this, PortLength, {192, 65, 34, 18}, core->port, 0, 1));
    AddOkButton();
    AddLeftButton(DefaultButton, "default");
    AddCloseButton();
}

void Networks::OnOpen() {
    OpenControls();
    core->focusedInput = hostInput;
}

void Networks::PaintContent() {
    if (!font) return;
    font->DrawTextCentered(51, 52, "Host", HeadingColour);
    font->DrawTextCentered(209, 52, "Port", HeadingColour);
}

void Networks::Apply() {
    core->host = hostInput->text;
    core->port = portInput->text;
    core->AddWindow(new Settings(core));
    Close();
}

void Networks::OnSubmit() { Apply(); }

void Networks::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Ok: Apply(); break;
        case DefaultButton:
            hostInput->SetText(DefaultHost);
            portInput->SetText(DefaultPort);
            break;
        case ButtonId::Close: Close(); break;
        default: break;
    }
}
