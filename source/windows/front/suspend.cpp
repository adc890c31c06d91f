#include "windows/front/suspend.h"

#include "core.h"
#include "font.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {
constexpr uint32_t TextColour = 0xE0E0E0E0;
constexpr uint64_t MsPerDot = 250;
constexpr uint64_t DotCycleMs = 1000;
}  // namespace

Suspend::Suspend(Core* core) : ServerNotice(core) { Build(); }

void Suspend::Build() {
    BuildNotice("Server Suspended", WindowType::Suspend);
    AddPushButton(width - 66, height - 28, LogoutButton, "logout");
    AddCloseButton();
}

std::string Suspend::WaitingText(uint64_t frameTimeMs) {
    const uint64_t dots = frameTimeMs % DotCycleMs / MsPerDot;
    return "Please wait while the server is being updated" + std::string(dots, '.');
}

void Suspend::Draw() {
    DrawBackground();
    if (font) font->DrawText(x + 32, y + 52, WaitingText(core->frameTimeMs), TextColour);
    DrawButtons();
}

void Suspend::OnCommand(Button* button) {
    if (button->id == LogoutButton || button->id == ButtonId::Close) core->ConfirmLogout();
}
