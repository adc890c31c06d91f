#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

// The scroll bar control: a thin window (type 70) with an arrow button at each end and a
// draggable thumb. It keeps an integer position from 0 to total - visible and asks its owner to
// repaint (the owner's Refresh) when the position changes; the owner reads the position to offset
// its content. The bar draws nothing in the window list's frame pass: its owner calls
// OnMouseMove every frame, which draws it and runs the auto-repeat of a held arrow.
//
// `x` and `y` are relative to the owner; GetRect gives the bar's screen rectangle. The bar is
// 18 pixels thick; each end holds a 14-pixel arrow, and the track is the length minus 30 pixels,
// starting 15 pixels from the start.
class Scroll : public Window {
public:
    // The arrow button ids: back and forward of a vertical and of a horizontal bar.
    static constexpr uint32_t UpArrow = 11;
    static constexpr uint32_t DownArrow = 12;
    static constexpr uint32_t LeftArrow = 59;
    static constexpr uint32_t RightArrow = 60;

    Scroll(Core* core, Window* owner, int32_t x, int32_t y, int32_t length, int32_t visible,
           int32_t total, int32_t step, uint8_t vertical);
    // A panel window whose bar this is forgets it: the window list may delete the bar first.
    ~Scroll() override;

    void Build() override;
    // The bar is drawn by its owner through OnMouseMove.
    void Paint() override;
    void Draw() override;
    void OnMouseDown(int32_t mx, int32_t my) override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnDrag(int32_t mx, int32_t my) override;
    void OnWheel(int32_t mx, int32_t my, int32_t delta) override;
    // Enter is passed to the owner, as an input does.
    void OnSubmit() override;
    // An arrow released over itself steps once, unless the hold already auto-repeated.
    void OnCommand(Button* button) override;
    bool HitTest(int32_t px, int32_t py) override;
    WindowRect GetRect() override;

    void StepUp();
    void StepDown();
    // A position within one step of the end goes to the end.
    void SetPosition(int32_t p);
    void ScrollToStart();
    void ScrollToEnd();
    // New extents; neither tells the owner.
    void SetTotal(int32_t t);
    void Grow(int32_t delta);
    // Draws the thumb and the arrows at the owner's screen origin (ox, oy) and steps while an
    // arrow is held: first after `repeatDelay` milliseconds, then every `repeatDelay`.
    void OnMouseMove(int32_t ox, int32_t oy);

    // The length along the bar's axis: the height of a vertical bar, the width of a horizontal.
    int32_t Length() const;

    // Position 0 is at the bottom (right) end: the bar of a chat page.
    uint8_t inverted = 0;
    uint8_t vertical;
    int32_t step;
    int32_t visible;
    int32_t total;
    int32_t thumbLength = 12;
    int32_t thumbOffset = 0;
    int32_t position = 0;
    // Auto-repeat interval: 100 ms for a vertical bar, 300 ms for a horizontal one.
    int32_t repeatDelay;
    // Frame time of the last step, or of the last frame in which no arrow was held.
    uint64_t lastStep = 0;
    // The held arrow has already stepped by auto-repeat during this hold.
    uint8_t repeating = 0;

private:
    // The owner's screen origin: what `x` and `y` are relative to.
    void OwnerOrigin(int32_t& ox, int32_t& oy);
    // The pixels the thumb can travel: the track less the thumb, never negative.
    int32_t ThumbRange() const;
    void UpdateThumbLength();
    void UpdateThumb();
    // Stores a new position; tells the owner and moves the thumb when it differs.
    void MoveTo(int32_t newPosition);
    void ArrowStep(const Button* button);
    void TellOwner();
    void DrawThumb(int32_t ox, int32_t oy);
};
