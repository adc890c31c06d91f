#pragma once
// The few platform calls that tests must control: the clocks, key state, message boxes, process
// exit, random numbers and starting a graphics driver. Each entry defaults to the real call; a
// test swaps entries of `platform` and restores `realPlatform` afterwards.
#include <windows.h>

#include <cstdint>

struct PlatformCalls {
    uint64_t (*wallClockMs)();
    uint32_t (*tickMs)();
    int16_t (*keyState)(int virtualKey);
    int (*messageBox)(HWND owner, const char* text, const char* title, UINT type);
    void (*exitProcess)(uint32_t code);
    int (*random)();
    void (*startDriver)(uint32_t code, uint32_t flags);
    uint32_t (*loadedDriverId)();
    int16_t (*toggleState)(int virtualKey);
    void (*localTime)(SYSTEMTIME* time);
};

extern PlatformCalls platform;
extern const PlatformCalls realPlatform;

// Milliseconds since 1 January 1970 (seconds times 1000 plus the milliseconds part).
inline uint64_t WallClockMs() { return platform.wallClockMs(); }
// The wrapping multimedia timer.
inline uint32_t TickMs() { return platform.tickMs(); }
// The high bit is set while the key is held, as the input messages read so far leave it: while a
// message is handled, the keys held when it was made; between messages, those held now.
inline int16_t KeyState(int virtualKey) { return platform.keyState(virtualKey); }
inline bool KeyHeld(int virtualKey) { return (KeyState(virtualKey) & 0x8000) != 0; }
inline bool AnyModifierHeld() {
    return KeyHeld(VK_MENU) || KeyHeld(VK_CONTROL) || KeyHeld(VK_SHIFT);
}
// GetKeyState's toggle bit, as the keyboard input read so far leaves it (CAPS Lock on).
// The local date and time, all of it from one reading of the clock.
inline SYSTEMTIME LocalTime() {
    SYSTEMTIME time{};
    platform.localTime(&time);
    return time;
}
inline bool KeyToggled(int virtualKey) { return (platform.toggleState(virtualKey) & 1) != 0; }
inline int ShowMessageBox(HWND owner, const char* text, const char* title, UINT type) {
    return platform.messageBox(owner, text, title, type);
}
// The process exit code of a fatal error.
constexpr uint32_t FatalExitCode = 1;
[[noreturn]] void ExitProgram(uint32_t code);
// A value from 0 to 32767.
inline int Random() { return platform.random(); }
// Loads a graphics driver by code; the answer is LoadedDriverId().
inline void StartDriver(uint32_t code, uint32_t flags) { platform.startDriver(code, flags); }
inline uint32_t LoadedDriverId() { return platform.loadedDriverId(); }
