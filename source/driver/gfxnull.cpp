// The null driver: fills the table with operations that draw nothing and fail nothing, so that
// everything runs without effect before a driver is loaded, after an unload and after a frame
// that left an error. The table itself lives here too.
#include "driver/gfxcore.h"

#include <cstring>

GfxGetDriverIdFn GfxDriver::GetDriverId;
GfxReadScreenFn GfxDriver::ReadScreen;
#define GFX_SLOT_DEFINITION(slot) Gfx##slot##Fn GfxDriver::slot;
GFX_DRAWING_SLOTS(GFX_SLOT_DEFINITION)
#undef GFX_SLOT_DEFINITION
HWND GfxDriver::window;
GfxUnloadFn GfxDriver::Unload;
GfxApplyConfigFn GfxDriver::ApplyConfig;
GfxSetClipFn GfxDriver::SetClip;
GfxReadTargetFn GfxDriver::ReadTarget;
GfxCheckTargetFn GfxDriver::CheckTarget;
GfxCreateTargetFn GfxDriver::CreateTarget;
GfxDeleteTargetFn GfxDriver::DeleteTarget;
GfxBeginFrameFn GfxDriver::BeginFrame;
GfxEndFrameFn GfxDriver::EndFrame;
GfxUpdateImageFn GfxDriver::UpdateImage;
GfxDeleteImageFn GfxDriver::DeleteImage;
GfxCreateOverlayFn GfxDriver::CreateOverlay;
GfxSetOverlayRectFn GfxDriver::SetOverlayRect;
GfxUpdateOverlayFn GfxDriver::UpdateOverlay;
GfxApplyOverlayFn GfxDriver::ApplyOverlay;
GfxDeleteOverlayFn GfxDriver::DeleteOverlay;

void GFX_InstallPrimitiveSet(const GfxPrimitiveSet& set) {
#define GFX_INSTALL_SLOT(slot) GfxDriver::slot = set.slot;
    GFX_DRAWING_SLOTS(GFX_INSTALL_SLOT)
#undef GFX_INSTALL_SLOT
}

namespace {

// Converts to any slot or operation type that returns nothing and does nothing.
constexpr auto DoNothing = [](auto...) {};

#define GFX_NO_SLOT(slot) DoNothing,
constexpr GfxPrimitiveSet NullSet = {GFX_DRAWING_SLOTS(GFX_NO_SLOT)};
#undef GFX_NO_SLOT

void NullReadScreen(int32_t, int32_t, int32_t w, int32_t h, void* destination, int32_t stride) {
    if (w <= 0) return;
    auto* row = static_cast<uint8_t*>(destination);
    for (int32_t i = 0; i < h; ++i, row += stride) std::memset(row, 0, size_t(w) * 4);
}

// A record the null driver "created": not null, so the layer takes it as created.
void* const Created = reinterpret_cast<void*>(1);

}  // namespace

void GFX_InstallNullDriver() {
    GfxDriver::GetDriverId = [] { return DriverNull; };
    GfxDriver::ReadScreen = NullReadScreen;
    GFX_InstallPrimitiveSet(NullSet);
    GfxDriver::Unload = DoNothing;
    GfxDriver::ApplyConfig = DoNothing;
    GfxDriver::SetClip = DoNothing;
    GfxDriver::ReadTarget = DoNothing;
    GfxDriver::CheckTarget = [](GfxRenderTarget*) { return false; };
    GfxDriver::CreateTarget = [](GfxRenderTarget* target) { target->driverObject = Created; };
    GfxDriver::DeleteTarget = [](GfxRenderTarget* target) { target->driverObject = nullptr; };
    GfxDriver::BeginFrame = DoNothing;
    GfxDriver::EndFrame = DoNothing;
    GfxDriver::UpdateImage = DoNothing;
    GfxDriver::DeleteImage = [](GfxImage* image) { image->driverObject = nullptr; };
    GfxDriver::CreateOverlay = [](GfxOverlay* overlay) { overlay->driverObject = Created; };
    GfxDriver::SetOverlayRect = DoNothing;
    GfxDriver::UpdateOverlay = DoNothing;
    GfxDriver::ApplyOverlay = DoNothing;
    GfxDriver::DeleteOverlay = [](GfxOverlay* overlay) { overlay->driverObject = nullptr; };
}
