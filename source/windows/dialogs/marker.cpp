#include "windows/dialogs/marker.h"

#include <string>
#include <utility>

#include "core.h"
#include "font.h"
#include "render.h"
#include "startuptables.h"
#include "windows/dialogs/map.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t GridSide = int32_t(MarkerGridColumns * MarkerCellPitch);  // 95
constexpr int32_t DialogWidth = GridSide + 66, DialogHeight = GridSide + 145;
constexpr int32_t Pitch = int32_t(MarkerCellPitch);
constexpr int32_t Columns = int32_t(MarkerGridColumns);
constexpr int32_t IconSize = int32_t(MarkerIconSize);
constexpr uint16_t MarkerIconImage = 10;
// The cells' top-left inside the dialog, and the icons' inside their cells.
constexpr int32_t GridX = 33, GridY = 85;
constexpr int32_t IconInset = 1;
// A name of up to 48 characters, typed in name format.
constexpr uint32_t MaxNameLength = 48;
constexpr WindowRect NameRect = {28, 47, GridSide + 10, 18};
constexpr uint32_t White = 0xFFFFFFFF;
constexpr char Title[] = "Add Marker";

}  // namespace

Marker::Marker(Core* core, int32_t screenX, int32_t screenY)
    : Window(core), screenX(uint32_t(screenX)), screenY(uint32_t(screenY)) {
    Build();
}

Marker::~Marker() { ReleaseChild(nameInput, opened); }

void Marker::Build() {
    ResetLayout();
    width = DialogWidth;
    height = DialogHeight;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    movable = 1;
    editing = 0;
    selected = -1;
    CreateSurface();
    name = Title;
    typeId = WindowType::Marker;
    font = core->GetFont(2);
    nameInput = new Input(core, this, MaxNameLength, NameRect, 1);
    AddPushButton(width - 66, height - 28, SubmitButton, "add");
    AddCloseButton();
}

void Marker::PaintContent() {
    PaintBoxBackground();
    render->DrawFrame1(GridX - 5, GridY - 5, GridSide + 10, GridSide + 9);
    for (int32_t cell = 0; cell < int32_t(MarkerIconCount); ++cell)
        render->DrawSkinPartTinted((cell % Columns) * Pitch + GridX + IconInset,
                                   (cell / Columns) * Pitch + GridY + IconInset,
                                   int32_t(MarkerIconOrder[cell]) * IconSize, 0, IconSize, IconSize,
                                   White, MarkerIconImage);
}

void Marker::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Marker::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    DrawButtons();
    if (selected >= 0 && selected < int32_t(MarkerIconCount))
        render->DrawBar(x + GridX + (selected % Columns) * Pitch,
                        y + GridY + (selected / Columns) * Pitch, Pitch, Pitch, White, White);
}

void Marker::OnMouseDown(int32_t mx, int32_t my) {
    if (my < y + titleHeight) {
        if (movable) {
            dragging = 1;
            anchorX = mx - x;
            anchorY = my - y;
        }
        return;
    }
    const int32_t gx = mx - x - GridX, gy = my - y - GridY;
    if (gx >= 0 && gx < GridSide && gy >= 0 && gy < GridSide)
        SelectCell(gy / Pitch * Columns + gx / Pitch);
}

// The name field follows the kind until the player types a name of their own.
void Marker::SelectCell(int32_t cell) {
    const std::string previous = MarkerIconName(selected);
    selected = cell;
    if (nameInput->text.empty() || nameInput->text == previous)
        nameInput->SetText(MarkerIconName(cell));
}

void Marker::OnDrag(int32_t mx, int32_t my) {
    Window::OnDrag(mx, my);
    nameInput->UpdatePosition();
}

void Marker::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
    if (nameInput) nameInput->UpdatePosition();
}

void Marker::OnCommand(Button* button) {
    if (button->id == ButtonId::Close) Close();
    else if (button->id == SubmitButton) OnSubmit();
}

void Marker::OnOpen() {
    core->AddWindow(nameInput);
    core->focusedInput = nameInput;
    opened = 1;
}

void Marker::Close() {
    ReleaseChild(std::exchange(nameInput, nullptr), opened);
    core->RemoveWindow(this);
}

void Marker::EditMarker(int32_t id) {
    editId = id;
    if (auto* map = static_cast<Map*>(core->FindWindow(WindowType::Map))) {
        const MapLabel marker = map->FindMarker(id);
        for (int32_t cell = 0; cell < int32_t(MarkerIconCount); ++cell) {
            if (MarkerIconOrder[cell] + 1 == marker.icon) {
                selected = cell;
                break;
            }
        }
        nameInput->SetText(marker.text);
        editing = 1;
        FindButton(SubmitButton)->SetText("save");
    }
    OnOpen();
}

void Marker::OnSubmit() {
    if (selected < 0) {
        core->ShowMessage(Title, "No marker selected.", 0);
        return;
    }
    const std::string text = nameInput->text;
    if (text.empty()) {
        core->ShowMessage(Title, "No name entered.", 0);
        return;
    }
    auto* map = static_cast<Map*>(core->FindWindow(WindowType::Map));
    if (!map) {
        core->ShowMessage(Title, "No map found.", 0);
        Close();
        return;
    }
    const uint8_t kind = uint8_t(MarkerIconOrder[selected] + 1);
    if (editing) map->EditMarker(editId, text, kind);
    else map->AddMarker(screenX, screenY, text, kind);
    core->options.smarkers = 1;
    map->RenderMarkerLayer();
    Close();
}
