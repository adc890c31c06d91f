#pragma once
#include "windows/front/bindingpage.h"

// The twelve hotkeys and the three action keys of push-to-talk mode, in one row.
class ControlsHotkey : public BindingPage {
public:
    explicit ControlsHotkey(Core* core);

    void Build() override;

private:
    void PaintContent() override;
};
