#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

// The character sheet: the player's look, name and vocation, the statistics, the attributes with
// their bonuses, the skills with bonuses and progress bars, and the experience bar. It reads every
// value from the Core when it paints; the server's messages mark it dirty. A click on a skill's
// bar shows its progress in a tooltip.
class Character : public Window {
public:
    static constexpr uint32_t OutfitButton = 66;
    static constexpr uint32_t OkButton = 34;

    explicit Character(Core* core);

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnSubmit() override;
    // Removes the window (also when the character hotkey closes it).
    void Close() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;

    void PaintSheet();
    void PaintExperienceBar();

    Font* smallFont = nullptr;

private:
    void PaintContent();
    void PaintPortrait();
    // The value of a stat entry right-aligned at (right, y), with its bonus in colour at the edge.
    void PaintStatValue(uint32_t index, int32_t right, int32_t y);
    void PaintProgressBar(uint32_t index, int32_t y);
};

// Opens the character sheet, and the attribute window after it while points are unspent.
void OpenCharacter(Core* core);
