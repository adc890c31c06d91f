#include "windows/dialogs/attribute.h"

#include <algorithm>
#include <string>

#include "core.h"
#include "font.h"
#include "protocol.h"
#include "render.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t DialogWidth = 370, DialogHeight = 430;
constexpr uint32_t White = 0xFFFFFFFF;
constexpr uint32_t Grey = 0xE0E0E0E0;
constexpr uint16_t TenPoints = 10;

// One raise button and what its attribute gives: the button's skin column, its place, the
// attribute number on the wire, the coloured line and its description.
struct RaiseRow {
    uint32_t id;
    int32_t skinX, top;
    uint8_t attribute;
    const char* name;
    const char* hp;
    const char* mp;
    uint8_t mpAlpha;
    int32_t lineY;
    int32_t valueY, tenY;
};
const RaiseRow RaiseRows[] = {
    {Attribute::StrengthButton, 448, 114, 1, "Strength", "HP +10", "MP +1", 0xC0, 135, 170, 140},
    {Attribute::DexterityButton, 512, 198, 2, "Dexterity", "HP +3", "MP +1", 0xFF, 201, 255, 225},
    {Attribute::WisdomButton, 576, 282, 3, "Wisdom", "HP +1", "MP +10", 0xC0, 297, 339, 309},
};

struct TextLine {
    const char* text;
    int32_t y;
};
const TextLine DescriptionLines[] = {
    {"Increased melee combat damage.", 149},       {"Increased distance combat damage;", 215},
    {"increased all minimum combat damage;", 227}, {"increased defense and dodge chance;", 239},
    {"faster base movement speed.", 251},          {"Increased magical combat damage;", 311},
    {"increased magical defence.", 323},
};

std::string ColouredLine(const RaiseRow& row) {
    const std::string grey = MakeColorCode(Grey);
    return MakeColorCode(White) + row.name + grey + " (" + MakeColorCode(255, 128, 128, 192) +
           row.hp + grey + " / " + MakeColorCode(128, 128, 255, row.mpAlpha) + row.mp + grey + ")";
}

}  // namespace

Attribute::Attribute(Core* core) : Window(core) { Build(); }

void Attribute::Build() {
    ResetLayout();
    width = DialogWidth;
    height = DialogHeight;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    movable = 1;
    modal = 1;
    CreateSurface();
    name = "Increase Attributes";
    typeId = WindowType::Attribute;
    font = core->GetFont(2);
    smallFont = core->GetFont(1);
    tenPointMode = 0;
    for (const RaiseRow& row : RaiseRows) {
        Button* button = AddButton(33, row.top, row.id, row.skinX, 0, row.skinX, 64, row.skinX, 128,
                                   64, 64, {1, 1, 62, 62}, "", 0, 0);
        button->SetGeometry(SkinAtlasId, row.skinX, 192, 64, 64, core->attributePoints > 0);
    }
    if (core->attributePoints >= TenPoints) AddPushButton(12, height - 28, TenPointsButton, "+10");
    AddPushButton(width - 66, height - 28, OkButton, "ok");
    AddCloseButton();
}

void Attribute::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Attribute::PaintContent() {
    PaintBoxBackground();
    for (const RaiseRow& row : RaiseRows) render->DrawFrame1(33, row.top, 64, 64);
    if (!font) return;
    for (const RaiseRow& row : RaiseRows) font->DrawTextSmileys(117, row.lineY, ColouredLine(row));
    for (const TextLine& line : DescriptionLines) font->DrawTextSmileys(117, line.y, line.text);
    font->DrawText(34, 76, "Select the attribute(s) that you'd like to increase ", Grey);
    font->DrawText(34, 88, "with the buttons below.", Grey);
    font->DrawText(34, height - 68, "Level-up to gain more attribute points.", Grey);
}

void Attribute::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Attribute::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    if (font) {
        const uint16_t points = core->attributePoints;
        const std::string count =
            points > 0 ? MakeColorCode(White) + std::to_string(points) + MakeColorCode(Grey) : "no";
        font->DrawText(x + 34, y + 52, "You have " + count + " attribute points to spend.", Grey);
    }
    DrawButtons();
    if (!smallFont) return;
    for (size_t k = 0; k < std::size(RaiseRows); ++k) {
        const RaiseRow& row = RaiseRows[k];
        const uint8_t value = k < core->statTable.size() ? core->statTable[k].bytes[0] : 0;
        smallFont->DrawTextCentered(x + 65, y + row.valueY, std::to_string(value), White);
        if (tenPointMode) smallFont->DrawTextCentered(x + 65, y + row.tenY, "[ +10 ]", White);
    }
}

void Attribute::UpdateRaiseButtons() {
    for (const RaiseRow& row : RaiseRows)
        if (Button* button = FindButton(row.id)) button->enabled = core->attributePoints > 0;
}

void Attribute::OnSubmit() { Close(); }

void Attribute::Close() { core->RemoveWindow(this); }

void Attribute::Raise(uint8_t attribute) {
    if (core->attributePoints == 0) return;
    // Ten points, or what is left when the server lowered the count meanwhile.
    const uint16_t spent =
        tenPointMode ? std::min<uint16_t>(TenPoints, core->attributePoints) : uint16_t(1);
    core->attributePoints = uint16_t(core->attributePoints - spent);
    if (Protocol* connection = core->activeConnection)
        for (uint16_t k = 0; k < spent; ++k) connection->SendRaiseAttribute(attribute);
    if (core->attributePoints == 0) UpdateRaiseButtons();
    if (core->attributePoints < TenPoints) {
        if (Button* tenPoints = FindButton(TenPointsButton)) {
            tenPoints->visible = 0;
            tenPointMode = 0;
        }
    }
}

void Attribute::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Close:
        case OkButton: core->RemoveWindow(this); return;
        case TenPointsButton:
            tenPointMode = tenPointMode ? 0 : 1;
            button->SetText(tenPointMode ? "per 1" : "per 10");
            return;
        default:
            for (const RaiseRow& row : RaiseRows)
                if (row.id == button->id) Raise(row.attribute);
            return;
    }
}
