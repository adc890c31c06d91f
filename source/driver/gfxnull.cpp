// The null driver: fills the table with operations that draw nothing and fail nothing, so that
// everything runs without effect before a driver is loaded, after an unload and after a frame
// that left an error. The table itself lives here too.
#include "driver/gfxcore.h"

#include <cstring>

GfxGetDriverIdFn GfxDriver::GetDriverId;
GfxReadScreenFn GfxDriver::ReadScreen;
GfxDrawLineFn GfxDriver::DrawLine;
GfxDrawLineGradientFn GfxDriver::DrawLineGradient;
GfxFillRectFn GfxDriver::FillRect;
GfxFillRectGradientFn GfxDriver::FillRectGradient;
GfxDrawTargetFn GfxDriver::DrawTarget;
GfxDrawTargetScaledFn GfxDriver::DrawTargetScaled;
GfxDrawTargetPartFn GfxDriver::DrawTargetPart;
GfxDrawTargetPartScaledFn GfxDriver::DrawTargetPartScaled;
GfxDrawTargetTintedFn GfxDriver::DrawTargetTinted;
GfxDrawTargetGradientFn GfxDriver::DrawTargetGradient;
GfxDrawImageFn GfxDriver::DrawImage;
GfxDrawImageScaledFn GfxDriver::DrawImageScaled;
GfxDrawImageTiledFn GfxDriver::DrawImageTiled;
GfxDrawImageTintedFn GfxDriver::DrawImageTinted;
GfxDrawImageGradientFn GfxDriver::DrawImageGradient;
GfxDrawImagePartFn GfxDriver::DrawImagePart;
GfxDrawImagePartTintedFn GfxDriver::DrawImagePartTinted;
GfxDrawImagePartTiledGradientFn GfxDriver::DrawImagePartTiledGradient;
GfxDrawImageMinFn GfxDriver::DrawImageMin;
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
    GfxDriver::DrawLine = set.DrawLine;
    GfxDriver::DrawLineGradient = set.DrawLineGradient;
    GfxDriver::FillRect = set.FillRect;
    GfxDriver::FillRectGradient = set.FillRectGradient;
    GfxDriver::DrawTarget = set.DrawTarget;
    GfxDriver::DrawTargetScaled = set.DrawTargetScaled;
    GfxDriver::DrawTargetPart = set.DrawTargetPart;
    GfxDriver::DrawTargetPartScaled = set.DrawTargetPartScaled;
    GfxDriver::DrawTargetTinted = set.DrawTargetTinted;
    GfxDriver::DrawTargetGradient = set.DrawTargetGradient;
    GfxDriver::DrawImage = set.DrawImage;
    GfxDriver::DrawImageScaled = set.DrawImageScaled;
    GfxDriver::DrawImageTiled = set.DrawImageTiled;
    GfxDriver::DrawImageTinted = set.DrawImageTinted;
    GfxDriver::DrawImageGradient = set.DrawImageGradient;
    GfxDriver::DrawImagePart = set.DrawImagePart;
    GfxDriver::DrawImagePartTinted = set.DrawImagePartTinted;
    GfxDriver::DrawImagePartTiledGradient = set.DrawImagePartTiledGradient;
    GfxDriver::DrawImageMin = set.DrawImageMin;
}

namespace {

// Converts to any slot or operation type that returns nothing and does nothing.
constexpr auto DoNothing = [](auto...) {};

constexpr GfxPrimitiveSet kNullSet = {
    DoNothing, DoNothing, DoNothing, DoNothing, DoNothing, DoNothing, DoNothing,
    DoNothing, DoNothing, DoNothing, DoNothing, DoNothing, DoNothing, DoNothing,
    DoNothing, DoNothing, DoNothing, DoNothing, DoNothing,
};

void NullReadScreen(int32_t, int32_t, int32_t w, int32_t h, void* destination, int32_t stride) {
    if (w <= 0) return;
    auto* row = static_cast<uint8_t*>(destination);
    for (int32_t i = 0; i < h; ++i, row += stride) std::memset(row, 0, size_t(w) * 4);
}

// A record the null driver "created": not null, so the layer takes it as created.
void* const kCreated = reinterpret_cast<void*>(1);

}  // namespace

void GFX_InstallNullDriver() {
    GfxDriver::GetDriverId = [] { return DriverNull; };
    GfxDriver::ReadScreen = NullReadScreen;
    GFX_InstallPrimitiveSet(kNullSet);
    GfxDriver::Unload = DoNothing;
    GfxDriver::ApplyConfig = DoNothing;
    GfxDriver::SetClip = DoNothing;
    GfxDriver::ReadTarget = DoNothing;
    GfxDriver::CheckTarget = [](GfxRenderTarget*) { return false; };
    GfxDriver::CreateTarget = [](GfxRenderTarget* target) { target->driverObject = kCreated; };
    GfxDriver::DeleteTarget = [](GfxRenderTarget* target) { target->driverObject = nullptr; };
    GfxDriver::BeginFrame = DoNothing;
    GfxDriver::EndFrame = DoNothing;
    GfxDriver::UpdateImage = DoNothing;
    GfxDriver::DeleteImage = [](GfxImage* image) { image->driverObject = nullptr; };
    GfxDriver::CreateOverlay = [](GfxOverlay* overlay) { overlay->driverObject = kCreated; };
    GfxDriver::SetOverlayRect = DoNothing;
    GfxDriver::UpdateOverlay = DoNothing;
    GfxDriver::ApplyOverlay = DoNothing;
    GfxDriver::DeleteOverlay = [](GfxOverlay* overlay) { overlay->driverObject = nullptr; };
}
