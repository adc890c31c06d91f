#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

class Input;
class Item;
class Scroll;

// Asks how many items of a stack a move takes: what stays and what moves side by side, a slider
// and a number field. In bulk mode (items picked from a shop) the amount moves in bundles of the
// item's count, and a multiplier field takes several bundles at once.
class Split : public Window {
public:
    // The move kind is handed back to Core::MoveThing on "ok".
    Split(Core* core, Item* source, uint8_t moveKind, bool bulk);
    ~Split() override;

    void Build() override;
    // Keeps the field, the slider and the previews in step every frame, then repaints.
    void Paint() override;
    void Draw() override;
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    void OnOpen() override;
    void Close() override;
    bool HitTest(int32_t px, int32_t py) override;

    Item* stayItem = nullptr;
    Item* moveItem = nullptr;
    Item* source;
    Scroll* slider = nullptr;
    uint32_t maximum = 0;
    uint8_t moveKind;
    uint32_t bundle = 1;
    uint8_t multiplier = 1;
    uint8_t bulk;
    uint8_t multiplierShown = 0;
    Input* amountInput = nullptr;
    Input* multiplierInput = nullptr;
    Font* secondFont = nullptr;

private:
    // The move preview's value: its amount in bulk mode, else its count.
    uint32_t MoveValue() const;
    void ShowMultiplier();
    // The held stack is still the one the window was opened for.
    bool SourceUnchanged();

    // Where the stack was held and its count then, to find it again on "ok".
    uint16_t heldX, heldY;
    uint8_t heldZ;
    uint32_t sourceCount;
};
