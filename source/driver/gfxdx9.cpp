// The Direct3D 9 driver: fixed-function drawing of user-memory quads and lines on a device over
// the bound window. "d3d9.dll" is loaded at run time, so the program runs where it is missing.
// Render targets are render-target textures; the overlay is drawn either by a second texture
// stage or with colours sampled on the processor.
#include "driver/gfxslots.h"

#include <d3d9.h>

#include <algorithm>
#include <cstring>

namespace {

// Driver object of an image: a managed texture with the image in its top-left corner.
struct Dx9Image {
    IDirect3DTexture9* texture;
    int32_t textureWidth, textureHeight;  // powers of two
    float uMax, vMax;                     // texture coordinates of the image's far edges
};

// Driver object of a render target: a render-target texture and its level-0 surface.
struct Dx9Target {
    IDirect3DTexture9* texture;
    IDirect3DSurface9* surface;
    bool needsRedraw;  // created, not drawn since
    int32_t textureWidth, textureHeight;
    float uMax, vMax;
};

// Driver object of an overlay drawn by the second texture stage. The pixel block sits at texel
// (1, 1); every other texel holds the outside colour.
struct Dx9Overlay {
    IDirect3DTexture9* texture;
    uint32_t outsideColour;
    int32_t pixelWidth, pixelHeight;      // of the last upload; 0 while empty
    int32_t textureWidth, textureHeight;  // 1 x 1 while empty
};

struct Dx9State {
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    IDirect3DSurface9* backBuffer = nullptr;
    bool vsync = false;
    bool multitexture = false;  // the overlay is drawn by texture stage 1
    bool clipPlanesOn = false;
    DWORD maxTextureWidth = 0, maxTextureHeight = 0;

    int32_t width = 0, height = 0;  // configured drawing size: the back buffer's
    uint32_t clearColour = 0;
    GfxRenderTarget* target = nullptr;  // current surface; null for the screen
    GfxOverlay* overlay = nullptr;      // applied overlay
    bool lost = false;                  // the device was lost and is not reset yet
    bool skipFrame = false;             // the frame begun last draws nothing (device lost)

    // What is set, so runs of quads from one texture set no state.
    IDirect3DBaseTexture9* boundTexture = nullptr;  // stage 0
    bool texturing = true;  // stage 0 takes the texture; off: the vertex colour alone
    bool linear = false;    // stage-0 filter
    IDirect3DBaseTexture9* overlayTexture = nullptr;  // stage 1
    DWORD fvf = 0;

    // A copy of the back buffer taken before Present while the layer asks for the presented
    // frames to be kept: the back buffer is undefined afterwards, and the screen read-back must
    // give what the player saw.
    IDirect3DSurface9* presented = nullptr;
    bool presentedValid = false;
} dx9;

// Loaded once and kept: unloading the driver does not unload the library.
HMODULE d3d9Library = nullptr;

template <class Object>
void Release(Object*& object) {
    if (object) object->Release();
    object = nullptr;
}

// --- state helpers ---

void Dx9SetFilter(bool linear) {
    dx9.linear = linear;
    const DWORD filter = linear ? D3DTEXF_LINEAR : D3DTEXF_POINT;
    dx9.device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
    dx9.device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
}

void Dx9BindTexture(IDirect3DBaseTexture9* texture, bool linear) {
    if (texture != dx9.boundTexture) {
        dx9.device->SetTexture(0, texture);
        dx9.boundTexture = texture;
    }
    if (linear != dx9.linear) Dx9SetFilter(linear);
}

// Untextured shapes take the vertex colour alone instead of binding a texture of their own,
// so a fill between two quads of one texture costs no texture change.
void Dx9Texturing(bool on) {
    if (on == dx9.texturing) return;
    const DWORD operation = on ? D3DTOP_MODULATE : D3DTOP_SELECTARG2;
    dx9.device->SetTextureStageState(0, D3DTSS_COLOROP, operation);
    dx9.device->SetTextureStageState(0, D3DTSS_ALPHAOP, operation);
    dx9.texturing = on;
}

// Unbinds a texture about to be released or drawn into, so that the device lets go of it and a
// new texture at the same address is bound again.
void Dx9Forget(IDirect3DBaseTexture9* texture) {
    if (dx9.boundTexture == texture) {
        dx9.device->SetTexture(0, nullptr);
        dx9.boundTexture = nullptr;
    }
    if (dx9.overlayTexture == texture) {
        dx9.device->SetTexture(1, nullptr);
        dx9.overlayTexture = nullptr;
    }
}

void Dx9SetFvf(DWORD fvf) {
    if (fvf == dx9.fvf) return;
    dx9.device->SetFVF(fvf);
    dx9.fvf = fvf;
}

void Dx9SetBlending(D3DBLEND source, D3DBLEND destination, D3DBLEND sourceAlpha,
                    D3DBLEND destinationAlpha, D3DBLENDOP operation) {
    IDirect3DDevice9* device = dx9.device;
    device->SetRenderState(D3DRS_SRCBLEND, source);
    device->SetRenderState(D3DRS_DESTBLEND, destination);
    device->SetRenderState(D3DRS_SRCBLENDALPHA, sourceAlpha);
    device->SetRenderState(D3DRS_DESTBLENDALPHA, destinationAlpha);
    device->SetRenderState(D3DRS_BLENDOP, operation);
    device->SetRenderState(D3DRS_BLENDOPALPHA, operation);
}

// Source alpha over one minus source alpha; the alpha channel adds the source's alpha.
void Dx9SetNormalBlending() {
    Dx9SetBlending(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DBLEND_ONE, D3DBLEND_INVSRCALPHA,
                   D3DBLENDOP_ADD);
}

// True when a texture of this size can be made: both sides positive and within the limits.
bool Dx9TextureFits(int32_t textureWidth, int32_t textureHeight) {
    return textureWidth > 0 && textureHeight > 0 && DWORD(textureWidth) <= dx9.maxTextureWidth &&
           DWORD(textureHeight) <= dx9.maxTextureHeight;
}

// A managed A8R8G8B8 texture of one level; null when it cannot be made.
IDirect3DTexture9* Dx9CreateManagedTexture(int32_t width, int32_t height) {
    IDirect3DTexture9* texture = nullptr;
    if (FAILED(dx9.device->CreateTexture(UINT(width), UINT(height), 1, 0, D3DFMT_A8R8G8B8,
                                         D3DPOOL_MANAGED, &texture, nullptr))) {
        return nullptr;
    }
    return texture;
}

// Runs `write(row pointer, pitch)` on level 0 of a locked texture (the whole texture or `rect`);
// false when it cannot be locked.
template <class Write>
bool Dx9WriteTexture(IDirect3DTexture9* texture, const RECT* rect, Write write) {
    D3DLOCKED_RECT locked;
    if (FAILED(texture->LockRect(0, &locked, rect, 0))) return false;
    write(static_cast<uint8_t*>(locked.pBits), ptrdiff_t(locked.Pitch));
    texture->UnlockRect(0);
    return true;
}

// --- images ---

// Copies the block (x, y, w, h) of the image's pixel copy into rows `pitch` bytes apart.
void CopyImageBlock(const GfxImage* image, int32_t x, int32_t y, int32_t w, int32_t h,
                    uint8_t* rows, ptrdiff_t pitch) {
    for (int32_t row = 0; row < h; ++row) {
        std::memcpy(rows + row * pitch, image->pixels + (ptrdiff_t(y + row) * image->width + x),
                    size_t(w) * 4);
    }
}

// The image's texture, built from its pixel copy on first use: the image in the top-left
// corner, every other texel 0 (transparent). Null when it cannot be.
const Dx9Image* Dx9ImageTexture(GfxImage* image) {
    if (image->driverObject) return static_cast<const Dx9Image*>(image->driverObject);
    const int32_t textureWidth = GFX_NextPowerOfTwo(image->width);
    const int32_t textureHeight = GFX_NextPowerOfTwo(image->height);
    if (!Dx9TextureFits(textureWidth, textureHeight)) {
        GFX_PUSH_ERROR("DX9: image too large for a texture");
        return nullptr;
    }
    IDirect3DTexture9* texture = Dx9CreateManagedTexture(textureWidth, textureHeight);
    const bool written =
        texture && Dx9WriteTexture(texture, nullptr, [&](uint8_t* rows, ptrdiff_t pitch) {
            for (int32_t row = 0; row < textureHeight; ++row) {
                std::memset(rows + row * pitch, 0, size_t(textureWidth) * 4);
            }
            CopyImageBlock(image, 0, 0, image->width, image->height, rows, pitch);
        });
    if (!written) {
        Release(texture);
        GFX_PUSH_ERROR("DX9: image texture could not be created");
        return nullptr;
    }
    auto* object =
        new Dx9Image{texture, textureWidth, textureHeight, float(image->width) / textureWidth,
                     float(image->height) / textureHeight};
    image->driverObject = object;
    return object;
}

void Dx9UpdateImage(GfxImage* image, int32_t x, int32_t y, int32_t w, int32_t h) {
    const auto* object = static_cast<const Dx9Image*>(image->driverObject);
    if (w <= 0 || h <= 0) return;
    const RECT block = {x, y, x + w, y + h};
    if (!Dx9WriteTexture(object->texture, &block, [&](uint8_t* rows, ptrdiff_t pitch) {
            CopyImageBlock(image, x, y, w, h, rows, pitch);
        })) {
        GFX_PUSH_ERROR("DX9: image texture could not be updated");
    }
}

void Dx9DeleteImage(GfxImage* image) {
    auto* object = static_cast<Dx9Image*>(image->driverObject);
    Dx9Forget(object->texture);
    Release(object->texture);
    delete object;
    image->driverObject = nullptr;
}

// --- drawing sets ---

// What binding and blending are alike in every way of drawing.
struct Dx9Binds {
    using Target = Dx9Target;

    static void BindTarget(const Dx9Target* object, uint32_t flags) {
        Dx9BindTexture(object->texture, flags & GfxFlagLinear);
    }

    static const Dx9Image* BindImage(GfxImage* image) {
        const Dx9Image* object = Dx9ImageTexture(image);
        if (object) Dx9BindTexture(object->texture, image->flags & GfxFlagLinear);
        return object;
    }

    static void MinimumBlending(bool on) {
        if (on)
            Dx9SetBlending(D3DBLEND_ONE, D3DBLEND_ONE, D3DBLEND_ONE, D3DBLEND_ONE, D3DBLENDOP_MIN);
        else Dx9SetNormalBlending();
    }
};

// The primitives of one way: plain, with the overlay as the second texture stage, or with the
// overlay sampled on the processor into the vertex colours.
template <GfxWay way>
struct Dx9Primitives : Dx9Binds {
    static void Quad(const GfxQuad& quad) {
        Draw(D3DPT_TRIANGLEFAN, 4, quad.xs, quad.ys, quad.colours,
             quad.textured ? quad.us : nullptr, quad.vs);
    }

    // Through the pixel centres of its ends; the end pixel itself is not drawn.
    static void Line(float x0, float y0, float x1, float y1, uint32_t colour0, uint32_t colour1) {
        const float xs[2] = {x0 + 0.5f, x1 + 0.5f};
        const float ys[2] = {y0 + 0.5f, y1 + 0.5f};
        const uint32_t colours[2] = {colour0, colour1};
        Draw(D3DPT_LINELIST, 2, xs, ys, colours, nullptr, nullptr);
    }

private:
    // Draws `count` vertices (a fan of four or a line of two) in the vertex format the way and
    // the shape need: position; a colour unless a plain or multitexture textured shape is
    // untinted; texture coordinates when textured (us and vs given); the position again for
    // the overlay stage. Textured shapes draw with the texture bound last, untextured ones with
    // their vertex colours alone.
    static void Draw(D3DPRIMITIVETYPE type, int count, const float* xs, const float* ys,
                     const uint32_t* colours, const float* us, const float* vs) {
        const bool textured = us != nullptr;
        bool coloured = way == GfxWay::Sampled || !textured;
        for (int i = 0; i < count; ++i) coloured = coloured || colours[i] != GfxWhite;
        const bool coordinates = textured || way == GfxWay::Multitexture;
        const DWORD fvf = D3DFVF_XYZ | (coloured ? D3DFVF_DIFFUSE : 0) |
                          (way == GfxWay::Multitexture ? D3DFVF_TEX2
                           : textured                  ? D3DFVF_TEX1
                                                       : 0);
        DWORD data[4 * 8];
        int n = 0;
        const auto put = [&](float value) { std::memcpy(&data[n++], &value, sizeof value); };
        for (int i = 0; i < count; ++i) {
            put(xs[i]);
            put(ys[i]);
            put(0);
            if (way == GfxWay::Sampled) {
                data[n++] = GFX_MultiplyColor(colours[i], GFX_SampleOverlay(xs[i], ys[i]));
            } else if (coloured) {
                data[n++] = colours[i];
            }
            if (coordinates) {
                put(textured ? us[i] : 0);
                put(textured ? vs[i] : 0);
            }
            if (way == GfxWay::Multitexture) {
                put(xs[i]);
                put(ys[i]);
            }
        }
        Dx9Texturing(textured);
        Dx9SetFvf(fvf);
        dx9.device->DrawPrimitiveUP(type, type == D3DPT_LINELIST ? 1 : 2, data,
                                    UINT(n / count * sizeof(DWORD)));
    }
};

// --- overlay by the second texture stage ---

// Stage 1 modulates by the overlay's texture, or is switched off without one; a switched-off
// stage keeps its texture, which the next overlay often is again.
void Dx9SetOverlayStage(IDirect3DTexture9* texture) {
    IDirect3DDevice9* device = dx9.device;
    if (texture && texture != dx9.overlayTexture) {
        device->SetTexture(1, texture);
        dx9.overlayTexture = texture;
    }
    const DWORD operation = texture ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    device->SetTextureStageState(1, D3DTSS_COLOROP, operation);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, operation);
}

// Maps a surface position to the texel of its overlay pixel: point x + i * w, y + j * h lands
// on the centre of texel (i + 1, j + 1), the texel that holds pixel (i, j).
void Dx9SetOverlayTransform(const GfxOverlay* overlay) {
    const auto* object = static_cast<const Dx9Overlay*>(overlay->driverObject);
    const float tw = float(object->textureWidth);
    const float th = float(object->textureHeight);
    D3DMATRIX m = {};
    m._33 = 1;
    m._44 = 1;
    if (overlay->w > 0 && overlay->h > 0) {
        m._11 = 1 / (tw * overlay->w);
        m._22 = 1 / (th * overlay->h);
        m._31 = 1.5f / tw - overlay->x / (tw * overlay->w);
        m._32 = 1.5f / th - overlay->y / (th * overlay->h);
    } else {
        // An overlay without area: every point reads texel (0, 0), the outside colour.
        m._31 = 0.5f / tw;
        m._32 = 0.5f / th;
    }
    dx9.device->SetTransform(D3DTS_TEXTURE1, &m);
}

void Dx9ApplyMultitextureOverlay(GfxOverlay* overlay) {
    dx9.overlay = overlay;
    if (overlay) Dx9SetOverlayTransform(overlay);
    Dx9SetOverlayStage(overlay ? static_cast<Dx9Overlay*>(overlay->driverObject)->texture
                               : nullptr);
    GFX_InstallSlots<Dx9Primitives>(overlay ? GfxWay::Multitexture : GfxWay::Plain);
}

// Writes the whole overlay texture: the pixels at texel (1, 1), the outside colour elsewhere.
void Dx9FillOverlay(IDirect3DTexture9* texture, int32_t textureWidth, int32_t textureHeight,
                    uint32_t outsideColour, int32_t width, int32_t height, const uint8_t* pixels,
                    int32_t stride) {
    Dx9WriteTexture(texture, nullptr, [&](uint8_t* rows, ptrdiff_t pitch) {
        for (int32_t row = 0; row < textureHeight; ++row) {
            auto* texels = reinterpret_cast<uint32_t*>(rows + row * pitch);
            std::fill(texels, texels + textureWidth, outsideColour);
            if (row >= 1 && row <= height) {
                std::memcpy(texels + 1, pixels + ptrdiff_t(row - 1) * stride, size_t(width) * 4);
            }
        }
    });
}

// Builds the overlay's texture again for new pixels, a new size or a new outside colour.
void Dx9RebuildOverlay(GfxOverlay* overlay, Dx9Overlay* object, uint32_t outsideColour,
                       int32_t width, int32_t height, const uint8_t* pixels, int32_t stride) {
    int32_t textureWidth = 1, textureHeight = 1;
    if (pixels) {
        // width + 2 must not wrap for a size near the 32-bit limit.
        const bool representable = width <= 0x40000000 - 2 && height <= 0x40000000 - 2;
        textureWidth = representable ? GFX_NextPowerOfTwo(width + 2) : 0;
        textureHeight = representable ? GFX_NextPowerOfTwo(height + 2) : 0;
        if (!Dx9TextureFits(textureWidth, textureHeight)) {
            GFX_PUSH_ERROR("DX9: overlay too large for a texture");
            pixels = nullptr;
            textureWidth = textureHeight = 1;
        }
    }
    if (!pixels) width = height = 0;
    if (textureWidth != object->textureWidth || textureHeight != object->textureHeight) {
        if (object->texture) Dx9Forget(object->texture);
        Release(object->texture);
        object->texture = Dx9CreateManagedTexture(textureWidth, textureHeight);
        if (!object->texture) {
            GFX_PUSH_ERROR("DX9: overlay texture could not be created");
            textureWidth = textureHeight = 0;
        }
    }
    *object = {object->texture, outsideColour, width, height, textureWidth, textureHeight};
    if (object->texture) {
        Dx9FillOverlay(object->texture, textureWidth, textureHeight, outsideColour, width, height,
                       pixels, stride);
    }
    if (overlay == dx9.overlay) Dx9ApplyMultitextureOverlay(overlay);
}

void Dx9CreateOverlay(GfxOverlay* overlay) {
    auto* object = new Dx9Overlay{nullptr, overlay->outsideColour, 0, 0, 0, 0};
    overlay->driverObject = object;
    Dx9RebuildOverlay(overlay, object, overlay->outsideColour, 0, 0, nullptr, 0);
}

void Dx9UpdateOverlay(GfxOverlay* overlay, uint32_t outsideColour, int32_t width, int32_t height,
                      const void* pixels, int32_t stride) {
    auto* object = static_cast<Dx9Overlay*>(overlay->driverObject);
    const auto* source = static_cast<const uint8_t*>(pixels);
    const bool sameShape = source && object->texture && width == object->pixelWidth &&
                           height == object->pixelHeight && width > 0 && height > 0 &&
                           outsideColour == object->outsideColour;
    if (!sameShape) {
        Dx9RebuildOverlay(overlay, object, outsideColour, width, height, source, stride);
        return;
    }
    const RECT block = {1, 1, width + 1, height + 1};
    Dx9WriteTexture(object->texture, &block, [&](uint8_t* rows, ptrdiff_t pitch) {
        for (int32_t row = 0; row < height; ++row) {
            std::memcpy(rows + row * pitch, source + ptrdiff_t(row) * stride, size_t(width) * 4);
        }
    });
}

void Dx9SetOverlayRect(GfxOverlay* overlay, float, float, float, float) {
    if (overlay == dx9.overlay) Dx9SetOverlayTransform(overlay);
}

void Dx9DeleteOverlay(GfxOverlay* overlay) {
    if (overlay == dx9.overlay) Dx9ApplyMultitextureOverlay(nullptr);
    auto* object = static_cast<Dx9Overlay*>(overlay->driverObject);
    if (object->texture) Dx9Forget(object->texture);
    Release(object->texture);
    delete object;
    overlay->driverObject = nullptr;
}

// --- overlay sampled on the processor ---

void Dx9ApplySampledOverlay(GfxOverlay* overlay) {
    dx9.overlay = overlay;
    GFX_InstallSlots<Dx9Primitives>(overlay ? GfxWay::Sampled : GfxWay::Plain);
    GFX_SampledOverlayApply(overlay);
}

// --- render targets ---

const char* Dx9CreationFailure(HRESULT result) {
    switch (result) {
        case E_OUTOFMEMORY: return "out of system memory";
        case D3DERR_OUTOFVIDEOMEMORY: return "out of video memory";
        case D3DERR_INVALIDCALL: return "internal error";
        default: return "unknown error";
    }
}

void Dx9PushTargetError(const char* reason) {
    GFX_SetErrorSource("DX9::FramePreload (error) - %s", __FILE__, __LINE__);
    GFX_FormatError(reason);
    GFX_PushError();
}

void Dx9CreateTarget(GfxRenderTarget* target) {
    const int32_t textureWidth = GFX_NextPowerOfTwo(target->width);
    const int32_t textureHeight = GFX_NextPowerOfTwo(target->height);
    if (textureWidth == 0 || textureHeight == 0) {  // no power of two fits in 32 bits
        Dx9PushTargetError(Dx9CreationFailure(D3DERR_INVALIDCALL));
        return;
    }
    IDirect3DTexture9* texture = nullptr;
    const HRESULT created =
        dx9.device->CreateTexture(UINT(textureWidth), UINT(textureHeight), 1, D3DUSAGE_RENDERTARGET,
                                  D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr);
    if (FAILED(created)) {
        Dx9PushTargetError(Dx9CreationFailure(created));
        return;
    }
    IDirect3DSurface9* surface = nullptr;
    if (FAILED(texture->GetSurfaceLevel(0, &surface))) {
        Dx9PushTargetError(Dx9CreationFailure(D3DERR_INVALIDCALL));
        texture->Release();
        return;
    }
    target->driverObject = new Dx9Target{texture,
                                         surface,
                                         true,
                                         textureWidth,
                                         textureHeight,
                                         float(target->width) / textureWidth,
                                         float(target->height) / textureHeight};
}

void Dx9DeleteTarget(GfxRenderTarget* target) {
    auto* object = static_cast<Dx9Target*>(target->driverObject);
    Dx9Forget(object->texture);
    Release(object->surface);
    Release(object->texture);
    delete object;
    target->driverObject = nullptr;
}

bool Dx9CheckTarget(GfxRenderTarget* target) {
    const auto* object = static_cast<const Dx9Target*>(target->driverObject);
    return !object || object->needsRedraw;
}

// Reads a render-target surface into system memory and runs `read(rows, pitch)` on it; false
// when it cannot be read.
template <class Read>
bool Dx9ReadSurface(IDirect3DSurface9* surface, Read read) {
    D3DSURFACE_DESC description;
    if (FAILED(surface->GetDesc(&description))) return false;
    IDirect3DSurface9* copy = nullptr;
    if (FAILED(dx9.device->CreateOffscreenPlainSurface(description.Width, description.Height,
                                                       description.Format, D3DPOOL_SYSTEMMEM, &copy,
                                                       nullptr))) {
        return false;
    }
    D3DLOCKED_RECT locked;
    const bool readable = SUCCEEDED(dx9.device->GetRenderTargetData(surface, copy)) &&
                          SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY));
    if (readable) {
        read(static_cast<const uint8_t*>(locked.pBits), ptrdiff_t(locked.Pitch), description);
        copy->UnlockRect();
    }
    copy->Release();
    return readable;
}

void Dx9ReadTarget(GfxRenderTarget* target, int32_t x, int32_t y, int32_t w, int32_t h,
                   void* destination, int32_t stride) {
    const auto* object = static_cast<const Dx9Target*>(target->driverObject);
    auto* out = static_cast<uint8_t*>(destination);
    const bool read = Dx9ReadSurface(object->surface, [&](const uint8_t* rows, ptrdiff_t pitch,
                                                          const D3DSURFACE_DESC&) {
        for (int32_t row = 0; row < h; ++row) {
            std::memcpy(out + ptrdiff_t(row) * stride, rows + (y + row) * pitch + ptrdiff_t(x) * 4,
                        size_t(w) * 4);
        }
    });
    if (!read) GFX_PUSH_ERROR("DX9: a render target could not be read back");
}

// --- device, configuration, frames ---

D3DPRESENT_PARAMETERS Dx9PresentParameters(int32_t width, int32_t height) {
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.BackBufferWidth = UINT(std::max(width, 0));  // 0: the window's client size
    parameters.BackBufferHeight = UINT(std::max(height, 0));
    parameters.BackBufferFormat = D3DFMT_UNKNOWN;
    parameters.BackBufferCount = 1;
    parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = GfxDriver::window;
    parameters.Windowed = TRUE;
    parameters.PresentationInterval =
        dx9.vsync ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE;
    return parameters;
}

void Dx9SetFixedState() {
    IDirect3DDevice9* device = dx9.device;
    // A reset unbinds every texture and puts back the default stage operations.
    dx9.boundTexture = nullptr;
    dx9.overlayTexture = nullptr;
    dx9.texturing = true;
    dx9.fvf = 0;
    device->SetVertexShader(nullptr);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_LOCALVIEWER, FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, TRUE);
    Dx9SetNormalBlending();
    device->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, FALSE);
    device->SetRenderState(D3DRS_LASTPIXEL, FALSE);
    Dx9SetFilter(dx9.linear);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    if (dx9.multitexture) {
        device->SetSamplerState(1, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
        device->SetSamplerState(1, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
        device->SetSamplerState(1, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(1, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        device->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(1, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
        Dx9SetOverlayStage(nullptr);
    }
}

// The copy of the presented frame lives in the default pool, beside the back buffer. Without
// it the screen read-back gives zeros.
void Dx9CreatePresentedCopy() {
    D3DSURFACE_DESC description;
    if (FAILED(dx9.backBuffer->GetDesc(&description))) return;
    if (FAILED(dx9.device->CreateRenderTarget(description.Width, description.Height,
                                              description.Format, D3DMULTISAMPLE_NONE, 0, FALSE,
                                              &dx9.presented, nullptr))) {
        dx9.presented = nullptr;
    }
}

enum class Dx9Reset { Ready, Lost, Failed };

// Resets the device to the configured size. Render targets and the presented copy live in the
// default pool and go first; images and overlays are managed and survive.
Dx9Reset Dx9ResetDevice() {
    IDirect3DDevice9* device = dx9.device;
    if (dx9.backBuffer) device->SetRenderTarget(0, dx9.backBuffer);
    Dx9Forget(dx9.boundTexture);
    Dx9Forget(dx9.overlayTexture);
    for (GfxRenderTarget* target = gfxState.targets; target; target = target->next) {
        if (target->driverObject) Dx9DeleteTarget(target);
    }
    Release(dx9.backBuffer);
    Release(dx9.presented);
    dx9.presentedValid = false;
    D3DPRESENT_PARAMETERS parameters = Dx9PresentParameters(dx9.width, dx9.height);
    const HRESULT reset = device->Reset(&parameters);
    dx9.lost = reset == D3DERR_DEVICELOST;
    if (dx9.lost) return Dx9Reset::Lost;
    if (FAILED(reset) || FAILED(device->GetRenderTarget(0, &dx9.backBuffer))) {
        GFX_Unload();
        return Dx9Reset::Failed;
    }
    Dx9SetFixedState();
    Dx9CreatePresentedCopy();
    return Dx9Reset::Ready;
}

void Dx9ApplyConfig(int32_t width, int32_t height, uint32_t clearColour, uint32_t) {
    dx9.width = width;
    dx9.height = height;
    dx9.clearColour = clearColour;
    Dx9ResetDevice();
}

void Dx9SetClip(float x0, float y0, float x1, float y1) {
    const float planes[4][4] = {{1, 0, 0, -x0}, {0, 1, 0, -y0}, {-1, 0, 0, x1}, {0, -1, 0, y1}};
    for (DWORD i = 0; i < 4; ++i) dx9.device->SetClipPlane(i, planes[i]);
    dx9.device->SetRenderState(D3DRS_CLIPPLANEENABLE, 0xF);
    dx9.clipPlanesOn = true;
}

// A lost device is reset at the start of a frame of the screen once it can be. Until then
// frames draw nothing; a target keeps asking to be redrawn.
Dx9Reset Dx9Recover(GfxRenderTarget* target) {
    if (target || dx9.device->TestCooperativeLevel() != D3DERR_DEVICENOTRESET) {
        return Dx9Reset::Lost;
    }
    return Dx9ResetDevice();
}

void Dx9BeginFrame(GfxRenderTarget* target) {
    if (dx9.multitexture) Dx9ApplyMultitextureOverlay(nullptr);
    else Dx9ApplySampledOverlay(nullptr);
    dx9.target = target;
    if (dx9.lost) {
        const Dx9Reset recovered = Dx9Recover(target);
        if (recovered == Dx9Reset::Failed) {  // unloaded: the frame goes on under the null driver
            GFX_BeginFrame(target);
            return;
        }
        dx9.skipFrame = recovered == Dx9Reset::Lost;
        if (dx9.skipFrame) return;
    }
    IDirect3DDevice9* device = dx9.device;
    IDirect3DSurface9* surface = dx9.backBuffer;
    float surfaceWidth = float(dx9.width), surfaceHeight = float(dx9.height);
    uint32_t clearColour = dx9.clearColour;
    bool clear = true;
    if (target) {
        auto* object = static_cast<Dx9Target*>(target->driverObject);
        const bool wasInvalid = object->needsRedraw;
        object->needsRedraw = false;
        surface = object->surface;
        surfaceWidth = float(object->textureWidth);
        surfaceHeight = float(object->textureHeight);
        clearColour = target->clearColour;
        clear = wasInvalid || !(target->flags & GfxFlagKeep);
        Dx9Forget(object->texture);  // a texture cannot be read while it is drawn into
    }
    // Pixel (0, 0) is the top-left corner and y grows downwards; the world moves by half a pixel
    // so that texel and pixel centres meet.
    D3DMATRIX projection = {};
    projection._11 = 2 / surfaceWidth;
    projection._22 = -2 / surfaceHeight;
    projection._33 = 1;
    projection._41 = -1;
    projection._42 = 1;
    projection._44 = 1;
    D3DMATRIX world = {};
    world._11 = world._22 = world._33 = world._44 = 1;
    world._41 = -0.5f;
    world._42 = -0.5f;
    bool ready = SUCCEEDED(device->SetRenderTarget(0, surface)) &&
                 SUCCEEDED(device->SetTransform(D3DTS_PROJECTION, &projection)) &&
                 SUCCEEDED(device->SetTransform(D3DTS_WORLD, &world));
    if (ready && dx9.clipPlanesOn) {
        dx9.clipPlanesOn = false;
        ready = SUCCEEDED(device->SetRenderState(D3DRS_CLIPPLANEENABLE, 0));
    }
    if (ready && clear) {
        ready = SUCCEEDED(device->Clear(0, nullptr, D3DCLEAR_TARGET, clearColour, 0, 0));
    }
    if (!ready || FAILED(device->BeginScene())) {
        GFX_Unload();
        GFX_BeginFrame(target);
    }
}

// Copies the finished back buffer into the presented copy while the layer keeps presented
// frames; otherwise the copy no longer shows the last frame and the read-back gives zeros.
void Dx9KeepPresentedFrame() {
    dx9.presentedValid = gfxState.keepPresentedFrames && dx9.presented &&
                         SUCCEEDED(dx9.device->StretchRect(dx9.backBuffer, nullptr, dx9.presented,
                                                           nullptr, D3DTEXF_NONE));
}

void Dx9EndFrame() {
    const bool screen = !dx9.target;
    dx9.target = nullptr;
    if (dx9.skipFrame) {
        dx9.skipFrame = false;
        return;
    }
    dx9.device->EndScene();
    if (!screen) return;
    Dx9KeepPresentedFrame();
    const HRESULT presented = dx9.device->Present(nullptr, nullptr, nullptr, nullptr);
    if (presented == D3DERR_DEVICELOST) dx9.lost = true;
    else if (FAILED(presented)) GFX_Unload();
}

// The block (x, y, w, h) of the last presented frame, bottom row first; pixels outside it are 0.
void Dx9ReadScreen(int32_t x, int32_t y, int32_t w, int32_t h, void* destination, int32_t stride) {
    if (w <= 0 || h <= 0) return;
    auto* out = static_cast<uint8_t*>(destination);
    for (int32_t row = 0; row < h; ++row) {
        std::memset(out + ptrdiff_t(row) * stride, 0, size_t(w) * 4);
    }
    if (!dx9.presentedValid) return;
    Dx9ReadSurface(dx9.presented, [&](const uint8_t* rows, ptrdiff_t pitch,
                                      const D3DSURFACE_DESC& frame) {
        const bool opaque = frame.Format == D3DFMT_X8R8G8B8;
        if (!opaque && frame.Format != D3DFMT_A8R8G8B8) return;
        const int64_t left = std::max<int64_t>(x, 0);
        const int64_t right = std::min<int64_t>(int64_t(x) + w, frame.Width);
        for (int32_t row = 0; row < h; ++row) {
            const int64_t frameRow = int64_t(y) + row;
            if (frameRow < 0 || frameRow >= int64_t(frame.Height) || left >= right) continue;
            auto* pixel = out + ptrdiff_t(h - 1 - row) * stride + (left - x) * 4;
            std::memcpy(pixel, rows + frameRow * pitch + left * 4, size_t(right - left) * 4);
            for (int64_t column = left; opaque && column < right; ++column, pixel += 4) {
                pixel[3] = 0xFF;
            }
        }
    });
}

void Dx9Unload() {
    Release(dx9.presented);
    Release(dx9.backBuffer);
    Release(dx9.device);
    Release(dx9.d3d);
    dx9 = Dx9State{};
}

using Direct3DCreate9Fn = IDirect3D9*(WINAPI*)(UINT);

bool Dx9CreateDevice(uint32_t flags) {
    if (!GfxDriver::window) return false;
    if (!d3d9Library) d3d9Library = LoadLibraryA("d3d9.dll");
    if (!d3d9Library) return false;
    const auto create = reinterpret_cast<Direct3DCreate9Fn>(
        reinterpret_cast<void (*)()>(GetProcAddress(d3d9Library, "Direct3DCreate9")));
    if (!create || !(dx9.d3d = create(D3D_SDK_VERSION))) return false;
    D3DPRESENT_PARAMETERS parameters = Dx9PresentParameters(0, 0);
    if (FAILED(dx9.d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, GfxDriver::window,
                                     D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_FPU_PRESERVE,
                                     &parameters, &dx9.device))) {
        dx9.device = nullptr;
        return false;
    }
    D3DCAPS9 caps = {};
    if (FAILED(dx9.device->GetDeviceCaps(&caps)) || caps.MaxUserClipPlanes < 4 ||
        !(caps.TextureCaps & D3DPTEXTURECAPS_ALPHA)) {
        return false;
    }
    dx9.multitexture = !(flags & GfxInitDx9NoMultitexture) && caps.MaxTextureBlendStages >= 2;
    dx9.maxTextureWidth = caps.MaxTextureWidth;
    dx9.maxTextureHeight = caps.MaxTextureHeight;
    return true;
}

void Dx9Install() {
    GfxDriver::GetDriverId = [] { return DriverDirectX; };
    GfxDriver::ReadScreen = Dx9ReadScreen;
    GfxDriver::Unload = Dx9Unload;
    GfxDriver::ApplyConfig = Dx9ApplyConfig;
    GfxDriver::SetClip = Dx9SetClip;
    GfxDriver::ReadTarget = Dx9ReadTarget;
    GfxDriver::CheckTarget = Dx9CheckTarget;
    GfxDriver::CreateTarget = Dx9CreateTarget;
    GfxDriver::DeleteTarget = Dx9DeleteTarget;
    GfxDriver::BeginFrame = Dx9BeginFrame;
    GfxDriver::EndFrame = Dx9EndFrame;
    GfxDriver::UpdateImage = Dx9UpdateImage;
    GfxDriver::DeleteImage = Dx9DeleteImage;
    if (dx9.multitexture) {
        GfxDriver::CreateOverlay = Dx9CreateOverlay;
        GfxDriver::SetOverlayRect = Dx9SetOverlayRect;
        GfxDriver::UpdateOverlay = Dx9UpdateOverlay;
        GfxDriver::ApplyOverlay = Dx9ApplyMultitextureOverlay;
        GfxDriver::DeleteOverlay = Dx9DeleteOverlay;
    } else {
        GFX_InstallSampledOverlayOps();
        GfxDriver::ApplyOverlay = Dx9ApplySampledOverlay;
    }
    GFX_InstallSlots<Dx9Primitives>(GfxWay::Plain);
}

}  // namespace

IDirect3DDevice9* DX9_Device() { return dx9.device; }

void DX9_Init(uint32_t flags) {
    dx9.vsync = flags & GfxInitVsync;
    dx9.clipPlanesOn = true;
    if (!Dx9CreateDevice(flags)) {
        Dx9Unload();
        return;
    }
    Dx9Install();
}
