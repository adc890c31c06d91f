#include "windows/dialogs/bidding.h"

#include <limits>

#include "core.h"
#include "protocol.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t Width = 175, Height = 119;
constexpr WindowRect InputRect{28, 47, 119, 18};
constexpr uint32_t MaxBidLength = 224;

}  // namespace

Bidding::Bidding(Core* core, HouseEntry house) : InputDialog(core), entry(std::move(house)) {
    Build();
}

void Bidding::Build() {
    ResetLayout();
    width = Width;
    height = Height;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    modal = 1;
    CreateSurface();
    name = "House Bidding";
    typeId = WindowType::Bidding;
    font = core->GetFont(2);
    delete input;
    input = new Input(core, this, MaxBidLength, InputRect,
                      std::to_string(uint64_t(entry.currentBid) + BidStep), 0, 1);
    AddPushButton(12, height - 28, CancelButtonId, "cancel");
    AddPushButton(width - 66, height - 28, BidButtonId, "bid");
    AddCloseButton();
}

void Bidding::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
    if (input) input->UpdatePosition();
}

void Bidding::OnCommand(Button* button) {
    switch (button->id) {
        case BidButtonId: OnSubmit(); break;
        case ButtonId::Close:
        case CancelButtonId: Close(); break;
        default: break;
    }
}

uint32_t Bidding::ReadBid(const std::string& digits) {
    constexpr uint64_t Largest = std::numeric_limits<uint32_t>::max();
    uint64_t bid = 0;
    for (char digit : digits) {
        if (digit < '0' || digit > '9') continue;
        bid = bid * 10 + uint64_t(digit - '0');
        if (bid > Largest) return uint32_t(Largest);
    }
    return uint32_t(bid);
}

std::string Bidding::Refusal() const {
    if (entry.hasOwner) return "This house is no longer available for rent.";
    if (input->text.empty()) return "No bid entered.";
    const uint64_t bid = ReadBid(input->text);
    if (bid < uint64_t(entry.currentBid) + BidStep)
        return entry.currentBid == 0
                   ? "You can only start a bidding with a minimal bid of 100 copper coins."
                   : "Make sure to add a bidding 100 copper coins higher than the previous bid.";
    if (bid > core->bankBalance)
        return "You cannot bid more than you have on your bank account (" +
               FormatNumber(core->bankBalance) + ").";
    return "";
}

void Bidding::OnSubmit() {
    const std::string refusal = Refusal();
    if (!refusal.empty()) core->ShowMessage("House Bidding", refusal, 0);
    else if (core->activeConnection)
        core->activeConnection->SendHouseBid(entry.houseId, ReadBid(input->text));
    Close();
}

void Bidding::Paint() {
    PaintCached([this] { PaintBoxBackground(); });
}

void Bidding::Draw() {
    DrawFrame();
    DrawCached([this] { PaintBoxBackground(); });
    DrawButtons();
}
