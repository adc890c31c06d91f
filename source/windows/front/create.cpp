#include "windows/front/create.h"

#include <string>
#include <utility>

#include "core.h"
#include "font.h"
#include "protocol.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t DialogWidth = 218;
constexpr int32_t DialogHeight = 145;
constexpr uint32_t MaxNameLength = 64;
constexpr WindowRect NameRect = {71, 47, 119, 18};
constexpr uint32_t LabelColour = 0xC0FFFFFF;
constexpr uint32_t GenderColour = 0xCEFFFFFF;
constexpr uint8_t MaleChoice = 0x80;
constexpr uint8_t FemaleChoice = 0x00;
constexpr int32_t GenderRow = 75;

// A toggle with the push button's looks; the one that is on is disabled.
void AddGenderButton(Window& dialog, int32_t bx, uint32_t id, std::string caption, bool on) {
    Button* button = dialog.AddPushButton(bx, GenderRow, id, std::move(caption));
    button->toggle = 1;
    button->pressed = on;
    button->enabled = !on;
}

}  // namespace

Create::Create(Core* core) : Window(core) { Build(); }

Create::~Create() { ReleaseChild(nameInput, opened); }

void Create::Build() {
    ResetLayout();
    name = "New Avatar";
    typeId = WindowType::Create;
    font = core->GetFont(2);
    width = DialogWidth;
    height = DialogHeight;
    modal = 1;
    Place(static_cast<int32_t>(core->clientWidth), static_cast<int32_t>(core->clientHeight));
    CreateSurface();
    nameInput = new Input(core, this, MaxNameLength, NameRect, 1);

    AddPushButton(width - 66, height - 28, CreateButton, "create");
    AddGenderButton(*this, width - 147, MaleButton, "male", true);
    AddGenderButton(*this, width - 82, FemaleButton, "female", false);
    AddCloseButton();
}

void Create::PaintContent() {
    PaintBoxBackground();
    if (font) font->DrawText(31, 52, "Name", LabelColour);
}

void Create::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Create::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    DrawButtons();
    if (font)
        font->DrawText(x + 15, y + height - 24, IsMale() ? "Gender: male" : "Gender: female",
                       GenderColour);
}

void Create::OnSubmit() { Submit(); }

void Create::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Create::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Close: Close(); return;
        case CreateButton: Submit(); return;
        case MaleButton:
        case FemaleButton: ChooseGender(button); return;
        default: return;
    }
}

void Create::ChooseGender(Button* chosen) {
    Button* other = FindButton(chosen->id == MaleButton ? FemaleButton : MaleButton);
    other->pressed = 0;
    other->enabled = 1;
    chosen->enabled = 0;
}

bool Create::IsMale() { return FindButton(MaleButton)->pressed != 0; }

void Create::OnOpen() {
    core->AddWindow(nameInput);
    core->focusedInput = nameInput;
    opened = 1;
}

void Create::Close() {
    ReleaseChild(std::exchange(nameInput, nullptr), opened);
    core->RemoveWindow(this);
}

void Create::Submit() {
    std::string text = nameInput->text;
    if (text.empty()) {
        core->AddWindow(new Message(core, "Avatar Information", "Please fill in a name.", 0));
        return;
    }
    // Typing in name mode leaves at most one space at the end.
    if (text.back() == ' ') text.pop_back();
    if (Protocol* connection = core->activeConnection)
        connection->SendCreateAvatar(IsMale() ? MaleChoice : FemaleChoice, text);
    Close();
}
