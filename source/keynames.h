#pragma once
// The keyboard's names of stored key bindings, shared by the key-binding pages, the ability bar,
// the keyboard handler and the guide.
#include <cstdint>
#include <string>

// The keyboard layout's name of a key code (scan code plus 256 for an extended key), as "Q" or
// "F5"; at most 31 characters, empty when the keyboard has no name for it.
std::string KeyNameText(uint32_t keyCode);

// One key binding's name for a label drawn every frame: the keyboard is asked again only when
// the binding changes.
class KeyNameCache {
public:
    const std::string& Name(uint32_t keyCode);

private:
    bool known = false;
    uint32_t keyCode = 0;
    std::string name;
};
