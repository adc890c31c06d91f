// Replays a recorded frame of the graphics layer straight through OpenGL 1.x with framebuffer
// objects and a second texture unit: the same quads from the same textures in the same order,
// render targets as framebuffers, the light overlay on the second unit.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include <vector>

#include "recordedframe.h"

class GlReplay {
public:
    // Creates the frame's textures and framebuffers in the current context; false when the
    // context lacks what the replay needs.
    bool Prepare(const Bench::RecordedFrame& frame, HDC dc);
    // Replays every call of the frame, presenting the screen at its end.
    void DrawFrame();

private:
    void Begin(int32_t target);
    void Quad(const Bench::RecordedCall& call);
    void Line(const Bench::RecordedCall& call);
    void Clip(const Bench::RecordedCall& call);
    void Bind(GLuint name);
    void BindUnit1(GLuint name);
    void Texturing(bool on);
    void Vertex(float x, float y);
    void LoadOverlayMatrix(int32_t overlay);
    void UploadOverlay(const Bench::RecordedCall& call);

    const Bench::RecordedFrame* frame = nullptr;
    HDC dc = nullptr;
    std::vector<GLuint> names;          // texture of each recorded texture
    std::vector<GLuint> framebuffers;   // of each target, 0 for others
    std::vector<bool> drawn;            // targets drawn once
    std::vector<float> overlayRects;    // x, y, w, h of each overlay
    std::vector<int32_t> overlaySizes;  // texture width, height of each overlay
    GLuint bound = 0;                   // on unit 0
    GLuint boundUnit1 = 0;
    int32_t surface = -1;  // the target of the frame begun last, -1 for the screen
    bool texturing = true;
    int32_t overlay = -1;  // applied
};
