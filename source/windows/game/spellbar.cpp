#include "windows/game/spellbar.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core.h"
#include "font.h"
#include "item.h"
#include "keynames.h"
#include "mouse.h"
#include "notification.h"
#include "platform.h"
#include "protocol.h"
#include "render.h"
#include "screen.h"
#include "shape.h"
#include "spell.h"
#include "windows/dialogs/look.h"
#include "windows/dialogs/spellbook.h"
#include "windows/game/action.h"
#include "windows/game/container.h"
#include "windows/game/hudbar.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t PreviousPage = 27, NextPage = 28;
constexpr int32_t GridWidth = 156, GridHeight = 199, StripWidth = 508, StripHeight = 48;
// The bar is centred on its x + 244 (246 while built); placed 23 pixels into its owner, or 53
// above the bottom in the wide layout.
constexpr int32_t HalfBar = 244, BuildHalfBar = 246, OwnerInset = 23, WideBottom = 53;
constexpr int32_t GridColumns = 3, GridRows = 4, Cell = 40, CellSize = 36;
constexpr int32_t GridLeft = 12, GridTop = 31, StripLeft = 6, StripTop = 6;
// A hit is tested one pixel before the grid's cell pictures, two past the strip's.
constexpr int32_t GridHitLeft = 11, GridHitTop = 30, StripHit = 8;
constexpr int32_t TitleDrag = 22, OwnerStrip = 6, MinOwnerWidthForButtons = 845;
constexpr uint16_t SkinAtlas = 1;
constexpr int32_t CellSkinX = 256, FilledSkinY = 56, EmptySkinY = 96, TargetSkinY = 136;
constexpr uint32_t ArrowCursor = 0, CrossCursor = 1, SizingCursor = 2;
// The mana bar of the grid layout, filled from this skin column, and the band its tooltip
// answers in.
constexpr int32_t BarLeft = 9, BandTop = 5, BandBottom = 23, BandInset = 4;
constexpr uint16_t ManaSkinX = 216;
const char* const CoolingText = "Please wait while cooling down.";

Mouse* MouseOf(const Core* core) { return core->screen ? core->screen->mouse : nullptr; }

}  // namespace

Spellbar::Spellbar(Core* core, Window* owner) : Panellist(core, owner) {
    panel = dynamic_cast<Panel*>(owner);
    Build();
}

bool Spellbar::GridLayout() const {
    return panel || (core->options.widescreen && core->options.panel);
}

void Spellbar::Build() {
    Panel* column = panel;
    ResetLayout();
    ClearButtons();
    panel = column;
    const int32_t ownerX = owner ? owner->x : 0, ownerY = owner ? owner->y : 0;
    const int32_t ownerW = owner ? owner->width : core->clientWidth;
    if (panel) {
        MoveToColumnTop();
        height = GridHeight;
    } else if (core->options.widescreen && core->options.panel) {
        x = 0;
        y = core->clientHeight - GridHeight;
        width = GridWidth;
        height = GridHeight;
    } else {
        x = ownerX + (ownerW - GridWidth) / 2 - BuildHalfBar;
        y = core->options.widescreen ? core->clientHeight - WideBottom : ownerY + OwnerInset;
        width = StripWidth;
        height = StripHeight;
    }
    homeY = y;
    CreateSurface();
    name = "Abilities";
    typeId = WindowType::Spellbar;
    font = core->GetFont(1);
    movable = panel ? 1 : 0;
    resizable = 0;
    pinned = 0;
    minHeight = height;
    for (uint32_t id : {PreviousPage, NextPage})
        AddButton(0, 0, id, id == PreviousPage ? 160 : 177, 18, id == PreviousPage ? 160 : 177, 36,
                  id == PreviousPage ? 160 : 177, 18, 17, 18, {1, 1, 16, 15}, "", 0, 0);
    PlaceButtons();
    page = 0;
    pageCount = 1;
    pages = {};
}

void Spellbar::PlaceButtons() {
    Button* previous = FindButton(PreviousPage);
    Button* next = FindButton(NextPage);
    if (!previous || !next) return;
    const int32_t buttonX = panel ? ScrollEdgeX() : GridLayout() ? 135 : 490;
    const int32_t buttonY = GridLayout() ? 26 : 7;
    previous->x = next->x = buttonX;
    previous->y = buttonY;
    next->y = buttonY + 18;
}

void Spellbar::Place(int32_t screenWidth, int32_t screenHeight) {
    if (panel) {
        Panellist::Place(screenWidth, screenHeight);
        PlaceButtons();
        return;
    }
    if (core->options.widescreen) {
        if (core->options.panel) {
            y = screenHeight - GridHeight;
        } else {
            x = screenWidth / 2 - HalfBar;
            y = screenHeight - WideBottom;
        }
    } else if (owner) {
        x = owner->x + (screenWidth - 2 * owner->x) / 2 - HalfBar;
        y = owner->y + OwnerInset;
        for (uint32_t id : {PreviousPage, NextPage})
            if (Button* button = FindButton(id))
                button->visible = owner->width >= MinOwnerWidthForButtons;
    }
}

void Spellbar::OnCommand(Button* button) {
    if (button->id == PreviousPage) page = std::max(0, page - 1);
    if (button->id == NextPage) page = std::min(pageCount - 1, page + 1);
    dirty = 1;
}

// The page count follows the highest slot the server names, one empty page after it; slots past
// the last page are ignored.
void Spellbar::OnOpen() {
    if (core->spellPairs.empty()) return;
    pages = {};
    int32_t highestPage = -1;
    for (const SpellBarEntry& pair : core->spellPairs) {
        if (pair.slot >= MaxPages * SlotsPerPage) continue;
        BarEntry& entry = pages[pair.slot / SlotsPerPage][pair.slot % SlotsPerPage];
        for (Spell* spell : core->spells) {
            if (spell->id != pair.value) continue;
            entry.ability = spell;
            entry.used = 1;
        }
        highestPage = std::max(highestPage, int32_t(pair.slot / SlotsPerPage));
    }
    pageCount = std::min(int32_t(MaxPages), highestPage + 2);
    page = std::min(page, pageCount - 1);
    dirty = 1;
}

Spell* Spellbar::SpellAt(uint32_t slotOnPage) const {
    if (slotOnPage >= SlotsPerPage) return nullptr;
    return pages[size_t(page)][slotOnPage].ability;
}

// --- Casting and assigning -----------------------------------------------------------------------

void Spellbar::CancelArmedTarget() {
    if (!core->inputModes[InputSpellTarget]) return;
    core->inputModes[InputSpellTarget] = core->inputModes[InputDrop] = 0;
    core->SetCursor(ArrowCursor);
}

void Spellbar::CastSlot(uint8_t slot, bool atCursor) {
    if (slot >= SlotsPerPage) return;
    const BarEntry& entry = pages[size_t(page)][slot];
    if (!entry.used) return;
    Spell* spell = entry.ability;
    if (!spell) {
        Container* window = core->FindContainerWindow(entry.container);
        const Item* item = window ? window->ItemAt(entry.itemSlot) : nullptr;
        if (item && !(item->shape && item->shape->container) && core->activeConnection)
            core->activeConnection->SendUseSlotItem(entry.container, entry.itemSlot,
                                                    uint16_t(item->shapeId));
        return;
    }
    if (!spell->usable) {
        core->AddNotification(Notification::RefusalKind, "This spell/feat is not useable.");
        return;
    }
    if (spell->sent) return;
    core->barSlot = uint8_t(uint32_t(page) * SlotsPerPage + slot);
    core->targetingSpell = spell;
    uint8_t* modes = core->inputModes;
    if (spell->stays) {
        CancelArmedTarget();
        spell->ToggleArmed(core->barSlot);
        return;
    }
    if (spell->targetsSelf) {
        CancelArmedTarget();
        if (spell->IsCoolingDown()) core->AddNotification(Notification::RefusalKind, CoolingText);
        else spell->Cast(core->barSlot);
        return;
    }
    Mouse* mouse = MouseOf(core);
    if (atCursor && core->options.autocast && mouse) {
        if (spell->IsCoolingDown()) {
            core->AddNotification(Notification::RefusalKind, CoolingText);
        } else if (modes[InputDrop]) {
            core->AddNotification(Notification::RefusalKind,
                                  "You cannot cast a spell while moving an object.");
        } else {
            modes[InputSpellTarget] = 1;
            mouse->SimulateLeftDown();
            mouse->SimulateLeftUp();
        }
        return;
    }
    modes[InputSpellTarget] = modes[InputDrop] = 1;
    core->SetCursor(CrossCursor);
    core->AddNotification(Notification::RefusalKind,
                          spell->TargetsCreature() ? "Select a creature." : "Select a target.");
}

void Spellbar::AssignSlot(Spell* spell) {
    dirty = 1;
    const uint8_t slot = core->barSlot;
    if (slot >= SlotsPerPage) return;
    BarEntry& entry = pages[size_t(page)][slot];
    if (entry.ability == spell) return;
    if (Protocol* connection = core->activeConnection)
        connection->SendSpellbarSlot(uint8_t(uint32_t(page) * SlotsPerPage + slot),
                                     spell ? uint16_t(spell->id) : uint16_t(0));
    entry.ability = spell;
    entry.used = spell ? 1 : 0;
    if (page == pageCount - 1) {
        if (spell && pageCount < int32_t(MaxPages)) ++pageCount;
        return;
    }
    if (spell) return;
    int32_t lastUsed = -1;
    for (int32_t p = 0; p < int32_t(MaxPages); ++p)
        for (const BarEntry& e : pages[size_t(p)])
            if (e.used) lastUsed = p;
    pageCount = std::min(int32_t(MaxPages), lastUsed + 2);
    if (page >= pageCount) page = pageCount - 1;
}

void Spellbar::OpenSpellbook(uint8_t slot) {
    const bool anyUsable = std::any_of(core->spells.begin(), core->spells.end(),
                                       [](const Spell* spell) { return spell->usable; });
    if (!anyUsable) {
        core->ShowMessage("Abilities", "You have learned no abilities.", 0);
        return;
    }
    if (slot >= SlotsPerPage) return;
    spellbookSlot = slot;
    // The book assigns through AssignSlot, which reads the slot from Core.
    core->barSlot = slot;
    core->AddWindow(new Spellbook(core, this, SpellAt(slot)))->OnOpen();
}

// --- Mouse ---------------------------------------------------------------------------------------

uint8_t Spellbar::SlotAt(int32_t px, int32_t py) const {
    if (GridLayout()) {
        const int32_t dx = px - x - contentX - GridHitLeft, dy = py - y - GridHitTop;
        if (dx < 0 || dy < 0 || dx % Cell >= CellSize || dy % Cell >= CellSize ||
            dx >= GridColumns * Cell || dy >= GridRows * Cell)
            return NoSlot;
        return uint8_t(dy / Cell * GridColumns + dx / Cell);
    }
    const int32_t dx = px - x - StripHit, dy = py - y - StripHit;
    if (dx < 0 || dy < 0 || dx % Cell >= CellSize || dy >= CellSize ||
        dx >= int32_t(SlotsPerPage) * Cell)
        return NoSlot;
    return uint8_t(dx / Cell);
}

void Spellbar::OnMouseDown(int32_t mx, int32_t my) {
    if (movable && mx >= x && mx < x + width && my >= y && my < y + TitleDrag) {
        dragging = 1;
        anchorX = mx - x;
        anchorY = my - y;
    }
    if (core->inputModes[InputDrop] || core->options.widescreen || !owner) return;
    if (my > owner->y && my <= owner->y + OwnerStrip) {
        owner->resizing = 1;
        owner->anchorX = mx - (owner->x + owner->width);
        owner->anchorY = my - owner->y;
        core->activeWindow = owner;
        core->SetCursor(SizingCursor);
    }
}

void Spellbar::ShowTooltip(const std::string& title, const std::string& text,
                           std::vector<TextSegment> attributes) {
    const Mouse* mouse = MouseOf(core);
    core->AddWindow(new Look(core, title, text, std::move(attributes), {}, {}, 0,
                             mouse ? mouse->x : 0, mouse ? mouse->y : 0, 0));
}

void Spellbar::OnMouseUp(int32_t mx, int32_t my) {
    if (panel) {
        const bool dragged = dragging;
        dragging = resizing = 0;
        y = homeY;
        if (dragged) return;
    }
    // The mana tooltip answers where the grid draws the mana bar.
    const bool idle = !core->inputModes[InputDrop] && !(owner && owner->resizing);
    if (GridLayout() && idle && mx >= x + BandInset && mx < x + width - BandInset &&
        my >= y + BandTop && my < y + BandBottom) {
        ShowTooltip("", core->maxMana >= 1 ? "Mana:  " + std::to_string(core->mana) + " / " +
                                                 std::to_string(core->maxMana)
                                           : "You are all out of mana.");
        return;
    }
    if (!AnyModifierHeld()) return;
    const uint8_t slot = SlotAt(mx, my);
    if (slot == NoSlot) return;
    const BarEntry& entry = pages[size_t(page)][slot];
    if (!entry.used) return;
    if (const Spell* spell = entry.ability) {
        std::vector<TextSegment> rows;
        for (const TextSegment& row : {TextSegment{Look::ManaCode, spell->manaText},
                                       TextSegment{Look::CooldownCode, spell->cooldownText},
                                       TextSegment{Look::TypeCode, spell->typeText}})
            if (!row.value.empty()) rows.push_back(row);
        ShowTooltip(spell->name, spell->description, std::move(rows));
        return;
    }
    Container* window = core->FindContainerWindow(entry.container);
    const Item* item = window ? window->ItemAt(entry.itemSlot) : nullptr;
    if (item && core->activeConnection)
        core->activeConnection->SendLookSlotItem(entry.container, entry.itemSlot,
                                                 uint16_t(item->shapeId));
}

void Spellbar::OnRightClick(int32_t mx, int32_t my) {
    if (panel && my >= y && my < y + titleHeight) {
        auto* menu = new Action(core, this, name, 0);
        AddPanelMenu(menu);
        menu->Open(mx, my);
        core->AddWindow(menu);
        return;
    }
    const uint8_t slot = SlotAt(mx, my);
    if (slot == NoSlot) return;
    core->barSlot = slot;
    OpenSpellbook(slot);
}

void Spellbar::OnHover(int32_t mx, int32_t my) {
    if (owner) owner->OnHover(mx, my);
}

// --- Painting and drawing ------------------------------------------------------------------------

int32_t Spellbar::CellX(uint32_t slot) const {
    return GridLayout() ? contentX + GridLeft + Cell * int32_t(slot % GridColumns)
                        : StripLeft + Cell * int32_t(slot);
}

int32_t Spellbar::CellY(uint32_t slot) const {
    return GridLayout() ? GridTop + Cell * int32_t(slot / GridColumns) : StripTop;
}

void Spellbar::PaintManaBar() {
    const int32_t barWidth = width - 2 * BarLeft;
    PaintHudBar(render, font, barWidth,
                FilledWidth(uint64_t(std::max(core->mana, 0)), uint64_t(std::max(core->maxMana, 0)),
                            barWidth),
                ManaSkinX, core->mana, core->maxMana);
}

void Spellbar::Paint() {
    PaintCached([this] {
        if (GridLayout()) {
            render->DrawFrame3(0, 0, width, VisibleHeight());
            PaintManaBar();
            render->DrawFrame3Edges(contentX + GridLeft - 6, GridTop - 6, GridColumns * Cell,
                                    GridRows * Cell);
        } else {
            render->DrawFrame3Edges(0, 0, width, height);
        }
        for (uint32_t slot = 0; slot < SlotsPerPage; ++slot)
            render->DrawSkinPart(CellX(slot), CellY(slot), CellSkinX, EmptySkinY, CellSize,
                                 CellSize, SkinAtlas);
    });
}

void Spellbar::DrawKeyLabel(uint32_t slot, int32_t cellX, int32_t cellY) {
    if (!core->options.push) {
        DrawSkinKeyLabel(render, cellX + 16, cellY + 26, slot);
        return;
    }
    if (!font) return;
    ::DrawKeyLabel(render, font, cellX + 33, cellY + 3,
                   keyNames[slot].Name(core->keys[KeyF1 + slot]));
}

void Spellbar::Draw() {
    if (core->testWalker.testing) return;
    if (panel && (core->options.bar || dragging)) DrawDragLine();
    if (!core->options.bar) return;
    DrawSurface();
    if (!core->options.widescreen && !core->screenshotBusy)
        for (int32_t k = 1; k < int32_t(SlotsPerPage); ++k)
            render->DrawSkinPart(x + Cell * k, y - 28, 178, 1, 8, 7, SkinAtlas);
    for (uint32_t slot = 0; slot < SlotsPerPage; ++slot) {
        const BarEntry& entry = pages[size_t(page)][slot];
        const int32_t cellX = x + CellX(slot), cellY = y + CellY(slot);
        if (entry.ability) {
            entry.ability->DrawSlot(cellX + 2, cellY + 2);
        } else if (entry.used) {
            Container* window = core->FindContainerWindow(entry.container);
            if (Item* item = window ? window->ItemAt(entry.itemSlot) : nullptr) {
                render->DrawSkinPart(cellX, cellY, CellSkinX, FilledSkinY, CellSize, CellSize,
                                     SkinAtlas);
                item->Draw(cellX + 2, cellY + 2);
                item->DrawCountText(cellX + 2, cellY + 2, font);
            }
        }
        if (core->options.keys) DrawKeyLabel(slot, cellX, cellY);
    }
    // The pending cast is marked on the page it was cast from.
    const uint32_t pending = core->barSlot;
    if (core->inputModes[InputSpellTarget] && !core->inputModes[InputUseWith] &&
        pending / SlotsPerPage == uint32_t(page))
        render->DrawSkinPart(x + CellX(pending % SlotsPerPage), y + CellY(pending % SlotsPerPage),
                             CellSkinX, TargetSkinY, CellSize, CellSize, SkinAtlas);
    DrawButtons();
}
