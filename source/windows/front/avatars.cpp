#include "windows/front/avatars.h"

#include <string>
#include <utility>

#include "core.h"
#include "font.h"
#include "item.h"
#include "protocol.h"
#include "render.h"
#include "shape.h"
#include "windows/front/create.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/status.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t DialogWidth = 356;
constexpr int32_t DialogHeight = 249;
constexpr int32_t ExpiryLineHeight = 20;
constexpr uint32_t FreeAvatarLimit = 10;
constexpr uint32_t NobleAvatarLimit = 20;
constexpr uint32_t TextColour = 0xCEFFFFFF;
constexpr WindowRect NamesRect = {38, 57, 192, 128};
constexpr WindowRect PreviewFrame = {250, 57, 68, 68};
constexpr int32_t PreviewX = 276, PreviewY = 83;
constexpr int32_t LevelX = 284, LevelY = 133;

}  // namespace

Avatars::Avatars(Core* core) : Window(core) { Build(); }

Avatars::~Avatars() { delete list; }

void Avatars::Build() {
    ResetLayout();
    name = "Avatar List";
    typeId = WindowType::Avatars;
    font = core->GetFont(2);
    width = DialogWidth;
    height = DialogHeight + (core->nobleDaysLeft > 0 ? ExpiryLineHeight : 0);
    movable = 1;
    modal = 1;
    list = new List(core, this, NamesRect.x, NamesRect.y, NamesRect.w, NamesRect.h);
    Place(static_cast<int32_t>(core->clientWidth), static_cast<int32_t>(core->clientHeight));
    CreateSurface();

    // The disabled look of play and create is their normal look; the caption dims.
    AddPushButton(width - 66, height - 28, PlayButton, "play")
        ->SetGeometry(SkinAtlasId, 219, 253, 54, 16, 1);
    AddCloseButton();
    AddPushButton(12, height - 28, CreateButton, "create")
        ->SetGeometry(SkinAtlasId, 219, 253, 54, 16, 1);
}

std::string Avatars::ExpiryLine(uint32_t days) {
    return "Noble account expires in " + std::to_string(days) + " day" + (days == 1 ? "" : "s") +
           ".";
}

uint32_t Avatars::AvatarLimit() const {
    return core->nobleDaysLeft > 0 ? NobleAvatarLimit : FreeAvatarLimit;
}

void Avatars::Enable(uint32_t buttonId, uint8_t enabled) {
    if (Button* button = FindButton(buttonId)) button->enabled = enabled;
}

void Avatars::SetAvatarList(const std::vector<AvatarEntry>& entries) {
    avatars = entries;
    if (avatars.empty()) {
        Enable(PlayButton, 0);
        OpenCreate();
        if (core->steamReady)
            core->AddWindow(new Sure(core, "Link Account to Steam",
                                     "Do you already have an account?\nLink your account to "
                                     "Steam via the main screen > Account > Steam.",
                                     Sure::LinkSteam));
        return;
    }
    for (const AvatarEntry& entry : avatars) list->AddItem(entry.name);
    // More than the limit (noble days that ran out) cannot create either.
    if (avatars.size() >= AvatarLimit()) Enable(CreateButton, 0);
}

void Avatars::AddAvatar(AvatarEntry entry) {
    if (avatars.empty()) Enable(PlayButton, 1);
    list->AddItem(entry.name);
    avatars.push_back(std::move(entry));
    if (avatars.size() >= AvatarLimit()) Enable(CreateButton, 0);
}

const AvatarEntry* Avatars::Selected() const {
    const int32_t row = list->selected;
    if (row < 0 || static_cast<size_t>(row) >= avatars.size()) return nullptr;
    return &avatars[static_cast<size_t>(row)];
}

void Avatars::OpenCreate() {
    Window* dialog = core->AddWindow(new Create(core));
    dialog->OnOpen();
}

void Avatars::Play() {
    if (avatars.empty()) {
        core->AddWindow(new Message(
            core, "Veltor", "You'll first need to create an avatar before you can play!", 0));
        return;
    }
    core->AddWindow(
        new Status(core, "Connecting", "Connecting to the gameworld", Status::Connecting));
    if (const AvatarEntry* entry = Selected()) {
        core->avatarName = entry->name;
        if (Protocol* connection = core->activeConnection) connection->SendSelectAvatar(entry->id);
    }
    // The status box stays until the server's answer.
    core->RemoveWindow(this);
}

void Avatars::Close() {
    core->CloseConnection(0);
    core->RemoveWindow(this);
}

void Avatars::ConfirmDeleteRestore() {
    const AvatarEntry* entry = Selected();
    if (!entry) return;
    Sure* question;
    if (list->marks[static_cast<size_t>(list->selected)])
        question =
            new Sure(core, "Restore Avatar",
                     "Are you sure you want to restore " + entry->name + "?", Sure::RestoreAvatar);
    else
        question = new Sure(core, "Delete Avatar",
                            "Are you sure you want to delete " + entry->name +
                                "?\nIt will take 30 days for the avatar to be deleted.",
                            Sure::DeleteAvatar);
    core->AddWindow(question);
}

void Avatars::MarkSelected(uint8_t marked) {
    if (const AvatarEntry* entry = Selected()) list->FindItemNoCase(entry->name, marked);
}

void Avatars::DeleteSelected() { MarkSelected(1); }

void Avatars::RestoreSelected() { MarkSelected(0); }

void Avatars::OnSubmit() { Play(); }

void Avatars::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
    list->Place(0, 0);
}

void Avatars::OnCommand(Button* button) {
    // The list's scroll bar arrows fire on the bar.
    if (button->owner != this) {
        Window::OnCommand(button);
        return;
    }
    switch (button->id) {
        case PlayButton: Play(); return;
        case CreateButton: OpenCreate(); return;
        case ButtonId::Close: Close(); return;
        case DeleteRestoreButton: ConfirmDeleteRestore(); return;
        default: return;
    }
}

void Avatars::PaintContent() {
    PaintBoxBackground();
    render->DrawFrame1(PreviewFrame.x, PreviewFrame.y, PreviewFrame.w, PreviewFrame.h);
    if (core->nobleDaysLeft > 0 && font)
        font->DrawText(42, height - 67, ExpiryLine(core->nobleDaysLeft), TextColour);
}

void Avatars::Paint() {
    PaintCached([this] { PaintContent(); });
    list->Paint();
}

void Avatars::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    if (const AvatarEntry* entry = Selected()) DrawPreview(*entry, list->selected);
    DrawButtons();
    list->Draw();
}

void Avatars::DrawPreview(const AvatarEntry& entry, int32_t index) {
    if (entry.shapeId != 0) {
        if (index != previewIndex) {
            const Shape* shape = core->GetShape(entry.shapeId);
            if (!shape) core->FatalError("Unknown shape");
            // A shape may name another shape that stands for it in previews.
            const uint32_t shown = shape->previewShapeId ? shape->previewShapeId : entry.shapeId;
            preview = std::make_unique<Item>(core, shown, entry.subId, 0, 0, 0, 1, ItemIdle);
            previewIndex = index;
        }
        preview->Draw(x + PreviewX, y + PreviewY);
    }
    if (font)
        font->DrawTextCentered(x + LevelX, y + LevelY, "Level " + std::to_string(entry.level),
                               TextColour);
}
