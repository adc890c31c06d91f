#include "windows/dialogs/split.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core.h"
#include "font.h"
#include "item.h"
#include "render.h"
#include "windows/dialogs/shop.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t Width = 218, Height = 197, MultiplierHeight = 257, OkMultiplierY = 229;
constexpr uint16_t ShopChoiceY = 249;
constexpr uint32_t BulkButton = 134;
constexpr uint32_t MaxStockShown = 1000, MaxMultiplier = 30;
constexpr int32_t CellSkinX = 256, CellSkinY = 56, CellSize = 36;
constexpr uint16_t SkinAtlas = 1;
constexpr uint32_t LabelColour = 0xE0E0E0E0;

uint32_t ReadNumber(const Input* input) {
    return input ? uint32_t(std::strtoul(input->text.c_str(), nullptr, 10)) : 0;
}

}  // namespace

Split::Split(Core* core, Item* source, uint8_t moveKind, bool bulk)
    : Window(core),
      source(source),
      moveKind(moveKind),
      bulk(bulk && core->useItemY != ShopChoiceY),
      heldX(core->useItemX),
      heldY(core->useItemY),
      heldZ(core->useItemZ),
      sourceCount(source->count) {
    if (this->bulk) {
        // A bundle of 0 counts as 1.
        bundle = std::max<uint32_t>(source->count, 1);
        maximum = std::min<uint32_t>(source->amount, MaxStockShown) / bundle;
    } else {
        maximum = source->count;
    }
    Build();
}

Split::~Split() {
    delete stayItem;
    delete moveItem;
}

void Split::Build() {
    width = Width;
    height = Height;
    PlaceCentred(int32_t(core->clientWidth), int32_t(core->clientHeight));
    const int32_t keepX = x, keepY = y;
    ResetLayout();
    x = keepX;
    y = keepY;
    width = Width;
    height = Height;
    modal = 1;
    CreateSurface();
    name = bulk || heldY == ShopChoiceY ? "Select items" : "Split stack";
    typeId = WindowType::Split;
    delete stayItem;
    delete moveItem;
    stayItem =
        new Item(core, source->shapeId, source->subId, 0, 0, 0, bulk ? source->count : 0, ItemIdle);
    moveItem = new Item(core, source->shapeId, source->subId, 0, 0, 0,
                        bulk ? source->count : maximum, ItemIdle);
    if (bulk) {
        stayItem->amount = uint16_t(maximum > 0 ? (maximum - 1) * bundle : 0);
        moveItem->amount = uint16_t(bundle);
    }
    font = core->GetFont(1);
    secondFont = core->GetFont(2);
    const uint32_t limit = bulk ? std::max<uint32_t>(maximum, source->amount) : maximum;
    const int32_t inputWidth = limit < 100 ? 26 : limit < 1000 ? 30 : 32;
    const uint32_t digits = limit < 100 ? 2 : limit < 1000 ? 3 : 4;
    slider = new Scroll(core, this, 33, 120, Width - 66, 1, int32_t(maximum) + 1, 1, 0);
    std::string shown = std::to_string(moveItem->count);
    if (bulk)
        shown = std::to_string(bundle <= 9 && source->amount < 500
                                   ? uint32_t(moveItem->amount)
                                   : std::min<uint32_t>(source->amount, MaxStockShown));
    amountInput = new Input(core, this, digits, {Width / 2 - inputWidth / 2, 67, inputWidth, 18},
                            shown, 0, 1);
    multiplierShown = 0;
    multiplier = 1;
    if (bulk) AddPushButton(12, Height - 28, BulkButton, "bulk");
    AddPushButton(Width - 66, Height - 28, ButtonId::Ok, "ok");
    AddCloseButton();
}

void Split::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Split::OnOpen() {
    if (bulk) slider->SetPosition(1);
    else slider->ScrollToEnd();
    core->AddWindow(slider);
    core->AddWindow(amountInput);
    core->focusedInput = amountInput;
    amountInput->selectionStart = 0;
    amountInput->selectionEnd = int32_t(amountInput->text.size());
}

uint32_t Split::MoveValue() const { return bulk ? moveItem->amount : moveItem->count; }

void Split::Paint() {
    uint32_t typed = ReadNumber(amountInput);
    if (bundle > 1) {
        if (typed > MaxStockShown) typed %= MaxStockShown;
        if (typed != 0 && typed < bundle) typed *= 10;
    }
    if (typed != MoveValue())
        slider->SetPosition(int32_t(bulk ? (typed + bundle - 1) / bundle : typed));
    const uint32_t p = uint32_t(std::clamp<int32_t>(slider->position, 0, int32_t(maximum)));
    if (bulk && p * bundle != moveItem->amount) {
        moveItem->amount = uint16_t(p * bundle);
        moveItem->count = p * bundle;
        moveItem->Refresh(0);
        stayItem->amount = uint16_t(maximum * bundle - p * bundle);
    } else if (!bulk && p != moveItem->count) {
        moveItem->count = p;
        moveItem->Refresh(0);
        stayItem->count = maximum - p;
        stayItem->Refresh(0);
    }
    amountInput->SetText(std::to_string(MoveValue()));
    if (multiplierShown) {
        const uint32_t limit =
            std::min(moveItem->count ? source->amount / moveItem->count : 0, MaxMultiplier);
        multiplierInput->SetText(std::to_string(std::min(ReadNumber(multiplierInput), limit)));
    }
    PaintCached([this] {
        PaintBoxBackground();
        for (const int32_t cellX : {33, width - 81}) render->DrawFrame3Edges(cellX, 52, 48, 48);
        if (multiplierShown) render->DrawBox(33, 156, width - 66, 40, 0);
        render->DrawSkinPart(47, 120, 244, 304, 3, 18, SkinAtlas);
        render->DrawSkinPartTiled(50, 120, width - 97, 18, 0, 0, 248, 304, 2, 18, SkinAtlas);
        render->DrawSkinPart(width - 50, 120, 251, 304, 3, 18, SkinAtlas);
    });
}

void Split::Draw() {
    DrawFrame();
    DrawSurface();
    if (bulk && multiplierShown && secondFont)
        secondFont->DrawText(x + 49, y + height - 85, "Stack amount", LabelColour);
    const struct {
        Item* item;
        int32_t cellX;
    } previews[] = {{stayItem, 39}, {moveItem, width - 75}};
    for (const auto& preview : previews) {
        if ((bulk ? preview.item->amount : preview.item->count) == 0) continue;
        render->DrawSkinPart(x + preview.cellX, y + 58, CellSkinX, CellSkinY, CellSize, CellSize,
                             SkinAtlas);
        preview.item->Draw(x + preview.cellX + 2, y + 60);
        preview.item->DrawCountText(x + preview.cellX + 2, y + 60, font);
    }
    DrawButtons();
}

void Split::ShowMultiplier() {
    multiplierShown = 1;
    height = MultiplierHeight;
    if (Button* ok = FindButton(ButtonId::Ok)) ok->y = OkMultiplierY;
    multiplierInput = new Input(core, this, 3, {width - 70, height - 90, 26, 18}, "1", 0, 1);
    core->AddWindow(multiplierInput);
    core->focusedInput = multiplierInput;
    multiplierInput->selectionStart = 0;
    multiplierInput->selectionEnd = 1;
    Refresh();
}

void Split::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Close: Close(); break;
        case ButtonId::Ok: OnSubmit(); break;
        case BulkButton:
            if (bulk && !multiplierShown) ShowMultiplier();
            break;
        default: break;
    }
}

bool Split::SourceUnchanged() {
    return core->useItemX == heldX && core->useItemY == heldY && core->useItemZ == heldZ &&
           core->FindDraggedThing(heldX, heldY, heldZ) == source && source->count == sourceCount;
}

void Split::OnSubmit() {
    if (multiplierShown) {
        multiplier = uint8_t(ReadNumber(multiplierInput));
        if (multiplier == 0) {
            core->ShowMessage("Select items", "Make sure the stack amount is at least 1.", 0);
            return;
        }
    }
    // The server may have taken the stack away or changed it while the window was open.
    if (moveItem->count == 0 || !SourceUnchanged()) {
        Close();
        return;
    }
    core->moveMultiplier = multiplier;
    if (bulk) {
        if (moveItem->amount == 0) {
            Close();
            return;
        }
        core->moveCount = moveItem->amount;
        source->count = moveItem->amount;
    } else {
        core->moveCount = moveItem->count;
    }
    if (heldY == ShopChoiceY) {
        if (auto* shop = dynamic_cast<Shop*>(core->FindWindow(WindowType::Shop)))
            shop->AskSellConfirmation();
    } else {
        core->MoveThing(source, false, false, moveKind);
    }
    Close();
}

void Split::Close() {
    core->RemoveWindow(slider);
    core->RemoveWindow(amountInput);
    if (multiplierInput) core->RemoveWindow(multiplierInput);
    core->RemoveWindow(this);
}

bool Split::HitTest(int32_t px, int32_t py) {
    if (!Window::HitTest(px, py)) return false;
    Window* inner = slider ? static_cast<Window*>(slider) : amountInput;
    return !(inner && inner->HitTest(px, py));
}
