#pragma once
#include <cstdint>
#include <string>

#include "windows/toolkit/window.h"

// The modal notice box for progress and errors. A box of kind 2 shows the progress of a
// connection attempt: its text gets animated dots and closing it cancels the attempt. A text
// naming the game's Discord community also gets a button that opens the invite page.
class Status : public Window {
public:
    static constexpr int32_t Connecting = 2;

    Status(Core* core, std::string title, std::string text, int32_t kind);

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    void Close() override;

    // The text as drawn this frame: with kind 2, followed by 0 to 3 dots that cycle once a
    // second from `animationStart`.
    std::string ShownText() const;

    std::string text;
    // The text as drawn: wrapped and cut to fit the client area.
    std::string fittedText;
    int32_t kind;
    uint64_t animationStart = 0;

private:
    void PaintContent();
};
