#include "windows/dialogs/guildfound.h"

#include "core.h"
#include "font.h"
#include "protocol.h"
#include "windows/dialogs/housetexts.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t Width = 475, Height = 393;
constexpr WindowRect InputRect{280, 317, 165, 18};
constexpr int32_t TextX = 38;

struct PageLine {
    int32_t y;
    const char* text;
    bool heading;
};

const PageLine Page[] = {
    {56, "Guild", true},
    {70, "For a group of people for mutual aid or the pursuit of a common goal.", false},
    {84, "\x95 Bear a unifying guild name.", false},
    {98, "\x95 Use a private channel for communication.", false},
    {112, "\x95 Rent a shared guild hall.", false},
    {140, "Noble Requirements", true},
    {154, "\x95 The leader must hold nobleism.", false},
    {168, "\x95 It requires at least 2 noble patrons to become active.", false},
    {196, "Costs", true},
    {210, "\x95 Initial founding costs of 100,000 copper coins.", false},
    {224, "\x95 Monthly costs of a guild is 10,000 copper coins per 30 days.", false},
    {238, "\x95 The copper is taken from the leader's bank account.", false},
    {266, "Guild name", true},
    {280, "\x95 The name cannot be changed after the guild is founded.", false},
    {294, "\x95 Has a maximum of 25 characters", false},
    {322, "After founding, you will become Leader of", true},
};

}  // namespace

Guildfound::Guildfound(Core* core) : InputDialog(core) { Build(); }

void Guildfound::Build() {
    ResetLayout();
    width = Width;
    height = Height;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    CreateSurface();
    name = "Guild Founding";
    typeId = WindowType::Guildfound;
    font = core->GetFont(2);
    delete input;
    input = new Input(core, this, MaxNameLength, InputRect, 1);
    // The name reads as the end of the page's last line.
    input->framed = 0;
    input->textColour = 0xFFFFFFFF;
    AddPushButton(12, height - 28, CancelButtonId, "cancel");
    AddPushButton(width - 66, height - 28, FoundButtonId, "found");
    AddCloseButton();
}

void Guildfound::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
    if (input) input->UpdatePosition();
}

void Guildfound::OnCommand(Button* button) {
    switch (button->id) {
        case FoundButtonId: OnSubmit(); break;
        case ButtonId::Close:
        case CancelButtonId:
            if (core->activeConnection) core->activeConnection->SendGuildFoundClose();
            Close();
            break;
        default: break;
    }
}

void Guildfound::OnSubmit() {
    const std::string guildName = input->text;
    if (guildName.empty()) {
        core->ShowMessage(core->FriendsTitle(), "No name entered.", 0);
        core->focusedInput = input;
        return;
    }
    if (core->activeConnection) core->activeConnection->SendGuildFound(guildName);
    Close();
}

void Guildfound::PaintPage() {
    PaintBoxBackground();
    if (!font) return;
    for (const PageLine& line : Page)
        font->DrawText(TextX, line.y, line.text, line.heading ? ValueColour : LabelColour);
}

void Guildfound::Paint() {
    PaintCached([this] { PaintPage(); });
}

void Guildfound::Draw() {
    DrawFrame();
    DrawCached([this] { PaintPage(); });
    DrawButtons();
}
