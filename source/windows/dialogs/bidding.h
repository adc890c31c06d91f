#pragma once
#include <cstdint>
#include <string>

#include "windows/dialogs/inputdialog.h"
#include "windows/dialogs/rental.h"

// The small popup in which the player bids for one house of the rental list, in copper coins.
// It checks the bid against the house as it was when the popup opened and against the bank
// balance, sends it, and closes whatever the outcome.
class Bidding : public InputDialog {
public:
    static constexpr uint32_t BidButtonId = 25, CancelButtonId = 26;
    // Every bid is at least this much above the current one (copper coins).
    static constexpr uint64_t BidStep = 100;

    Bidding(Core* core, HouseEntry house);
    void Build() override;
    void Paint() override;
    void Draw() override;
    // The checks, then the bid is sent; the window goes on every path.
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;

    // The typed digits as a number; one past 32 bits reads as the largest.
    static uint32_t ReadBid(const std::string& digits);

    HouseEntry entry;

private:
    // The refusal of a bid, or "" when it may be sent.
    std::string Refusal() const;
};
