#pragma once
// The image table keyed by 16-bit image id, and the drawing helpers every window uses: each turns
// its arguments into calls of the graphics layer's drawing slots.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

class Core;
class Render;
struct GfxImage;

// The image id of the interface skin, the atlas of the windows' frames, buttons and bars.
constexpr uint16_t SkinAtlasId = 1;

// "screenshots/" and the local time as year-month-day-hhmmss, then ".png".
std::string ScreenshotFileName(const SYSTEMTIME& time);
// Turns read-back pixels (bytes B, G, R, A; bottom row first) into the rows a PNG frame takes
// (top row first), in the byte order R, G, B, A when `redFirst` is set, else B, G, R, A. Alpha
// becomes 255: the screen is opaque whatever alpha its drawing left behind.
void ScreenshotRows(const uint32_t* readBack, int32_t width, int32_t height, bool redFirst,
                    uint32_t* rows);
// Starts Render::ScreenshotThread for `render` and keeps the thread's handle in it; false when
// no thread could be started. Tests replace it to run the worker themselves.
extern bool (*startScreenshotWorker)(Render* render);

// The filled width of a bar of the width for value out of max: at most the bar's width, and an
// empty bar when max is 0.
int32_t FilledWidth(uint64_t value, uint64_t max, int32_t barWidth);

class Render {
public:
    explicit Render(Core* core);
    virtual ~Render();
    Render(const Render&) = delete;
    Render& operator=(const Render&) = delete;

    // Image table. An id that is not in the table gets an entry holding null.
    GfxImage*& GetImage(uint16_t id);
    // Reads data/Veltor.skin into the table and adds the disc mask 500; a pack that cannot be
    // opened or is shorter than it claims ends the program.
    bool LoadSkin();
    // Reads data/Veltor.font and registers its fonts in Core, font 1 also as the filtered 101.
    bool LoadFonts();
    // Deciphers in place the (byteLength + 7) / 8 blocks of a skin or font pixel block.
    static void DecipherPixels(uint8_t* pixels, uint32_t byteLength);
    // Reads back what the window shows (or the game field alone) and has a worker thread save
    // it as a PNG file under screenshots/. Nothing happens while a screenshot is being written.
    void TakeScreenshot();
    // The worker's entry (the argument is the Render): WriteScreenshot, then the thread ends.
    static DWORD WINAPI ScreenshotThread(LPVOID render);
    // Encodes the read-back pixels into screenshots/<local time>.png, frees them and clears
    // Core::screenshotBusy. A file that cannot be written completely is removed; nothing is shown.
    void WriteScreenshot();

    // Images given by pointer.
    void DrawImagePtr(int32_t x, int32_t y, GfxImage* image);
    void DrawImagePtrF(float x, float y, GfxImage* image);
    void DrawImageScaledPtr(int32_t x, int32_t y, int32_t w, int32_t h, GfxImage* image);
    void DrawImagePartPtr(float x, float y, int32_t sx, int32_t sy, int32_t w, int32_t h,
                          GfxImage* image);
    void DrawImageTinted(int32_t x, int32_t y, uint32_t colour, GfxImage* image);
    void DrawImageTintedF(float x, float y, uint32_t colour, GfxImage* image);
    void DrawImagePartTinted(int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t w, int32_t h,
                             uint32_t colour, GfxImage* image);
    void DrawImagePartTintedF(float x, float y, int32_t sx, int32_t sy, int32_t w, int32_t h,
                              uint32_t colour, GfxImage* image);
    void DrawImagePartTintedAlt(float x, float y, float sx, float sy, float w, float h,
                                uint32_t colour, GfxImage* image);

    // Table images given by id: nothing is drawn for an id without an image.
    void DrawSkin(float x, float y, uint16_t id);
    void DrawSkinScaled(int32_t x, int32_t y, int32_t w, int32_t h, uint16_t id);
    void DrawSkinPart(int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t w, int32_t h,
                      uint16_t id);
    void DrawSkinPartTinted(int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t w, int32_t h,
                            uint32_t colour, uint16_t id);
    void DrawSkinPartTintedF(float x, float y, int32_t sx, int32_t sy, int32_t w, int32_t h,
                             uint32_t colour, uint16_t id);
    void DrawSkinTiled(int32_t x, int32_t y, int32_t w, int32_t h, int32_t ox, int32_t oy,
                       uint16_t id);
    void DrawSkinTiledF(int32_t x, int32_t y, int32_t w, int32_t h, float ox, float oy,
                        uint16_t id);
    void DrawSkinPartTiled(int32_t x, int32_t y, int32_t w, int32_t h, int32_t ox, int32_t oy,
                           int32_t sx, int32_t sy, int32_t sw, int32_t sh, uint16_t id);
    void DrawSkinPartTiledTinted(int32_t x, int32_t y, int32_t w, int32_t h, int32_t ox, int32_t oy,
                                 int32_t tw, int32_t th, int32_t sx, int32_t sy, int32_t sw,
                                 int32_t sh, uint32_t colour, uint16_t id);

    // Filled rectangles, all blended (alpha mode 3).
    void FillRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
    void FillRectF(float x, float y, float w, float h, uint32_t colour);
    void FillGradientRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t topLeft,
                          uint32_t topRight, uint32_t bottomLeft, uint32_t bottomRight);

    // Outlines, bevels and boxes built from filled rectangles that never overlap, so that a
    // translucent colour covers each pixel once.
    void DrawRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
    void DrawBevel(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t light, uint32_t dark);
    void DrawBox(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t raised);
    void DrawBoxStyle2(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t edge, uint32_t fill);
    void DrawBoxStyle2Outline(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
    void DrawBoxStyle3(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
    void DrawBoxStyle4(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
    void DrawBoxStyled(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t edge, uint32_t fill);
    void DrawRoundedPanel(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t edge, uint32_t fill);
    void DrawRoundedPanelOutline(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
    void DrawBalloon(int32_t x, int32_t y, int32_t w, int32_t h, int32_t tailOffset,
                     int32_t tailSize, uint32_t fill, uint32_t edge);
    // A box filled from the top colour down to the bottom one.
    void DrawGradientBox(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t top, uint32_t bottom);
    // An outline: the top line in the top colour, the bottom line in the bottom one, the sides
    // running from one to the other.
    void DrawGradientBox2(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t top,
                          uint32_t bottom);
    // The same outline without its four corner pixels (a gauge's or a cell's edge).
    void DrawBar(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t top, uint32_t bottom);

    // Skinned 3 by 3 frames: a tiled centre image, corners and edges cut from skin image 1.
    void DrawFrame1(int32_t x, int32_t y, int32_t w, int32_t h);
    void DrawFrame2(int32_t x, int32_t y, int32_t w, int32_t h);
    void DrawFrame3(int32_t x, int32_t y, int32_t w, int32_t h);
    // Style 3 with its centre pattern moved up by patternY, so that it stays put on the screen
    // while the frame moves; and its corners and edges alone.
    void DrawFrame3(int32_t x, int32_t y, int32_t w, int32_t h, int32_t patternY);
    void DrawFrame3Edges(int32_t x, int32_t y, int32_t w, int32_t h);

    std::map<uint16_t, GfxImage*> images;
    Core* core;
    // The screenshot being written: pixels read back on the main thread, owned by the worker
    // until it clears Core::screenshotBusy, with their size.
    uint32_t* screenshotPixels;
    int32_t screenshotWidth;
    int32_t screenshotHeight;
    HANDLE screenshotThread;  // the last worker started; null before the first

private:
    struct FrameStyle;
    static const FrameStyle Frame3Style;
    void DrawFrame(int32_t x, int32_t y, int32_t w, int32_t h, const FrameStyle& style);
    void DrawFrameEdges(int32_t x, int32_t y, int32_t w, int32_t h, const FrameStyle& style);
    void DrawRoundedCorners(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
};
