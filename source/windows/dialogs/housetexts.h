#pragma once
// Texts and looks shared by the house and guild windows.
#include <cstdint>
#include <string>

class Render;

// Colours of the information panels: labels, values and headings.
constexpr uint32_t LabelColour = 0xA0C0C0C0;
constexpr uint32_t ValueColour = 0xE0E0E0E0;
constexpr uint32_t HeadingColour = 0xFFFFFFFF;

// The sunken panel behind the information of a dialog: a bevel and a dark fill.
void PaintInfoPanel(Render* render, int32_t x, int32_t y, int32_t w, int32_t h);

// The word for a house type code (1 to 4 House, Flat, Shop, Mansion; 5 `typeFive`), else
// "Undefined".
std::string HouseTypeName(uint16_t type, const char* typeFive);
// Whole seconds as hh:mm:ss, each part at least two digits; the hours are not limited to 24.
std::string ClockText(uint64_t seconds);
