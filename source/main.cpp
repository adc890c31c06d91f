// Program entry: single-instance check, start-up and the paced main loop.
#include <objbase.h>

#include <cstdlib>
#include <ctime>

#include "core.h"
#include "platform.h"
#include "screen.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    // A running client is brought forward; this one starts as well.
    if (HWND running = FindWindowA("Quarvel", "Veltor")) {
        SetForegroundWindow(running);
        ShowWindow(running, SW_RESTORE);
    }
    srand(static_cast<unsigned>(time(nullptr)));
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    Core* core = new Core(instance, show, 0);
    uint32_t lastTick = TickMs();
    uint32_t interval = FrameInterval(core->targetFps);
    SetTimer(core->hwnd, SecondTimer, 1000, nullptr);

    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                delete core;
                return 0;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const uint32_t now = TickMs();
        if (const uint32_t wait = FrameWait(now, lastTick, interval)) {
            // Sleeps out the interval but wakes at once for input.
            MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            continue;
        }
        interval = FrameInterval(core->targetFps);  // a changed target applies at once
        lastTick = now;
        core->Tick();
    }
}
