#pragma once
#include <cstdint>

#include "windows/front/settingspage.h"

// The hub of the key-binding pages: movement, hotkeys and functions. Like the settings hub, it
// writes the settings file whenever it goes.
class Controls : public SettingsPage {
public:
    static constexpr uint32_t MovementButton = 78;
    static constexpr uint32_t HotkeysButton = 79;
    static constexpr uint32_t FunctionsButton = 80;

    explicit Controls(Core* core);
    ~Controls() override;

    void Build() override;
    void OnSubmit() override;
    void OnCommand(Button* button) override;
};
