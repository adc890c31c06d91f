#pragma once
// Placeholder of the shop window until the game dialogs land: only the sale the yes/no box
// confirms.
#include "windows/toolkit/window.h"

class Shop : public Window {
public:
    explicit Shop(Core* core);

    // Sends the sell request for the chosen slot and count.
    void ConfirmSell();

    uint32_t salesConfirmed = 0;
};
