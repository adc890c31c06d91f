#pragma once
#include <cstdint>
#include <string>

#include "windows/toolkit/window.h"

// The modal message box: a centred window with a title, a sunken box holding a text of one or
// more lines, an "ok" button and a close button. "ok" opens `link` first when one is set.
class Message : public Window {
public:
    Message(Core* core, std::string title, std::string text, int32_t kind);

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;

    // Web address the "ok" button opens; empty by default.
    std::string link;
    std::string text;
    // The text as drawn: wrapped and cut to fit the client area.
    std::string fittedText;
    // Kept for the opener; the box does not read it.
    int32_t kind;

private:
    void PaintContent();
};
