#pragma once
// Where a held item lies, as Core's use-item and drop positions and the requests name it: an x
// of 0xFFF0 or above 0xFFF9 names a slot of a window (the y then names the server's container,
// the z the slot in it) instead of a map tile; 0xFFF1 to 0xFFF9 are tiles.
#include <cstdint>

namespace ItemPlace {
constexpr uint16_t BankSlot = 0xFFF0, CraftSlot = 0xFFFA, BrewSlot = 0xFFFB, ShopSlot = 0xFFFC,
                   TradeSlot = 0xFFFD, EquipmentSlot = 0xFFFE, ContainerSlot = 0xFFFF;

inline bool IsTile(uint16_t x) { return x != BankSlot && x < CraftSlot; }
}  // namespace ItemPlace
