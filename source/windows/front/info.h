#pragma once
#include "windows/front/settingspage.h"

// The page that names the client's version and the project behind it, in fixed lines.
class Info : public SettingsPage {
public:
    explicit Info(Core* core);

    void Build() override;
    void OnSubmit() override;
    void OnCommand(Button* button) override;

private:
    void PaintContent() override;
};
