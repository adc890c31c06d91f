#pragma once
#include <cstdint>

#include "windows/front/optionpage.h"

// The chat console's options. The time prefix and the smileys change how the lines look, so the
// console lays its current pages out again at once.
class Consoles : public OptionPage {
public:
    static constexpr uint32_t TimeBox = 47;
    static constexpr uint32_t SmileyBox = 50;

    explicit Consoles(Core* core);

    void Build() override;

private:
    void Toggle(const OptionRow& row, Button* box) override;
    Window* Back() override;
};
