#include "screen.h"

#include <algorithm>

#include "control.h"
#include "mouse.h"
#include "protocol.h"

Screen* Screen::instance = nullptr;

namespace {

const char* const ClassName = "Quarvel";
const char* const Title = "Veltor";
constexpr LONG MinimumWidth = 800;
constexpr LONG MinimumHeight = 600;

// Signed coordinate that centres a size on a screen size.
int Centred(int screenSize, uint32_t size) { return (screenSize - static_cast<int>(size)) / 2; }

// The outer rectangle of a window whose drawing area is width x height, centred on the screen.
// The windowed size kept in the settings is the drawing area (WM_SIZE stores it), so the frame
// goes around it; otherwise the window would lose its frame's size on every start.
RECT CentredFrame(uint32_t width, uint32_t height, DWORD style, DWORD exStyle) {
    RECT frame = {0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const LONG outerWidth = frame.right - frame.left, outerHeight = frame.bottom - frame.top;
    frame.left = Centred(GetSystemMetrics(SM_CXSCREEN), outerWidth);
    frame.top = Centred(GetSystemMetrics(SM_CYSCREEN), outerHeight);
    frame.right = frame.left + outerWidth;
    frame.bottom = frame.top + outerHeight;
    return frame;
}

}  // namespace

Screen::Screen(Core* core, uint32_t width, uint32_t height, uint8_t depth, uint8_t fullscreen)
    : core(core), width(width), height(height), depth(depth), fullscreen(fullscreen) {
    instance = this;
    control = new Control(core);
    mouse = new Mouse(core);
}

Screen::~Screen() {
    // The desktop gets its own display mode back when the program ends in fullscreen.
    if (modeChanged) ChangeDisplaySettingsA(nullptr, 0);
    delete control;
    delete mouse;
    if (instance == this) instance = nullptr;
}

bool Screen::RegisterClass(HINSTANCE hInstance) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = Entry;
    windowClass.hInstance = hInstance;
    windowClass.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(1));
    windowClass.hCursor = core->LoadCursor(0);
    windowClass.lpszClassName = ClassName;
    return RegisterClassA(&windowClass) != 0;
}

// Switches the display to the stored size and depth; notes whether that differs from the desktop.
bool Screen::ChangeToFullscreen() {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmBitsPerPel = depth;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    modeChanged = static_cast<int>(width) != GetSystemMetrics(SM_CXSCREEN) ||
                  static_cast<int>(height) != GetSystemMetrics(SM_CYSCREEN);
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

bool Screen::PrepareScreen() { return !fullscreen || ChangeToFullscreen(); }

HWND Screen::CreateMainWindow(HINSTANCE hInstance) {
    if (fullscreen) {
        hwnd = CreateWindowExA(WS_EX_APPWINDOW, ClassName, Title,
                               WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, width, height,
                               nullptr, nullptr, hInstance, nullptr);
        return hwnd;
    }
    width = std::min<uint32_t>(width, GetSystemMetrics(SM_CXSCREEN));
    height = std::min<uint32_t>(height, GetSystemMetrics(SM_CYSCREEN));
    const RECT frame = CentredFrame(width, height, WS_OVERLAPPEDWINDOW, 0);
    hwnd = CreateWindowExA(0, ClassName, Title, WS_OVERLAPPEDWINDOW, frame.left, frame.top,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           hInstance, nullptr);
    return hwnd;
}

void Screen::SetMode(uint32_t width, uint32_t height, uint8_t depth, uint8_t fullscreen) {
    this->width = width;
    this->height = height;
    this->depth = depth;
    this->fullscreen = fullscreen;
}

bool Screen::ApplyScreenMode(uint32_t width, uint32_t height) {
    if (!core->maximized) ShowWindow(hwnd, SW_HIDE);
    SetFocus(hwnd);
    if (fullscreen) {
        if (!ChangeToFullscreen()) return false;
        SetWindowLongA(hwnd, GWL_EXSTYLE, WS_EX_APPWINDOW);
        SetWindowLongA(hwnd, GWL_STYLE, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
        SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
        return true;
    }
    if (modeChanged) {
        modeChanged = 0;
        if (ChangeDisplaySettingsA(nullptr, CDS_RESET) != DISP_CHANGE_SUCCESSFUL) return false;
    }
    SetWindowedStyle(width, height);
    return true;
}

void Screen::SetWindowedStyle(uint32_t width, uint32_t height) {
    const DWORD style = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
    const DWORD exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    SetWindowLongA(hwnd, GWL_EXSTYLE, exStyle);
    SetWindowLongA(hwnd, GWL_STYLE, style);
    const RECT frame = CentredFrame(width, height, style, exStyle);
    SetWindowPos(hwnd, nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

LRESULT CALLBACK Screen::Entry(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (instance) return instance->WindowProc(hwnd, message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT Screen::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
        case WM_USERCHANGED: PostQuitMessage(0); return 0;
        case WM_SIZE:
            if (wParam == SIZE_RESTORED) core->maximized = 0;
            if (wParam == SIZE_MAXIMIZED) core->maximized = 1;
            width = LOWORD(lParam);
            height = HIWORD(lParam);
            core->ApplyResolution(width, height);
            return 0;
        case WM_ACTIVATE:
        case WM_ENABLE:
        case WM_SHOWWINDOW: return 0;
        case WM_SETFOCUS: focused = 1; return 0;
        case WM_KILLFOCUS: focused = 0; return 0;
        case WM_PAINT:
            ValidateRect(hwnd, nullptr);  // drawing happens in the tick
            return 0;
        case WM_CLOSE: core->ConfirmLogout(); return 0;
        case WM_GETMINMAXINFO: {
            MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = MinimumWidth;
            info->ptMinTrackSize.y = MinimumHeight;
            return 0;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: control->OnKeyDown(wParam, lParam); return 0;
        case WM_CHAR: control->OnChar(wParam, lParam); return 0;
        case WM_SYSCOMMAND:
            if (fullscreen) return 0;
            return DefWindowProcA(hwnd, message, wParam, lParam);
        case WM_TIMER:
            if (wParam == SecondTimer) core->OnSecondTimer();
            return 0;
        case WM_MOUSEMOVE: mouse->OnMove(wParam, lParam); return 0;
        case WM_LBUTTONDOWN:
            SetCapture(hwnd);
            mouse->OnLeftDown(wParam, lParam);
            return 0;
        case WM_LBUTTONUP:
            ReleaseCapture();
            mouse->OnLeftUp(wParam, lParam);
            return 0;
        case WM_LBUTTONDBLCLK: mouse->OnDoubleClick(wParam, lParam); return 0;
        case WM_RBUTTONDOWN: mouse->OnRightDown(wParam, lParam); return 0;
        case WM_RBUTTONUP: mouse->OnRightUp(wParam, lParam); return 0;
        case WM_MOUSEWHEEL: mouse->OnWheel(wParam, lParam); return 0;
        case SocketMessage1: core->OnSocketMessage1(wParam, lParam); return 0;
        case SocketMessage2: core->OnSocketMessage2(wParam, lParam); return 0;
        case SteamMessage:
            if (core->activeConnection) core->activeConnection->OnSteamCallback(wParam, lParam);
            return 0;
        default: return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
