#pragma once
#include "windows/front/settingspage.h"

class Input;

// The page of the game server's host name and port. The typed texts reach Core only through
// "ok" or Enter; "default" refills the inputs alone, and the close button keeps Core's values.
class Networks : public SettingsPage {
public:
    static constexpr uint32_t HostLength = 224;
    static constexpr uint32_t PortLength = 5;

    explicit Networks(Core* core);

    void Build() override;
    void OnSubmit() override;
    void OnCommand(Button* button) override;
    // Puts both inputs into the window list and focuses the host.
    void OnOpen() override;

    // Stores the typed host and port as they are and goes back to the hub.
    void Apply();

    Input* hostInput = nullptr;
    Input* portInput = nullptr;

private:
    void PaintContent() override;
};
