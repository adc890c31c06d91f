#include "windows/dialogs/store.h"

#include <string>

#include "core.h"
#include "font.h"
#include "protocol.h"
#include "render.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t FirstPurchase = 99;
// The days each purchase button buys, in button order.
constexpr uint32_t PurchaseDays[] = {30, 90, 180};
constexpr int32_t PurchaseButtonSize = 64;
constexpr uint32_t TextColour = 0xE0E0E0E0, White = 0xFFFFFFFF, BoxFill = 0x40000000;

}  // namespace

Store::Store(Core* core) : Window(core) { Build(); }

void Store::Build() {
    ResetLayout();
    width = 316;
    height = 381;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    movable = 1;
    modal = 1;
    CreateSurface();
    name = "Store";
    typeId = WindowType::Store;
    font = core->GetFont(2);
    smallFont = core->GetFont(1);
    AddPushButton(width - 66, height - 28, ButtonId::Ok, "ok");
    AddCloseButton();
    for (uint32_t i = 0; i < 3; ++i) {
        const int32_t skinX = 448 + int32_t(i) * PurchaseButtonSize;
        Button* purchase =
            AddButton(46 + int32_t(i) * 80, 124, FirstPurchase + i, skinX, 0, skinX, 64, skinX, 128,
                      PurchaseButtonSize, PurchaseButtonSize, {1, 1, 62, 62}, "", 0, 0);
        purchase->SetGeometry(1, skinX, 192, PurchaseButtonSize, PurchaseButtonSize, 1);
    }
}

void Store::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Store::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Store::PaintContent() {
    PaintBoxBackground();
    render->DrawBox(33, 53, 250, 163, 0);
    render->FillRect(33, 53, 250, 163, BoxFill);
    render->DrawBox(33, 235, 250, 84, 0);
    render->FillRect(33, 235, 250, 84, BoxFill);
    if (!font) return;
    const uint32_t days = core->nobleDaysLeft;
    font->DrawTextCentered(158, 66, "Noble Account", White);
    font->DrawText(46, 86, "Status", TextColour);
    font->DrawText(46, 100, "Days remaining", TextColour);
    font->DrawTextRight(270, 86, days != 0 ? "Active" : "Expired", TextColour);
    font->DrawTextRight(270, 100, std::to_string(days) + (days == 1 ? " day" : " days"),
                        TextColour);
    font->DrawTextCentered(78, 192, "+30 days", TextColour);
    font->DrawTextCentered(158, 192, "+90 days", TextColour);
    font->DrawTextCentered(238, 192, "+180 days", TextColour);
    font->DrawTextCentered(158, 248, "Noble Benefits", White);
    font->DrawText(46, 268, "\x95 World fast-travel via boats", TextColour);
    font->DrawText(46, 282, "\x95 Rent a house", TextColour);
    font->DrawText(46, 296, "\x95 Blessing to prevent death loss", TextColour);
}

void Store::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    DrawButtons();
}

void Store::OnSubmit() { core->RemoveWindow(this); }

void Store::OnCommand(Button* button) {
    if (button->id == ButtonId::Close || button->id == ButtonId::Ok) {
        core->RemoveWindow(this);
        return;
    }
    if (button->id < FirstPurchase || button->id >= FirstPurchase + 3) return;
    if (core->activeConnection)
        core->activeConnection->SendStorePurchase(PurchaseDays[button->id - FirstPurchase]);
    core->ShowMessage("Store",
                      "Your order has been requested. Please approve the order via the Steam "
                      "overlay.\nIf the Steam overlay does not appear, change your video driver "
                      "to OpenGL.",
                      0);
    core->RemoveWindow(this);
}
