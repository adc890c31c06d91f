#include "glreplay.h"

#include <GL/glext.h>

#include <algorithm>

namespace {

PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D = nullptr;
PFNGLACTIVETEXTUREPROC activeTexture = nullptr;
PFNGLMULTITEXCOORD2FPROC multiTexCoord2f = nullptr;
PFNGLBLENDFUNCSEPARATEPROC blendFuncSeparate = nullptr;
PFNGLBLENDEQUATIONPROC blendEquation = nullptr;

template <class Fn>
bool Load(Fn& entry, const char* name) {
    entry = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(wglGetProcAddress(name)));
    return entry != nullptr;
}

void Colour(uint32_t c) {
    glColor4ub(GLubyte(c >> 16), GLubyte(c >> 8), GLubyte(c), GLubyte(c >> 24));
}

void Projection(double right, double bottom, double top) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, right, bottom, top, -1, 1);
    glMatrixMode(GL_MODELVIEW);
}

// A texture of the given size holding `pixels` (0xAARRGGBB, may be null) in its top-left corner.
GLuint Texture(int32_t textureWidth, int32_t textureHeight, bool linear, const uint32_t* pixels,
               int32_t width, int32_t height) {
    GLuint name;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const GLint filter = linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, nullptr);
    if (pixels && width > 0 && height > 0) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
    }
    return name;
}

}  // namespace

bool GlReplay::Prepare(const Bench::RecordedFrame& recorded, HDC deviceContext) {
    frame = &recorded;
    dc = deviceContext;
    if (!Load(genFramebuffers, "glGenFramebuffers") ||
        !Load(bindFramebuffer, "glBindFramebuffer") ||
        !Load(framebufferTexture2D, "glFramebufferTexture2D") ||
        !Load(activeTexture, "glActiveTexture") || !Load(multiTexCoord2f, "glMultiTexCoord2f") ||
        !Load(blendFuncSeparate, "glBlendFuncSeparate") ||
        !Load(blendEquation, "glBlendEquation")) {
        return false;
    }
    for (const Bench::RecordedTexture& texture : frame->textures) {
        const bool linear = texture.flags & 0x4;  // the records' linear filtering
        GLuint framebuffer = 0;
        GLuint name = 0;
        switch (texture.kind) {
            case Bench::RecordedTexture::Image:
                name = Texture(texture.textureWidth, texture.textureHeight, linear,
                               frame->data.data() + texture.pixels, texture.width, texture.height);
                break;
            case Bench::RecordedTexture::Target:
                name = Texture(texture.textureWidth, texture.textureHeight, linear, nullptr, 0, 0);
                genFramebuffers(1, &framebuffer);
                bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
                framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, name, 0);
                bindFramebuffer(GL_FRAMEBUFFER, 0);
                break;
            case Bench::RecordedTexture::Overlay:
                activeTexture(GL_TEXTURE1);
                name = Texture(1, 1, true, &texture.clearColour, 1, 1);
                boundUnit1 = name;
                activeTexture(GL_TEXTURE0);
                break;
        }
        names.push_back(name);
        framebuffers.push_back(framebuffer);
    }
    drawn.assign(names.size(), false);
    overlayRects.assign(names.size() * 4, 0);
    overlaySizes.assign(names.size() * 2, 1);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    blendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    return true;
}

void GlReplay::Bind(GLuint name) {
    if (name == bound) return;
    glBindTexture(GL_TEXTURE_2D, name);
    bound = name;
}

void GlReplay::BindUnit1(GLuint name) {
    if (name == boundUnit1) return;
    glBindTexture(GL_TEXTURE_2D, name);
    boundUnit1 = name;
}

void GlReplay::Texturing(bool on) {
    if (on == texturing) return;
    if (on) glEnable(GL_TEXTURE_2D);
    else glDisable(GL_TEXTURE_2D);
    texturing = on;
}

void GlReplay::Vertex(float x, float y) {
    if (overlay >= 0) multiTexCoord2f(GL_TEXTURE1, x, y);
    glVertex2f(x, y);
}

void GlReplay::Begin(int32_t target) {
    for (GLenum plane = GL_CLIP_PLANE0; plane <= GL_CLIP_PLANE3; ++plane) glDisable(plane);
    if (overlay >= 0) {
        activeTexture(GL_TEXTURE1);
        glDisable(GL_TEXTURE_2D);
        activeTexture(GL_TEXTURE0);
        overlay = -1;
    }
    if (target < 0) {
        bindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, frame->screenWidth, frame->screenHeight);
        Projection(frame->screenWidth, frame->screenHeight, 0);
        const uint32_t c = frame->clearColour;
        glClearColor(float(c >> 16 & 0xFF) / 255, float(c >> 8 & 0xFF) / 255, float(c & 0xFF) / 255,
                     float(c >> 24) / 255);
        glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    const Bench::RecordedTexture& texture = frame->textures[target];
    bindFramebuffer(GL_FRAMEBUFFER, framebuffers[target]);
    glViewport(0, 0, texture.width, texture.height);
    Projection(texture.width, 0, texture.height);
    const bool keep = (texture.flags & 0x8) && drawn[target];  // the records' keep flag
    drawn[target] = true;
    if (!keep) {
        const uint32_t c = texture.clearColour;
        glClearColor(float(c >> 16 & 0xFF) / 255, float(c >> 8 & 0xFF) / 255, float(c & 0xFF) / 255,
                     float(c >> 24) / 255);
        glClear(GL_COLOR_BUFFER_BIT);
    }
}

void GlReplay::Quad(const Bench::RecordedCall& call) {
    const bool textured = call.texture >= 0;
    Texturing(textured);
    if (textured) Bind(names[call.texture]);
    const uint32_t* c = call.colours;
    const bool oneColour = c[0] == c[1] && c[0] == c[2] && c[0] == c[3];
    if (oneColour) Colour(c[0]);
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        if (!oneColour) Colour(c[i]);
        if (textured) glTexCoord2f(call.us[i], call.vs[i]);
        Vertex(call.xs[i], call.ys[i]);
    }
    glEnd();
}

void GlReplay::Line(const Bench::RecordedCall& call) {
    Texturing(false);
    glBegin(GL_LINES);
    for (int i = 0; i < 2; ++i) {
        Colour(call.colours[i]);
        Vertex(call.xs[i] + 0.5f, call.ys[i] + 0.5f);
    }
    glEnd();
}

void GlReplay::Clip(const Bench::RecordedCall& call) {
    const float x0 = call.xs[0], y0 = call.ys[0], x1 = call.xs[1], y1 = call.ys[1];
    const GLdouble planes[4][4] = {{1, 0, 0, -x0}, {0, 1, 0, -y0}, {-1, 0, 0, x1}, {0, -1, 0, y1}};
    for (GLenum i = 0; i < 4; ++i) {
        glClipPlane(GL_CLIP_PLANE0 + i, planes[i]);
        glEnable(GL_CLIP_PLANE0 + i);
    }
}

// Point x + i * w, y + j * h of the surface reads texel (i + 1, j + 1) of the overlay.
void GlReplay::LoadOverlayMatrix(int32_t index) {
    const float* rect = &overlayRects[size_t(index) * 4];
    activeTexture(GL_TEXTURE1);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScalef(1.0f / overlaySizes[size_t(index) * 2], 1.0f / overlaySizes[size_t(index) * 2 + 1], 1);
    if (rect[2] > 0 && rect[3] > 0) {
        glTranslatef(1.5f, 1.5f, 0);
        glScalef(1 / rect[2], 1 / rect[3], 1);
        glTranslatef(-rect[0], -rect[1], 0);
    }
    glMatrixMode(GL_MODELVIEW);
    activeTexture(GL_TEXTURE0);
}

// The pixels at texel (1, 1) of a texture wide enough for a border of outside colour.
void GlReplay::UploadOverlay(const Bench::RecordedCall& call) {
    const int32_t width = std::max(call.width + 2, 1), height = std::max(call.height + 2, 1);
    int32_t textureWidth = 1, textureHeight = 1;
    while (textureWidth < width) textureWidth *= 2;
    while (textureHeight < height) textureHeight *= 2;
    int32_t* size = &overlaySizes[size_t(call.texture) * 2];
    activeTexture(GL_TEXTURE1);
    BindUnit1(names[call.texture]);
    if (size[0] != textureWidth || size[1] != textureHeight) {
        const std::vector<uint32_t> outside(size_t(textureWidth) * textureHeight, call.colours[0]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_BGRA,
                     GL_UNSIGNED_BYTE, outside.data());
        size[0] = textureWidth;
        size[1] = textureHeight;
    }
    if (call.width > 0 && call.height > 0) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 1, 1, call.width, call.height, GL_BGRA, GL_UNSIGNED_BYTE,
                        frame->data.data() + call.pixels);
    }
    activeTexture(GL_TEXTURE0);
    if (call.texture == overlay) LoadOverlayMatrix(overlay);
}

void GlReplay::DrawFrame() {
    using Call = Bench::RecordedCall;
    for (const Call& call : frame->calls) {
        switch (call.kind) {
            case Call::BeginFrame:
                surface = call.texture;
                Begin(call.texture);
                break;
            case Call::EndFrame:
                if (surface < 0) SwapBuffers(dc);
                break;
            case Call::Quad: Quad(call); break;
            case Call::Line: Line(call); break;
            case Call::Clip: Clip(call); break;
            case Call::MinimumBlending:
                if (call.colours[0]) {
                    blendEquation(GL_MIN);
                    blendFuncSeparate(GL_ONE, GL_ONE, GL_ONE, GL_ONE);
                } else {
                    blendEquation(GL_FUNC_ADD);
                    blendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE,
                                      GL_ONE_MINUS_SRC_ALPHA);
                }
                break;
            case Call::ApplyOverlay:
                overlay = call.texture;
                activeTexture(GL_TEXTURE1);
                if (overlay >= 0) {
                    glEnable(GL_TEXTURE_2D);
                    BindUnit1(names[overlay]);
                } else {
                    glDisable(GL_TEXTURE_2D);
                }
                activeTexture(GL_TEXTURE0);
                if (overlay >= 0) LoadOverlayMatrix(overlay);
                break;
            case Call::OverlayRect: {
                float* rect = &overlayRects[size_t(call.texture) * 4];
                rect[0] = call.xs[0];
                rect[1] = call.ys[0];
                rect[2] = call.xs[1];
                rect[3] = call.ys[1];
                if (call.texture == overlay) LoadOverlayMatrix(overlay);
                break;
            }
            case Call::OverlayPixels: UploadOverlay(call); break;
            case Call::ImagePixels:
                Bind(names[call.texture]);
                glPixelStorei(GL_UNPACK_ROW_LENGTH, call.width);
                glTexSubImage2D(GL_TEXTURE_2D, 0, call.x, call.y, call.width, call.height, GL_BGRA,
                                GL_UNSIGNED_BYTE, frame->data.data() + call.pixels);
                glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
                break;
        }
    }
}
