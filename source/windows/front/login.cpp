#include "windows/front/login.h"

#include "connectkind.h"
#include "windows/front/frontbuttons.h"
#include "windows/toolkit/windowtypes.h"

Login::Login(Core* core) : AccountForm(core) { Build(); }

void Login::Build() {
    BuildFace("Login", WindowType::Login, 226, 139);
    AddActionButton(FrontButton::Login, "login");
    accountInput = AddInput({98, 47, 100, 18}, AccountNameLength, 1);
    passwordInput = AddInput({98, 67, 100, 18}, AccountNameLength, 1);
    labels = {{31, 52, "Account"}, {31, 72, "Password"}};
    capsWarning = 1;
}

void Login::Submit() { SubmitLogin(*accountInput, *passwordInput, ConnectKind::Login); }
