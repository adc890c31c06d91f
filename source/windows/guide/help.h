#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

// The guide window: keeps the language of its pages, the least its callers need.
class Help : public Window {
public:
    explicit Help(Core* core);
    // 0 English, 1 Portuguese.
    void SetLanguage(uint32_t index);

    uint32_t language = 0;
};
