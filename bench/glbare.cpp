// The benchmark scenes drawn straight through OpenGL, nothing else: without argument the
// synthetic scene, the same quads in the same order with the same texture changes as the layer
// draws them; with the path of a frame recorded by worldbench, that frame replayed.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>

#include "benchcommon.h"
#include "drivercalls.h"
#include "glreplay.h"

namespace {

GLuint currentTexture = 0;
bool texturing = true;

void Bind(GLuint texture) {
    if (!texturing) {
        glEnable(GL_TEXTURE_2D);
        texturing = true;
    }
    if (texture != currentTexture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        currentTexture = texture;
    }
}

void Untextured() {
    if (texturing) {
        glDisable(GL_TEXTURE_2D);
        texturing = false;
    }
}

void Colour(uint32_t c) {
    glColor4ub(GLubyte(c >> 16), GLubyte(c >> 8), GLubyte(c), GLubyte(c >> 24));
}

GLuint Texture(int width, int height, const std::vector<uint32_t>& pixels) {
    GLuint name;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 pixels.data());
    return name;
}

void Quad(float x, float y, float w, float h, float u0, float v0, float u1, float v1) {
    glBegin(GL_QUADS);
    glTexCoord2f(u0, v0);
    glVertex2f(x, y);
    glTexCoord2f(u1, v0);
    glVertex2f(x + w, y);
    glTexCoord2f(u1, v1);
    glVertex2f(x + w, y + h);
    glTexCoord2f(u0, v1);
    glVertex2f(x, y + h);
    glEnd();
}

void FilledQuad(float x, float y, float w, float h) {
    glBegin(GL_QUADS);
    glVertex2f(x, y);
    glVertex2f(x + w, y);
    glVertex2f(x + w, y + h);
    glVertex2f(x, y + h);
    glEnd();
}

// Draws the synthetic scene of each size.
void DrawScenes(HDC dc) {
    glViewport(0, 0, Bench::Width, Bench::Height);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, Bench::Width, Bench::Height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glClearColor(0, 0, 0, 1);

    std::vector<GLuint> sprites;
    for (int i = 0; i < Bench::SpriteTextures; ++i) {
        sprites.push_back(Texture(Bench::SpriteSize, Bench::SpriteSize, Bench::SpritePixels(i)));
    }
    const GLuint font = Texture(Bench::FontWidth, Bench::FontHeight, Bench::FontPixels());
    DriverCalls::CountOpenGl();

    for (const int n : Bench::SceneSizes) {
        const std::vector<Bench::Op> scene = Bench::MakeScene(n);
        const Bench::FrameFigures figures = Bench::Measure(Bench::FramesFor(n), [&] {
            glClear(GL_COLOR_BUFFER_BIT);
            for (const Bench::Op& op : scene) {
                switch (op.kind) {
                    case Bench::Op::Sprite:
                        Bind(sprites[op.texture]);
                        Colour(op.colour);
                        Quad(op.x, op.y, op.w, op.h, 0, 0, 1, 1);
                        break;
                    case Bench::Op::Fill:
                        Untextured();
                        Colour(op.colour);
                        FilledQuad(op.x, op.y, op.w, op.h);
                        break;
                    case Bench::Op::Glyph:
                        Bind(font);
                        Colour(op.colour);
                        Quad(op.x, op.y, op.w, op.h, op.sx / Bench::FontWidth,
                             op.sy / Bench::FontHeight, (op.sx + op.w) / Bench::FontWidth,
                             (op.sy + op.h) / Bench::FontHeight);
                        break;
                }
            }
            SwapBuffers(dc);
        });
        Bench::Print("bare", n, figures, Bench::TextureRuns(scene));
    }
}

constexpr int WorldFrames = 200;

// Replays a recorded frame of the world scene; false when it cannot.
bool ReplayWorld(HDC dc, const Bench::RecordedFrame& frame) {
    GlReplay replay;
    if (!replay.Prepare(frame, dc)) {
        std::fprintf(stderr, "glbare: the context lacks what the replay needs\n");
        return false;
    }
    DriverCalls::CountOpenGl();
    const Bench::FrameFigures figures = Bench::Measure(WorldFrames, [&] { replay.DrawFrame(); });
    Bench::Print("worldbare", int(frame.calls.size()), figures, Bench::TextureRuns(frame));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Bench::RecordedFrame world;
    if (argc > 1 && !Bench::ReadRecordedFrame(argv[1], world)) {
        std::fprintf(stderr, "glbare: no whole recording in %s\n", argv[1]);
        return 1;
    }
    HWND window = argc > 1 ? Bench::OpenWindow(world.screenWidth, world.screenHeight)
                           : Bench::OpenWindow(Bench::Width, Bench::Height);
    HDC dc = GetDC(window);
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cAlphaBits = 8;
    if (!SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format)) return 1;
    HGLRC context = wglCreateContext(dc);
    if (!context || !wglMakeCurrent(dc, context)) {
        std::fprintf(stderr, "glbare: no OpenGL context\n");
        return 1;
    }
    using SwapInterval = BOOL(WINAPI*)(int);
    if (auto swapInterval = reinterpret_cast<SwapInterval>(
            reinterpret_cast<void (*)()>(wglGetProcAddress("wglSwapIntervalEXT")))) {
        swapInterval(0);
    }
    const bool drawn = argc > 1 ? ReplayWorld(dc, world) : (DrawScenes(dc), true);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    ReleaseDC(window, dc);
    return drawn ? 0 : 1;
}
