#include "windows/dialogs/outfit.h"

#include <string>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "protocol.h"
#include "render.h"
#include "shape.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t DialogWidth = 259, DialogHeight = 332;
constexpr uint32_t White = 0xFFFFFFFF;
constexpr uint32_t PreviewFill = 0x40000000;
constexpr int32_t PaletteColumns = 8, PaletteRows = 16;
constexpr int32_t NameCentreLimit = 66;

// Head in bits 24-31, feet 16-23, legs 8-15, body 0-7.
uint32_t PackColours(uint8_t head, uint8_t body, uint8_t legs, uint8_t feet) {
    return uint32_t(head) << 24 | uint32_t(feet) << 16 | uint32_t(legs) << 8 | body;
}

}  // namespace

Outfit::Outfit(Core* core) : Window(core) { Build(); }

void Outfit::Build() {
    ResetLayout();
    width = DialogWidth;
    height = DialogHeight;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    choices = core->outfits;
    const Creature* player = core->player;
    shapeId = player ? player->shapeId : 0;
    colours = player ? player->outfit : 0;
    head = uint8_t(colours >> 24);
    feet = uint8_t(colours >> 16);
    legs = uint8_t(colours >> 8);
    body = uint8_t(colours);
    markerIndex = head;
    selectedPart = HeadButton;
    RebuildPreview();
    choiceIndex = -1;
    for (size_t k = 0; k < choices.size(); ++k)
        if (choices[k] == shapeId) choiceIndex = int32_t(k);
    movable = 1;
    modal = 1;
    CreateSurface();
    name = "Outfit";
    typeId = WindowType::Outfit;
    font = core->GetFont(2);

    AddPushButton(12, height - 28, CancelButton, "cancel");
    AddPushButton(width - 66, height - 28, UseButton, "use");
    AddCloseButton();
    const struct {
        uint32_t id;
        const char* caption;
        int32_t y;
    } parts[] = {{HeadButton, "head", 190},
                 {BodyButton, "body", 208},
                 {LegsButton, "legs", 226},
                 {FeetButton, "feet", 244}};
    for (const auto& part : parts) {
        Button* button = AddPushButton(54, part.y, part.id, part.caption);
        button->toggle = 1;
        button->pressed = part.id == HeadButton;
    }
    AddButton(47, 164, PreviousButton, 0, 144, 18, 144, 36, 144, 18, 16, {1, 1, 16, 14}, "", 0, 0);
    AddButton(97, 164, NextButton, 0, 128, 18, 128, 36, 128, 18, 16, {1, 1, 16, 14}, "", 0, 0);
}

void Outfit::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Outfit::RebuildPreview() {
    preview.reset();
    // A shape the data does not hold (the ids come from the server) shows no preview.
    const Shape* shape = core->GetShape(shapeId);
    if (!shape) return;
    if (shape->previewShapeId) shapeId = shape->previewShapeId;
    preview = std::make_unique<Item>(core, shapeId, colours, 0, 0, 0, 1, ItemIdle);
}

void Outfit::PaintContent() {
    PaintBoxBackground();
    render->DrawSkinPart(124, 85, 120, 155, 89, 180, SkinAtlasId);
    render->DrawBox(30, 50, 198, 227, 0);
    render->DrawBox(47, 85, 68, 68, 0);
    render->FillRect(47, 85, 68, 68, PreviewFill);
    if (!font || !core->player) return;
    const std::string& playerName = core->player->name;
    if (font->MeasureText(playerName) >= NameCentreLimit) font->DrawText(48, 67, playerName, White);
    else font->DrawTextCentered(81, 67, playerName, White);
}

void Outfit::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Outfit::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    if (preview) preview->Draw(x + 75, y + 113);
    render->DrawSkinPart(x + 200 - PaletteCell * (markerIndex % PaletteColumns),
                         y + PaletteY + PaletteCell * (markerIndex / PaletteColumns), 215, 154, 12,
                         12, SkinAtlasId);
    DrawButtons();
}

void Outfit::OnMouseDown(int32_t mx, int32_t my) {
    const int32_t cx = mx - x, cy = my - y;
    if (cx >= 0 && cx < width && cy >= 0 && cy < titleHeight) {
        dragging = 1;
        anchorX = cx;
        anchorY = cy;
        return;
    }
    const int32_t column = (cx - PaletteX) / PaletteCell, row = (cy - PaletteY) / PaletteCell;
    if (cx < PaletteX || cy < PaletteY || column >= PaletteColumns || row >= PaletteRows) return;
    markerIndex = uint8_t(row * PaletteColumns + PaletteColumns - 1 - column);
    PartColour(selectedPart) = markerIndex;
    colours = PackColours(head, body, legs, feet);
    RebuildPreview();
}

uint8_t& Outfit::PartColour(uint32_t part) {
    switch (part) {
        case BodyButton: return body;
        case LegsButton: return legs;
        case FeetButton: return feet;
        default: return head;
    }
}

void Outfit::OnSubmit() { Close(); }

void Outfit::Close() { core->RemoveWindow(this); }

void Outfit::StepChoice(int32_t step) {
    if (choices.empty()) return;
    const int32_t count = int32_t(choices.size());
    choiceIndex += step;
    if (choiceIndex < 0) choiceIndex = count - 1;
    if (choiceIndex >= count) choiceIndex = 0;
    shapeId = choices[size_t(choiceIndex)];
    RebuildPreview();
}

void Outfit::SelectPart(Button* pressed) {
    pressed->pressed = 1;
    for (Button* button : buttons)
        if (button != pressed) button->pressed = 0;
    selectedPart = pressed->id;
    markerIndex = PartColour(selectedPart);
}

void Outfit::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Close:
        case CancelButton: core->RemoveWindow(this); return;
        case PreviousButton: StepChoice(-1); return;
        case NextButton: StepChoice(1); return;
        case UseButton:
            if (Protocol* connection = core->activeConnection)
                connection->SendOutfit(uint16_t(shapeId), colours);
            core->RemoveWindow(this);
            return;
        case HeadButton:
        case BodyButton:
        case LegsButton:
        case FeetButton: SelectPart(button); return;
        default: return;
    }
}
