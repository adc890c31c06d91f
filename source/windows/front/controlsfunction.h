#pragma once
#include "windows/front/bindingpage.h"

// The keys that run a function together with Ctrl: trading, the party, stacking, screenshots,
// pasting and the windows that open and close.
class ControlsFunction : public BindingPage {
public:
    explicit ControlsFunction(Core* core);

    void Build() override;

private:
    void PaintContent() override;
};
