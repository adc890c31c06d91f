#pragma once
// The keyboard's names of stored key bindings, shared by the key-binding pages, the ability bar,
// the keyboard handler and the guide.
#include <cstdint>
#include <string>

// The keyboard layout's name of a key code (scan code plus 256 for an extended key), as "Q" or
// "F5"; at most 31 characters, empty when the keyboard has no name for it.
std::string KeyNameText(uint32_t keyCode);
