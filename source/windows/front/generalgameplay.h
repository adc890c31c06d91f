#pragma once
#include <string>

#include "windows/front/optionpage.h"

// The gameplay options: push-to-talk, the console in the wide layout, casting, containers and
// moving. One label shows the container row limit, which the page does not change.
class GeneralGameplay : public OptionPage {
public:
    static constexpr uint32_t LimitBox = 107;

    explicit GeneralGameplay(Core* core);

    void Build() override;

private:
    std::string Label(const OptionRow& row) const override;
    Window* Back() override;
};
