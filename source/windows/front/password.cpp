#include "windows/front/password.h"

#include "connectkind.h"
#include "core.h"
#include "windows/front/frontbuttons.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/windowtypes.h"

Password::Password(Core* core) : AccountForm(core) { Build(); }

void Password::Build() {
    BuildFace("Change Password", WindowType::Password, 264, 179);
    AddActionButton(FrontButton::Send, "change");
    accountInput = AddInput({127, 47, 109, 18}, AccountNameLength, 1);
    passwordInput = AddInput({127, 67, 109, 18}, AccountNameLength, 1);
    newInput = AddInput({127, 87, 109, 18}, AccountNameLength, 1);
    repeatInput = AddInput({127, 107, 109, 18}, AccountNameLength, 1);
    labels = {{31, 52, "Account"},
              {31, 72, "Password"},
              {31, 92, "New Password"},
              {31, 112, "New Password"}};
    capsWarning = 1;
}

void Password::Submit() {
    for (const Input* input : inputs) {
        if (input->text.empty()) {
            Refuse("Account Information", "Please fill in all the forms.");
            return;
        }
    }
    if (newInput->text != repeatInput->text) {
        newInput->SetText("");
        repeatInput->SetText("");
        Refuse("Account Information", "Please make sure the new password is matched.");
        return;
    }
    core->loginName = accountInput->text;
    core->password = passwordInput->text;
    core->loginExtra = newInput->text;
    Connect(ConnectKind::ChangePassword);
}
