#include "windows/front/crash.h"

#include "core.h"
#include "font.h"
#include "protocol.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {
constexpr uint32_t TextColour = 0xC0FFFFFF;
}  // namespace

Crash::Crash(Core* core) : ServerNotice(core) { Build(); }

void Crash::Build() {
    BuildNotice("Server Crashed", WindowType::Crash);
    AddPushButton(12, height - 28, LogoutButton, "logout");
    AddPushButton(width - 66, height - 28, ProceedButton, "proceed");
    AddCloseButton();
}

void Crash::PaintContent() {
    ServerNotice::PaintContent();
    if (font)
        font->DrawTextCentered(width / 2, 52, "The server crashed, do you want to proceed?",
                               TextColour);
}

void Crash::Draw() {
    DrawBackground();
    DrawButtons();
}

void Crash::OnCommand(Button* button) {
    switch (button->id) {
        case LogoutButton: core->ConfirmLogout(); return;
        case ProceedButton:
        case ButtonId::Close: Proceed(); return;
        default: return;
    }
}

// The answer goes out although the game is halted; the halt stands again afterwards.
void Crash::Proceed() {
    if (Protocol* connection = core->activeConnection) connection->SendCrashProceed();
}
