#include "windows/front/account.h"

#include "core.h"
#include "windows/front/frontbuttons.h"
#include "windows/front/link.h"
#include "windows/front/login.h"
#include "windows/front/lost.h"
#include "windows/front/new.h"
#include "windows/front/password.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

Account::Account(Core* core) : Window(core) { Build(); }

Account::~Account() { core->SaveConfig(); }

void Account::Build() {
    ResetLayout();
    name = "Account";
    typeId = WindowType::Account;
    width = 184;
    height = 223;
    modal = 1;
    font = core->GetFont(2);
    Place(static_cast<int32_t>(core->clientWidth), static_cast<int32_t>(core->clientHeight));
    CreateSurface();
    const int32_t column = width / 2 - 44;
    AddMenuButton(column, 57, FrontButton::Steam, "Steam");
    if (core->steamReady) AddMenuButton(column, 85, FrontButton::Login, "Login");
    else AddMenuButton(column, 85, FrontButton::Create, "Create");
    AddMenuButton(column, 113, FrontButton::Lost, "Lost");
    AddMenuButton(column, 141, FrontButton::Password, "Password");
    AddPushButton(width - 66, height - 28, ButtonId::Ok, "ok");
    AddCloseButton();
}

void Account::Paint() {
    PaintCached([this] { PaintBoxBackground(); });
}

void Account::Draw() {
    DrawFrame();
    DrawCached([this] { PaintBoxBackground(); });
    DrawButtons();
}

void Account::OnSubmit() { core->RemoveWindow(this); }

void Account::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Account::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Close:
        case ButtonId::Ok: core->RemoveWindow(this); break;
        case FrontButton::Login: OpenInstead(new Login(core)); break;
        case FrontButton::Create: OpenInstead(new New(core)); break;
        case FrontButton::Lost: OpenInstead(new Lost(core)); break;
        case FrontButton::Password: OpenInstead(new Password(core)); break;
        case FrontButton::Steam: OpenInstead(new Link(core)); break;
        default: break;
    }
}

void Account::OpenInstead(Window* dialog) {
    core->AddWindow(dialog)->OnOpen();
    core->RemoveWindow(this);
}
