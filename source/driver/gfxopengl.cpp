// The OpenGL driver: OpenGL 1.x immediate-mode drawing over a WGL context on the bound window.
// It detects the optional features at init and installs one of two versions of the render-target
// operations (framebuffer objects or copies from the back buffer) and one of two ways of
// applying the overlay (a second texture unit or colours sampled on the processor).
#include "driver/gfxslots.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/wglext.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Driver object of an image.
struct OglImage {
    GLuint name;
    int32_t textureWidth, textureHeight;  // powers of two
    float uMax, vMax;                     // texture coordinates of the image's far edges
};

// Driver object of a render target.
struct OglTarget {
    GLuint name;
    bool contentsInvalid;  // created or lost, not drawn since
    int32_t textureWidth, textureHeight;
    float uMax, vMax;
    GLuint framebuffer;  // framebuffer-object version only
};

// Driver object of an overlay drawn by the second texture unit. The pixel block sits at texel
// (1, 1); every other texel holds the outside colour.
struct OglOverlay {
    GLuint name;
    uint32_t outsideColour;               // of the last upload
    int32_t pixelWidth, pixelHeight;      // of the last upload; 0 while empty
    int32_t textureWidth, textureHeight;  // 1 x 1 while empty
};

struct OglState {
    HWND window = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
    int frameState = 0;  // 1 initialised, 2 configured or between frames, 3 inside a frame
    OglVersion version = {};
    const char* versionText = nullptr;
    const char* extensions[3] = {};  // GL, WGL (EXT query), WGL (ARB query)

    int32_t width = 0, height = 0;  // configured drawing size
    uint32_t clearColour = 0;
    int32_t clientWidth = 0, clientHeight = 0;  // of the frame begun last on the screen
    GfxRenderTarget* target = nullptr;          // current surface; null for the screen
    GfxOverlay* overlay = nullptr;              // applied overlay

    bool bgra = false, swapControl = false, multitexture = false, edgeClamp = false;
    bool framebuffers = false, separateBlend = false, overlayMultitexture = false;
    GLint maxTextureSize = 0;

    uint8_t* readBack = nullptr;  // render-target read-backs
    size_t readBackSize = 0;

    // The last frame presented on the screen, read before the swap while the layer keeps
    // presented frames (rows bottom first, in the transfer format): the back buffer is undefined
    // afterwards, and the screen read-back must give what the player saw.
    uint8_t* presented = nullptr;
    size_t presentedSize = 0;
    int32_t presentedWidth = 0, presentedHeight = 0;

    // What is bound, so runs of quads from one texture set no state.
    GLuint boundTexture = 0;  // unit 0
    bool texturing = true;    // GL_TEXTURE_2D on unit 0
    GLuint unit1Texture = 0;  // bound on unit 1, which samples it only while an overlay is applied

    PFNGLBLENDEQUATIONPROC blendEquation = nullptr;
    PFNWGLSWAPINTERVALEXTPROC swapInterval = nullptr;
    PFNGLACTIVETEXTUREPROC activeTexture = nullptr;
    PFNGLMULTITEXCOORD2FPROC multiTexCoord2f = nullptr;
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBLENDFUNCSEPARATEPROC blendFuncSeparate = nullptr;
} ogl;

// --- entry points and features ---

using OglAnyProc = void (*)();

// wglGetProcAddress answers small integers instead of null on some systems.
OglAnyProc OglProc(const char* name) {
    const PROC proc = wglGetProcAddress(name);
    const auto value = reinterpret_cast<intptr_t>(proc);
    if (value >= -1 && value <= 3) return nullptr;
    return reinterpret_cast<OglAnyProc>(proc);
}

template <class Fn>
bool OglLoad(Fn& entry, const char* name) {
    entry = reinterpret_cast<Fn>(OglProc(name));
    return entry != nullptr;
}

bool OglListed(const char* name) {
    for (const char* list : ogl.extensions) {
        if (OGL_ListsName(list, name)) return true;
    }
    return false;
}

// (major, minor, release) not below (major, minor, 0).
bool OglVersionAtLeast(int major, int minor) {
    const OglVersion& v = ogl.version;
    return v.major != major ? v.major > major : v.minor >= minor;
}

void OglReadExtensionStrings() {
    ogl.extensions[0] = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    PFNWGLGETEXTENSIONSSTRINGEXTPROC getExtensionsExt = nullptr;
    if (OglLoad(getExtensionsExt, "wglGetExtensionsStringEXT")) {
        ogl.extensions[1] = getExtensionsExt();
    }
    PFNWGLGETEXTENSIONSSTRINGARBPROC getExtensionsArb = nullptr;
    if (OglListed("WGL_ARB_extensions_string") &&
        OglLoad(getExtensionsArb, "wglGetExtensionsStringARB")) {
        ogl.extensions[2] = getExtensionsArb(ogl.dc);
    }
}

bool OglLoadMultitexture() {
    PFNGLMULTITEXCOORD2IPROC multiTexCoord2i = nullptr;
    if (OglVersionAtLeast(1, 3) && OglLoad(ogl.activeTexture, "glActiveTexture") &&
        OglLoad(ogl.multiTexCoord2f, "glMultiTexCoord2f") &&
        OglLoad(multiTexCoord2i, "glMultiTexCoord2i")) {
        return true;
    }
    return OglListed("GL_ARB_multitexture") && OglLoad(ogl.activeTexture, "glActiveTextureARB") &&
           OglLoad(ogl.multiTexCoord2f, "glMultiTexCoord2fARB") &&
           OglLoad(multiTexCoord2i, "glMultiTexCoord2iARB");
}

bool OglLoadFramebuffers() {
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkStatus = nullptr;
    if (OglListed("GL_ARB_framebuffer_object") &&
        OglLoad(ogl.genFramebuffers, "glGenFramebuffers") &&
        OglLoad(ogl.bindFramebuffer, "glBindFramebuffer") &&
        OglLoad(ogl.framebufferTexture2D, "glFramebufferTexture2D") &&
        OglLoad(checkStatus, "glCheckFramebufferStatus") &&
        OglLoad(ogl.deleteFramebuffers, "glDeleteFramebuffers")) {
        return true;
    }
    return OglListed("GL_EXT_framebuffer_object") &&
           OglLoad(ogl.genFramebuffers, "glGenFramebuffersEXT") &&
           OglLoad(ogl.bindFramebuffer, "glBindFramebufferEXT") &&
           OglLoad(ogl.framebufferTexture2D, "glFramebufferTexture2DEXT") &&
           OglLoad(checkStatus, "glCheckFramebufferStatusEXT") &&
           OglLoad(ogl.deleteFramebuffers, "glDeleteFramebuffersEXT");
}

bool OglLoadSeparateBlend() {
    return (OglListed("GL_EXT_blend_func_separate") &&
            OglLoad(ogl.blendFuncSeparate, "glBlendFuncSeparateEXT")) ||
           (OglListed("GL_INGR_blend_func_separate") &&
            OglLoad(ogl.blendFuncSeparate, "glBlendFuncSeparateINGR"));
}

void OglDetectFeatures(uint32_t flags) {
    ogl.bgra = !(flags & GfxInitOglNoBgra) && (OglVersionAtLeast(1, 2) || OglListed("GL_EXT_bgra"));
    ogl.swapControl =
        OglListed("WGL_EXT_swap_control") && OglLoad(ogl.swapInterval, "wglSwapIntervalEXT");
    ogl.edgeClamp = OglVersionAtLeast(1, 2) || OglListed("GL_EXT_texture_edge_clamp") ||
                    OglListed("GL_SGIS_texture_edge_clamp");
    ogl.multitexture = !(flags & GfxInitOglNoMultitexture) && OglLoadMultitexture();
    ogl.framebuffers = !(flags & GfxInitOglNoFramebuffer) && OglLoadFramebuffers();
    ogl.separateBlend = OglLoadSeparateBlend();
    ogl.overlayMultitexture = ogl.multitexture;
}

// The pixel format asked for: double-buffered RGBA with 8 alpha bits; it must come with alpha.
bool OglCreateContext() {
    ogl.window = GfxDriver::window;
    if (!ogl.window) return false;
    ogl.dc = GetDC(ogl.window);
    if (!ogl.dc) return false;
    const DWORD required = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    PIXELFORMATDESCRIPTOR wanted = {};
    wanted.nSize = sizeof wanted;
    wanted.nVersion = 1;
    wanted.dwFlags = required;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cAlphaBits = 8;
    wanted.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(ogl.dc, &wanted);
    PIXELFORMATDESCRIPTOR granted = {};
    if (!format || !DescribePixelFormat(ogl.dc, format, sizeof granted, &granted)) return false;
    if ((granted.dwFlags & required) != required || granted.iPixelType != PFD_TYPE_RGBA ||
        granted.iLayerType != PFD_MAIN_PLANE || granted.cAlphaBits == 0) {
        return false;
    }
    // A window keeps its pixel format for life: a second init on it finds it already set.
    if (GetPixelFormat(ogl.dc) != format && !SetPixelFormat(ogl.dc, format, &granted)) {
        return false;
    }
    ogl.context = wglCreateContext(ogl.dc);
    return ogl.context && wglMakeCurrent(ogl.dc, ogl.context);
}

void OglSetNormalBlending() {
    if (ogl.separateBlend) {
        ogl.blendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
}

// --- small state helpers ---

void OglBind(GLuint name) {
    if (ogl.boundTexture == name) return;
    glBindTexture(GL_TEXTURE_2D, name);
    ogl.boundTexture = name;
}

void OglDeleteTexture(GLuint name) {
    glDeleteTextures(1, &name);
    if (ogl.boundTexture == name) ogl.boundTexture = 0;
}

void OglTexturing(bool on) {
    if (ogl.texturing == on) return;
    if (on) glEnable(GL_TEXTURE_2D);
    else glDisable(GL_TEXTURE_2D);
    ogl.texturing = on;
}

inline void OglColor(uint32_t colour) {
    glColor4ub(GLubyte(colour >> 16), GLubyte(colour >> 8), GLubyte(colour), GLubyte(colour >> 24));
}

struct OglRgba {
    GLfloat channels[4];
};

OglRgba OglFloats(uint32_t colour) {
    return {{((colour >> 16) & 0xFF) / 255.0f, ((colour >> 8) & 0xFF) / 255.0f,
             (colour & 0xFF) / 255.0f, (colour >> 24) / 255.0f}};
}

void OglClearColour(uint32_t colour) {
    const OglRgba rgba = OglFloats(colour);
    glClearColor(rgba.channels[0], rgba.channels[1], rgba.channels[2], rgba.channels[3]);
}

// The colour of a clamped texture beyond its edge (the overlay's outside colour).
void OglBorderColour(uint32_t colour) {
    glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, OglFloats(colour).channels);
}

// True when a texture of this size can be made: both sides positive and within the limit.
bool OglTextureFits(int32_t textureWidth, int32_t textureHeight) {
    return textureWidth > 0 && textureHeight > 0 && textureWidth <= ogl.maxTextureSize &&
           textureHeight <= ogl.maxTextureSize;
}

void OglSetFilterAndWrap(bool linear, GLint wrap) {
    const GLint filter = linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

GLint OglClampWrap() { return ogl.edgeClamp ? GL_CLAMP_TO_EDGE : GL_CLAMP; }

void SwapRedBlue(uint8_t* pixel, size_t count) {
    for (size_t i = 0; i < count; ++i, pixel += 4) std::swap(pixel[0], pixel[2]);
}

// Copies rows of `rowPixels` pixels, exchanging red and blue in the copy when asked to.
void CopyPixelRows(uint8_t* destination, ptrdiff_t destinationStride, const uint8_t* source,
                   ptrdiff_t sourceStride, int32_t rowPixels, int32_t rows, bool swapRedBlue) {
    for (int32_t row = 0; row < rows; ++row) {
        uint8_t* out = destination + row * destinationStride;
        std::memcpy(out, source + row * sourceStride, size_t(rowPixels) * 4);
        if (swapRedBlue) SwapRedBlue(out, size_t(rowPixels));
    }
}

// The driver's read-back buffer, grown to at least `bytes` (computed in 64 bits by callers).
uint8_t* OglReadBackBuffer(uint64_t bytes) {
    if (bytes > GfxMaxBlockBytes) return nullptr;
    if (ogl.readBackSize < bytes) {
        std::free(ogl.readBack);
        ogl.readBack = static_cast<uint8_t*>(std::malloc(size_t(bytes)));
        ogl.readBackSize = ogl.readBack ? size_t(bytes) : 0;
    }
    return ogl.readBack;
}

// Reads the whole bound texture into the read-back buffer as B, G, R, A.
uint8_t* OglReadBoundTexture(int32_t textureWidth, int32_t textureHeight) {
    uint8_t* pixels = OglReadBackBuffer(uint64_t(textureWidth) * uint64_t(textureHeight) * 4);
    if (!pixels) {
        GFX_PUSH_ERROR("OGL: no memory for a texture read-back");
        return nullptr;
    }
    glGetTexImage(GL_TEXTURE_2D, 0, ogl.bgra ? GL_BGRA : GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    if (!ogl.bgra) SwapRedBlue(pixels, size_t(textureWidth) * size_t(textureHeight));
    return pixels;
}

// --- images ---

void OglUpdateImage(GfxImage* image, int32_t x, int32_t y, int32_t w, int32_t h) {
    const auto* texture = static_cast<const OglImage*>(image->driverObject);
    if (!texture || w <= 0 || h <= 0) return;
    OglBind(texture->name);
    const uint32_t* block = image->pixels + (ptrdiff_t(y) * image->width + x);
    if (ogl.bgra) {
        glPixelStorei(GL_UNPACK_ROW_LENGTH, image->width);
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_BGRA, GL_UNSIGNED_BYTE, block);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        return;
    }
    auto* converted = static_cast<uint8_t*>(GFX_ScratchBuffer(uint64_t(w) * uint64_t(h) * 4));
    if (!converted) {
        GFX_PUSH_ERROR("OGL: no memory to convert an image");
        return;
    }
    CopyPixelRows(converted, ptrdiff_t(w) * 4, reinterpret_cast<const uint8_t*>(block),
                  ptrdiff_t(image->width) * 4, w, h, true);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, converted);
}

// The image's texture, built from its pixel copy on first use; null when it cannot be.
const OglImage* OglImageTexture(GfxImage* image) {
    if (image->driverObject) return static_cast<const OglImage*>(image->driverObject);
    const int32_t textureWidth = GFX_NextPowerOfTwo(image->width);
    const int32_t textureHeight = GFX_NextPowerOfTwo(image->height);
    if (!OglTextureFits(textureWidth, textureHeight)) {
        GFX_PUSH_ERROR("OGL: image too large for a texture");
        return nullptr;
    }
    auto* texture = new OglImage{0, textureWidth, textureHeight, float(image->width) / textureWidth,
                                 float(image->height) / textureHeight};
    glGenTextures(1, &texture->name);
    OglBind(texture->name);
    OglSetFilterAndWrap(image->flags & GfxFlagLinear, ogl.edgeClamp ? GL_CLAMP_TO_EDGE : GL_REPEAT);
    image->driverObject = texture;
    if (ogl.bgra && textureWidth == image->width && textureHeight == image->height) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_BGRA,
                     GL_UNSIGNED_BYTE, image->pixels);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
        OglUpdateImage(image, 0, 0, image->width, image->height);
    }
    return texture;
}

void OglDeleteImage(GfxImage* image) {
    auto* texture = static_cast<OglImage*>(image->driverObject);
    OglDeleteTexture(texture->name);
    delete texture;
    image->driverObject = nullptr;
}

// --- drawing sets ---

// What binding and blending are alike in every way of drawing.
struct OglBinds {
    using Target = OglTarget;

    static void BindTarget(const OglTarget* texture, uint32_t) { OglBind(texture->name); }

    static const OglImage* BindImage(GfxImage* image) {
        const OglImage* texture = OglImageTexture(image);
        if (texture) OglBind(texture->name);
        return texture;
    }

    static void MinimumBlending(bool on) {
        if (!on) {
            ogl.blendEquation(GL_FUNC_ADD);
            OglSetNormalBlending();
            return;
        }
        ogl.blendEquation(GL_MIN);
        if (ogl.separateBlend) ogl.blendFuncSeparate(GL_ONE, GL_ONE, GL_ONE, GL_ONE);
        else glBlendFunc(GL_ONE, GL_ONE);
    }
};

// The primitives of one way: plain, with the overlay as the second texture unit, or with the
// overlay sampled on the processor into the vertex colours.
template <GfxWay way>
struct OglPrimitives : OglBinds {
    static void Quad(const GfxQuad& quad) {
        const uint32_t* colours = quad.colours;
        const bool oneColour = way != GfxWay::Sampled && colours[0] == colours[1] &&
                               colours[0] == colours[2] && colours[0] == colours[3];
        OglTexturing(quad.textured);
        if (oneColour) OglColor(colours[0]);
        glBegin(GL_QUADS);
        for (int i = 0; i < 4; ++i) {
            if (!oneColour) Colour(colours[i], quad.xs[i], quad.ys[i]);
            if (quad.textured) glTexCoord2f(quad.us[i], quad.vs[i]);
            Vertex(quad.xs[i], quad.ys[i]);
        }
        glEnd();
    }

    // A quad one pixel wide reaching half a pixel beyond both ends, moved by half a pixel.
    static void Line(float x0, float y0, float x1, float y1, uint32_t colour0, uint32_t colour1) {
        const float dx = x1 - x0;
        const float dy = y1 - y0;
        if (std::fabs(dx) < 1 && std::fabs(dy) < 1) {
            const uint32_t colour = GFX_AverageColor(colour0, colour1);
            Quad(GFX_Quad(x0, y0, x0 + 1, y0 + 1, nullptr, colour, colour, colour, colour));
            return;
        }
        const float length = std::sqrt(4 * (dx * dx + dy * dy));
        const float ux = dx / length;
        const float uy = dy / length;
        const float xs[4] = {x0 - ux - uy + 0.5f, x0 - ux + uy + 0.5f, x1 + ux + uy + 0.5f,
                             x1 + ux - uy + 0.5f};
        const float ys[4] = {y0 - uy + ux + 0.5f, y0 - uy - ux + 0.5f, y1 + uy - ux + 0.5f,
                             y1 + uy + ux + 0.5f};
        OglTexturing(false);
        glBegin(GL_TRIANGLE_FAN);
        for (int i = 0; i < 4; ++i) {
            Colour(i < 2 ? colour0 : colour1, xs[i], ys[i]);
            Vertex(xs[i], ys[i]);
        }
        glEnd();
    }

private:
    static void Colour(uint32_t colour, float x, float y) {
        if (way == GfxWay::Sampled) OglColor(GFX_MultiplyColor(colour, GFX_SampleOverlay(x, y)));
        else OglColor(colour);
    }

    // The overlay unit reads the surface position.
    static void Vertex(float x, float y) {
        if (way == GfxWay::Multitexture) ogl.multiTexCoord2f(GL_TEXTURE1, x, y);
        glVertex2f(x, y);
    }
};

// --- overlay by the second texture unit ---

void OglBindUnit1(GLuint name) {
    if (ogl.unit1Texture == name) return;
    glBindTexture(GL_TEXTURE_2D, name);
    ogl.unit1Texture = name;
}

// Runs `work` with texture unit 1 active and the overlay's texture bound there, then returns to
// unit 0. The texture stays bound: it is usually the overlay applied next.
template <class Work>
void OglOnUnit1(GLuint name, Work work) {
    ogl.activeTexture(GL_TEXTURE1);
    OglBindUnit1(name);
    work();
    ogl.activeTexture(GL_TEXTURE0);
}

// Maps a surface position to the texel of its overlay pixel: point x + i * w, y + j * h lands
// on the centre of texel (i + 1, j + 1), the texel that holds pixel (i, j).
void OglLoadOverlayMatrix(const GfxOverlay* overlay) {
    const auto* texture = static_cast<const OglOverlay*>(overlay->driverObject);
    ogl.activeTexture(GL_TEXTURE1);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScalef(1.0f / texture->textureWidth, 1.0f / texture->textureHeight, 1);
    if (overlay->w > 0 && overlay->h > 0) {
        glTranslatef(1.5f, 1.5f, 0);
        glScalef(1 / overlay->w, 1 / overlay->h, 1);
        glTranslatef(-overlay->x, -overlay->y, 0);
    } else {
        // An overlay without area: every point reads texel (0, 0), the outside colour.
        glTranslatef(0.5f, 0.5f, 0);
        glScalef(0, 0, 1);
    }
    glMatrixMode(GL_MODELVIEW);
    ogl.activeTexture(GL_TEXTURE0);
}

void OglCreateOverlay(GfxOverlay* overlay) {
    auto* texture = new OglOverlay{0, overlay->outsideColour, 0, 0, 1, 1};
    glGenTextures(1, &texture->name);
    OglOnUnit1(texture->name, [&] {
        uint32_t texel = overlay->outsideColour;
        if (!ogl.bgra) SwapRedBlue(reinterpret_cast<uint8_t*>(&texel), 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, ogl.bgra ? GL_BGRA : GL_RGBA,
                     GL_UNSIGNED_BYTE, &texel);
        // Clamped, so points far off the overlay read its border of outside colour.
        OglSetFilterAndWrap(true, OglClampWrap());
        OglBorderColour(overlay->outsideColour);
    });
    overlay->driverObject = texture;
}

// Builds the whole overlay texture: the pixels at texel (1, 1), outside colour elsewhere.
void OglRebuildOverlay(OglOverlay* texture, uint32_t outsideColour, int32_t width, int32_t height,
                       const uint8_t* pixels, int32_t stride) {
    int32_t textureWidth = 1, textureHeight = 1;
    if (pixels) {
        // width + 2 in 64 bits: a size near the 32-bit limit must not wrap.
        const bool representable = width <= 0x40000000 - 2 && height <= 0x40000000 - 2;
        textureWidth = representable ? GFX_NextPowerOfTwo(width + 2) : 0;
        textureHeight = representable ? GFX_NextPowerOfTwo(height + 2) : 0;
        if (!OglTextureFits(textureWidth, textureHeight)) {
            GFX_PUSH_ERROR("OGL: overlay too large for a texture");
            pixels = nullptr;
            textureWidth = textureHeight = 1;
        }
    }
    if (!pixels) width = height = 0;
    const uint64_t texels = uint64_t(textureWidth) * uint64_t(textureHeight);
    auto* block = static_cast<uint32_t*>(GFX_ScratchBuffer(texels * 4));
    if (!block) {
        GFX_PUSH_ERROR("OGL: no memory for an overlay texture");
        return;
    }
    std::fill(block, block + texels, outsideColour);
    auto* rows = reinterpret_cast<uint8_t*>(block + textureWidth + 1);
    CopyPixelRows(rows, ptrdiff_t(textureWidth) * 4, pixels, stride, width, height, false);
    if (!ogl.bgra) SwapRedBlue(reinterpret_cast<uint8_t*>(block), size_t(texels));
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0,
                 ogl.bgra ? GL_BGRA : GL_RGBA, GL_UNSIGNED_BYTE, block);
    if (outsideColour != texture->outsideColour) OglBorderColour(outsideColour);
    *texture = {texture->name, outsideColour, width, height, textureWidth, textureHeight};
}

void OglUpdateOverlay(GfxOverlay* overlay, uint32_t outsideColour, int32_t width, int32_t height,
                      const void* pixels, int32_t stride) {
    auto* texture = static_cast<OglOverlay*>(overlay->driverObject);
    const auto* source = static_cast<const uint8_t*>(pixels);
    const bool sameShape = source && width > 0 && height > 0 && width == texture->pixelWidth &&
                           height == texture->pixelHeight &&
                           outsideColour == texture->outsideColour;
    OglOnUnit1(texture->name, [&] {
        if (!sameShape) {
            OglRebuildOverlay(texture, outsideColour, width, height, source, stride);
        } else if (ogl.bgra) {
            glPixelStorei(GL_UNPACK_ROW_LENGTH, stride / 4);
            glTexSubImage2D(GL_TEXTURE_2D, 0, 1, 1, width, height, GL_BGRA, GL_UNSIGNED_BYTE,
                            source);
            glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        } else {
            auto* converted =
                static_cast<uint8_t*>(GFX_ScratchBuffer(uint64_t(width) * uint64_t(height) * 4));
            if (!converted) {
                GFX_PUSH_ERROR("OGL: no memory to convert an overlay");
                return;
            }
            CopyPixelRows(converted, ptrdiff_t(width) * 4, source, stride, width, height, true);
            glTexSubImage2D(GL_TEXTURE_2D, 0, 1, 1, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                            converted);
        }
    });
    // The texture's size may have changed under an applied overlay.
    if (overlay == ogl.overlay) OglLoadOverlayMatrix(overlay);
}

void OglSetOverlayRect(GfxOverlay* overlay, float, float, float, float) {
    if (overlay == ogl.overlay) OglLoadOverlayMatrix(overlay);
}

void OglApplyMultitextureOverlay(GfxOverlay* overlay) {
    ogl.overlay = overlay;
    ogl.activeTexture(GL_TEXTURE1);
    if (overlay) {
        glEnable(GL_TEXTURE_2D);
        OglBindUnit1(static_cast<const OglOverlay*>(overlay->driverObject)->name);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    ogl.activeTexture(GL_TEXTURE0);
    if (overlay) OglLoadOverlayMatrix(overlay);
    GFX_InstallSlots<OglPrimitives>(overlay ? GfxWay::Multitexture : GfxWay::Plain);
}

void OglDeleteOverlay(GfxOverlay* overlay) {
    if (overlay == ogl.overlay) OglApplyMultitextureOverlay(nullptr);
    auto* texture = static_cast<OglOverlay*>(overlay->driverObject);
    glDeleteTextures(1, &texture->name);
    if (ogl.unit1Texture == texture->name) ogl.unit1Texture = 0;
    delete texture;
    overlay->driverObject = nullptr;
}

// --- overlay sampled on the processor ---

void OglApplySampledOverlay(GfxOverlay* overlay) {
    ogl.overlay = overlay;
    GFX_InstallSlots<OglPrimitives>(overlay ? GfxWay::Sampled : GfxWay::Plain);
    GFX_SampledOverlayApply(overlay);
}

// --- render targets ---

void OglCreateTarget(GfxRenderTarget* target) {
    const int32_t textureWidth = GFX_NextPowerOfTwo(target->width);
    const int32_t textureHeight = GFX_NextPowerOfTwo(target->height);
    if (!OglTextureFits(textureWidth, textureHeight)) {
        GFX_PUSH_ERROR("OGL: render target too large for a texture");
        return;
    }
    auto* texture = new OglTarget{0,
                                  true,
                                  textureWidth,
                                  textureHeight,
                                  float(target->width) / textureWidth,
                                  float(target->height) / textureHeight,
                                  0};
    glGenTextures(1, &texture->name);
    OglBind(texture->name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
    OglSetFilterAndWrap(target->flags & GfxFlagLinear, GL_REPEAT);
    if (ogl.framebuffers) {
        ogl.genFramebuffers(1, &texture->framebuffer);
        ogl.bindFramebuffer(GL_FRAMEBUFFER, texture->framebuffer);
        ogl.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture->name,
                                 0);
        ogl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    target->driverObject = texture;
}

void OglDeleteTarget(GfxRenderTarget* target) {
    auto* texture = static_cast<OglTarget*>(target->driverObject);
    if (texture->framebuffer) ogl.deleteFramebuffers(1, &texture->framebuffer);
    OglDeleteTexture(texture->name);
    delete texture;
    target->driverObject = nullptr;
}

bool OglCheckTarget(GfxRenderTarget* target) {
    const auto* texture = static_cast<const OglTarget*>(target->driverObject);
    return !texture || texture->contentsInvalid;
}

void OglReadTarget(GfxRenderTarget* target, int32_t x, int32_t y, int32_t w, int32_t h,
                   void* destination, int32_t stride) {
    const auto* texture = static_cast<const OglTarget*>(target->driverObject);
    auto* out = static_cast<uint8_t*>(destination);
    OglBind(texture->name);
    if (x == 0 && y == 0 && w == texture->textureWidth && h == texture->textureHeight) {
        glPixelStorei(GL_PACK_ROW_LENGTH, stride / 4);
        glGetTexImage(GL_TEXTURE_2D, 0, ogl.bgra ? GL_BGRA : GL_RGBA, GL_UNSIGNED_BYTE, out);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        if (!ogl.bgra) {
            for (int32_t row = 0; row < h; ++row) SwapRedBlue(out + ptrdiff_t(row) * stride, w);
        }
        return;
    }
    const uint8_t* pixels = OglReadBoundTexture(texture->textureWidth, texture->textureHeight);
    if (!pixels) return;
    const ptrdiff_t textureStride = ptrdiff_t(texture->textureWidth) * 4;
    CopyPixelRows(out, stride, pixels + y * textureStride + ptrdiff_t(x) * 4, textureStride, w, h,
                  false);
}

void OglSetProjection(double right, double bottom, double top) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, right, bottom, top, -1, 1);
    glMatrixMode(GL_MODELVIEW);
}

void OglDisableClipPlanes() {
    for (GLenum plane = GL_CLIP_PLANE0; plane <= GL_CLIP_PLANE3; ++plane) glDisable(plane);
}

// Draws a kept target's texture back into the back buffer, where the plain version draws it:
// the back buffer held the screen in between.
void OglRestoreTargetContents(const GfxRenderTarget* target, const OglTarget* texture) {
    glDisable(GL_BLEND);
    if (ogl.overlay && ogl.overlayMultitexture) {
        ogl.activeTexture(GL_TEXTURE1);
        glDisable(GL_TEXTURE_2D);
        ogl.activeTexture(GL_TEXTURE0);
    }
    OglBind(texture->name);
    const GfxUv uv = GFX_WholeUv(texture);
    OglPrimitives<GfxWay::Plain>::Quad(GFX_Quad(0, 0, float(target->width), float(target->height),
                                                &uv, GfxWhite, GfxWhite, GfxWhite, GfxWhite));
    if (ogl.overlay && ogl.overlayMultitexture) {
        ogl.activeTexture(GL_TEXTURE1);
        glEnable(GL_TEXTURE_2D);
        ogl.activeTexture(GL_TEXTURE0);
    }
    glEnable(GL_BLEND);
}

void OglBeginFrame(GfxRenderTarget* target) {
    if (!ogl.overlayMultitexture) OglApplySampledOverlay(nullptr);
    ogl.target = target;
    OglDisableClipPlanes();
    if (target) {
        auto* texture = static_cast<OglTarget*>(target->driverObject);
        const bool wasInvalid = texture->contentsInvalid;
        texture->contentsInvalid = false;
        if (ogl.framebuffers) ogl.bindFramebuffer(GL_FRAMEBUFFER, texture->framebuffer);
        glViewport(0, 0, target->width, target->height);
        // Bottom 0, top height: surface row y lands in texture row y.
        OglSetProjection(target->width, 0, target->height);
        glPushAttrib(GL_COLOR_BUFFER_BIT);
        OglClearColour(target->clearColour);
        const bool keep = (target->flags & GfxFlagKeep) && !wasInvalid;
        if (!keep) glClear(GL_COLOR_BUFFER_BIT);
        else if (!ogl.framebuffers) OglRestoreTargetContents(target, texture);
    } else {
        RECT client;
        if (!GetClientRect(ogl.window, &client)) {
            GFX_Unload();
            GFX_BeginFrame(target);
            return;
        }
        ogl.clientWidth = client.right - client.left;
        ogl.clientHeight = client.bottom - client.top;
        glViewport(0, 0, ogl.clientWidth, ogl.clientHeight);
        OglSetProjection(ogl.width, ogl.height, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    ogl.frameState = 3;
}

// Reads the finished back buffer into the presented frame while the layer keeps presented
// frames. A frame not kept, or too large for memory, leaves nothing: the read-back then gives
// zeros.
void OglKeepPresentedFrame() {
    ogl.presentedWidth = ogl.presentedHeight = 0;
    const uint64_t bytes =
        uint64_t(std::max(ogl.clientWidth, 0)) * uint64_t(std::max(ogl.clientHeight, 0)) * 4;
    if (!gfxState.keepPresentedFrames || bytes > GfxMaxBlockBytes) return;
    if (ogl.presentedSize < bytes) {
        std::free(ogl.presented);
        ogl.presented = static_cast<uint8_t*>(std::malloc(size_t(bytes)));
        ogl.presentedSize = ogl.presented ? size_t(bytes) : 0;
    }
    const bool kept = ogl.presented && bytes > 0;
    ogl.presentedWidth = kept ? ogl.clientWidth : 0;
    ogl.presentedHeight = kept ? ogl.clientHeight : 0;
    if (!kept) return;
    glReadPixels(0, 0, ogl.presentedWidth, ogl.presentedHeight, ogl.bgra ? GL_BGRA : GL_RGBA,
                 GL_UNSIGNED_BYTE, ogl.presented);
}

void OglEndFrame() {
    if (GfxRenderTarget* target = ogl.target) {
        const auto* texture = static_cast<const OglTarget*>(target->driverObject);
        if (ogl.framebuffers) {
            ogl.bindFramebuffer(GL_FRAMEBUFFER, 0);
        } else {
            glFinish();
            OglBind(texture->name);
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, target->width, target->height);
        }
        glPopAttrib();
    } else {
        OglKeepPresentedFrame();
        if (!SwapBuffers(ogl.dc)) {
            gfxMessageBox("Veltor - Graphic Driver Error",
                          ogl.framebuffers ? "Unloading driver - PBO2" : "Unloading driver");
            GFX_Unload();
            return;
        }
    }
    ogl.target = nullptr;
    ogl.frameState = 2;
}

// --- screen, configuration, clip ---

// The block (x, y, w, h) of the last presented frame, bottom row first.
void OglReadScreen(int32_t x, int32_t y, int32_t w, int32_t h, void* destination, int32_t stride) {
    if (w <= 0 || h <= 0) return;
    const ptrdiff_t frameStride = ptrdiff_t(ogl.presentedWidth) * 4;
    const int64_t lowestRow = int64_t(ogl.height) - y - h;
    for (int32_t row = 0; row < h; ++row) {
        auto* out = static_cast<uint8_t*>(destination) + ptrdiff_t(row) * stride;
        const int64_t frameRow = lowestRow + row;
        for (int32_t column = 0; column < w; ++column, out += 4) {
            const int64_t frameColumn = int64_t(x) + column;
            const bool inside = frameRow >= 0 && frameRow < ogl.presentedHeight &&
                                frameColumn >= 0 && frameColumn < ogl.presentedWidth;
            if (!inside) {
                std::memset(out, 0, 4);
                continue;
            }
            std::memcpy(out, ogl.presented + frameRow * frameStride + frameColumn * 4, 4);
            if (!ogl.bgra) SwapRedBlue(out, 1);
        }
    }
}

void OglApplyConfig(int32_t width, int32_t height, uint32_t clearColour, uint32_t) {
    ogl.width = width;
    ogl.height = height;
    if (clearColour != ogl.clearColour || ogl.frameState == 1) {
        ogl.clearColour = clearColour;
        OglClearColour(clearColour);
    }
    ogl.frameState = 2;
}

void OglSetClip(float x0, float y0, float x1, float y1) {
    const GLdouble planes[4][4] = {{1, 0, 0, -x0}, {0, 1, 0, -y0}, {-1, 0, 0, x1}, {0, -1, 0, y1}};
    for (GLenum i = 0; i < 4; ++i) {
        glClipPlane(GL_CLIP_PLANE0 + i, planes[i]);
        glEnable(GL_CLIP_PLANE0 + i);
    }
}

void OglUnload() {
    if (ogl.context) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(ogl.context);
    }
    if (ogl.dc) ReleaseDC(ogl.window, ogl.dc);
    std::free(ogl.readBack);
    std::free(ogl.presented);
    ogl = OglState{};
}

void OglInstall(uint32_t flags) {
    GfxDriver::GetDriverId = [] { return DriverOpenGL; };
    GfxDriver::ReadScreen = OglReadScreen;
    GfxDriver::Unload = OglUnload;
    GfxDriver::ApplyConfig = OglApplyConfig;
    GfxDriver::SetClip = OglSetClip;
    GfxDriver::ReadTarget = OglReadTarget;
    GfxDriver::CheckTarget = OglCheckTarget;
    GfxDriver::CreateTarget = OglCreateTarget;
    GfxDriver::DeleteTarget = OglDeleteTarget;
    GfxDriver::BeginFrame = OglBeginFrame;
    GfxDriver::EndFrame = OglEndFrame;
    GfxDriver::UpdateImage = OglUpdateImage;
    GfxDriver::DeleteImage = OglDeleteImage;
    if (ogl.overlayMultitexture) {
        GfxDriver::CreateOverlay = OglCreateOverlay;
        GfxDriver::SetOverlayRect = OglSetOverlayRect;
        GfxDriver::UpdateOverlay = OglUpdateOverlay;
        GfxDriver::ApplyOverlay = OglApplyMultitextureOverlay;
        GfxDriver::DeleteOverlay = OglDeleteOverlay;
    } else {
        GFX_InstallSampledOverlayOps();
        GfxDriver::ApplyOverlay = OglApplySampledOverlay;
    }
    GFX_InstallSlots<OglPrimitives>(GfxWay::Plain);
    if (ogl.swapControl) ogl.swapInterval(flags & GfxInitVsync);
}

}  // namespace

// --- feature detection, exposed for tests ---

OglVersion OGL_ParseVersion(const char* text) {
    const OglVersion none = {0, 0, 0};
    if (!text) return none;
    const char* p = text;
    auto number = [&p](int& value) {
        if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
        value = 0;
        for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
            value = std::min(value * 10 + (*p - '0'), 1000000);
        }
        return true;
    };
    OglVersion version = none;
    if (!number(version.major) || *p++ != '.' || !number(version.minor)) return none;
    if (*p == '.' && (++p, !number(version.release))) return none;
    return *p == '\0' || *p == ' ' ? version : none;
}

bool OGL_ListsName(const char* list, const char* name) {
    if (!list || !name || !*name) return false;
    const size_t length = std::strlen(name);
    for (const char* hit = std::strstr(list, name); hit; hit = std::strstr(hit + length, name)) {
        const bool starts = hit == list || hit[-1] == ' ';
        const bool ends = hit[length] == '\0' || hit[length] == ' ';
        if (starts && ends) return true;
    }
    return false;
}

void OGL_Init(uint32_t flags) {
    if (!OglCreateContext()) {
        OglUnload();
        return;
    }
    ogl.versionText = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    ogl.version = OGL_ParseVersion(ogl.versionText);
    OglReadExtensionStrings();
    if (!OglLoad(ogl.blendEquation, "glBlendEquation")) {
        OglUnload();
        return;
    }
    OglDetectFeatures(flags);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &ogl.maxTextureSize);

    glEnable(GL_BLEND);
    OglSetNormalBlending();
    glShadeModel(GL_SMOOTH);
    glEnable(GL_TEXTURE_2D);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    ogl.frameState = 1;
    OglInstall(flags);
}
