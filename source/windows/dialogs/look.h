#pragma once
// Placeholder of the inspection tooltip until the game dialogs land: it keeps what it was opened
// with and closes itself when its time has run out. It draws nothing.
#include <cstdint>
#include <string>

#include "windows/toolkit/window.h"

class Look : public Window {
public:
    Look(Core* core, std::string title, std::string text, int32_t x, int32_t y, uint8_t hintStyle);

    void Draw() override;

    uint64_t openedAt;
    std::string title;
    std::string text;
    uint8_t hintStyle;
    int32_t lifetimeMs = 5000;
};
