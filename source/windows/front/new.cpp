#include "windows/front/new.h"

#include "connectkind.h"
#include "core.h"
#include "windows/front/frontbuttons.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/windowtypes.h"

New::New(Core* core) : AccountForm(core) { Build(); }

void New::Build() {
    BuildFace("Create Account", WindowType::New, 276, 139);
    AddActionButton(FrontButton::Create, "create");
    accountInput = AddInput({89, 47, 159, 18}, AccountNameLength, 0);
    mailInput = AddInput({89, 67, 159, 18}, MailAddressLength, 0);
    labels = {{31, 52, "Account"}, {31, 72, "E-mail"}};
}

void New::Submit() {
    if (accountInput->text.empty() || mailInput->text.empty()) {
        Refuse("Account Information", "Please fill in both account forms.");
        return;
    }
    core->loginName = accountInput->text;
    core->loginExtra = mailInput->text;
    Connect(ConnectKind::NewAccount);
}
