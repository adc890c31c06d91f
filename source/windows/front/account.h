#pragma once
#include "windows/toolkit/window.h"

// The account panel: a column of buttons that each open one account dialog and close the panel.
// With Steam the panel offers the account-name login, without it the new-account dialog. Every
// close writes the settings file.
class Account : public Window {
public:
    explicit Account(Core* core);
    ~Account() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;

private:
    // Opens the dialog above the panel, then closes the panel.
    void OpenInstead(Window* dialog);
};
