#pragma once
#include <cstdint>

#include "windows/dialogs/inputdialog.h"

// The guild founding window the server opens: a page on what a guild is and costs, and the name
// of the new guild, which "found" sends. "cancel" and the close box tell the server the window
// was cancelled; the server closing it sends nothing.
class Guildfound : public InputDialog {
public:
    static constexpr uint32_t FoundButtonId = 25, CancelButtonId = 26;
    static constexpr uint32_t MaxNameLength = 25;

    explicit Guildfound(Core* core);
    void Build() override;
    void Paint() override;
    void Draw() override;
    // An empty name is refused and the window stays; otherwise the name is sent and it goes.
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;

private:
    void PaintPage();
};
