#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "keynames.h"
#include "windows/toolkit/window.h"

class Field;

// One health frame of a flagged creature shown over the field, fading in and out.
struct CreatureFrame {
    // Shown or fading in; fading out.
    enum State : uint32_t { Shown = 1, Hiding = 2 };

    uint32_t creatureId;
    std::string name;
    uint8_t health;
    uint32_t state;
    uint64_t shownAt;
    uint64_t hiddenAt;
};

// The frame of the game field: owns the screen area of the field, lays out the field's viewport
// (with the console below it, or the wide layout where the field fills the space between the
// side columns) and draws what lies over the world: the frame bands, the screenshot notice, the
// debug table, the on-field ability bar and the creature health frames. It makes its own Field,
// which lies directly below it in the window list; clicks on the field pass through the frame.
class Padding : public Window {
public:
    // The owner is the console, whose height the layout below it follows.
    Padding(Core* core, Window* owner);
    ~Padding() override;

    void Build() override;
    void Draw() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    // Inside the frame but not on the field.
    bool HitTest(int32_t px, int32_t py) override;

    // The field's viewport for a client area of w x h with the console's current height, and
    // for a console height the player asks for by resizing it; both store it in fieldRect.
    WindowRect Layout(int32_t screenWidth, int32_t screenHeight);
    WindowRect LayoutForConsole(int32_t requestedHeight);
    // The skin's field image (image 6) scaled over the drawing area; the world's overlay pass
    // calls it.
    void BlitField();

    // Where the overlays are drawn: the window in the wide layout, else the field.
    WindowRect drawArea{};
    WindowRect fieldRect{};
    uint8_t barVisible = 0;
    std::vector<CreatureFrame> creatureFrames;
    // The game field it made.
    Field* field = nullptr;

private:
    static constexpr int32_t BarCells = 12;

    WindowRect LayoutBelowConsole(int32_t screenWidth, int32_t screenHeight,
                                  int32_t requestedHeight);
    WindowRect LayoutWide(int32_t screenWidth, int32_t screenHeight) const;
    void RefreshDrawArea();
    void DrawFrame();
    void DrawScreenshotProgress();
    void DrawDebugStats();
    void DrawBar();
    void DrawGauges(int32_t x0, int32_t y0);
    void DrawBarCells(int32_t x0, int32_t y0);
    void UpdateCreatureFrames();
    void DrawCreatureFrames();

    // The labels of the on-field ability bar's cells: the names of the F1 to F12 bindings.
    KeyNameCache keyNames[BarCells];
};
