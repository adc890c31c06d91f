#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

// The window in which the player spends unspent attribute points on Strength, Dexterity or
// Wisdom, one or ten points a click. Each point is one raise request; the count in the Core drops
// at once, ahead of the server's next player data.
class Attribute : public Window {
public:
    static constexpr uint32_t StrengthButton = 72;
    static constexpr uint32_t DexterityButton = 73;
    static constexpr uint32_t WisdomButton = 74;
    static constexpr uint32_t TenPointsButton = 146;
    static constexpr uint32_t OkButton = 34;

    explicit Attribute(Core* core);

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnSubmit() override;
    // Removes the window (also when the character hotkey closes it).
    void Close() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;

    // The raise buttons are enabled while points are unspent.
    void UpdateRaiseButtons();

    Font* smallFont = nullptr;
    uint8_t tenPointMode = 0;

private:
    void PaintContent();
    void Raise(uint8_t attribute);
};
