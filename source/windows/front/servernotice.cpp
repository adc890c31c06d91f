#include "windows/front/servernotice.h"

#include <utility>

#include "core.h"
#include "render.h"

namespace {

// The dimming reaches half dark at this age and stays there.
constexpr uint64_t FullDimmingMs = 512;
constexpr uint32_t FullDimmingAlpha = 0x80;
constexpr uint64_t MsPerAlphaStep = 4;

}  // namespace

ServerNotice::ServerNotice(Core* core) : Window(core) {}

uint32_t ServerNotice::DimmingAlpha(uint64_t elapsedMs) {
    if (elapsedMs >= FullDimmingMs) return FullDimmingAlpha;
    return static_cast<uint32_t>(elapsedMs / MsPerAlphaStep);
}

void ServerNotice::BuildNotice(std::string title, uint32_t type) {
    ResetLayout();
    name = std::move(title);
    typeId = type;
    font = core->GetFont(2);
    width = Width;
    height = Height;
    modal = 1;
    Place(static_cast<int32_t>(core->clientWidth), static_cast<int32_t>(core->clientHeight));
    CreateSurface();
    builtAt = core->frameTimeMs;
}

void ServerNotice::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void ServerNotice::PaintContent() { PaintBoxBackground(); }

void ServerNotice::Paint() {
    PaintCached([this] { PaintContent(); });
}

void ServerNotice::DrawBackground() {
    const uint32_t alpha = DimmingAlpha(core->frameTimeMs - builtAt);
    render->FillRect(0, 0, static_cast<int32_t>(core->clientWidth),
                     static_cast<int32_t>(core->clientHeight), alpha << 24);
    DrawFrame();
    DrawCached([this] { PaintContent(); });
}
