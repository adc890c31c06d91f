#pragma once
#include <cstdint>
#include <string>

#include "windows/toolkit/window.h"

// The inspection tooltip: keeps what it was opened with and closes itself when its time has run
// out; it draws nothing. The least its callers need.
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
