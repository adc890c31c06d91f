#pragma once
#include <cstdint>

// The popup-menu codes of a panel window's place in its column, carried out by the menu's
// action handler.
namespace PanelAction {
enum : uint32_t { MoveToOtherPanel = 1, PinToTop = 2, PinToBottom = 3, Unpin = 4 };
}
