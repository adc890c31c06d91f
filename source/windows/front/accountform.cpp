#include "windows/front/accountform.h"

#include "core.h"
#include "font.h"
#include "platform.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"

namespace {

constexpr uint32_t CapsWarningColour = 0xC0FF8080;

}  // namespace

AccountForm::AccountForm(Core* core) : Window(core) {}

AccountForm::~AccountForm() { RemoveInputs(); }

// Once open, the inputs are found in the window list by their owner, in their order: one that
// was already taken out of the list is gone. Before, they belong to the dialog alone.
void AccountForm::RemoveInputs() {
    if (opened) {
        const std::vector<Window*> listed = core->windows;
        for (Window* window : listed)
            if (window->owner == this) core->RemoveWindow(window);
    } else {
        for (Input* input : inputs) delete input;
    }
    inputs.clear();
}

void AccountForm::BuildFace(std::string title, uint32_t type, int32_t w, int32_t h) {
    ResetLayout();
    name = std::move(title);
    typeId = type;
    width = w;
    height = h;
    modal = 1;
    font = core->GetFont(2);
    Place(static_cast<int32_t>(core->clientWidth), static_cast<int32_t>(core->clientHeight));
    CreateSurface();
    AddCloseButton();
}

Input* AccountForm::AddInput(WindowRect rect, uint32_t maxLength, uint8_t masked) {
    inputs.push_back(new Input(core, this, maxLength, rect, masked, 0));
    return inputs.back();
}

void AccountForm::AddActionButton(uint32_t id, std::string caption) {
    actionId = id;
    AddPushButton(width - 66, height - 28, id, std::move(caption));
}

void AccountForm::PaintContent() {
    PaintBoxBackground();
    if (!font) return;
    for (const Label& label : labels) font->DrawText(label.x, label.y, label.text, BoxTextColour);
}

void AccountForm::Paint() {
    PaintCached([this] { PaintContent(); });
}

void AccountForm::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    if (capsWarning && font && KeyToggled(VK_CAPITAL))
        font->DrawText(x + 15, y + height - 24, "Warning: CAPS Lock", CapsWarningColour);
    DrawButtons();
}

void AccountForm::OnSubmit() { Submit(); }

void AccountForm::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void AccountForm::OnCommand(Button* button) {
    if (button->id == ButtonId::Close) Close();
    else if (button->id == actionId) Submit();
}

void AccountForm::OnOpen() {
    opened = 1;
    for (Input* input : inputs) core->AddWindow(input);
    if (!inputs.empty()) core->focusedInput = inputs.front();
}

void AccountForm::Close() {
    RemoveInputs();
    core->RemoveWindow(this);
}

void AccountForm::Refuse(const std::string& title, const std::string& text) {
    core->ShowMessage(title, text, 0);
}

void AccountForm::Connect(uint32_t kind) {
    core->connectKind = kind;
    core->Connect(0);
    Close();
}

void AccountForm::SubmitLogin(const Input& account, const Input& password, uint32_t kind) {
    if (account.text.empty() || password.text.empty()) {
        Refuse("Login Information", "Please fill in both login forms.");
        return;
    }
    core->loginName = account.text;
    core->password = password.text;
    Connect(kind);
}
