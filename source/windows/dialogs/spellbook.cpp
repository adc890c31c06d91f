#include "windows/dialogs/spellbook.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core.h"
#include "font.h"
#include "render.h"
#include "spell.h"
#include "windows/dialogs/controlwindows.h"
#include "windows/game/spellbar.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t BookWidth = 500, BookHeight = 441;
constexpr WindowRect ListRect = {38, 57, 150, 320};
constexpr uint32_t White = 0xFFFFFFFF;
constexpr uint32_t LineColour = 0xE0E0E0E0;
constexpr uint32_t LabelColour = 0xC0FFFFFF;
constexpr uint32_t ValueColour = 0xC0FFFF00;
constexpr int32_t DetailsX = 214, ValuesX = 284, RowPitch = 12;

}  // namespace

Spellbook::Spellbook(Core* core, Window* owner, Spell* current) : Window(core) {
    this->owner = owner;
    selected = current;
    Build();
}

Spellbook::~Spellbook() { ReleaseControl(core, abilities); }

void Spellbook::Build() {
    ResetLayout();
    width = BookWidth;
    height = BookHeight;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    modal = 1;
    CreateSurface();
    name = "Abilities";
    typeId = WindowType::Spellbook;
    font = core->GetFont(2);
    abilities = new List(core, this, ListRect.x, ListRect.y, ListRect.w, ListRect.h);
    AddPushButton(12, height - 28, ClearButton, "clear");
    AddPushButton(width - 66, height - 28, AssignButton, "assign");
    AddCloseButton();
}

void Spellbook::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Spellbook::OnOpen() {
    core->AddWindow(abilities);
    std::vector<Spell*> known;
    for (Spell* spell : core->spells)
        if (spell->usable) known.push_back(spell);
    // Byte order, a name before the longer names it begins.
    std::stable_sort(known.begin(), known.end(),
                     [](const Spell* a, const Spell* b) { return a->name < b->name; });
    int32_t row = NoSelection;
    for (size_t k = 0; k < known.size(); ++k) {
        abilities->AddItem(known[k]->name);
        if (known[k] == selected) row = int32_t(k);
    }
    abilities->selected = row;
}

void Spellbook::OnListSelect(int32_t) {
    const int32_t row = abilities->selected;
    if (row != NoSelection && row >= 0 && size_t(row) < abilities->items.size()) {
        const std::string& chosen = abilities->items[size_t(row)];
        for (Spell* spell : core->spells) {
            if (spell->name == chosen) {
                selected = spell;
                break;
            }
        }
    }
    dirty = 1;
}

void Spellbook::PaintContent() {
    PaintBoxBackground();
    render->DrawBox(213, 57, 98, 98, 0);
    if (!selected || !font) return;
    selected->DrawIcon(278, 122);
    font->DrawText(DetailsX, 180, selected->name, White);
    int32_t rowY = 204;
    for (const std::string& line : selected->descriptionLines) {
        font->DrawTextFaded(DetailsX, rowY, line, LineColour);
        rowY += RowPitch;
    }
    rowY = 216 + RowPitch * int32_t(selected->descriptionLines.size());
    const struct {
        const char* label;
        const std::string& value;
    } details[] = {{"Mana:", selected->manaText},
                   {"Cooldown:", selected->cooldownText},
                   {"Type:", selected->typeText}};
    for (const auto& detail : details) {
        if (detail.value.empty()) continue;
        font->DrawText(DetailsX, rowY, detail.label, LabelColour);
        font->DrawText(ValuesX, rowY, detail.value, ValueColour);
        rowY += RowPitch;
    }
}

void Spellbook::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Spellbook::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    DrawButtons();
}

void Spellbook::Close() {
    CloseLater(core, abilities);
    CloseLater(core, this);
}

void Spellbook::AssignAndClose(Spell* spell) {
    if (auto* bar = dynamic_cast<Spellbar*>(owner)) bar->AssignSlot(spell);
    Close();
}

void Spellbook::OnSubmit() { AssignAndClose(selected); }

void Spellbook::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Close: Close(); return;
        case AssignButton: AssignAndClose(selected); return;
        case ClearButton: AssignAndClose(nullptr); return;
        default: return;
    }
}
