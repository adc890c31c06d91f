#include "windows/front/link.h"

#include "connectkind.h"
#include "core.h"
#include "windows/front/frontbuttons.h"
#include "windows/toolkit/windowtypes.h"

Link::Link(Core* core) : AccountForm(core) { Build(); }

void Link::Build() {
    BuildFace("Link account to Steam", WindowType::Link, 226, 183);
    accountInput = AddInput({98, 91, 100, 18}, AccountNameLength, 1);
    passwordInput = AddInput({98, 111, 100, 18}, AccountNameLength, 1);
    labels = {{31, 52, "Fill in Veltor account details"},
              {31, 66, "to verify this Steam link."},
              {31, 96, "Account"},
              {31, 116, "Password"}};
    if (core->steamReady) AddActionButton(FrontButton::Steam, "link");
    else labels.push_back({12, height - 26, "Make sure to use Steam"});
    capsWarning = 1;
}

void Link::Submit() { SubmitLogin(*accountInput, *passwordInput, ConnectKind::SteamLink); }
