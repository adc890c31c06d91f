#include "windows/dialogs/ignored.h"

#include <algorithm>
#include <string>

#include "core.h"
#include "creature.h"
#include "windows/dialogs/controlwindows.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t DialogWidth = 326, DialogHeight = 308;
constexpr uint32_t MaxNameLength = 224;
constexpr WindowRect NamesRect = {38, 89, 250, 152};
constexpr WindowRect NameRect = {38, 56, 130, 18};
const char* const BoxTitle = "Muted List";

}  // namespace

Ignored::Ignored(Core* core) : Window(core) { Build(); }

Ignored::~Ignored() {
    ReleaseControl(core, input);
    ReleaseControl(core, names);
}

void Ignored::Build() {
    ResetLayout();
    width = DialogWidth;
    height = DialogHeight;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    modal = 1;
    CreateSurface();
    name = "Muted People";
    typeId = WindowType::Ignored;
    font = core->GetFont(2);
    names = new List(core, this, NamesRect.x, NamesRect.y, NamesRect.w, NamesRect.h);
    input = new Input(core, this, MaxNameLength, NameRect, 1);
    AddPushButton(176, 57, AddButton, "add");
    AddPushButton(234, 57, RemoveButton, "remove");
    AddPushButton(width - 66, height - 28, OkButton, "ok");
    AddCloseButton();
}

void Ignored::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Ignored::PaintContent() { PaintBoxBackground(); }

void Ignored::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Ignored::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    DrawButtons();
}

void Ignored::OnOpen() {
    core->AddWindow(names);
    core->AddWindow(input);
    core->focusedInput = input;
    for (const std::string& muted : core->muted) names->AddItem(muted);
}

void Ignored::OnSubmit() { Close(); }

void Ignored::Close() {
    CloseLater(core, input);
    CloseLater(core, names);
    CloseLater(core, this);
}

void Ignored::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Close:
        case OkButton: Close(); return;
        case AddButton: AddName(); return;
        case RemoveButton: RemoveSelected(); return;
        default: return;
    }
}

void Ignored::AddName() {
    const std::string text = input->text;
    const std::vector<std::string>& muted = core->muted;
    if (text.empty()) {
        core->ShowMessage(BoxTitle, "No name has been entered. Make sure to enter a name.", 0);
    } else if (core->player && text == core->player->name) {
        core->ShowMessage(BoxTitle, "You cannot mute yourself.", 0);
    } else if (std::find(muted.begin(), muted.end(), text) != muted.end()) {
        core->ShowMessage(BoxTitle, text + " is already muted.", 0);
    } else if (text.find(',') != std::string::npos) {
        // The settings file joins the names with commas.
        core->ShowMessage(BoxTitle, "A name with a comma cannot be muted.", 0);
    } else {
        core->AddMuted(text);
        names->AddItem(text);
        input->SetText("");
        if (names->items.size() == 1) names->Select(0);
    }
}

// By the row's index: the list finds texts regardless of case, and "Bob" and "bob" are two names.
void Ignored::RemoveSelected() {
    const int32_t row = names->selected;
    if (core->muted.empty() || row < 0 || size_t(row) >= names->items.size()) return;
    const std::string removed = names->items[size_t(row)];
    core->RemoveMuted(removed);
    names->RemoveEntry(size_t(row));
    core->ShowMessage(BoxTitle, removed + " has been removed from the muted list.", 0);
}
