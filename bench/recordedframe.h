// One frame's calls of the graphics layer's driver table, as the benchmark records them through
// the layer and the bare OpenGL program replays them: the textures the frame draws from (images
// with their pixels, render targets with their size) and the calls in order, positions with the
// draw origin applied. Stored in a file of the benchmark's own making.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Bench {

struct RecordedTexture {
    enum Kind : uint32_t { Image, Target, Overlay } kind;
    int32_t width, height;                // image or target; 0 for an overlay
    int32_t textureWidth, textureHeight;  // the power-of-two texture holding it
    uint32_t flags;                       // the record's: linear filtering, keep
    uint32_t clearColour;                 // target
    uint32_t pixels;                      // image: offset of width * height pixels in the data
};

struct RecordedCall {
    enum Kind : uint32_t {
        BeginFrame,  // texture: the target, or -1 for the screen
        EndFrame,
        Quad,             // texture: the image or target drawn, -1 for none; 4 vertices of a fan
        Line,             // 2 vertices
        Clip,             // (xs[0], ys[0])..(xs[1], ys[1])
        MinimumBlending,  // colours[0]: 1 on, 0 off
        ApplyOverlay,     // texture: the overlay, or -1 for none
        OverlayRect,  // texture: the overlay; xs[0], ys[0] its corner, xs[1], ys[1] a pixel's size
        OverlayPixels,  // texture: the overlay; colours[0] the outside colour, width x height
                        // pixels at `pixels` of the data
        ImagePixels,    // texture: the image; its block (x, y, width, height) from `pixels`
    } kind;
    int32_t texture;
    float xs[4], ys[4];
    float us[4], vs[4];  // texture coordinates of a quad, 0 to 1 over the power-of-two texture
    uint32_t colours[4];
    int32_t x, y, width, height;
    uint32_t pixels;
};

struct RecordedFrame {
    int32_t screenWidth = 0, screenHeight = 0;
    uint32_t clearColour = 0;
    std::vector<RecordedTexture> textures;
    std::vector<RecordedCall> calls;
    std::vector<uint32_t> data;  // pixels 0xAARRGGBB, rows top first
};

bool WriteRecordedFrame(const std::string& path, const RecordedFrame& frame);
// False for a file that is missing or not whole.
bool ReadRecordedFrame(const std::string& path, RecordedFrame& frame);

// The changes of texture between consecutive textured quads of the frame, the first included,
// and the changes of the overlay applied: the fewest texture binds the frame can do.
int TextureRuns(const RecordedFrame& frame);

}  // namespace Bench
