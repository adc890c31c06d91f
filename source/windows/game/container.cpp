#include "windows/game/container.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "item.h"
#include "itemplace.h"
#include "mouse.h"
#include "notification.h"
#include "platform.h"
#include "protocol.h"
#include "render.h"
#include "screen.h"
#include "shape.h"
#include "windows/game/action.h"
#include "windows/game/equipment.h"
#include "windows/game/slotitem.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using ItemPlace::ContainerSlot;
using ItemPlace::EquipmentSlot;

constexpr int32_t Columns = 3, Cell = 40, CellImage = 36;
// A row of cells, and what the frame adds around the rows of a panel window.
constexpr int32_t PanelFrame = 34, ShrunkFrame = 31, LootFrame = 22, LootWidth = 156;
constexpr int32_t ScrollInset = 28, ScrollPadding = 6;
constexpr uint32_t ParentButton = 27;
constexpr int32_t ParentSkinY = 160, ExpandSkinY = 112, CollapseSkinY = 96;
constexpr int32_t TitleRoom = 51, ParentRoom = 18, CutSlack = 6;
constexpr int32_t ResizeBand = 6;
constexpr uint32_t SizingCursor = 2;
// The picked item goes to this equipment slot: the bag the loot is moved into.
constexpr uint8_t BagSlot = 2;
constexpr uint8_t MoveToSlotMode = 1;
constexpr uint32_t MaxStackBelowFull = 999;
// Skin pictures of the cells (skin image 1).
constexpr uint16_t SkinAtlas = 1;
constexpr int32_t CellSkinX = 256, FilledSkinY = 56, EmptySkinY = 96, DisabledSkinY = 16,
                  TargetSkinY = 136;
constexpr uint32_t TitleColour = 0xFFFFFFFF;
constexpr uint8_t HoverAlpha = 90;
constexpr uint32_t WideFill = 0xA0000000, LootShade = 0xA0000000, LootGlow = 0x50FFFFFF;
// The loot window's life: fade in, stay, fade out, end; hovering holds it at HoldMs.
constexpr uint64_t FadeMs = 256, HoldMs = 9000, FadeOutMs = 9744, LifeMs = 10000;
constexpr int32_t ShakeAmplitude = 5;
constexpr double Pi = 3.14159265358979323846;
constexpr int32_t LootCellOrigin = 13;

const char* const FullText = "This container is full.";
const char* const NoBagText = "No container to move the loot to.";
const char* const NoRoomText = "Not enough space to maximise this container.";
const char* const UseWithText = "You need to select an item to use it with.";
const char* const NoPickText = "Unable to pick an container item.";

int32_t Rows(uint32_t slots) { return int32_t((slots + Columns - 1) / Columns); }

uint16_t ItemId(const Item* item) { return uint16_t(item->shapeId); }

}  // namespace

Container::Container(Core* core, Panel* panel, uint8_t index, uint8_t slotCount)
    : Panellist(core, panel),
      containerIndex(index),
      slotCount(slotCount),
      openedSlotCount(slotCount),
      restored(1) {
    this->panel = panel;
    Build();
}

Container::Container(Core* core, Panel* panel, uint8_t index, uint32_t iconShapeId,
                     uint8_t hasParent, uint8_t slotCount, std::string title,
                     std::vector<Item*> items)
    : Panellist(core, panel),
      containerIndex(index),
      slotCount(slotCount),
      openedSlotCount(slotCount),
      hasParent(hasParent),
      iconShapeId(iconShapeId),
      items(std::move(items)) {
    this->panel = panel;
    name = std::move(title);
    Build();
}

Container::~Container() {
    // A menu of this window outlives it: it no longer acts on it.
    for (Window* window : core->windows)
        if (window->owner == this && window->typeId == WindowType::Action) {
            window->owner = nullptr;
            window->state = 3;
        }
    if (core->inputModes[InputDrop] && core->useItemX == ContainerSlot &&
        core->useItemY == containerIndex)
        core->dragTo = nullptr;
    ClearItems();
    delete std::exchange(icon, nullptr);
}

int32_t Container::HeightForSlots(uint32_t slots) { return Rows(slots) * Cell + PanelFrame; }

void Container::Build() {
    const int32_t h = HeightForSlots(slotCount);
    Panel* column = panel;
    ResetLayout();
    ClearButtons();
    core->RemoveWindow(std::exchange(scroll, nullptr));
    panel = column;
    if (panel) {
        MoveToColumnTop();
    } else {
        const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
        x = mouse ? mouse->x : 0;
        y = mouse ? mouse->y : 0;
        width = LootWidth;
    }
    height = h;
    homeY = y;
    movable = resizable = panel ? 1 : 0;
    floating = panel ? 0 : 1;
    pinned = pinnedBottom = 0;
    contentX = 0;
    delete std::exchange(icon, nullptr);

    if (name.empty()) name = "Container";
    contentHeight = h;
    scrollTotal = h - ScrollInset;
    typeId = WindowType::Container;
    windowId = containerIndex;
    titleHeight = TitleBand;
    minHeight = MinimumHeight;
    openedAt = core->frameTimeMs;

    const int32_t itemCount = int32_t(items.size());
    if (itemCount <= int32_t(slotCount) - Columns)
        height = std::min(height, std::max(MinimumHeight, Rows(itemCount) * Cell + ShrunkFrame));
    if (core->options.limit)
        height = std::min(height, std::max(MinimumHeight, core->slotLimit * Cell + ShrunkFrame));

    CreateSurface();
    BuildIcon();
    font = core->GetFont(1);
    if (floating) return;
    scrollTotal = contentHeight - ScrollInset;
    AddScrollBar();
    AddCloseButton();
    AddCollapseButton();
    ApplyTitle();
}

void Container::BuildIcon() {
    if (iconShapeId != 0 && core->GetShape(iconShapeId))
        icon = new Item(core, iconShapeId, 0, 0, 0, 0, 1, ItemIdle);
}

void Container::ApplyTitle() {
    if (name.empty()) name = "Container";
    RemoveButton(ParentButton);
    if (hasParent)
        AddButton(width - 57, 3, ParentButton, 0, ParentSkinY, 18, ParentSkinY, 36, ParentSkinY, 18,
                  16, {1, 1, 16, 14}, "", 0, 0);
    bool wordStart = true;
    for (char& c : name) {
        if (wordStart) c = char(std::toupper(uint8_t(c)));
        wordStart = c == ' ';
    }
    if (!font) return;
    const int32_t room = width - TitleRoom - (hasParent ? ParentRoom : 0);
    if (font->LastFitIndex(name, room) < int32_t(name.size()) - 1)
        name = name.substr(0, size_t(std::max(0, font->LastFitIndex(name, room - CutSlack) + 1))) +
               "..";
}

std::string Container::Serialize() {
    return Panellist::Serialize() + "," + std::to_string(slotCount);
}

void Container::OnColumnClose() {
    if (core->activeConnection) core->activeConnection->SendContainerClose(containerIndex);
}

// --- Items ---------------------------------------------------------------------------------------

void Container::ClearItems() {
    for (Item* item : std::exchange(items, {})) delete item;
}

void Container::Reopen(uint32_t newIconShapeId, uint8_t newHasParent, uint8_t newSlotCount,
                       const std::string& newTitle) {
    ClearItems();
    delete std::exchange(icon, nullptr);
    restored = 0;
    slotCount = openedSlotCount = newSlotCount;
    name = newTitle;
    iconShapeId = newIconShapeId;
    hasParent = newHasParent;
    contentHeight = HeightForSlots(slotCount);
    if (contentHeight < height) ApplyContentHeight(contentHeight);
    scrollTotal = contentHeight - ScrollInset;
    if (scroll) scroll->SetTotal(scrollTotal);
    BuildIcon();
    if (!floating) ApplyTitle();
    Refresh();
}

void Container::AddItem(Item* item) { InsertItem(item, 0); }

void Container::InsertItem(Item* item, uint8_t index) {
    if (!item) return;
    if (index > items.size()) {
        delete item;
        return;
    }
    items.insert(items.begin() + index, item);
    dirty = 1;
    if (floating) {
        FitToItems();
        return;
    }
    if (items.size() > slotCount) {
        slotCount = uint8_t(std::min<size_t>(items.size(), 255));
        FollowItemCount();
    }
}

void Container::FollowItemCount() {
    const int32_t needed = HeightForSlots(slotCount);
    if (needed == contentHeight) return;
    contentHeight = needed;
    if (!ApplyContentHeight(contentHeight)) return;
    scrollTotal = Rows(slotCount) * Cell + ScrollPadding;
    if (scroll) scroll->SetTotal(scrollTotal);
}

void Container::DeleteItem(uint8_t index, bool keepSize) {
    if (index >= items.size()) return;
    delete RemoveItemAt(index);
    if (floating) {
        if (!keepSize) FitToItems();
        return;
    }
    if (items.size() >= openedSlotCount) {
        slotCount = uint8_t(items.size());
        FollowItemCount();
    }
}

void Container::ReplaceItem(Item* item, uint8_t index) {
    if (!item) return;
    if (index >= items.size()) {
        InsertItem(item, index);
        return;
    }
    delete std::exchange(items[index], item);
    dirty = 1;
}

Item* Container::RemoveItemAt(uint8_t index) {
    if (index >= items.size()) return nullptr;
    Item* item = items[index];
    items.erase(items.begin() + index);
    dirty = 1;
    return item;
}

Item* Container::ItemAt(uint8_t index) const {
    return index < items.size() ? items[index] : nullptr;
}

uint32_t Container::CountSameType(const Item* item) const {
    if (!item) return 0;
    return uint32_t(std::count_if(items.begin(), items.end(), [item](const Item* other) {
        return other->shapeId == item->shapeId;
    }));
}

void Container::FitToItems() {
    const uint32_t n = uint32_t(items.size());
    if (n == 0) {
        if (state == 1) state = 2;
        return;
    }
    slotCount = openedSlotCount = uint8_t(std::min<uint32_t>(n, 255));
    width = int32_t(std::min<uint32_t>(n, Columns)) * Cell + LootFrame;
    height = Rows(n) * Cell + LootFrame;
    contentHeight = height;
    Refresh();
}

void Container::SetGeometry(int32_t px, int32_t py) {
    x = px;
    y = homeY = py;
    openedAt = core->frameTimeMs;
    FitToItems();
}

bool Container::ApplyContentHeight(int32_t newHeight) {
    if (newHeight < MinimumHeight) {
        if (!collapsed && panel) panel->Close(this, false);
        return false;
    }
    if (panel) SetHeightClamped(newHeight);
    return true;
}

void Container::Highlight() {
    if (!floating) return;
    flashActive = 1;
    flashStart = core->frameTimeMs;
}

uint8_t Container::SlotAt(int32_t px, int32_t py) const {
    int32_t dx, dy;
    if (floating) {
        dx = px - x - contentX - 12;
        dy = py - y - 8;
        if (dx < 0 || dx >= width - 25 || dy < 0 || dy >= height - 21) return NoSlot;
    } else {
        dx = px - x - contentX - 11;
        dy = py - y - 21;
        if (dx < 0 || dx >= width - Cell || dy < 0 || dy >= height - ScrollInset) return NoSlot;
    }
    const int32_t row = dy - 6 + ScrollPosition();
    if (row < 0) return NoSlot;
    const int32_t slot = row / Cell * Columns + dx / Cell;
    return slot < NoSlot ? uint8_t(slot) : NoSlot;
}

int32_t Container::ScrollPosition() const { return scroll ? std::max(0, scroll->position) : 0; }

// --- Title-bar buttons ---------------------------------------------------------------------------

void Container::OnCommand(Button* button) {
    Protocol* connection = core->activeConnection;
    switch (button->id) {
        case ButtonId::Close:
            if (panel) {
                // Deletes this window, and sends the close through OnColumnClose.
                panel->Close(this, true);
                return;
            }
            if (connection) connection->SendContainerClose(containerIndex);
            state = 3;
            if (scroll) scroll->state = 3;
            return;
        case ParentButton:
            if (connection) connection->SendContainerUp(containerIndex);
            return;
        case ButtonId::Collapse:
        case ButtonId::Expand: Panellist::OnCommand(button); return;
        default: return;
    }
}

// --- Mouse ---------------------------------------------------------------------------------------

void Container::Pick(uint8_t slot) {
    Item* item = ItemAt(slot);
    if (!item) return;
    HoldSlotItem(core, {ContainerSlot, containerIndex, slot}, item);
    core->inputModes[InputDragArmed] = 1;
}

void Container::OnMouseDown(int32_t mx, int32_t my) {
    uint8_t* modes = core->inputModes;
    if (modes[InputSpellTarget]) return;
    const uint8_t slot = SlotAt(mx, my);
    if (floating) {
        Pick(slot);
        return;
    }
    const bool busy = collapsed || dragging || resizing;
    if (modes[InputUseWith]) {
        modes[InputUseWith] = modes[InputDrop] = 0;
        if (busy) return;
        if (slot >= items.size() && slot != NoSlot && slot < slotCount) return;  // an empty cell
        if (Item* item = ItemAt(slot)) {
            core->dropX = ContainerSlot;
            core->dropY = containerIndex;
            core->dropZ = slot;
            core->UseThing(ItemId(item));
        } else {
            core->AddNotification(Notification::RefusalKind, UseWithText);
        }
        return;
    }
    if (modes[InputTarget]) {
        modes[InputTarget] = modes[InputDrop] = 0;
        Protocol* connection = core->activeConnection;
        Item* item = busy ? nullptr : ItemAt(slot);
        if (item) {
            if (connection) connection->SendUseWithSlot(containerIndex, slot, ItemId(item));
            return;
        }
        core->AddNotification(Notification::RefusalKind, NoPickText);
        if (connection) connection->SendUseCancel();
        return;
    }
    if (movable && mx >= x && mx < x + width && my >= y && my < y + TitleBand) {
        dragging = 1;
        anchorX = mx - x;
        anchorY = my - y;
    }
    if (collapsed) return;
    if (resizable && my >= y + height - ResizeBand && my < y + height) {
        resizing = 1;
        anchorY = my - height;
        core->SetCursor(SizingCursor);
    }
    if (dragging || resizing) return;
    Pick(slot);
}

void Container::OnMouseUp(int32_t mx, int32_t my) {
    dragging = resizing = 0;
    y = homeY;
    if (collapsed) return;
    const uint8_t* modes = core->inputModes;
    const uint8_t slot = SlotAt(mx, my);
    if (!modes[InputDrop] || modes[InputSpellTarget]) {
        if (modes[InputDragArmed] && ItemAt(slot)) ClickItem(slot);
        return;
    }
    if (core->dragTo) DropOn(slot);
}

void Container::ClickItem(uint8_t slot) {
    Item* item = ItemAt(slot);
    if (!floating && KeyHeld(VK_SPACE)) {
        core->dropX = EquipmentSlot;
        core->dropY = 0;
        core->dropZ = BagSlot;
        core->DropThing();
        return;
    }
    if (floating && !AnyModifierHeld()) {
        auto* equipment = dynamic_cast<Equipment*>(core->equipmentWindow);
        if (!equipment || equipment->ItemAt(BagSlot) || (item->shape && item->shape->container)) {
            core->moveCount = item->count;
            core->dropX = EquipmentSlot;
            core->dropY = 0;
            core->dropZ = BagSlot;
            core->MoveThing(item, false, false, MoveToSlotMode);
            return;
        }
        Highlight();
        core->AddNotification(Notification::RefusalKind, NoBagText);
        return;
    }
    if (Protocol* connection = core->activeConnection)
        connection->SendLookSlotItem(containerIndex, slot, ItemId(item));
}

void Container::DropOn(uint8_t slot) {
    if (slot >= slotCount) return;
    const auto* held = static_cast<const Item*>(core->dragTo);
    const bool full = items.size() >= slotCount;
    if (full && (core->useItemY != containerIndex || items.size() != slotCount)) {
        const Item* target = ItemAt(slot);
        if (!target) return;
        const bool stacks = held->shapeId == target->shapeId && target->shape &&
                            target->shape->stackable && target->count <= MaxStackBelowFull;
        if (!stacks && !(target->shape && target->shape->container)) {
            core->AddNotification(Notification::RefusalKind, FullText);
            return;
        }
    }
    core->dropX = ContainerSlot;
    core->dropY = containerIndex;
    core->dropZ = slot;
    core->DropThing();
}

void Container::OnDoubleClick(int32_t mx, int32_t my) {
    if (floating || mx < x || mx >= x + width || my < y || my >= y + TitleBand) return;
    if (Button* button = FindButton(collapsed ? ButtonId::Expand : ButtonId::Collapse))
        OnCommand(button);
}

void Container::OnRightClick(int32_t mx, int32_t my) {
    if (!floating && my >= y && my < y + TitleBand) {
        auto* menu = new Action(core, this, name, containerIndex);
        menu->AddEntry(ActionCode::StackContainer, "Auto-Stack Contents");
        menu->AddEntry(ActionCode::None, "-");
        AddPanelMenu(menu);
        menu->Open(mx, my);
        core->AddWindow(menu);
        return;
    }
    const uint8_t slot = SlotAt(mx, my);
    Item* item = ItemAt(slot);
    if (!item) {
        if (floating && slot >= items.size() && core->fieldWindow)
            core->fieldWindow->OnRightClick(mx, my);
        return;
    }
    RightClickSlotItem(core, this, {ContainerSlot, containerIndex, slot}, item, mx, my,
                       OpenColumn(panel));
}

void Container::OnHover(int32_t, int32_t my) {
    if (floating) return;
    const uint8_t* modes = core->inputModes;
    if (modes[InputDrop] || modes[InputSpellTarget] || modes[InputUseWith] ||
        modes[InputTradeSelect] || modes[InputPartySelect])
        return;
    if (my >= y + height - ResizeBand && my < y + height) core->SetCursor(SizingCursor);
}

void Container::OnResize(int32_t, int32_t my) {
    if (!resizing || floating) return;
    SetHeightClamped(std::min(contentHeight, std::max(MinimumHeight, my - anchorY)));
}

void Container::OnWheel(int32_t, int32_t, int32_t delta) {
    if (!scroll) return;
    if (delta > 0) scroll->StepUp();
    else scroll->StepDown();
}

// --- Painting and drawing ------------------------------------------------------------------------

int32_t Container::CellX(uint32_t slot) const {
    const int32_t left = floating ? LootCellOrigin : contentX + 12;
    return left + int32_t(slot % Columns) * Cell;
}

int32_t Container::CellY(uint32_t slot) const {
    const int32_t top = floating ? LootCellOrigin : 26;
    return top + int32_t(slot / Columns) * Cell;
}

void Container::PaintCells() {
    const uint32_t cells = uint32_t(Rows(slotCount) * Columns);
    for (uint32_t slot = 0; slot < cells; ++slot) {
        const int32_t cx = CellX(slot), cy = CellY(slot);
        if (slot < items.size()) {
            render->DrawSkinPart(cx, cy, CellSkinX, FilledSkinY, CellImage, CellImage, SkinAtlas);
            Item* item = items[slot];
            if (floating || !item->animated) {
                item->Draw(cx, cy);
                item->DrawCountText(cx, cy, font);
            }
        } else if (slot < slotCount) {
            render->DrawSkinPart(cx, cy, CellSkinX, EmptySkinY, CellImage, CellImage, SkinAtlas);
        } else if (!floating || slotCount >= 4) {
            render->DrawSkinPart(cx, cy, CellSkinX, DisabledSkinY, CellImage, CellImage, SkinAtlas);
        }
    }
}

void Container::Paint() {
    PaintCached([this] {
        if (floating) {
            render->DrawGradientBox(0, 0, width, height, LootShade, LootShade);
            render->DrawGradientBox(0, 0, width, height, LootGlow, LootGlow);
            PaintCells();
            return;
        }
        if (!core->options.widescreen || core->options.inventory) {
            render->DrawFrame3(0, 0, width, VisibleHeight());
        } else {
            render->DrawFrame3Edges(0, 0, width, VisibleHeight());
            render->FillRect(3, 3, width - 6, VisibleHeight() - 6, WideFill);
        }
        if (font) font->DrawText(8, 6, name, TitleColour);
        if (collapsed) return;
        GFX_PushClip();
        GFX_SetClip(float(contentX + 6), 20, float(width - 28), float(height - 26));
        GFX_SetOrigin(0, float(-ScrollPosition()));
        PaintCells();
        GFX_SetOrigin(0, float(ScrollPosition()));
        GFX_PopClip();
        if (scroll) DrawScrollTrack();
    });
}

void Container::DrawHoverMark() {
    const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
    if (!mouse || !IsUnderMouse()) return;
    const uint8_t slot = SlotAt(mouse->x, mouse->y);
    if (slot == NoSlot) return;
    const int32_t cx = x + CellX(slot), cy = y + CellY(slot);
    if (floating || core->inputModes[InputDrop]) {
        if (slot < slotCount)
            render->DrawSkinPart(cx, cy, CellSkinX, TargetSkinY, CellImage, CellImage, SkinAtlas);
        return;
    }
    if (Item* item = ItemAt(slot)) item->DrawTinted(cx, cy, HoverAlpha);
}

void Container::Draw() {
    if (core->testWalker.testing || state == 3) return;
    if (floating) {
        DrawLoot();
        return;
    }
    if (!core->options.widescreen || core->options.inventory) DrawDragLine();
    DrawSurface();
    if (!collapsed) {
        GFX_PushClip();
        GFX_SetClip(float(x + contentX + 6), float(y + 20), float(width - 28), float(height - 26));
        GFX_SetOrigin(0, float(-ScrollPosition()));
        for (size_t slot = 0; slot < items.size(); ++slot) {
            Item* item = items[slot];
            if (!item->animated) continue;
            item->Draw(x + CellX(uint32_t(slot)), y + CellY(uint32_t(slot)));
            item->DrawCountText(x + CellX(uint32_t(slot)), y + CellY(uint32_t(slot)), font);
        }
        DrawHoverMark();
        GFX_SetOrigin(0, float(ScrollPosition()));
        GFX_PopClip();
    }
    DrawButtons();
    if (!collapsed && scroll) scroll->OnMouseMove(x, y);
}

void Container::CloseLoot() {
    if (core->activeConnection) core->activeConnection->SendContainerClose(containerIndex);
    state = 3;
}

void Container::DrawLoot() {
    const uint64_t now = core->frameTimeMs;
    const auto age = [&] { return now - std::min(now, openedAt); };
    bool fading = state == 2;
    if (!fading) {
        if (IsUnderMouse() && age() > HoldMs) openedAt = now - HoldMs;
        fading = core->activeWindow && core->activeWindow->typeId == WindowType::Field;
    }
    if (fading && age() < FadeOutMs) openedAt = now - FadeOutMs;
    if (age() >= LifeMs) {
        CloseLoot();
        return;
    }
    int32_t shift = 0;
    if (flashActive) {
        const uint64_t elapsed = now - std::min(now, flashStart);
        if (elapsed > flashDuration) {
            flashActive = 0;
        } else {
            const double step = double(flashDuration) / double(flashSteps);
            shift = int32_t(std::sin(double(elapsed) / step * Pi) * ShakeAmplitude);
        }
    }
    const uint64_t t = age();
    const uint32_t alpha = t < FadeMs      ? uint32_t(t)
                           : t < FadeOutMs ? 255
                                           : uint32_t(std::min<uint64_t>(255, LifeMs - t));
    if (surface)
        GfxDriver::DrawTargetTinted(float(x + shift), float(y), alpha << 24 | 0xFFFFFF, surface);
    if (t >= FadeMs && t < FadeOutMs) {
        for (size_t slot = 0; slot < items.size(); ++slot)
            if (items[slot]->animated)
                items[slot]->Draw(x + shift + CellX(uint32_t(slot)), y + CellY(uint32_t(slot)));
        DrawHoverMark();
    }
}
