#pragma once
// Tables that exist before the program starts: the icon grid of the world map's marker window.
#include <cstdint>
#include <string>

// The marker icon grid: 5 x 5 cells 19 pixels apart, each a 16 x 16 icon, where the icon of
// kind k is the 16-pixel-wide cell k of the marker icon sheet.
constexpr uint32_t MarkerGridRows = 5;
constexpr uint32_t MarkerGridColumns = 5;
constexpr uint32_t MarkerCellPitch = 19;
constexpr uint32_t MarkerIconSize = 16;
constexpr uint32_t MarkerIconCount = MarkerGridRows * MarkerGridColumns;

// The marker kind shown in each grid cell, cells counted row by row from the top left.
inline constexpr uint32_t MarkerIconOrder[MarkerIconCount] = {
    0, 1, 2, 3, 12, 4, 5, 6, 7, 13, 8, 9, 10, 11, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};

// The name of each marker kind, by kind number.
inline constexpr const char* MarkerKindNames[MarkerIconCount] = {
    "Ladder", "Cave",    "Stairs", "Temple", "House",    "Dock",  "Bank",    "Armoury", "Potions",
    "Orcs",   "Spiders", "Dragon", "Castle", "Fletcher", "Magic", "Fruits",  "Giant",   "Goblin",
    "Undead", "Boss",    "Tree",   "Marker", "Market",   "Key",   "Treasure"};

// The name of the icon in grid cell `cell`; empty for no cell (a negative one) or one past the
// grid.
std::string MarkerIconName(int32_t cell);
