#include "platform.h"
#include "driver/gfxcore.h"

#include <mmsystem.h>

#include <cstdlib>

namespace {

uint64_t RealWallClockMs() {
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    const uint64_t ticks = (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    const uint64_t unixEpoch = 116444736000000000ull;  // 1970-01-01 in 100 ns units since 1601
    return (ticks - unixEpoch) / 10000;
}

uint32_t RealTickMs() { return timeGetTime(); }
// The thread's key state, not the asynchronous one: it follows the input messages as they are
// read, so a click handled after the player let go of Shift still finds Shift held with it.
int16_t RealKeyState(int virtualKey) { return GetKeyState(virtualKey); }
int RealMessageBox(HWND owner, const char* text, const char* title, UINT type) {
    return MessageBoxA(owner, text, title, type);
}
void RealExitProcess(uint32_t code) { ExitProcess(code); }
int RealRandom() { return rand(); }
void RealStartDriver(uint32_t code, uint32_t flags) { GFX_Init(code, flags, 'F'); }
uint32_t RealLoadedDriverId() { return GfxDriver::GetDriverId(); }
int16_t RealToggleState(int virtualKey) { return GetKeyState(virtualKey); }
void RealLocalTime(SYSTEMTIME* time) { GetLocalTime(time); }

}  // namespace

const PlatformCalls realPlatform = {RealWallClockMs, RealTickMs,         RealKeyState,
                                    RealMessageBox,  RealExitProcess,    RealRandom,
                                    RealStartDriver, RealLoadedDriverId, RealToggleState,
                                    RealLocalTime};
PlatformCalls platform = realPlatform;

void ExitProgram(uint32_t code) {
    platform.exitProcess(code);
    std::abort();  // only a broken test seam returns
}
