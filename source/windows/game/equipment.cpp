#include "windows/game/equipment.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core.h"
#include "font.h"
#include "item.h"
#include "itemplace.h"
#include "keynames.h"
#include "mouse.h"
#include "notification.h"
#include "protocol.h"
#include "render.h"
#include "screen.h"
#include "windows/dialogs/look.h"
#include "windows/game/action.h"
#include "windows/game/hudbar.h"
#include "windows/game/slotitem.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using ItemPlace::EquipmentSlot;

constexpr int32_t HudHeight = 239;
constexpr int32_t Columns = 3, Rows = 5, Cell = 40, CellSize = 36, Margin = 2;
constexpr int32_t CellLeft = 12, HudTop = 26, PlainTop = 6;
constexpr int32_t EmptySkinX = 295, EmptySkinStep = 36;
// The last row's empty slots show the plain empty cell instead of a picture of their own.
// Slots 12 to 14 hold what the three action keys use: their cells carry the keys' names, and
// an empty one shows a plain picture.
constexpr uint8_t FirstActionSlot = 12;
constexpr uint16_t SkinAtlas = 1, StatusAtlas = 9;
constexpr int32_t CellSkinX = 256, FilledSkinY = 56, EmptySkinY = 96, TargetSkinY = 136;
constexpr int32_t TitleDrag = 22, OwnerStrip = 6;
constexpr uint32_t SizingCursor = 2;
// The health bar of the HUD layout, filled from this skin column.
constexpr int32_t BarWidth = 138;
constexpr uint16_t HealthSkinX = 222;
// The status strip: one 12 x 12 icon per 14-pixel row.
constexpr int32_t StripWidth = 16, StripHeight = 208, IconSize = 12, IconRow = 14;
constexpr int32_t StatusHitWidth = 14, StatusHitHeight = 164;
constexpr uint32_t StripFill = 0x20000000;
constexpr uint8_t HoverAlpha = 90;
const char* const UseWithText = "You need to select an item to use it with.";
const char* const NoPickText = "Unable to pick an equipment item.";

const Mouse* MouseOf(const Core* core) { return core->screen ? core->screen->mouse : nullptr; }

}  // namespace

Equipment::Equipment(Core* core, Window* owner) : Panellist(core, owner) {
    panel = dynamic_cast<Panel*>(owner);
    Build();
}

Equipment::~Equipment() {
    for (Item* item : items) delete item;
}

bool Equipment::HudLayout() const { return core->options.widescreen && core->options.inventory; }

int32_t Equipment::Top() const { return HudLayout() ? HudTop : PlainTop; }

void Equipment::Build() {
    Panel* column = panel;
    ResetLayout();
    ClearButtons();
    panel = column;
    if (panel) {
        MoveToColumnTop();
        height = HudHeight;
    } else if (owner) {
        x = owner->x + owner->width - Panel::ColumnWidth;
        y = owner->y;
        width = Panel::ColumnWidth;
        height = owner->height;
    } else {
        width = Panel::ColumnWidth;
        height = HudHeight;
    }
    homeY = y;
    CreateSurface();
    name = "Equipment";
    typeId = WindowType::Equipment;
    font = core->GetFont(1);
    movable = panel ? 1 : 0;
    resizable = 0;
    pinned = 0;
    contentX = 0;
    minHeight = height;
    cells.clear();
    for (int32_t row = 0; row < Rows; ++row)
        for (int32_t column = 0; column < Columns; ++column)
            cells.push_back({CellLeft + Cell * column, Top() + Cell * row, CellSize, CellSize,
                             EmptySkinX + EmptySkinStep * column, EmptySkinStep * row,
                             uint8_t(Columns * row + column)});
    if (items.empty()) items.assign(SlotCount, nullptr);
}

void Equipment::Place(int32_t screenWidth, int32_t screenHeight) {
    if (panel) {
        Panellist::Place(screenWidth, screenHeight);
        return;
    }
    if (HudLayout()) {
        x = screenWidth - Panel::ColumnWidth;
        y = screenHeight - HudHeight;
        height = HudHeight;
    } else if (owner) {
        x = owner->x + owner->width - Panel::ColumnWidth;
        y = owner->y;
        height = owner->height;
    }
    Refresh();
}

void Equipment::OnCommand(Button*) {}

// --- Slots ---------------------------------------------------------------------------------------

void Equipment::SetSlot(Item* item, uint8_t slot) {
    if (slot >= SlotCount) {
        delete item;
        return;
    }
    ReplaceSlot(item, slot);
}

Item* Equipment::ClearSlot(uint8_t slot) {
    if (slot >= SlotCount) return nullptr;
    dirty = 1;
    return std::exchange(items[slot], nullptr);
}

void Equipment::ReplaceSlot(Item* item, uint8_t slot) {
    if (slot >= SlotCount) {
        delete item;
        return;
    }
    delete ClearSlot(slot);
    items[slot] = item;
}

Item* Equipment::ItemAt(uint8_t slot) const { return slot < items.size() ? items[slot] : nullptr; }

uint8_t Equipment::SlotAt(int32_t px, int32_t py) const {
    const int32_t dx = px - x - contentX, dy = py - y;
    for (const EquipmentCell& cell : cells)
        if (dx >= cell.x - Margin && dx < cell.x + cell.w + Margin && dy >= cell.y - Margin &&
            dy < cell.y + cell.h + Margin)
            return cell.slot;
    return NoSlot;
}

int32_t Equipment::StatusAt(int32_t px, int32_t py) const {
    const int32_t dx = px - x - contentX, dy = py - y;
    const int32_t u = contentX == 0 ? dx - width + 19 : dx - 8;
    const int32_t v = dy - 8 - (HudLayout() ? 19 : 0);
    if (u < 0 || u >= StatusHitWidth || v < 0 || v >= StatusHitHeight) return -1;
    int32_t row = v / IconRow;
    // Entry 0 has no icon.
    for (size_t i = 1; i < core->statusEffects.size(); ++i)
        if (core->statusEffects[i].active && row-- == 0) return int32_t(i);
    return -1;
}

int32_t Equipment::HealthFill(int32_t hp, int32_t maxHp) {
    return FilledWidth(uint64_t(std::max(hp, 0)), uint64_t(std::max(maxHp, 0)), BarWidth);
}

// --- Mouse ---------------------------------------------------------------------------------------

void Equipment::OnMouseDown(int32_t mx, int32_t my) {
    uint8_t* modes = core->inputModes;
    const uint8_t slot = SlotAt(mx, my);
    Item* item = ItemAt(slot);
    if (modes[InputUseWith]) {
        modes[InputUseWith] = modes[InputDrop] = 0;
        if (item) {
            core->dropX = EquipmentSlot;
            core->dropY = 0;
            core->dropZ = slot;
            core->UseThing(uint16_t(item->shapeId));
        } else if (slot == NoSlot) {
            core->AddNotification(Notification::RefusalKind, UseWithText);
        }
        return;
    }
    if (modes[InputTarget]) {
        modes[InputTarget] = modes[InputDrop] = 0;
        Protocol* connection = core->activeConnection;
        if (item) {
            if (connection) connection->SendUseWithSlot(0, slot, uint16_t(item->shapeId));
            return;
        }
        core->AddNotification(Notification::RefusalKind, NoPickText);
        if (connection) connection->SendUseCancel();
        return;
    }
    if (modes[InputSpellTarget]) return;
    if (movable && mx >= x && mx < x + width && my >= y && my < y + TitleDrag) {
        dragging = 1;
        anchorX = mx - x;
        anchorY = my - y;
        return;
    }
    if (owner && !panel && my > owner->y && my <= owner->y + OwnerStrip) {
        if (core->options.widescreen) return;
        owner->resizing = 1;
        owner->anchorX = mx - (owner->x + owner->width);
        owner->anchorY = my - owner->y;
        core->activeWindow = owner;
        core->SetCursor(SizingCursor);
        return;
    }
    if (!item) return;
    HoldSlotItem(core, {EquipmentSlot, 0, slot}, item);
    modes[InputDragArmed] = 1;
}

void Equipment::ShowTooltip(const std::string& text) {
    const Mouse* mouse = MouseOf(core);
    core->AddWindow(new Look(core, "", text, mouse ? mouse->x : 0, mouse ? mouse->y : 0, 0));
}

void Equipment::OnMouseUp(int32_t mx, int32_t my) {
    if (panel) {
        const bool dragged = dragging;
        dragging = resizing = 0;
        y = homeY;
        if (dragged) return;
    }
    const uint8_t* modes = core->inputModes;
    const uint8_t slot = SlotAt(mx, my);
    if (!modes[InputDrop] || modes[InputSpellTarget]) {
        if (!modes[InputDragArmed]) {
            const int32_t dx = mx - x - contentX, dy = my - y;
            if (HudLayout() && dx > 4 && dx < width - 18 && dy >= 5 && dy < 23) {
                ShowTooltip(core->maxHp > 0 ? "Health:  " + std::to_string(core->hp) + " / " +
                                                  std::to_string(core->maxHp)
                                            : "You seem to be dead.");
                return;
            }
            const int32_t status = StatusAt(mx, my);
            if (status >= 0 && !core->statusEffects[size_t(status)].name.empty())
                ShowTooltip(core->statusEffects[size_t(status)].name);
            return;
        }
        if (Item* item = ItemAt(slot))
            if (Protocol* connection = core->activeConnection)
                connection->SendLookSlotItem(0, slot, uint16_t(item->shapeId));
        return;
    }
    if (slot == NoSlot) return;
    core->dropX = EquipmentSlot;
    core->dropY = 0;
    core->dropZ = slot;
    core->DropThing();
}

void Equipment::OnRightClick(int32_t mx, int32_t my) {
    if (panel && my >= y && my < y + titleHeight) {
        auto* menu = new Action(core, this, name, 0);
        AddPanelMenu(menu);
        menu->Open(mx, my);
        core->AddWindow(menu);
        return;
    }
    if (!core->options.widescreen && owner && my <= owner->y + OwnerStrip) return;
    const uint8_t slot = SlotAt(mx, my);
    if (Item* item = ItemAt(slot)) {
        RightClickSlotItem(core, this, {EquipmentSlot, 0, slot}, item, mx, my, OpenColumn(panel));
        return;
    }
    if (slot != NoSlot || !core->options.hudstatus) return;
    const int32_t status = StatusAt(mx, my);
    if (status < 0) return;
    const StatusEffect& effect = core->statusEffects[size_t(status)];
    if (effect.name.empty()) return;
    auto* menu = new Action(core, this, effect.name, uint32_t(status));
    menu->AddEntry(ActionCode::ToggleConditionOnHud,
                   effect.shown ? "Hide from HUD" : "Show on HUD");
    menu->Open(mx, my);
    core->AddWindow(menu);
}

void Equipment::OnHover(int32_t mx, int32_t my) {
    if (owner) owner->OnHover(mx, my);
}

// --- Painting and drawing ------------------------------------------------------------------------

void Equipment::PaintHealthBar() {
    PaintHudBar(render, font, BarWidth, HealthFill(core->hp, core->maxHp), HealthSkinX, core->hp,
                core->maxHp);
}

void Equipment::PaintStatusStrip() {
    const int32_t stripX = contentX == 0 ? width - 21 : 6, top = Top();
    render->DrawBox(stripX, top, StripWidth, StripHeight, 0);
    render->FillRect(stripX + 1, top + 1, StripWidth - 2, StripHeight - 2, StripFill);
    int32_t row = 0;
    for (const StatusEffect& effect : core->statusEffects) {
        if (!effect.active || effect.index == 0) continue;  // entry 0 has no icon
        render->DrawSkinPart(stripX + 2, top + 3 + IconRow * row++,
                             IconSize * int32_t(effect.index - 1), 0, IconSize, IconSize,
                             StatusAtlas);
    }
}

void Equipment::Paint() {
    PaintCached([this] {
        if (HudLayout()) {
            render->DrawFrame3(0, 0, width, VisibleHeight());
            PaintHealthBar();
        }
        render->DrawFrame3Edges(contentX + 6, Top(), Columns * Cell, Rows * Cell);
        for (const EquipmentCell& cell : cells) {
            const int32_t cx = cell.x + contentX;
            render->DrawSkinPart(cx, cell.y, CellSkinX, FilledSkinY, CellSize, CellSize, SkinAtlas);
            Item* item = items[cell.slot];
            if (!item) {
                if (cell.slot < FirstActionSlot)
                    render->DrawSkinPart(cx, cell.y, cell.iconX, cell.iconY, CellSize, CellSize,
                                         SkinAtlas);
                else
                    render->DrawSkinPart(cx, cell.y, CellSkinX, EmptySkinY, CellSize, CellSize,
                                         SkinAtlas);
            } else if (!item->animated) {
                item->Draw(cx + 2, cell.y + 2);
                item->DrawCountText(cx + 2, cell.y + 2, font);
            }
        }
        PaintStatusStrip();
    });
}

void Equipment::Draw() {
    if (core->testWalker.testing) return;
    if (HudLayout()) DrawDragLine();
    if (core->options.widescreen && !core->options.inventory) return;
    DrawSurface();
    DrawButtons();
    for (const EquipmentCell& cell : cells) {
        Item* item = items[cell.slot];
        if (!item || !item->animated) continue;
        item->Draw(x + cell.x + contentX + 2, y + cell.y + 2);
        item->DrawCountText(x + cell.x + contentX + 2, y + cell.y + 2, font);
    }
    if (font)
        for (const EquipmentCell& cell : cells) {
            if (cell.slot < FirstActionSlot) continue;
            const uint32_t action = cell.slot - FirstActionSlot;
            DrawKeyLabel(render, font, x + cell.x + contentX + CellSize, y + cell.y + 1,
                         actionKeyNames[action].Name(core->keys[KeyAction1 + action]));
        }
    const Mouse* mouse = MouseOf(core);
    if (!mouse || !IsUnderMouse()) return;
    const uint8_t slot = SlotAt(mouse->x, mouse->y);
    if (slot == NoSlot) return;
    const EquipmentCell& cell = cells[slot];
    const int32_t cx = x + cell.x + contentX, cy = y + cell.y;
    if (core->inputModes[InputDrop]) {
        render->DrawSkinPart(cx, cy, CellSkinX, TargetSkinY, CellSize, CellSize, SkinAtlas);
    } else if (Item* item = items[slot]) {
        item->DrawTinted(cx + 2, cy + 2, HoverAlpha);
    }
}
