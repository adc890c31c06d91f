#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "windows/toolkit/window.h"

// The one-line text entry control: a window of its own (type 71) that belongs to an owner window
// and reports to it. Core sends the focused input the typed characters and the editing keys.
// Text is 8-bit, one byte a character.
class Input : public Window {
public:
    // The console's chat line: position and size come from the owner.
    Input(Core* core, Window* owner, uint32_t maxLength);
    // A pre-filled field.
    Input(Core* core, Window* owner, uint32_t maxLength, WindowRect rect, std::string text,
          uint8_t password, uint8_t digitsOnly);
    // An empty field.
    Input(Core* core, Window* owner, uint32_t maxLength, WindowRect rect, uint8_t password,
          uint8_t digitsOnly);
    // A name or free-text field.
    Input(Core* core, Window* owner, uint32_t maxLength, WindowRect rect, uint8_t nameFormat);
    // A key-binding field: the keyboard handler writes the key into Core's table at `keySlot`.
    static Input* KeyBinding(Core* core, Window* owner, uint32_t maxLength, WindowRect rect,
                             std::string text, uint32_t keySlot);

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnChar(uint32_t c) override;
    void OnBackspace() override;
    void OnDelete() override;
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;

    void InsertText(std::string s);
    void SetText(std::string s);
    void Clear();
    // Inserts clipboard text: bytes below 32 are dropped; digits-only keeps only 0-9.
    void Paste(std::string s);
    void MoveCaret(int8_t delta);
    void UpdatePosition();
    void DeleteBefore(uint32_t count);
    void NormaliseName();
    bool HasSelection() const;
    // The characters drawn: `visibleCount` from `firstVisible`, cut at the end of the text.
    std::string ShownPart() const;

    std::string text;
    std::string shownText;
    int32_t caretPixel = 0;
    uint32_t firstVisible = 0;
    uint32_t visibleCount = 0;
    uint32_t caret = 0;
    int32_t visibleWidth = 0;
    int32_t offsetX = 0, offsetY = 0;
    uint8_t password = 0;
    uint8_t digitsOnly = 0;
    uint8_t keyCapture = 0;
    uint8_t nameFormat = 0;
    uint32_t keySlot = 0;
    uint32_t maxLength;
    int32_t selectionStart = -1, selectionEnd = -1;
    uint32_t textColour = 0xE0E0E0E0;
    uint8_t framed = 1;
    // Called after typing, pasting, Backspace and Delete; the owner sets it (the console's chat
    // line tells the server when the player starts or stops typing).
    std::function<void(Input& input)> onTextChanged;

private:
    Input(Core* core, Window* owner, uint32_t maxLength, WindowRect rect);
    bool IsConsoleLine() const;
    bool IsWideConsoleLine() const;
    int32_t CharWidth(uint32_t index) const;
    // Drops leading characters from the drawn part until the caret lies inside the box.
    void ScrollToCaret();
    void TextChanged();
};
