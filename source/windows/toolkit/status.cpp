#include "windows/toolkit/status.h"

#include "core.h"
#include "font.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/weblink.h"
#include "windows/toolkit/windowtypes.h"

namespace {
constexpr uint32_t DiscordButton = 102;
constexpr uint32_t TextColour = 0xE0E0E0E0;
}  // namespace

Status::Status(Core* core, std::string title, std::string text, int32_t kind)
    : Window(core), text(std::move(text)), kind(kind) {
    name = std::move(title);
    Build();
}

void Status::Build() {
    ResetLayout();
    font = core->GetFont(2);
    // The connecting box has room for the dots.
    FittedText fitted =
        FitBoxText(text, 0, BoxFrameWidth + (kind == Connecting ? 8 : 0), BoxFrameHeight);
    fittedText = std::move(fitted.text);
    width = fitted.width;
    height = fitted.height;
    x = y = 0;
    Place(static_cast<int32_t>(core->clientWidth), static_cast<int32_t>(core->clientHeight));
    CreateSurface();
    modal = 1;
    // Half a second back, so that the first frame already shows two dots.
    animationStart = core->frameTimeMs - 500;
    typeId = WindowType::Status;
    titleHeight = 22;
    AddPushButton(width - 66, height - 28, ButtonId::Ok, kind == Connecting ? "cancel" : "ok");
    if (text.find("Discord") != std::string::npos)
        AddPushButton(12, height - 28, DiscordButton, "discord");
    AddCloseButton();
}

std::string Status::ShownText() const {
    if (kind != Connecting) return fittedText;
    const uint64_t phase = (core->frameTimeMs - animationStart) % 1000;
    return fittedText + std::string(phase / 250, '.');
}

void Status::PaintContent() {
    PaintBoxBackground();
    if (kind != Connecting && font) font->DrawText(32, 51, fittedText, TextColour);
}

void Status::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Status::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    if (kind == Connecting && font) font->DrawText(x + 32, y + 51, ShownText(), TextColour);
    DrawButtons();
}

void Status::OnSubmit() { Close(); }

void Status::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Status::OnCommand(Button* button) {
    if (button->id == ButtonId::Ok || button->id == ButtonId::Close) Close();
    else if (button->id == DiscordButton) OpenWebPage(DiscordInvite);
}

void Status::Close() {
    if (kind == Connecting) core->CancelConnecting();
    core->RemoveWindow(this);
}
