#pragma once
#include "windows/front/bindingpage.h"

// The keys of the eight walking directions: the four straight ones first, then the diagonals.
class ControlsMove : public BindingPage {
public:
    explicit ControlsMove(Core* core);

    void Build() override;
};
