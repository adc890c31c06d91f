#pragma once
#include <cstdint>

#include "windows/front/settingspage.h"

// The second hub of the settings window: buttons to the four option pages and to the network
// page.
class General : public SettingsPage {
public:
    static constexpr uint32_t NetworkButton = 32;
    static constexpr uint32_t GameplayButton = 90;
    static constexpr uint32_t InterfaceButton = 104;
    static constexpr uint32_t EstheticsButton = 105;
    static constexpr uint32_t MiscellaneousButton = 106;

    explicit General(Core* core);

    void Build() override;
    void OnSubmit() override;
    void OnCommand(Button* button) override;
};
