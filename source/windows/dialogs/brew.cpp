#include "windows/dialogs/brew.h"

#include "core.h"
#include "font.h"
#include "item.h"
#include "itemplace.h"
#include "mouse.h"
#include "protocol.h"
#include "render.h"
#include "screen.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t CancelButton = 56;
constexpr int32_t MainX = 197, MainY = 86, ComponentX = 46, ComponentY = 88, ComponentStep = 38;
constexpr int32_t PictureWidth = 180;
constexpr uint32_t LabelColour = 0xE0E0E0E0;

void DrawSkin(Render* render, int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t w, int32_t h) {
    render->DrawSkinPart(x, y, sx, sy, w, h, SkinAtlasId);
}

}  // namespace

const BrewKind Brew::Brewing = {"Brewing",
                                "brew",
                                "Bottle",
                                0,
                                199,
                                WindowType::Brew,
                                251,
                                ItemPlace::BrewSlot,
                                &Protocol::SendBrew,
                                &Protocol::SendBrewClose};
const BrewKind Craft::Crafting = {"Crafting",
                                  "craft",
                                  "Tool",
                                  199,
                                  173,
                                  WindowType::Craft,
                                  252,
                                  ItemPlace::CraftSlot,
                                  &Protocol::SendCraft,
                                  &Protocol::SendCraftClose};

Brew::Brew(Core* core) : Brew(core, Brewing) {}

Brew::Brew(Core* core, const BrewKind& kind) : Window(core), kind(kind) { Build(); }

Craft::Craft(Core* core) : Brew(core, Crafting) {}

Brew::~Brew() {
    for (Item* item : slots) delete item;
}

void Brew::Build() {
    ResetLayout();
    width = 357;
    height = 272;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    movable = 1;
    CreateSurface();
    name = kind.title;
    typeId = kind.typeId;
    font = core->GetFont(2);
    countFont = core->GetFont(1);
    AddPushButton(12, height - 28, CancelButton, "cancel");
    AddPushButton(width - 66, height - 28, ButtonId::Ok, kind.actionCaption);
    AddCloseButton();
    slotRects = {{MainX, MainY, 36, 36, 0}};
    for (int32_t sx = ComponentX; sx < 160; sx += ComponentStep)
        for (int32_t sy = ComponentY; sy < 202; sy += ComponentStep)
            slotRects.push_back({sx, sy, 36, 36, uint8_t(slotRects.size())});
    for (Item* item : slots) delete item;
    slots.assign(SlotCount, nullptr);
}

void Brew::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

Item* Brew::GetItem(uint8_t slot) const { return slot < slots.size() ? slots[slot] : nullptr; }

void Brew::SetItem(Item* item, uint8_t slot) {
    if (slot >= SlotCount) {
        delete item;
        return;
    }
    delete slots[slot];
    slots[slot] = item;
    dirty = 1;
}

void Brew::RemoveItem(uint8_t slot) {
    if (slot >= SlotCount || !slots[slot]) return;
    delete slots[slot];
    slots[slot] = nullptr;
    dirty = 1;
}

void Brew::ReplaceItem(Item* item, uint8_t slot) {
    RemoveItem(slot);
    SetItem(item, slot);
}

uint8_t Brew::SlotAt(int32_t px, int32_t py) const {
    return ItemGrid::SlotAt(slotRects, px - x, py - y);
}

void Brew::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Brew::PaintContent() {
    PaintBoxBackground();
    DrawSkin(render, width - 193, height - 39 - kind.pictureHeight, 640, kind.pictureSy,
             PictureWidth, kind.pictureHeight);
    if (font) {
        font->DrawTextCentered(215, 58, kind.mainLabel, LabelColour);
        font->DrawTextCentered(102, 58, "Components", LabelColour);
    }
    ItemGrid::PaintFrame(render, 38, 80, 3, 3);
    DrawSkin(render, 44, 86, 299, 240, 116, 116);
    ItemGrid::PaintFrame(render, MainX - 6, MainY - 6, 1, 1);
    ItemGrid::PaintSlot(render, MainX, MainY, true);
    for (const ItemGrid::SlotRect& rect : slotRects) {
        Item* item = slots[rect.index];
        if (item && !item->animated) item->DrawIcon(rect.x + 2, rect.y + 2, countFont);
        else if (!item && rect.index == 0) DrawSkin(render, rect.x, rect.y, 295, 144, 36, 36);
    }
}

void Brew::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    for (const ItemGrid::SlotRect& rect : slotRects)
        if (Item* item = slots[rect.index]; item && item->animated)
            item->DrawIcon(x + rect.x + 2, y + rect.y + 2, countFont);
    const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
    if (mouse && core->inputModes[InputDrop]) {
        const uint8_t slot = SlotAt(mouse->x, mouse->y);
        if (slot < SlotCount)
            ItemGrid::PaintDropMark(render, x + slotRects[slot].x, y + slotRects[slot].y);
    }
    DrawButtons();
}

void Brew::OnMouseDown(int32_t mx, int32_t my) {
    Window::OnMouseDown(mx, my);
    if (dragging || resizing) return;
    const uint8_t slot = SlotAt(mx, my);
    Item* item = GetItem(slot);
    if (!item) return;
    core->useItemX = kind.itemX;
    core->useItemY = kind.container;
    core->useItemZ = slot;
    core->dragTo = item;
    core->inputModes[InputDragArmed] = 1;
}

void Brew::OnMouseUp(int32_t mx, int32_t my) {
    Window::OnMouseUp(mx, my);
    const uint8_t slot = SlotAt(mx, my);
    if (slot >= SlotCount) return;
    if (core->inputModes[InputDrop]) {
        core->dropX = kind.itemX;
        core->dropY = kind.container;
        core->dropZ = slot;
        core->DropThing();
    } else if (Item* item = GetItem(slot);
               item && core->inputModes[InputDragArmed] && core->activeConnection) {
        core->activeConnection->SendLookSlotItem(uint8_t(kind.container), slot,
                                                 uint16_t(item->shapeId));
    }
}

void Brew::OnCommand(Button* button) {
    if (button->id == ButtonId::Close || button->id == CancelButton) OnSubmit();
    else if (button->id == ButtonId::Ok && core->activeConnection)
        (core->activeConnection->*kind.sendAction)();
}

void Brew::OnSubmit() {
    if (core->activeConnection) (core->activeConnection->*kind.sendClose)();
    core->RemoveWindow(this);
}
