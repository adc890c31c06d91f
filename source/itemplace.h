#pragma once
// Where a held or dropped item lies: a map position, or a slot named by an x of 0xFFF0 or of
// 0xFFFA and above (0xFFF1 to 0xFFF9 are map positions).
#include <cstdint>

constexpr uint16_t BankSlot = 0xFFF0, CraftSlot = 0xFFFA, BrewSlot = 0xFFFB, ShopSlot = 0xFFFC,
                   TradeSlot = 0xFFFD, EquipmentSlot = 0xFFFE, ContainerSlot = 0xFFFF;

inline bool IsTile(uint16_t x) { return x != BankSlot && x < CraftSlot; }
