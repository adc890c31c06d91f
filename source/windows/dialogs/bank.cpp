#include "windows/dialogs/bank.h"

#include "core.h"
#include "font.h"
#include "item.h"
#include "itemplace.h"
#include "mouse.h"
#include "platform.h"
#include "protocol.h"
#include "render.h"
#include "screen.h"
#include "shape.h"
#include "windows/game/action.h"
#include "windows/game/actioncodes.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint16_t BankContainer = 250;
constexpr uint32_t MailboxButton = 113;
constexpr int32_t Columns = 8, Rows = 5, GridLeft = 39, GridTop = 78;
constexpr uint32_t TitleColour = 0xCEFFFFFF, MailboxTint = 0xC080F580;
// The cursor of a held item waiting for its target; setting it captures the mouse.
constexpr uint32_t UseWithCursor = 1;
constexpr uint8_t HoverAlpha = 90;

}  // namespace

Bank::Bank(Core* core, std::string title) : Window(core) {
    name = std::move(title);
    Build();
}

Bank::~Bank() {
    for (Item* item : slots) delete item;
}

void Bank::Build() {
    ResetLayout();
    width = 396;
    height = 339;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    movable = 1;
    mailbox = 0;
    CreateSurface();
    typeId = WindowType::Bank;
    font = core->GetFont(2);
    countFont = core->GetFont(1);
    AddPushButton(width - 66, height - 28, ButtonId::Ok, "close");
    AddCloseButton();
    AddPushButton(12, height - 28, MailboxButton, "mailbox");
    slotRects.clear();
    for (int32_t c = 0; c < Columns; ++c)
        for (int32_t r = 0; r < Rows; ++r)
            slotRects.push_back({GridLeft + c * ItemGrid::Cell, GridTop + r * ItemGrid::Cell, 36,
                                 36, uint8_t(slotRects.size())});
    for (Item* item : slots) delete item;
    slots.assign(SlotCount, nullptr);
}

void Bank::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

Item* Bank::GetItem(uint8_t slot) const { return slot < slots.size() ? slots[slot] : nullptr; }

// Ending the connection may delete this window: nothing of it is touched afterwards.
bool Bank::CheckSlot(uint8_t slot, const char* operation, Item* unstored) {
    if (slot < SlotCount) return true;
    delete unstored;
    Core* app = core;
    app->OnDisconnect(std::string("Bank: the slot does not exist. (") + operation + ")");
    return false;
}

void Bank::InsertItem(Item* item, uint8_t slot) {
    if (!CheckSlot(slot, "insert", item)) return;
    delete slots[slot];
    slots[slot] = item;
    if (slot == MailboxSlot) mailbox = 1;
    dirty = 1;
}

void Bank::RemoveItem(uint8_t slot) {
    if (!CheckSlot(slot, "remove", nullptr) || !slots[slot]) return;
    delete slots[slot];
    slots[slot] = nullptr;
    if (slot == MailboxSlot) mailbox = 0;
    dirty = 1;
}

void Bank::ReplaceItem(Item* item, uint8_t slot) {
    if (!CheckSlot(slot, "remove", item)) return;
    RemoveItem(slot);
    InsertItem(item, slot);
}

uint8_t Bank::SlotAt(int32_t px, int32_t py) const {
    return ItemGrid::SlotAt(slotRects, px - x, py - y);
}

void Bank::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Bank::PaintContent() {
    PaintBoxBackground();
    ItemGrid::PaintFrame(render, GridLeft - 6, GridTop - 6, Columns, Rows);
    if (font)
        font->DrawText(36, 52,
                       "Your bank account contains " + FormatNumber(core->bankBalance) +
                           " cc (copper coins).",
                       TitleColour);
    for (const ItemGrid::SlotRect& rect : slotRects) {
        Item* item = slots[rect.index];
        ItemGrid::PaintSlot(render, rect.x, rect.y, item != nullptr);
        if (item && !item->animated) item->DrawIcon(rect.x + 2, rect.y + 2, countFont);
    }
}

void Bank::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    for (const ItemGrid::SlotRect& rect : slotRects)
        if (Item* item = slots[rect.index]; item && item->animated)
            item->DrawIcon(x + rect.x + 2, y + rect.y + 2, countFont);
    if (const Mouse* mouse = core->screen ? core->screen->mouse : nullptr) {
        const uint8_t slot = SlotAt(mouse->x, mouse->y);
        if (slot < StorageSlots) {
            const ItemGrid::SlotRect& rect = slotRects[slot];
            if (core->inputModes[InputDrop]) {
                ItemGrid::PaintDropMark(render, x + rect.x, y + rect.y);
            } else if (Item* item = slots[slot]) {
                item->DrawTinted(x + rect.x + 2, y + rect.y + 2, HoverAlpha);
                item->DrawCountText(x + rect.x + 2, y + rect.y + 2, countFont);
            }
        }
    }
    for (Button* button : buttons) {
        if (button->id != MailboxButton) button->Draw(x, y, width, VisibleHeight());
        else if (mailbox) button->DrawPressed(x, y, width, VisibleHeight(), MailboxTint);
    }
    if (mailbox && font)
        font->DrawText(x + 75, y + height - 24, "there are items in your mailbox.", TitleColour);
}

void Bank::Hold(uint8_t slot, Item* item) {
    core->useItemX = ItemPlace::BankSlot;
    core->useItemY = BankContainer;
    core->useItemZ = slot;
    core->dragTo = item;
}

void Bank::OnMouseDown(int32_t mx, int32_t my) {
    const uint8_t slot = SlotAt(mx, my);
    Item* item = GetItem(slot);
    if (core->inputModes[InputUseWith]) {
        core->inputModes[InputUseWith] = core->inputModes[InputDrop] = 0;
        core->SetCursor(0);
        ReleaseCapture();
        if (dragging || resizing || !item || slot >= StorageSlots) return;
        core->dropX = ItemPlace::BankSlot;
        core->dropY = BankContainer;
        core->dropZ = slot;
        core->UseThing(uint16_t(item->shapeId));
        return;
    }
    Window::OnMouseDown(mx, my);
    if (dragging || resizing || !item || slot >= StorageSlots) return;
    Hold(slot, item);
    core->inputModes[InputDragArmed] = 1;
}

void Bank::OnMouseUp(int32_t mx, int32_t my) {
    Window::OnMouseUp(mx, my);
    const bool dropping = core->inputModes[InputDrop];
    if (!dropping && !core->inputModes[InputDragArmed]) return;
    const uint8_t slot = SlotAt(mx, my);
    if (slot >= StorageSlots) return;
    if (dropping) {
        core->dropX = ItemPlace::BankSlot;
        core->dropY = BankContainer;
        core->dropZ = slot;
        core->DropThing();
    } else if (Item* item = GetItem(slot); item && core->activeConnection) {
        core->activeConnection->SendLookSlotItem(uint8_t(BankContainer), slot,
                                                 uint16_t(item->shapeId));
    }
}

void Bank::OnRightClick(int32_t mx, int32_t my) {
    const uint8_t slot = SlotAt(mx, my);
    Item* item = slot < StorageSlots ? GetItem(slot) : nullptr;
    if (!item) return;
    const Shape* shape = item->shape;
    const bool useWith = shape && shape->useWith, container = shape && shape->container;
    if (!KeyHeld(VK_MENU) && !KeyHeld(VK_CONTROL) && !KeyHeld(VK_SHIFT)) {
        if (useWith) {
            Hold(slot, item);
            core->inputModes[InputUseWith] = core->inputModes[InputDrop] = 1;
            core->SetCursor(UseWithCursor);
        } else if (core->activeConnection) {
            core->activeConnection->SendUseSlotItem(uint8_t(BankContainer), slot,
                                                    uint16_t(item->shapeId));
        }
        return;
    }
    Hold(slot, item);
    auto* menu = new Action(core, this, "", 0);
    if (useWith) menu->AddEntryWithHint(ActionCode::UseWith, "Use with..", "RMB");
    else if (container) menu->AddEntryWithHint(ActionCode::OpenItem, "Open..", "RMB");
    else menu->AddEntryWithHint(ActionCode::UseItem, "Use", "RMB");
    menu->AddEntry(ActionCode::ExamineItem, "Examine");
    menu->Open(mx, my);
    core->AddWindow(menu);
}

void Bank::OnCommand(Button* button) {
    if (button->id == ButtonId::Close || button->id == ButtonId::Ok) {
        OnSubmit();
    } else if (button->id == MailboxButton && mailbox) {
        Item* item = slots[MailboxSlot];
        if (item && core->activeConnection)
            core->activeConnection->SendUseSlotItem(uint8_t(BankContainer), MailboxSlot,
                                                    uint16_t(item->shapeId));
    }
}

void Bank::OnSubmit() {
    if (core->activeConnection) core->activeConnection->SendBankClose();
    core->RemoveWindow(this);
    if (Window* split = core->FindWindow(WindowType::Split)) split->Close();
}
