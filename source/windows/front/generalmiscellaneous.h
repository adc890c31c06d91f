#pragma once
#include "windows/front/optionpage.h"

// Screenshots, the frame rate and ping displays, and the custom cursor, which takes effect only
// after a restart.
class GeneralMiscellaneous : public OptionPage {
public:
    static constexpr uint32_t CursorBox = 148;

    explicit GeneralMiscellaneous(Core* core);

    void Build() override;

private:
    void Toggle(const OptionRow& row, Button* box) override;
    Window* Back() override;
};
