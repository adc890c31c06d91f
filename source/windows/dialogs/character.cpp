#include "windows/dialogs/character.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "item.h"
#include "render.h"
#include "shape.h"
#include "windows/dialogs/attribute.h"
#include "windows/dialogs/look.h"
#include "windows/dialogs/outfit.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t SheetWidth = 430, SheetHeight = 444;
constexpr uint32_t White = 0xFFFFFFFF;
constexpr uint32_t Grey = 0xE0E0E0E0;
constexpr uint32_t BonusGreen = 0xC080F580;
constexpr uint32_t BonusRed = 0xC0FF8080;
constexpr uint32_t BoxFill = 0x40000000;
constexpr size_t StatCount = 15;

const char* const VocationWords[] = {"citizen", "page",     "apprentice", "sorcerer",
                                     "shaman",  "wizard",   "cleric",     "ranger",
                                     "rogue",   "marksman", "knight"};

struct StatRow {
    const char* label;
    int32_t y;
};

// The attribute rows (stat entries 0 to 2), the physical skills (3 to 10) and the magical ones
// (11 to 14).
const StatRow AttributeRows[] = {{"Strength", 299}, {"Dexterity", 313}, {"Wisdom", 327}};
const StatRow PhysicalRows[] = {{"Swords", 113},   {"Daggers", 127}, {"Polearms", 141},
                                {"Hammers", 155},  {"Defence", 169}, {"Archery", 183},
                                {"Throwing", 197}, {"Firearms", 211}};
const StatRow MagicalRows[] = {
    {"Nature", 285}, {"Destruction", 299}, {"Protection", 313}, {"Support", 327}};
constexpr uint32_t FirstPhysical = 3, FirstMagical = 11;

// The bars' column and the rows a release on them counts for: a bar is 9 pixels of every 14.
constexpr int32_t BarLeft = 330, BarRight = 384, BarWidth = 50;
constexpr int32_t RowPitch = 14, BarRowHeight = 9;
struct BarBlock {
    int32_t top, bottom;
    uint32_t firstStat;
};
const BarBlock BarBlocks[] = {{113, 225, FirstPhysical}, {285, 341, FirstMagical}};

// The sunken boxes of the sheet, each with its centred title.
void PaintBox(Render* render, Font* font, int32_t bx, int32_t by, int32_t bw, int32_t bh,
              const std::string& title, int32_t titleY) {
    render->DrawBox(bx, by, bw, bh, 0);
    render->FillRect(bx, by, bw, bh, BoxFill);
    if (font) font->DrawTextCentered(bx + bw / 2, titleY, title, White);
}

}  // namespace

Character::Character(Core* core) : Window(core) { Build(); }

void Character::Build() {
    ResetLayout();
    width = SheetWidth;
    height = SheetHeight;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    movable = 1;
    modal = 1;
    CreateSurface();
    name = "Character";
    typeId = WindowType::Character;
    font = core->GetFont(2);
    smallFont = core->GetFont(1);
    AddPushButton(101, 99, OutfitButton, "outfit");
    AddPushButton(width - 66, height - 28, OkButton, "ok");
    AddCloseButton();
}

void Character::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Character::PaintContent() {
    PaintBoxBackground();
    PaintSheet();
    PaintExperienceBar();
}

void Character::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Character::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    DrawButtons();
}

void Character::PaintPortrait() {
    render->DrawBox(33, 82, 50, 50, 0);
    render->FillRect(33, 82, 50, 50, BoxFill);
    const Creature* player = core->player;
    if (!player) return;
    // A shape the data does not hold (the id comes from the server) leaves the box empty.
    const Shape* shape = core->GetShape(player->shapeId);
    if (!shape) return;
    const uint32_t shown = shape->previewShapeId ? shape->previewShapeId : player->shapeId;
    Item portrait(core, shown, player->outfit, 0, 0, 0, 1, ItemIdle);
    portrait.Draw(50, 98);
}

void Character::PaintStatValue(uint32_t index, int32_t right, int32_t y) {
    if (!font || index >= core->statTable.size()) return;
    const StatEntry& entry = core->statTable[index];
    const std::string value = std::to_string(entry.bytes[0]);
    const int32_t bonus = int8_t(entry.bytes[2]);
    if (bonus == 0) {
        font->DrawTextRight(right, y, value, Grey);
        return;
    }
    const std::string bonusText = (bonus > 0 ? "+" : "") + std::to_string(bonus);
    font->DrawTextRight(right, y, bonusText, bonus > 0 ? BonusGreen : BonusRed);
    font->DrawTextRight(right - font->MeasureText(bonusText), y, value, Grey);
}

void Character::PaintProgressBar(uint32_t index, int32_t y) {
    if (index >= core->statTable.size()) return;
    render->DrawSkinPart(BarLeft, y + 1, 234, 205, 2, 8, SkinAtlasId);
    render->DrawSkinPartTiled(BarLeft + 2, y + 1, BarWidth, 8, 0, 0, 236, 205, 10, 8, SkinAtlasId);
    render->DrawSkinPart(BarLeft + 2 + BarWidth, y + 1, 247, 205, 2, 8, SkinAtlasId);
    // A progress byte past 100 (never sent) fills the bar and no more.
    const uint8_t progress = std::min<uint8_t>(core->statTable[index].bytes[1], 100);
    const int32_t fill = int32_t(std::ceil(progress * double(BarWidth) / 100.0));
    if (fill > 0)
        render->DrawSkinPartTiled(BarLeft + 2, y + 3, fill, 4, 0, 0, 228, 223, 4, 4, SkinAtlasId);
}

void Character::PaintSheet() {
    PaintPortrait();
    const Creature* player = core->player;
    if (player && font) {
        const char* word =
            core->vocation < std::size(VocationWords) ? VocationWords[core->vocation] : "";
        font->DrawText(34, 52, player->name + ", " + word + ".", White);
    }

    PaintBox(render, font, 33, 150, 140, 96, "Statistics", 163);
    const struct {
        const char* label;
        std::string value;
        int32_t y;
    } statistics[] = {
        {"Level", std::to_string(core->playerLevel), 183},
        {"Experience", std::to_string(core->experience), 197},
        {"Health", std::to_string(core->hp) + "/" + std::to_string(core->maxHp), 211},
        {"Mana", std::to_string(core->mana) + "/" + std::to_string(core->maxMana), 225},
    };
    for (const auto& row : statistics) {
        if (!font) break;
        font->DrawText(46, row.y, row.label, Grey);
        font->DrawTextRight(160, row.y, row.value, Grey);
    }

    std::string attributesTitle = "Attributes";
    if (core->attributePoints != 0)
        attributesTitle += " (" + std::to_string(core->attributePoints) + ")";
    PaintBox(render, font, 33, 266, 140, 82, attributesTitle, 279);
    for (uint32_t k = 0; k < std::size(AttributeRows); ++k) {
        if (font) font->DrawText(46, AttributeRows[k].y, AttributeRows[k].label, Grey);
        PaintStatValue(k, 160, AttributeRows[k].y);
    }

    PaintBox(render, font, 193, 80, 204, 152, "Physical", 93);
    PaintBox(render, font, 193, 252, 204, 96, "Magical", 265);
    const auto paintSkills = [this](const auto& rows, uint32_t first) {
        for (uint32_t k = 0; k < std::size(rows); ++k) {
            if (font) font->DrawText(206, rows[k].y, rows[k].label, Grey);
            PaintStatValue(first + k, 320, rows[k].y);
            PaintProgressBar(first + k, rows[k].y);
        }
    };
    paintSkills(PhysicalRows, FirstPhysical);
    paintSkills(MagicalRows, FirstMagical);
}

void Character::PaintExperienceBar() {
    const int32_t barWidth = width - 74, top = height - 76;
    const int32_t right = 37 + barWidth;
    for (const int32_t column : {233, 246}) {
        const int32_t at = column == 233 ? 33 : right;
        render->DrawSkinPart(at, top, column, 153, 4, 4, SkinAtlasId);
        render->DrawSkinPart(at, top + 4, column, 157, 4, 9, SkinAtlasId);
        render->DrawSkinPart(at, top + 13, column, 166, 4, 4, SkinAtlasId);
    }
    render->DrawSkinPartTiled(37, top, barWidth, 4, 0, 0, 237, 153, 9, 4, SkinAtlasId);
    render->DrawSkinPartTiled(37, top + 13, barWidth, 4, 0, 0, 237, 166, 9, 4, SkinAtlasId);

    // A next level of 0 (never sent) leaves the bar empty.
    const uint64_t next = core->experienceNext;
    const int32_t fill =
        next == 0 ? 0 : int32_t(std::min<uint64_t>(barWidth, core->experience * barWidth / next));
    if (fill > 0)
        render->DrawSkinPartTiled(37, top + 4, fill, 9, 0, 0, 228, 191, 4, 9, SkinAtlasId);
    if (fill < barWidth)
        render->DrawSkinPartTiled(37 + fill, top + 4, barWidth - fill, 9, 0, 0, 101, 142, 100, 9,
                                  SkinAtlasId);
    if (smallFont)
        smallFont->DrawTextCentered(
            37 + barWidth / 2, top + 3,
            std::to_string(core->experience) + " / " + std::to_string(core->experienceNext), Grey);
}

void Character::OnMouseUp(int32_t mx, int32_t my) {
    dragging = 0;
    if (core->inputModes[InputDrop] || resizing) return;
    const int32_t column = mx - x, row = my - y;
    if (column < BarLeft || column >= BarRight) return;
    for (const BarBlock& block : BarBlocks) {
        if (row < block.top || row >= block.bottom) continue;
        // Rows start one pixel above their bar: the first pixel counts with the row above it.
        if ((row - block.top - 1) % RowPitch >= BarRowHeight) return;
        const uint32_t index = block.firstStat + uint32_t((row - block.top) / RowPitch);
        if (index >= core->statTable.size()) return;
        const std::string title =
            "The skill progression is at " + std::to_string(core->statTable[index].bytes[1]) + "%";
        core->AddWindow(new Look(core, title, "", mx, my, 1));
        return;
    }
}

void Character::OnSubmit() { Close(); }

void Character::Close() { core->RemoveWindow(this); }

void Character::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Close:
        case OkButton: core->RemoveWindow(this); return;
        case OutfitButton:
            if (core->player) core->AddWindow(new Outfit(core));
            return;
        default: return;
    }
}

void OpenCharacter(Core* core) {
    core->AddWindow(new Character(core));
    if (core->attributePoints > 0) core->AddWindow(new Attribute(core));
}
