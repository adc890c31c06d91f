// Display modes, screen-mode switches, the graphics viewport, driver switches and cursors.
#include "core.h"
#include "driver/gfxcore.h"
#include "platform.h"
#include "screen.h"
#include "windows/toolkit/window.h"

namespace {

const DisplayMode CandidateModes[] = {{1024, 768, 1},  {1152, 864, 1},  {1280, 768, 1},
                                      {1280, 800, 1},  {1280, 1024, 1}, {1366, 768, 1},
                                      {1440, 900, 1},  {1600, 900, 1},  {1600, 1200, 1},
                                      {1680, 1050, 1}, {1920, 1080, 1}, {1920, 1200, 1}};

constexpr uint32_t ClearColour = 0;
constexpr uint32_t ConfigFlags = 4;

bool IsRealDriver(uint32_t code) { return code == DriverDirectX || code == DriverOpenGL; }

// The driver to fall back to when a requested one fails and no other was running.
uint32_t OtherDriver(uint32_t code) { return code == DriverOpenGL ? DriverDirectX : DriverOpenGL; }

void DropDriverErrors() {
    while (GFX_ErrorCount() > 0) GFX_PopError();
}

struct CursorChoice {
    WORD resource;
    LPCSTR system;
};

CursorChoice CursorFor(uint32_t kind) {
    switch (kind) {
        case 1: return {5, IDC_CROSS};
        case 2: return {3, IDC_SIZENS};
        case 3: return {4, IDC_SIZEALL};
        default: return {2, IDC_ARROW};
    }
}

}  // namespace

void Core::EnumerateDisplayModes() {
    displayModes.assign(std::begin(CandidateModes), std::end(CandidateModes));
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    for (DWORD index = 0; EnumDisplaySettingsA(nullptr, index, &mode); ++index) {
        if (mode.dmBitsPerPel != depth) continue;
        for (DisplayMode& candidate : displayModes)
            if (candidate.width == mode.dmPelsWidth && candidate.height == mode.dmPelsHeight)
                candidate.unavailable = 0;
    }
}

void Core::SetResolution() {
    if (fullscreen) {
        if (resolution < displayModes.size() && !displayModes[resolution].unavailable) {
            clientWidth = displayModes[resolution].width;
            clientHeight = displayModes[resolution].height;
            return;
        }
        fullscreen = 0;
        resolution = 0;
        ShowStatus("Veltor", "Invalid resolution.");
    }
    clientWidth = configWidth;
    clientHeight = configHeight;
}

// A switch the display refuses leaves the mode in effect, and the flag that names it, as they
// were: the settings file must not store a fullscreen that never happened.
void Core::ChangeScreenMode() {
    const uint32_t width = clientWidth, height = clientHeight;
    fullscreen = !fullscreen;
    if (ChangeScreenModeAlt()) return;
    fullscreen = !fullscreen;
    clientWidth = width;
    clientHeight = height;
    screen->SetMode(width, height, depth, fullscreen);
    screen->ApplyScreenMode(width, height);
}

bool Core::ChangeScreenModeAlt() {
    SetResolution();
    screen->SetMode(clientWidth, clientHeight, depth, fullscreen);
    if (!screen->ApplyScreenMode(clientWidth, clientHeight)) {
        ShowStatus("Veltor", "Failed to change screen mode.");
        return false;
    }
    ReapplyViewport(clientWidth, clientHeight);
    return true;
}

void Core::ApplyResolution(uint32_t width, uint32_t height) {
    clientWidth = width;
    clientHeight = height;
    ReapplyViewport(width, height);
}

// Tells the graphics layer the new size and lays every window out again; nothing while no
// driver draws or the window is minimised.
void Core::ReapplyViewport(uint32_t width, uint32_t height) {
    if (LoadedDriverId() == DriverNull || width == 0 || height == 0) return;
    if (!fullscreen && !maximized) {
        configWidth = width;  // the settings keep the last windowed size
        configHeight = height;
    }
    GFX_Configure(width, height, ClearColour, ConfigFlags);
    GFX_FlushConfig();
    const std::vector<Window*> copy = windows;
    for (Window* window : copy) window->Place(width, height);
    Tick();
}

// A driver failed when it queued an error or another driver answers. The previous driver, or
// the other one when none ran, takes over; with neither the null driver stays loaded.
uint32_t Core::ReinitDriver(uint32_t requested) {
    const uint32_t previous = LoadedDriverId();
    const uint32_t fallback = IsRealDriver(previous) ? previous : OtherDriver(requested);
    for (uint32_t code : {requested, fallback}) {
        StartDriver(code, driverFlags);
        if (GFX_ErrorCount() == 0 && LoadedDriverId() == code) {
            engine = code;
            break;
        }
        DropDriverErrors();
        if (fallback == requested) break;
    }
    // Loading a driver leaves the configuration to be flushed before the next frame.
    GFX_Configure(clientWidth, clientHeight, ClearColour, ConfigFlags);
    GFX_FlushConfig();
    return LoadedDriverId();
}

HCURSOR Core::LoadCursor(uint32_t kind) {
    const CursorChoice choice = CursorFor(kind);
    if (options.cursor) return LoadCursorA(hInstance, MAKEINTRESOURCEA(choice.resource));
    return LoadCursorA(nullptr, choice.system);
}

void Core::SetCursor(uint32_t kind) {
    ::SetCursor(LoadCursor(kind));
    if (kind == 1) SetCapture(hwnd);
}
