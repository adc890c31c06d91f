#include "windows/front/lost.h"

#include "connectkind.h"
#include "core.h"
#include "windows/front/frontbuttons.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/windowtypes.h"

Lost::Lost(Core* core) : AccountForm(core) { Build(); }

void Lost::Build() {
    BuildFace("Lost Account", WindowType::Lost, 266, 119);
    AddActionButton(FrontButton::Send, "send");
    mailInput = AddInput({79, 47, 159, 18}, MailAddressLength, 0);
    labels = {{31, 52, "E-mail"}};
}

// Only the address is stored: the account name keeps what an earlier dialog stored.
void Lost::Submit() {
    if (mailInput->text.empty()) {
        Refuse("Account Information", "Please fill in your e-mail address.");
        return;
    }
    core->loginExtra = mailInput->text;
    Connect(ConnectKind::LostAccount);
}
