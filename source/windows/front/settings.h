#pragma once
#include <cstdint>

#include "windows/front/settingspage.h"

// The hub of the settings window: buttons to the General, Console, Video, Controls and Info
// pages, "ok" and close. Every way it goes (closed, "ok", Enter, or handing over to a page)
// writes the settings file, so what the pages changed is kept.
class Settings : public SettingsPage {
public:
    static constexpr uint32_t GeneralButton = 29;
    static constexpr uint32_t ConsoleButton = 30;
    static constexpr uint32_t VideoButton = 31;
    static constexpr uint32_t InfoButton = 33;
    static constexpr uint32_t ControlsButton = 76;

    explicit Settings(Core* core);
    ~Settings() override;

    void Build() override;
    void OnSubmit() override;
    void OnCommand(Button* button) override;
};
