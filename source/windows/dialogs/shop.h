#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

// The shop window: only the sale the yes/no box confirms, the least its callers need.
class Shop : public Window {
public:
    explicit Shop(Core* core);
    void ConfirmSell();

    uint32_t salesConfirmed = 0;
};
