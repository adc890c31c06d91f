#pragma once
#include "windows/front/optionpage.h"

// The interface options: the wide layout, the ability bar and the HUD. The screen mode and the
// console's place cannot change while playing.
class GeneralInterface : public OptionPage {
public:
    static constexpr uint32_t WidescreenBox = 94;
    static constexpr uint32_t LosslessBox = 133;
    static constexpr uint32_t ConsoleBottomBox = 140;
    static constexpr uint32_t BarBox = 87;

    explicit GeneralInterface(Core* core);

    void Build() override;

private:
    void Toggle(const OptionRow& row, Button* box) override;
    Window* Back() override;
};
