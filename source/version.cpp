#include "version.h"

#include <windows.h>

uint32_t ReadClientVersion() {
    HRSRC info = FindResourceA(nullptr, "VERSION", "VELTOR");
    if (!info || SizeofResource(nullptr, info) < 4) return 0;
    HGLOBAL handle = LoadResource(nullptr, info);
    const unsigned char* data =
        handle ? static_cast<const unsigned char*>(LockResource(handle)) : nullptr;
    if (!data) return 0;
    return data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
}
