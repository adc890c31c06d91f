#pragma once
#include <cstdint>
#include <vector>

#include "windows/toolkit/window.h"

// The shop window: only the sales asked for and the sale the yes/no box confirms, the least its
// callers need.
class Shop : public Window {
public:
    explicit Shop(Core* core);
    // Sells the selected entry of the sell list: one item, or with `all` set every item of it.
    void SellSelected(uint8_t all);
    void ConfirmSell();
    // Asks whether to sell the amount the split window chose.
    void AskSellConfirmation();

    std::vector<uint8_t> salesAsked;  // the `all` byte of each
    uint32_t salesConfirmed = 0;
    uint32_t sellConfirmationsAsked = 0;
};
