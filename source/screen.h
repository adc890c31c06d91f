#pragma once
// The one top-level window: class registration, fullscreen and windowed modes, and the window
// procedure that routes every message to Core, Mouse and Control.
#include <cstdint>

#include "win32.h"

class Control;
class Core;
class Mouse;

// Application messages of the main window.
constexpr UINT SocketMessage1 = 0x8001;  // socket events of connection slot 1
constexpr UINT SocketMessage2 = 0x8002;  // socket events of connection slot 2
constexpr UINT SteamMessage = 0x8004;    // an answer of Steam, posted by the callback object
constexpr UINT_PTR SecondTimer = 1;

// A display mode of the adapter; unavailable: the monitor cannot show it.
struct DisplayMode {
    uint32_t width;
    uint32_t height;
    uint8_t unavailable;
};

// Frame statistics over Core::frameTimes.
struct FrameStats {
    uint32_t last;
    uint32_t average;
    uint32_t maximum;
    uint32_t minimum;
};

class Screen {
public:
    Screen(Core* core, uint32_t width, uint32_t height, uint8_t depth, uint8_t fullscreen);
    virtual ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    bool RegisterClass(HINSTANCE hInstance);
    bool PrepareScreen();
    HWND CreateMainWindow(HINSTANCE hInstance);
    void SetMode(uint32_t width, uint32_t height, uint8_t depth, uint8_t fullscreen);
    bool ApplyScreenMode(uint32_t width, uint32_t height);
    void SetWindowedStyle(uint32_t width, uint32_t height);
    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // The class's window procedure: passes messages to the live Screen, if any. During
    // shut-down the Screen is deleted before the window, which then gets default handling.
    static LRESULT CALLBACK Entry(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static Screen* instance;

    Core* core;
    Control* control;
    Mouse* mouse;
    HWND hwnd = nullptr;
    uint32_t width;
    uint32_t height;
    uint8_t depth;
    uint8_t fullscreen;
    uint8_t modeChanged = 0;
    uint8_t focused = 0;

private:
    bool ChangeToFullscreen();
};
