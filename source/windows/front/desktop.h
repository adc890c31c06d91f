#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

// The main screen: a backdrop over the whole client area, the logo and a column of four buttons
// in the middle (Play or Login, Account, Settings, Exit). It lies at the bottom of the window
// list while the player is outside the game, under everything it opens.
class Desktop : public Window {
public:
    explicit Desktop(Core* core);

    void Build() override;
    void Draw() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;

    // Colour-escaped lines that tell the player about the game; not drawn.
    std::vector<std::string> tips;

private:
    void LayOutButtons();
    void DrawBackdrop();
    void DrawButtonBox();
    void DrawScreenshotNotice();
};
