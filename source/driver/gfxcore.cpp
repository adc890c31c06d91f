#include "driver/gfxcore.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

GfxState gfxState;

namespace {

void ShowMessageBox(const char* title, const char* text) {
    MessageBoxA(nullptr, text, title, MB_OK);
}

constexpr int32_t ErrorQueueLimit = 16;

// Start-up before the core: clip stack, null driver, clean-up at process exit.
struct GfxStartup {
    GfxStartup() {
        gfxState.clipStack.reserve(32);
        GFX_InstallNullDriver();
        std::atexit(GFX_Shutdown);
        std::atexit(GFX_ClearErrors);
        std::atexit(GFX_FreeScratchBuffer);
    }
} gfxStartup;

template <class Record>
void LinkAtHead(Record*& head, Record* record) {
    record->next = head;
    record->prev = nullptr;
    if (head) head->prev = record;
    head = record;
}

template <class Record>
void Unlink(Record*& head, Record* record) {
    if (record->prev) record->prev->next = record->next;
    else head = record->next;
    if (record->next) record->next->prev = record->prev;
}

// Bytes of a width x height block of 32-bit pixels, computed in 64 bits; false for a block
// that cannot exist in memory (negative, or larger than GfxMaxBlockBytes).
bool BlockBytes(int32_t width, int32_t height, size_t* bytes) {
    if (width < 0 || height < 0) return false;
    const uint64_t wanted = uint64_t(width) * uint64_t(height) * 4;
    if (wanted > GfxMaxBlockBytes) return false;
    *bytes = size_t(wanted);
    return true;
}

// True when (x, y, w, h) lies inside a width x height surface.
bool BlockInside(int32_t x, int32_t y, int32_t w, int32_t h, int32_t width, int32_t height) {
    return x >= 0 && y >= 0 && w >= 0 && h >= 0 && int64_t(x) + w <= width &&
           int64_t(y) + h <= height;
}

void CopyRows(uint8_t* destination, ptrdiff_t destinationStride, const uint8_t* source,
              ptrdiff_t sourceStride, size_t rowBytes, int32_t rows) {
    for (int32_t row = 0; row < rows; ++row) {
        std::memcpy(destination + row * destinationStride, source + row * sourceStride, rowBytes);
    }
}

// Removes the queue's entries after its first `kept`, the youngest ones.
void DropErrorsAfter(int32_t kept) {
    if (gfxState.errorCount <= kept) return;
    GfxError* last = nullptr;
    GfxError* entry = gfxState.oldestError;
    for (int32_t k = 0; k < kept; ++k) {
        last = entry;
        entry = entry->next;
    }
    while (entry) {
        GfxError* next = entry->next;
        delete entry;
        entry = next;
    }
    if (last) last->next = nullptr;
    else gfxState.oldestError = nullptr;
    gfxState.youngestError = last;
    gfxState.errorCount = kept;
}

void SetClipAndApply(const GfxClipRect& clip) {
    gfxState.clip = clip;
    GfxDriver::SetClip(clip.x0, clip.y0, clip.x1, clip.y1);
}

GfxClipRect WholeSurface() {
    const GfxRenderTarget* surface = gfxState.surface;
    if (surface) return {0, 0, float(surface->width), float(surface->height)};
    return {0, 0, float(gfxState.width), float(gfxState.height)};
}

uint32_t ForEachChannel(uint32_t a, uint32_t b, uint32_t (*combine)(uint32_t, uint32_t)) {
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        result |= (combine((a >> shift) & 0xFF, (b >> shift) & 0xFF) & 0xFF) << shift;
    }
    return result;
}

}  // namespace

void (*gfxMessageBox)(const char* title, const char* text) = ShowMessageBox;

// --- binding and drivers ---

void GFX_Bind(HWND window) {
    GFX_Unload();
    GfxDriver::window = nullptr;
    if (!window) return;
    if (!IsWindow(window)) {
        GFX_PUSH_ERROR("GFX_Bind: invalid window handle");
        return;
    }
    GfxDriver::window = window;
}

void GFX_Init(uint32_t code, uint32_t flags, char guard) {
    if (guard != 'F') TerminateProcess(GetCurrentProcess(), 1);
    GFX_Unload();
    gfxState.dirty = true;
    if (code == DriverDirectX) DX9_Init(flags);
    else if (code == DriverOpenGL) OGL_Init(flags);
}

void GFX_Unload() {
    GFX_ReleaseDriverObjects();
    GfxDriver::Unload();
    GFX_InstallNullDriver();
}

void GFX_ReleaseDriverObjects() {
    for (GfxRenderTarget* target = gfxState.targets; target; target = target->next) {
        if (target->driverObject) GfxDriver::DeleteTarget(target);
    }
    for (GfxImage* image = gfxState.images; image; image = image->next) {
        if (image->driverObject) GfxDriver::DeleteImage(image);
    }
    for (GfxOverlay* overlay = gfxState.overlays; overlay; overlay = overlay->next) {
        if (overlay->driverObject) GfxDriver::DeleteOverlay(overlay);
    }
}

void GFX_Shutdown() {
    GFX_Unload();
    std::vector<GfxClipRect>().swap(gfxState.clipStack);
}

// --- configuration ---

void GFX_Configure(int32_t width, int32_t height, uint32_t clearColour, uint32_t flags) {
    gfxState.width = width;
    gfxState.height = height;
    gfxState.clearColour = clearColour;
    gfxState.flags = flags;
    gfxState.dirty = true;
}

void GFX_FlushConfig() {
    if (!gfxState.dirty) return;
    gfxState.dirty = false;
    GfxDriver::ApplyConfig(gfxState.width, gfxState.height, gfxState.clearColour, gfxState.flags);
}

// --- origin and clip ---

void GFX_SetOrigin(float dx, float dy) {
    gfxState.originX += dx;
    gfxState.originY += dy;
}

void GFX_RestoreOrigin() {
    gfxState.originX = 0;
    gfxState.originY = 0;
}

void GFX_SetClip(float x, float y, float w, float h) {
    const float left = x + gfxState.originX;
    const float top = y + gfxState.originY;
    GfxClipRect clip = gfxState.clip;
    clip.x0 = std::max(clip.x0, left);
    clip.y0 = std::max(clip.y0, top);
    clip.x1 = std::min(clip.x1, left + w);
    clip.y1 = std::min(clip.y1, top + h);
    if (clip.x0 >= clip.x1 || clip.y0 >= clip.y1) clip = {0, 0, 0, 0};
    SetClipAndApply(clip);
}

void GFX_PushClip() { gfxState.clipStack.push_back(gfxState.clip); }

void GFX_PopClip() {
    if (gfxState.clipStack.empty()) return;  // an unmatched pop has nothing to restore
    const GfxClipRect clip = gfxState.clipStack.back();
    gfxState.clipStack.pop_back();
    SetClipAndApply(clip);
}

void GFX_ResetClip() {
    SetClipAndApply(gfxState.clipStack.empty() ? WholeSurface() : gfxState.clipStack.back());
}

// --- render targets ---

GfxRenderTarget* GFX_CreateRenderTarget(int32_t width, int32_t height, uint32_t clearColour,
                                        uint32_t flags, uint32_t user) {
    const uint32_t alpha = clearColour >> 24;
    switch (flags & GfxFlagAlphaMode) {
        case GfxAlphaDerive:
            flags |= alpha == 0 ? GfxAlphaCutout : alpha == 255 ? GfxAlphaOpaque : GfxAlphaBlended;
            break;
        case GfxAlphaOpaque: clearColour |= 0xFF000000; break;
        case GfxAlphaCutout:
            if (alpha != 0) clearColour |= 0xFF000000;
            break;
        default: break;
    }
    auto* target =
        new GfxRenderTarget{user, flags, width, height, clearColour, nullptr, nullptr, nullptr};
    LinkAtHead(gfxState.targets, target);
    return target;
}

void GFX_DeleteRenderTarget(GfxRenderTarget* target) {
    if (!target) return;
    if (target->driverObject) GfxDriver::DeleteTarget(target);
    if (gfxState.surface == target) gfxState.surface = nullptr;
    Unlink(gfxState.targets, target);
    delete target;
}

bool GFX_CheckRenderTarget(GfxRenderTarget* target) {
    return !target->driverObject || GfxDriver::CheckTarget(target);
}

bool GFX_PrepareRenderTarget(GfxRenderTarget* target) {
    if (target->driverObject) return true;
    const int32_t queued = gfxState.errorCount;
    GfxDriver::CreateTarget(target);
    if (target->driverObject) return true;
    DropErrorsAfter(queued);
    return false;
}

void GFX_ReadRenderTarget(GfxRenderTarget* target, int32_t x, int32_t y, int32_t w, int32_t h,
                          void* destination, int32_t stride) {
    if (!target || !target->driverObject || w <= 0 || h <= 0) return;
    if (!BlockInside(x, y, w, h, target->width, target->height)) return;
    GfxDriver::ReadTarget(target, x, y, w, h, destination, stride);
}

// --- images ---

GfxImage* GFX_CreateImage(int32_t width, int32_t height, const void* source, int32_t stride,
                          uint32_t flags, uint32_t user) {
    size_t bytes = 0;
    if (!BlockBytes(width, height, &bytes)) return nullptr;
    uint32_t* pixels = nullptr;
    if (bytes > 0) {
        pixels = static_cast<uint32_t*>(std::malloc(bytes));
        if (!pixels) return nullptr;
        if (source) {
            CopyRows(reinterpret_cast<uint8_t*>(pixels), ptrdiff_t(width) * 4,
                     static_cast<const uint8_t*>(source), stride, size_t(width) * 4, height);
        } else {
            std::memset(pixels, 0, bytes);
        }
    }
    if ((flags & GfxFlagAlphaMode) == GfxAlphaDerive) {
        flags |= source ? GFX_ScanAlphaMode(width, height, source, stride) : GfxAlphaBlended;
    }
    auto* image = new GfxImage{user, flags, width, height, pixels, nullptr, nullptr, nullptr};
    LinkAtHead(gfxState.images, image);
    return image;
}

void GFX_UpdateImage(GfxImage* image, int32_t x, int32_t y, int32_t w, int32_t h,
                     const void* source, int32_t stride) {
    if (!image || !source || w == 0 || h == 0) return;
    if (!BlockInside(x, y, w, h, image->width, image->height)) return;
    uint8_t* destination =
        reinterpret_cast<uint8_t*>(image->pixels + (ptrdiff_t(y) * image->width + x));
    CopyRows(destination, ptrdiff_t(image->width) * 4, static_cast<const uint8_t*>(source), stride,
             size_t(w) * 4, h);
    if (image->driverObject) GfxDriver::UpdateImage(image, x, y, w, h);
}

void GFX_DeleteImage(GfxImage* image) {
    if (!image) return;
    if (image->driverObject) GfxDriver::DeleteImage(image);
    Unlink(gfxState.images, image);
    std::free(image->pixels);
    delete image;
}

int32_t GFX_ImageWidth(const GfxImage* image) { return image->width; }
int32_t GFX_ImageHeight(const GfxImage* image) { return image->height; }
uint32_t* GFX_ImagePixels(GfxImage* image) { return image->pixels; }

// --- overlays ---

GfxOverlay* GFX_CreateOverlay(uint32_t user) {
    auto* overlay = new GfxOverlay{user, 0, 0, 1, 1, 0, 0, GfxWhite, nullptr, nullptr, nullptr};
    LinkAtHead(gfxState.overlays, overlay);
    return overlay;
}

void GFX_SetOverlayRect(GfxOverlay* overlay, float x, float y, float w, float h) {
    overlay->x = x + gfxState.originX;
    overlay->y = y + gfxState.originY;
    overlay->w = w;
    overlay->h = h;
    if (overlay->driverObject) {
        GfxDriver::SetOverlayRect(overlay, overlay->x, overlay->y, overlay->w, overlay->h);
    }
}

void GFX_UpdateOverlay(GfxOverlay* overlay, uint32_t outsideColour, int32_t width, int32_t height,
                       const void* pixels, int32_t stride) {
    if (width <= 0 || height <= 0 || !pixels) {  // no pixels: outside colour everywhere
        width = 0;
        height = 0;
        pixels = nullptr;
    }
    overlay->outsideColour = outsideColour;
    overlay->pixelWidth = width;
    overlay->pixelHeight = height;
    if (!overlay->driverObject) GfxDriver::CreateOverlay(overlay);
    GfxDriver::UpdateOverlay(overlay, outsideColour, width, height, pixels, stride);
}

void GFX_ApplyOverlay(GfxOverlay* overlay) {
    if (overlay && !overlay->driverObject) GfxDriver::CreateOverlay(overlay);
    GfxDriver::ApplyOverlay(overlay);
}

void GFX_DeleteOverlay(GfxOverlay* overlay) {
    if (!overlay) return;
    if (overlay->driverObject) GfxDriver::DeleteOverlay(overlay);
    Unlink(gfxState.overlays, overlay);
    delete overlay;
}

// --- frames ---

void GFX_BeginFrame(GfxRenderTarget* target) {
    if (gfxState.dirty) {
        // The driver was never told the size it draws at: go on without effect.
        GFX_Unload();
        GFX_FlushConfig();
        GFX_BeginFrame(target);
        gfxMessageBox("Driver error.", "Preparing frame without flushing the driver config.");
        return;
    }
    gfxState.clipStack.clear();
    GFX_RestoreOrigin();
    gfxState.surface = target;
    gfxState.clip = WholeSurface();
    if (target && !target->driverObject) {
        GfxDriver::CreateTarget(target);
        if (!target->driverObject) {
            // The driver queued why; the frame goes on without effect and its end reports it.
            GFX_PUSH_ERROR("GFX_BeginFrame: render target could not be created");
            GFX_Unload();
        }
    }
    GfxDriver::BeginFrame(target);
    gfxState.frameOpen = true;
}

void GFX_EndFrame() {
    GFX_RestoreOrigin();
    GfxDriver::EndFrame();
    gfxState.frameOpen = false;
    if (gfxState.errorCount > 0) GFX_Unload();
}

void GFX_KeepPresentedFrames(bool keep) { gfxState.keepPresentedFrames = keep; }

// --- errors ---

void GFX_SetErrorSource(const char* message, const char* sourcePath, int line) {
    const char* name = sourcePath ? sourcePath : "";
    for (const char* p = name; *p; ++p) {
        if (*p == '/' || *p == '\\') name = p + 1;
    }
    std::snprintf(gfxState.pendingError, sizeof gfxState.pendingError, "%s [%s:%i]",
                  message ? message : "", name, line);
}

void GFX_FormatError(const char* argument) {
    char* pending = gfxState.pendingError;
    const char* placeholder = std::strstr(pending, "%s");
    if (!placeholder) return;
    char formatted[sizeof gfxState.pendingError];
    std::snprintf(formatted, sizeof formatted, "%.*s%s%s", int(placeholder - pending), pending,
                  argument ? argument : "", placeholder + 2);
    std::memcpy(pending, formatted, sizeof formatted);
}

void GFX_PushError() {
    if (gfxState.errorCount >= ErrorQueueLimit) return;
    auto* entry = new GfxError{nullptr, {}};
    std::snprintf(entry->text, sizeof entry->text, "\nERROR\n%s\n", gfxState.pendingError);
    if (gfxState.youngestError) gfxState.youngestError->next = entry;
    else gfxState.oldestError = entry;
    gfxState.youngestError = entry;
    ++gfxState.errorCount;
}

int32_t GFX_ErrorCount() { return gfxState.errorCount; }

int32_t GFX_PopError() {
    GfxError* oldest = gfxState.oldestError;
    if (!oldest) return gfxState.errorCount;
    gfxState.oldestError = oldest->next;
    if (!gfxState.oldestError) gfxState.youngestError = nullptr;
    delete oldest;
    return --gfxState.errorCount;
}

int32_t GFX_LastError(char* destination, int32_t size) {
    const GfxError* oldest = gfxState.oldestError;
    if (!oldest) return 0;
    const int32_t needed = int32_t(std::strlen(oldest->text)) + 1;
    if (!destination) return needed;
    if (size <= 0) return 0;
    const int32_t copied = std::min(size, needed);
    std::memcpy(destination, oldest->text, size_t(copied - 1));
    destination[copied - 1] = '\0';
    return copied;
}

void GFX_ClearErrors() {
    while (gfxState.oldestError) GFX_PopError();
}

// --- pixel helpers ---

uint32_t GFX_ScanAlphaMode(int32_t width, int32_t height, const void* pixels, int32_t stride) {
    bool sawTransparent = false;
    const auto* rows = static_cast<const uint8_t*>(pixels);
    for (int32_t row = 0; row < height; ++row) {
        const uint8_t* pixel = rows + ptrdiff_t(row) * stride;
        for (int32_t column = 0; column < width; ++column, pixel += 4) {
            const uint8_t alpha = pixel[3];
            if (alpha != 0 && alpha != 255) return GfxAlphaBlended;
            if (alpha == 0) sawTransparent = true;
        }
    }
    return sawTransparent ? GfxAlphaCutout : GfxAlphaOpaque;
}

uint32_t GFX_LerpColor(uint8_t t, uint32_t from, uint32_t to) {
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t a = (from >> shift) & 0xFF;
        const uint32_t b = (to >> shift) & 0xFF;
        result |= ((b * t + a * (255u - t)) / 255u) << shift;
    }
    return result;
}

uint32_t GFX_AverageColor(uint32_t a, uint32_t b) {
    return ForEachChannel(a, b, [](uint32_t x, uint32_t y) { return (x + y) / 2; });
}

uint32_t GFX_MultiplyColor(uint32_t a, uint32_t b) {
    return ForEachChannel(a, b, [](uint32_t x, uint32_t y) { return x * y / 255; });
}

int32_t GFX_NextPowerOfTwo(int32_t n) {
    if (n < 2) return 1;
    if (n > 0x40000000) return 0;
    int32_t power = 1;
    while (power < n) power <<= 1;
    return power;
}

void* GFX_ScratchBuffer(uint64_t n) {
    if (gfxState.scratch && n <= gfxState.scratchSize) return gfxState.scratch;
    GFX_FreeScratchBuffer();
    const uint64_t size = (n & ~uint64_t(1023)) + 1024;
    if (size > GfxMaxBlockBytes) return nullptr;
    gfxState.scratch = static_cast<uint8_t*>(std::malloc(size_t(size)));
    if (gfxState.scratch) gfxState.scratchSize = size_t(size);
    return gfxState.scratch;
}

void GFX_FreeScratchBuffer() {
    std::free(gfxState.scratch);
    gfxState.scratch = nullptr;
    gfxState.scratchSize = 0;
}

float GFX_TileOffset(float offset, float tile) {
    return std::fmod(std::fmod(offset, tile) + tile, tile);
}

// --- processor-sampled overlay ---

namespace {

// Overlay pixel (column, row), or the outside colour for a point off the pixels.
uint32_t OverlayPixel(const GfxSamplingState& s, int64_t column, int64_t row) {
    if (!s.pixels || column < 0 || row < 0 || column >= s.pixelWidth || row >= s.pixelHeight) {
        return s.outsideColour;
    }
    return s.pixels[row * s.stride + column];
}

}  // namespace

uint32_t GFX_SampleOverlay(float x, float y) {
    const GfxSamplingState& s = gfxState.sampling;
    if (!s.overlay) return GfxWhite;
    if (!(s.w > 0) || !(s.h > 0)) return s.outsideColour;
    const float dx = x - s.x;
    const float dy = y - s.y;
    const int64_t column = int64_t(std::floor(dx / s.w));
    const int64_t row = int64_t(std::floor(dy / s.h));
    const float fx = std::fmod(std::fmod(dx, s.w) + s.w, s.w);
    const float fy = std::fmod(std::fmod(dy, s.h) + s.h, s.h);
    const uint8_t weightX = uint8_t(fx * 255 / s.w);
    const uint8_t weightY = uint8_t(fy * 255 / s.h);
    const uint32_t topLeft = OverlayPixel(s, column, row);
    if (fx == 0 && fy == 0) return topLeft;
    if (fx == 0) return GFX_LerpColor(weightY, topLeft, OverlayPixel(s, column, row + 1));
    if (fy == 0) return GFX_LerpColor(weightX, topLeft, OverlayPixel(s, column + 1, row));
    const uint32_t top = GFX_LerpColor(weightX, topLeft, OverlayPixel(s, column + 1, row));
    const uint32_t bottom = GFX_LerpColor(weightX, OverlayPixel(s, column, row + 1),
                                          OverlayPixel(s, column + 1, row + 1));
    return GFX_LerpColor(weightY, top, bottom);
}

void GFX_InstallSampledOverlayOps() {
    GfxDriver::CreateOverlay = GFX_SampledOverlayCreate;
    GfxDriver::SetOverlayRect = GFX_SampledOverlaySetRect;
    GfxDriver::UpdateOverlay = GFX_SampledOverlayUpdate;
    GfxDriver::ApplyOverlay = GFX_SampledOverlayApply;
    GfxDriver::DeleteOverlay = GFX_SampledOverlayDelete;
}

void GFX_SampledOverlayCreate(GfxOverlay* overlay) {
    overlay->driverObject = new GfxSampledOverlay{0, nullptr};
}

void GFX_SampledOverlaySetRect(GfxOverlay* overlay, float x, float y, float w, float h) {
    GfxSamplingState& s = gfxState.sampling;
    if (overlay != s.overlay) return;
    s.x = x;
    s.y = y;
    s.w = w;
    s.h = h;
}

void GFX_SampledOverlayUpdate(GfxOverlay* overlay, uint32_t outsideColour, int32_t width,
                              int32_t height, const void* pixels, int32_t stride) {
    auto* object = static_cast<GfxSampledOverlay*>(overlay->driverObject);
    object->stride = stride / 4;
    object->pixels = static_cast<const uint32_t*>(pixels);
    GfxSamplingState& s = gfxState.sampling;
    if (overlay != s.overlay) return;
    s.outsideColour = outsideColour;
    s.pixelWidth = width;
    s.pixelHeight = height;
    s.stride = object->stride;
    s.pixels = object->pixels;
}

void GFX_SampledOverlayApply(GfxOverlay* overlay) {
    GfxSamplingState& s = gfxState.sampling;
    s.overlay = overlay;
    if (!overlay) return;
    const auto* object = static_cast<const GfxSampledOverlay*>(overlay->driverObject);
    s.outsideColour = overlay->outsideColour;
    s.x = overlay->x;
    s.y = overlay->y;
    s.w = overlay->w;
    s.h = overlay->h;
    s.pixelWidth = overlay->pixelWidth;
    s.pixelHeight = overlay->pixelHeight;
    s.stride = object->stride;
    s.pixels = object->pixels;
}

void GFX_SampledOverlayDelete(GfxOverlay* overlay) {
    if (gfxState.sampling.overlay == overlay) gfxState.sampling.overlay = nullptr;
    delete static_cast<GfxSampledOverlay*>(overlay->driverObject);
    overlay->driverObject = nullptr;
}
