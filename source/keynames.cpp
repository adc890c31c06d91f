#include "keynames.h"

#include <windows.h>

std::string KeyNameText(uint32_t keyCode) {
    char name[32] = {};
    // The scan code goes into bits 16 to 23 and the extended flag into bit 24.
    const LONG lParam =
        static_cast<LONG>(((keyCode & 0xFF) << 16) | ((keyCode & 256) ? 1u << 24 : 0));
    if (GetKeyNameTextA(lParam, name, sizeof name) <= 0) return {};
    return name;
}

const std::string& KeyNameCache::Name(uint32_t newKeyCode) {
    if (!known || keyCode != newKeyCode) {
        known = true;
        keyCode = newKeyCode;
        name = KeyNameText(keyCode);
    }
    return name;
}
