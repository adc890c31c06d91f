#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "item.h"
#include "windows/toolkit/window.h"

// The window in which the player picks an allowed shape and a palette colour for each of four
// parts (head, body, legs, feet). A preview follows the choice; "use" sends it in one request.
class Outfit : public Window {
public:
    static constexpr uint32_t CancelButton = 56;
    static constexpr uint32_t UseButton = 34;
    static constexpr uint32_t HeadButton = 62;
    static constexpr uint32_t BodyButton = 63;
    static constexpr uint32_t LegsButton = 64;
    static constexpr uint32_t FeetButton = 65;
    static constexpr uint32_t PreviousButton = 15;
    static constexpr uint32_t NextButton = 16;
    // The palette: 16 rows of 8 cells, 11 pixels each, from this corner of the window.
    static constexpr int32_t PaletteX = 123, PaletteY = 84, PaletteCell = 11;

    // Opened in game only: the player's creature gives the starting choice.
    explicit Outfit(Core* core);

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseDown(int32_t mx, int32_t my) override;
    void OnSubmit() override;
    // Removes the window (also when the character hotkey closes it).
    void Close() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;

    // A new preview of the chosen shape in the chosen colours; a shape that names a preview
    // shape is replaced by it.
    void RebuildPreview();

    std::vector<uint32_t> choices;
    int32_t choiceIndex = -1;
    uint32_t shapeId = 0;
    uint32_t colours = 0;
    uint8_t head = 0, body = 0, legs = 0, feet = 0;
    uint8_t markerIndex = 0;
    uint32_t selectedPart = HeadButton;
    std::unique_ptr<Item> preview;

private:
    void PaintContent();
    void StepChoice(int32_t step);
    void SelectPart(Button* pressed);
    uint8_t& PartColour(uint32_t part);
};
