#pragma once
#include "windows/toolkit/window.h"

class Font;

// The noble-account store: the account's state, the noble days left, and three purchases of
// noble time through the store platform. The server later reports the new number of days.
class Store : public Window {
public:
    explicit Store(Core* core);

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;

    Font* smallFont = nullptr;

private:
    void PaintContent();
};
