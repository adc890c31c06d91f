// The driver table: the one set of function pointers through which everything is drawn.
//
// Exactly one driver fills the table at a time (OpenGL, Direct3D 9 or the null driver). A driver
// is a set of free functions plus an installer that stores them here; callers use the slots
// directly, e.g. GfxDriver::FillRect(x, y, w, h, 0xFF000000, 3).
//
// Common rules for every slot and operation:
// - Main thread only. Never null: the null driver fills every entry before anything else runs.
// - Coordinates are floats in pixels of the current surface (the window's drawing area, or the
//   render target of the frame begun last), x to the right, y downwards. Every drawing slot adds
//   the draw origin (GFX_TranslatePoint) to its position; source rectangles (sx, sy, sw, sh) are
//   pixels of the image or target and are not moved.
// - Colours are 0xAARRGGBB. Drawing blends source alpha over one minus source alpha (all slots
//   but DrawImageMin). Tinting multiplies each channel, alpha included: texel * colour / 255.
// - Drawing slots are called only between GFX_BeginFrame and GFX_EndFrame.
// - Records (GfxImage, GfxRenderTarget, GfxOverlay) belong to whoever created them through the
//   layer; a driver only owns what it stores in a record's driverObject field. The layer passes
//   a record to an operation only in the states its comment names.
#pragma once

#include <windows.h>

#include <cstdint>

struct GfxRenderTarget;
struct GfxImage;
struct GfxOverlay;

// Driver codes: three letters, the first in the highest of the three low bytes.
constexpr uint32_t DriverDirectX = 0x00445839;  // 'DX9'
constexpr uint32_t DriverOpenGL = 0x004F474C;   // 'OGL'
constexpr uint32_t DriverNull = 0x004E554C;     // 'NUL'

// Flags of GFX_Init: bit 0 asks for presentation synchronised with the vertical retrace; the
// OpenGL driver's bits 16 to 18 switch off multitexture, BGRA transfer and framebuffer objects;
// the Direct3D 9 driver's bit 24 switches off the second texture stage.
constexpr uint32_t GfxInitVsync = 0x1;
constexpr uint32_t GfxInitOglNoMultitexture = 0x10000;
constexpr uint32_t GfxInitOglNoBgra = 0x20000;
constexpr uint32_t GfxInitOglNoFramebuffer = 0x40000;
constexpr uint32_t GfxInitDx9NoMultitexture = 0x1000000;

// Slot and operation types. The contract of each is in the comment above it.

// Answers the loaded driver's code (DriverDirectX, DriverOpenGL or DriverNull).
using GfxGetDriverIdFn = uint32_t (*)();
// Copies the w x h block of the window's last presented frame whose top-left corner is (x, y)
// into destination: 4 bytes a pixel as B, G, R, A, the block's bottom row first, rows `stride`
// bytes apart. The caller owns destination (at least h rows). Nothing for w or h <= 0; pixels
// outside what the driver can read are 0.
using GfxReadScreenFn = void (*)(int32_t x, int32_t y, int32_t w, int32_t h, void* destination,
                                 int32_t stride);

// A line one pixel wide from (x0, y0) to (x1, y1). `mode` is an alpha mode (GfxAlphaMode,
// usually 3) that drivers do not read: the colour's own alpha blends.
using GfxDrawLineFn = void (*)(float x0, float y0, float x1, float y1, uint32_t colour,
                               uint32_t mode);
// The same line, colour0 at its start and colour1 at its end.
using GfxDrawLineGradientFn = void (*)(float x0, float y0, float x1, float y1, uint32_t colour0,
                                       uint32_t colour1, uint32_t mode);
// A filled rectangle.
using GfxFillRectFn = void (*)(float x, float y, float w, float h, uint32_t colour, uint32_t mode);
// A filled rectangle with corner colours top-left, top-right, bottom-left, bottom-right.
using GfxFillRectGradientFn = void (*)(float x, float y, float w, float h, uint32_t c1, uint32_t c2,
                                       uint32_t c3, uint32_t c4, uint32_t mode);
// Render-target slots: `target` is never null. A target is drawn from what its last frame of its
// own (GFX_BeginFrame(target) ... GFX_EndFrame) left; one without driver object draws nothing.
using GfxDrawTargetFn = void (*)(float x, float y, GfxRenderTarget* target);
using GfxDrawTargetScaledFn = void (*)(float x, float y, float w, float h, GfxRenderTarget* target);
using GfxDrawTargetPartFn = void (*)(float x, float y, float sx, float sy, float w, float h,
                                     GfxRenderTarget* target);
using GfxDrawTargetPartScaledFn = void (*)(float x, float y, float w, float h, float sx, float sy,
                                           float sw, float sh, GfxRenderTarget* target);
using GfxDrawTargetTintedFn = void (*)(float x, float y, uint32_t colour, GfxRenderTarget* target);
using GfxDrawTargetGradientFn = void (*)(float x, float y, uint32_t c1, uint32_t c2, uint32_t c3,
                                         uint32_t c4, GfxRenderTarget* target);
// Image slots: `image` is never null. An image without driver object gets its texture here,
// built from the record's pixel copy.
using GfxDrawImageFn = void (*)(float x, float y, GfxImage* image);
using GfxDrawImageScaledFn = void (*)(float x, float y, float w, float h, GfxImage* image);
// The whole image repeated over (x, y, w, h) and scrolled by (ox, oy); nothing outside the
// rectangle is touched (the slot pushes, narrows and pops the clip).
using GfxDrawImageTiledFn = void (*)(float x, float y, float w, float h, float ox, float oy,
                                     GfxImage* image);
using GfxDrawImageTintedFn = void (*)(float x, float y, uint32_t colour, GfxImage* image);
using GfxDrawImageGradientFn = void (*)(float x, float y, uint32_t c1, uint32_t c2, uint32_t c3,
                                        uint32_t c4, GfxImage* image);
using GfxDrawImagePartFn = void (*)(float x, float y, float sx, float sy, float w, float h,
                                    GfxImage* image);
using GfxDrawImagePartTintedFn = void (*)(float x, float y, float sx, float sy, float w, float h,
                                          uint32_t colour, GfxImage* image);
// The part (sx, sy, sw, sh) repeated in tiles of tw x th over (x, y, w, h), scrolled by
// (ox, oy), every tile multiplied by the corner colours; clipped to the rectangle.
using GfxDrawImagePartTiledGradientFn = void (*)(float x, float y, float w, float h, float ox,
                                                 float oy, float tw, float th, float sx, float sy,
                                                 float sw, float sh, uint32_t c1, uint32_t c2,
                                                 uint32_t c3, uint32_t c4, GfxImage* image);
// An image at its own size, keeping per channel (alpha included) the smaller of the image's and
// the surface's value; the normal blending is back in place when it returns.
using GfxDrawImageMinFn = void (*)(float x, float y, GfxImage* image);

// Releases the device or context and the driver's own state. The layer has released every
// record's driver object before; afterwards it installs the null driver.
using GfxUnloadFn = void (*)();
// The size of the screen's drawing area and its clear colour; flags are passed on unread.
using GfxApplyConfigFn = void (*)(int32_t width, int32_t height, uint32_t clearColour,
                                  uint32_t flags);
// Cuts later drawing to (x0, y0)..(x1, y1) of the current surface (origin applied);
// (0, 0, 0, 0) lets nothing through. Only the layer calls it (GFX_SetClip and friends).
using GfxSetClipFn = void (*)(float x0, float y0, float x1, float y1);
// Copies the block (x, y, w, h) of a target, top row first, B, G, R, A. The layer calls it only
// for a target with driver object and a block inside the target with w, h > 0.
using GfxReadTargetFn = void (*)(GfxRenderTarget* target, int32_t x, int32_t y, int32_t w,
                                 int32_t h, void* destination, int32_t stride);
// True while the target's contents are not valid (no driver object, not drawn yet, or lost).
using GfxCheckTargetFn = bool (*)(GfxRenderTarget* target);
// Creates the driver object of a target without one, at the record's size, and stores it.
using GfxCreateTargetFn = void (*)(GfxRenderTarget* target);
// Frees a target's driver object (never called without one) and sets the field to null.
using GfxDeleteTargetFn = void (*)(GfxRenderTarget* target);
// Makes the target (null: the window) the surface of later drawing and clears it: a target to
// its clear colour (with flags bit 3 only while its contents are not valid), the screen to the
// configured clear colour. A target passed here has a driver object (the layer creates it).
using GfxBeginFrameFn = void (*)(GfxRenderTarget* target);
// Ends the frame begun last: a target's drawing becomes its contents; the screen is presented.
using GfxEndFrameFn = void (*)();
// Copies the block (x, y, w, h) of the image's pixel copy into its texture. The layer calls it
// only for an image with a texture and a block inside the image.
using GfxUpdateImageFn = void (*)(GfxImage* image, int32_t x, int32_t y, int32_t w, int32_t h);
// Frees an image's texture (never called without one) and sets the field to null.
using GfxDeleteImageFn = void (*)(GfxImage* image);
// Creates the driver object of an overlay without one and stores it.
using GfxCreateOverlayFn = void (*)(GfxOverlay* overlay);
// Where the overlay lies: top-left corner (origin applied) and the size of one overlay pixel.
// Called only for an overlay with driver object.
using GfxSetOverlayRectFn = void (*)(GfxOverlay* overlay, float x, float y, float w, float h);
// New overlay pixels (0xAARRGGBB, rows `stride` bytes apart) and the colour of every point
// outside them. The pixels stay the caller's and must live while the overlay may be applied;
// null pixels or a size of 0 mean "outside colour everywhere". Called with a driver object.
using GfxUpdateOverlayFn = void (*)(GfxOverlay* overlay, uint32_t outsideColour, int32_t width,
                                    int32_t height, const void* pixels, int32_t stride);
// Multiplies every later drawing by the overlay (null: plain drawing again). A non-null overlay
// has a driver object. Calling it with null twice is harmless.
using GfxApplyOverlayFn = void (*)(GfxOverlay* overlay);
// Frees an overlay's driver object (never called without one) and sets the field to null.
using GfxDeleteOverlayFn = void (*)(GfxOverlay* overlay);

// The 19 drawing slots in the table's order, for the code that lists them all: SLOT(name) for
// each, the slot's type being Gfx<name>Fn.
#define GFX_DRAWING_SLOTS(SLOT)      \
    SLOT(DrawLine)                   \
    SLOT(DrawLineGradient)           \
    SLOT(FillRect)                   \
    SLOT(FillRectGradient)           \
    SLOT(DrawTarget)                 \
    SLOT(DrawTargetScaled)           \
    SLOT(DrawTargetPart)             \
    SLOT(DrawTargetPartScaled)       \
    SLOT(DrawTargetTinted)           \
    SLOT(DrawTargetGradient)         \
    SLOT(DrawImage)                  \
    SLOT(DrawImageScaled)            \
    SLOT(DrawImageTiled)             \
    SLOT(DrawImageTinted)            \
    SLOT(DrawImageGradient)          \
    SLOT(DrawImagePart)              \
    SLOT(DrawImagePartTinted)        \
    SLOT(DrawImagePartTiledGradient) \
    SLOT(DrawImageMin)

// One complete set of the 19 drawing slots; a driver installs a whole set at a time.
struct GfxPrimitiveSet {
#define GFX_SLOT_MEMBER(slot) Gfx##slot##Fn slot;
    GFX_DRAWING_SLOTS(GFX_SLOT_MEMBER)
#undef GFX_SLOT_MEMBER
};

// The table itself, in its fixed order: the two queries, the drawing slots, the bound window,
// the 16 driver operations.
struct GfxDriver {
    static GfxGetDriverIdFn GetDriverId;
    static GfxReadScreenFn ReadScreen;

#define GFX_SLOT_MEMBER(slot) static Gfx##slot##Fn slot;
    GFX_DRAWING_SLOTS(GFX_SLOT_MEMBER)
#undef GFX_SLOT_MEMBER

    // The window the layer is bound to (GFX_Bind); drivers create their context on it.
    static HWND window;

    static GfxUnloadFn Unload;
    static GfxApplyConfigFn ApplyConfig;
    static GfxSetClipFn SetClip;
    static GfxReadTargetFn ReadTarget;
    static GfxCheckTargetFn CheckTarget;
    static GfxCreateTargetFn CreateTarget;
    static GfxDeleteTargetFn DeleteTarget;
    static GfxBeginFrameFn BeginFrame;
    static GfxEndFrameFn EndFrame;
    static GfxUpdateImageFn UpdateImage;
    static GfxDeleteImageFn DeleteImage;
    static GfxCreateOverlayFn CreateOverlay;
    static GfxSetOverlayRectFn SetOverlayRect;
    static GfxUpdateOverlayFn UpdateOverlay;
    static GfxApplyOverlayFn ApplyOverlay;
    static GfxDeleteOverlayFn DeleteOverlay;
};

// Installs all 19 drawing slots of a set at once.
void GFX_InstallPrimitiveSet(const GfxPrimitiveSet& set);

// The null driver: draws nothing, fails nothing; installed before any other and after every
// unload. Its CreateTarget/CreateOverlay store 1 as the driver object, CheckTarget answers
// false, ReadScreen writes zeros.
void GFX_InstallNullDriver();

// The OpenGL driver's init (GFX_Init calls it for DriverOpenGL): fills the whole table, or
// leaves the null driver installed when the machine cannot run it.
void OGL_Init(uint32_t flags);

// The Direct3D 9 driver's init (GFX_Init calls it for DriverDirectX): loads "d3d9.dll" and
// fills the whole table, or leaves the null driver installed when the machine cannot run it.
void DX9_Init(uint32_t flags);

// The Direct3D 9 device while that driver is loaded, otherwise null; exposed for tests.
struct IDirect3DDevice9;
IDirect3DDevice9* DX9_Device();

// OpenGL feature detection, exposed for tests.
struct OglVersion {
    int major, minor, release;
};
// Reads "major.minor[.release]" from the start of a GL_VERSION string; the last number must be
// followed by the end or a blank. Anything else (or null) gives 0.0.0.
OglVersion OGL_ParseVersion(const char* text);
// True when `name` is a whole blank-separated word of `list` (null lists nothing).
bool OGL_ListsName(const char* list, const char* name);
