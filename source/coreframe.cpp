// The tick: frame drawing, frame statistics, the delayed screenshot, pings and the test walker.
#include <algorithm>
#include <cstdlib>

#include "config.h"
#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "platform.h"
#include "protocol.h"
#include "render.h"
#include "steam.h"
#include "windows/toolkit/window.h"
#include "world.h"

namespace {

constexpr uint32_t MinFrameSamples = 100;
constexpr uint32_t MaxPingSamples = 10;
// A target of 0 would make the interval undefined; it paces like the lowest rate the settings
// allow.
constexpr uint32_t LowestTargetFps = 10;

// A 64-bit millisecond difference as the 32-bit delay it stands for; negative counts as 0.
uint32_t ElapsedMs(uint64_t from, uint64_t to) {
    const int32_t elapsed = static_cast<int32_t>(static_cast<uint32_t>(to - from));
    return elapsed < 0 ? 0 : static_cast<uint32_t>(elapsed);
}

}  // namespace

uint32_t FrameInterval(uint32_t targetFps) {
    if (targetFps == 0) targetFps = LowestTargetFps;
    const float rate = static_cast<float>(static_cast<double>(targetFps));
    return static_cast<uint32_t>(1000.0f / rate);
}

uint32_t FrameWait(uint32_t now, uint32_t lastTick, uint32_t interval) {
    const uint32_t elapsed = now - lastTick;
    return elapsed < interval ? interval - elapsed : 0;
}

void Core::Tick() {
    DeleteClosedWindows();
    ++frameCounter;
    frameSkipped = 1;
    if (clientWidth != 0 && clientHeight != 0) {
        frameSkipped = 0;
        // An armed screenshot reads back the frame presented last, so only then is it kept.
        GFX_KeepPresentedFrames(screenshotPending);
        RenderFrame();
        if (world) world->RunAfterFrame();
    } else if (world) {
        world->UpdateCreatures();  // minimised: creatures keep walking
    }

    if (!frameSkipped && GFX_ErrorCount() > 0) {
        char text[256];
        GFX_LastError(text, sizeof text);
        ShowMessageBox(nullptr, text, "Veltor - Graphic Driver Error", MB_OK);
        ExitProgram(FatalExitCode);
    }

    if (screenshotPending && WallClockMs() > screenshotDeadline) {
        screenshotPending = 0;
        render->TakeScreenshot();
    }

    UpdateFrameRate();

    if (steamReady && activeConnection && activeConnection->pending) Steam::RunCallbacks();
    DeleteClosedConnections();

    RunTestWalker();
}

void Core::RenderFrame() {
    const uint64_t start = WallClockMs();

    // Closing windows leave the list here, so the walk goes over a copy; a window that leaves
    // with one of them (an input it owns) may be deleted already and is skipped.
    const std::vector<Window*> copy = windows;
    for (Window* window : copy) {
        if (std::find(windows.begin(), windows.end(), window) == windows.end()) continue;
        if (window->state == 3) RemoveWindow(window);
        else window->Paint();
    }

    GFX_BeginFrame(nullptr);
    for (size_t i = 0; i < windows.size(); ++i) windows[i]->Draw();
    GFX_EndFrame();

    frameTimes.push_back(ElapsedMs(start, WallClockMs()));
    // The window holds about one second of frames, at least 100; it never shrinks again.
    const uint32_t limit =
        std::max<uint32_t>(MinFrameSamples, strtoul(fpsText.c_str(), nullptr, 10));
    if (frameTimes.size() > limit) frameTimes.erase(frameTimes.begin());

    uint64_t sum = 0;
    frameStats.maximum = 0;
    frameStats.minimum = 10000000;
    for (uint32_t time : frameTimes) {
        sum += time;
        frameStats.maximum = std::max(frameStats.maximum, time);
        frameStats.minimum = std::min(frameStats.minimum, time);
    }
    frameStats.last = frameTimes.back();
    frameStats.average = static_cast<uint32_t>(sum / frameTimes.size());
}

void Core::UpdateFrameRate() {
    ++fpsFrames;
    frameTimeMs = WallClockMs();
    const uint64_t elapsed = frameTimeMs - fpsWindowStart;
    if (elapsed < 1000) return;
    fps = fpsFrames * 1000.0 / static_cast<double>(elapsed);
    char text[32];
    snprintf(text, sizeof text, "%.2f", fps);
    fpsText = text;
    fpsWindowStart = frameTimeMs;
    fpsFrames = 0;
}

void Core::OnSecondTimer() {
    if (!inGame) return;
    pingTimes.push_back(WallClockMs());
    if (activeConnection) activeConnection->SendPing();
    pingOutstanding = 1;
}

void Core::OnPingReply() {
    pingOutstanding = 0;
    if (pingTimes.empty()) return;
    lastPingSent = pingTimes.front();
    pingTimes.pop_front();
    const uint32_t delay = ElapsedMs(lastPingSent, WallClockMs());

    // The first measurement of a game is replaced by the second, which then counts twice.
    if (pingSamples.size() == 1) {
        pingSamples.clear();
        pingSamples.push_back(delay);
    }
    pingSamples.push_back(delay);
    if (pingSamples.size() > MaxPingSamples) pingSamples.erase(pingSamples.begin());

    pingFrameTime = frameStats.average;
    uint64_t sum = 0;
    for (uint32_t sample : pingSamples) sum += sample;
    pingAverage = static_cast<uint32_t>(sum / pingSamples.size());
}

void Core::SaveConfig() {
    if (config && !testWalker.testing) config->Write();
}

void Core::SetScreenshotDeadline(uint32_t delay) { screenshotDeadline = WallClockMs() + delay; }

// The test client walks, talks and heals at random while it is in the game.
void Core::RunTestWalker() {
    if (!testWalker.testing || !inGame || !player) return;
    if (Random() % 100 < 30) player->Walk(Random() % 8);
    if (Random() % 100 < 10 && activeConnection) activeConnection->SendTalk(0, "oink");
    if (hp < maxHp && activeConnection) activeConnection->SendTalk(254, "heal");
    if (Random() % 1000 < 2 && activeConnection) activeConnection->SendTalk(254, "teleport sorvan");
}
