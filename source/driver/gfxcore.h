// The graphics layer: the driver-independent part of drawing. Free functions over one global
// state block (gfxState) and the driver table (driver/gfxdriver.h): binding to the window,
// loading drivers, the records of render targets, images and overlays, the draw origin and the
// clip stack, frames, the error queue, and pixel helpers the drivers share. Main thread only.
#pragma once

#include "driver/gfxdriver.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

// Alpha mode, bits 0-1 of record flags.
enum GfxAlphaMode : uint32_t {
    GfxAlphaDerive = 0,  // decided at creation from the colour or the pixels
    GfxAlphaOpaque = 1,
    GfxAlphaCutout = 2,  // alpha only 0 or 255
    GfxAlphaBlended = 3,
};

// Record flags.
constexpr uint32_t GfxFlagAlphaMode = 0x3;  // GfxAlphaMode
constexpr uint32_t GfxFlagLinear = 0x4;     // linear texture filtering
constexpr uint32_t GfxFlagKeep = 0x8;       // render target keeps its contents across frames

// Opaque white: the colour that leaves a texel as it is.
constexpr uint32_t GfxWhite = 0xFFFFFFFF;

// The most bytes one pixel block may take. The client is a 32-bit program: a larger block could
// never be held, and a 64-bit build of it refuses the same sizes.
constexpr uint64_t GfxMaxBlockBytes = uint64_t(1) << 31;

// An off-screen surface that a window draws into and then draws on the screen.
struct GfxRenderTarget {
    uint32_t user;   // caller's value, never read
    uint32_t flags;  // GfxFlag*
    int32_t width;
    int32_t height;
    uint32_t clearColour;   // what BeginFrame clears it to
    void* driverObject;     // owned by the driver; null until created
    GfxRenderTarget* next;  // older record
    GfxRenderTarget* prev;  // younger record; null at the head
};

// A texture with a copy of its pixels, so a new driver can build it again.
struct GfxImage {
    uint32_t user;   // caller's value (the image table's id), never read
    uint32_t flags;  // alpha mode and linear filtering
    int32_t width;
    int32_t height;
    uint32_t* pixels;    // width * height values 0xAARRGGBB, rows top first; owned here
    void* driverObject;  // the driver's texture; null until a slot first draws the image
    GfxImage* next;
    GfxImage* prev;
};

// The light map laid over later drawing.
struct GfxOverlay {
    uint32_t user;
    float x, y;          // top-left corner on the surface, origin applied
    float w, h;          // size on the surface of one overlay pixel
    int32_t pixelWidth;  // size of the last pixels given
    int32_t pixelHeight;
    uint32_t outsideColour;  // colour of every point outside the pixels
    void* driverObject;
    GfxOverlay* next;
    GfxOverlay* prev;
};

// One entry of the error queue.
struct GfxError {
    GfxError* next;  // younger entry
    char text[256];
};

struct GfxClipRect {
    float x0, y0, x1, y1;
};

// Driver object of an overlay under the processor-sampled operations.
struct GfxSampledOverlay {
    int32_t stride;          // row stride in pixels
    const uint32_t* pixels;  // the caller's pixels of the last update
};

// What GFX_SampleOverlay reads: a copy of the applied overlay's values.
struct GfxSamplingState {
    GfxOverlay* overlay;  // null: nothing applied
    uint32_t outsideColour;
    float x, y, w, h;
    int32_t pixelWidth, pixelHeight;
    int32_t stride;
    const uint32_t* pixels;
};

struct GfxState {
    // Configuration (GFX_Configure); applied to the driver by GFX_FlushConfig.
    int32_t width = 0;
    int32_t height = 0;
    uint32_t clearColour = 0;
    uint32_t flags = 0;
    bool dirty = false;

    float originX = 0;
    float originY = 0;
    GfxClipRect clip = {};
    std::vector<GfxClipRect> clipStack;  // saved clips, youngest at the back
    GfxRenderTarget* surface = nullptr;  // target of the frame begun last; null: the screen
    bool frameOpen = false;              // between BeginFrame and EndFrame
    // The drivers keep a copy of each frame they present for GfxDriver::ReadScreen only while
    // this is set (GFX_KeepPresentedFrames): the copy costs time every frame.
    bool keepPresentedFrames = false;

    GfxRenderTarget* targets = nullptr;  // list heads, youngest first
    GfxImage* images = nullptr;
    GfxOverlay* overlays = nullptr;

    GfxError* oldestError = nullptr;
    GfxError* youngestError = nullptr;
    int32_t errorCount = 0;
    char pendingError[256] = {};

    GfxSamplingState sampling = {};

    uint8_t* scratch = nullptr;
    size_t scratchSize = 0;
};

// The layer's state. Read-only outside the layer.
extern GfxState gfxState;

// Shows a message box without owner (title, text, OK). Tests replace it so nothing blocks.
extern void (*gfxMessageBox)(const char* title, const char* text);

// Binding and drivers.
void GFX_Bind(HWND window);
// Loads a driver (DriverDirectX or DriverOpenGL; any other code installs the null driver).
// `guard` must be 'F'; anything else ends the process at once. The caller then configures and
// flushes.
void GFX_Init(uint32_t code, uint32_t flags, char guard);
void GFX_Unload();
void GFX_ReleaseDriverObjects();
void GFX_Shutdown();

// Configuration.
void GFX_Configure(int32_t width, int32_t height, uint32_t clearColour, uint32_t flags);
void GFX_FlushConfig();

// Origin and clip.
inline void GFX_TranslatePoint(float& x, float& y) {
    x += gfxState.originX;
    y += gfxState.originY;
}
void GFX_SetOrigin(float dx, float dy);
void GFX_RestoreOrigin();
void GFX_SetClip(float x, float y, float w, float h);
void GFX_PushClip();
void GFX_PopClip();
void GFX_ResetClip();

// Render targets. Sizes are the caller's; flags GfxFlag*.
GfxRenderTarget* GFX_CreateRenderTarget(int32_t width, int32_t height, uint32_t clearColour,
                                        uint32_t flags, uint32_t user);
void GFX_DeleteRenderTarget(GfxRenderTarget* target);
bool GFX_CheckRenderTarget(GfxRenderTarget* target);
// Creates the driver object of a target that has none. A target the device cannot hold is no
// error: the answer is false and the errors the attempt queued are dropped again. A window
// asks before it paints, and draws without its surface then.
bool GFX_PrepareRenderTarget(GfxRenderTarget* target);
// Reads the block (x, y, w, h) of a drawn target, top row first, B, G, R, A; a block that does
// not lie inside the target is refused.
void GFX_ReadRenderTarget(GfxRenderTarget* target, int32_t x, int32_t y, int32_t w, int32_t h,
                          void* destination, int32_t stride);

// Images. GFX_CreateImage copies `height` rows of width * 4 bytes from `source`, `stride` bytes
// apart, or fills zeros without source. It returns null for a negative size or a pixel copy
// that cannot be allocated.
GfxImage* GFX_CreateImage(int32_t width, int32_t height, const void* source, int32_t stride,
                          uint32_t flags, uint32_t user);
// Copies a block into the pixel copy and the texture; a block outside the image is refused.
void GFX_UpdateImage(GfxImage* image, int32_t x, int32_t y, int32_t w, int32_t h,
                     const void* source, int32_t stride);
void GFX_DeleteImage(GfxImage* image);
int32_t GFX_ImageWidth(const GfxImage* image);
int32_t GFX_ImageHeight(const GfxImage* image);
uint32_t* GFX_ImagePixels(GfxImage* image);

// Overlays.
GfxOverlay* GFX_CreateOverlay(uint32_t user);
void GFX_SetOverlayRect(GfxOverlay* overlay, float x, float y, float w, float h);
// The pixels stay the caller's and must live as long as the overlay may be applied. Without
// pixels or without a positive size the overlay is 0 x 0: its outside colour everywhere.
void GFX_UpdateOverlay(GfxOverlay* overlay, uint32_t outsideColour, int32_t width, int32_t height,
                       const void* pixels, int32_t stride);
void GFX_ApplyOverlay(GfxOverlay* overlay);
void GFX_DeleteOverlay(GfxOverlay* overlay);

// Frames: one BeginFrame and one EndFrame around all drawing of a surface; they do not nest.
void GFX_BeginFrame(GfxRenderTarget* target);
void GFX_EndFrame();
// Whether the frames presented from now on are kept for GfxDriver::ReadScreen. Set it while a
// read-back of the screen is pending; a frame presented while it is off reads back as zeros.
void GFX_KeepPresentedFrames(bool keep);

// Errors: a first-in, first-out queue of at most 16 entries.
void GFX_SetErrorSource(const char* message, const char* sourcePath, int line);
// Fills the first "%s" of the pending message with `argument`; no other '%' is interpreted.
void GFX_FormatError(const char* argument);
void GFX_PushError();
int32_t GFX_ErrorCount();
// Removes the oldest entry; answers the count left.
int32_t GFX_PopError();
// Copies the oldest entry's text, cut to `size` bytes with its zero, and answers the bytes
// written; with a null destination the size the whole text needs; 0 for an empty queue.
int32_t GFX_LastError(char* destination, int32_t size);
void GFX_ClearErrors();
// Queues `message` with this source file and line: how a driver reports a failure.
#define GFX_PUSH_ERROR(message) (GFX_SetErrorSource((message), __FILE__, __LINE__), GFX_PushError())

// Pixel helpers.
uint32_t GFX_ScanAlphaMode(int32_t width, int32_t height, const void* pixels, int32_t stride);
uint32_t GFX_LerpColor(uint8_t t, uint32_t from, uint32_t to);
uint32_t GFX_AverageColor(uint32_t a, uint32_t b);
uint32_t GFX_MultiplyColor(uint32_t a, uint32_t b);
// The smallest power of two not below n (1 for n < 2); 0 when none fits in 32 bits.
int32_t GFX_NextPowerOfTwo(int32_t n);
// A buffer of at least n bytes shared by the drivers; contents are not kept across calls.
// Null when n bytes cannot be allocated.
void* GFX_ScratchBuffer(uint64_t n);
void GFX_FreeScratchBuffer();

// Processor-sampled overlay: the overlay operations of a driver that cannot blend the overlay
// in as a second texture.
uint32_t GFX_SampleOverlay(float x, float y);
void GFX_InstallSampledOverlayOps();
void GFX_SampledOverlayCreate(GfxOverlay* overlay);
void GFX_SampledOverlaySetRect(GfxOverlay* overlay, float x, float y, float w, float h);
void GFX_SampledOverlayUpdate(GfxOverlay* overlay, uint32_t outsideColour, int32_t width,
                              int32_t height, const void* pixels, int32_t stride);
void GFX_SampledOverlayApply(GfxOverlay* overlay);
void GFX_SampledOverlayDelete(GfxOverlay* overlay);

// The scroll offset of a tiled slot taken into the range 0 to the tile size.
float GFX_TileOffset(float offset, float tile);

// Lays out the tiles of the tiled slots: tiles of tw x th, without gaps, cover (x, y, w, h)
// starting at x and y minus the scroll offset; `drawTile(tileX, tileY)` runs for each, rows
// from the top, each row from the left. Nothing for an empty rectangle or tile.
template <class DrawTile>
void GFX_ForEachTile(float x, float y, float w, float h, float ox, float oy, float tw, float th,
                     DrawTile drawTile) {
    if (!(w > 0) || !(h > 0) || !(tw > 0) || !(th > 0)) return;
    const float startX = x - GFX_TileOffset(ox, tw);
    const float startY = y - GFX_TileOffset(oy, th);
    // Counted, not accumulated, so a tile too small to move a float cannot loop forever.
    const double columns = std::ceil((double(x) + w - startX) / tw);
    const double rows = std::ceil((double(y) + h - startY) / th);
    for (double row = 0; row < rows; ++row) {
        for (double column = 0; column < columns; ++column) {
            drawTile(float(startX + column * tw), float(startY + row * th));
        }
    }
}
