#include "windows/dialogs/namepopup.h"

#include <utility>

#include "core.h"
#include "creature.h"
#include "windows/dialogs/controlwindows.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"

namespace {

constexpr int32_t PopupWidth = 175, PopupHeight = 119;
constexpr uint32_t MaxNameLength = 224;
constexpr WindowRect NameRect = {28, 47, 119, 18};

}  // namespace

NamePopup::NamePopup(Core* core, uint32_t type, std::string title, std::string caption)
    : Window(core), type(type), title(std::move(title)), caption(std::move(caption)) {
    Build();
}

NamePopup::~NamePopup() { ReleaseControl(core, input); }

void NamePopup::Build() {
    ResetLayout();
    width = PopupWidth;
    height = PopupHeight;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    CreateSurface();
    name = title;
    typeId = type;
    font = core->GetFont(2);
    modal = 1;
    input = new Input(core, this, MaxNameLength, NameRect, 1);
    AddPushButton(width - 66, height - 28, SubmitButton, caption);
    AddCloseButton();
}

void NamePopup::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void NamePopup::PaintContent() { PaintBoxBackground(); }

void NamePopup::Paint() {
    PaintCached([this] { PaintContent(); });
}

void NamePopup::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    DrawButtons();
}

void NamePopup::OnOpen() {
    core->AddWindow(input);
    core->focusedInput = input;
}

void NamePopup::Close() {
    CloseLater(core, input);
    CloseLater(core, this);
}

void NamePopup::OnCommand(Button* button) {
    if (button->id == ButtonId::Close) Close();
    else if (button->id == SubmitButton) OnSubmit();
}

void NamePopup::OnSubmit() {
    const std::string text = input ? input->text : "";
    if (text.empty()) {
        core->ShowMessage(core->FriendsTitle(), "No name entered.", 0);
    } else if (core->player && text == core->player->name) {
        core->ShowMessage(core->FriendsTitle(), "You cannot add your own name.", 0);
    } else if (Protocol* connection = core->activeConnection) {
        SendRequest(*connection, text);
    }
    Close();
}
