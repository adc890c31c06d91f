#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

// What every page of the settings window shares: a modal window centred on the client area,
// painted with the dialog face (frame, title band, sunken box, centred title), the standard
// buttons of the pages, and the controls (text inputs, lists) that live as windows of their own
// above the page while it is open. Pages move by replacement: the next page is added and the
// current one removed in the same command, so one settings page is open at a time.
class SettingsPage : public Window {
public:
    static constexpr uint32_t DefaultButton = 35;
    static constexpr uint32_t LabelColour = BoxTextColour;
    static constexpr uint32_t HeadingColour = 0xFFFFFFFF;

    // Takes the page's controls out of the window list, or deletes those never opened.
    ~SettingsPage() override;

    void Paint() override;
    void Draw() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    // The controls, then the page.
    void Close() override;

protected:
    explicit SettingsPage(Core* core);

    // The settings every page makes first in its Build: title, type, size, centred place,
    // modal (and movable when asked), font 2 and the surface.
    void BuildPage(std::string title, uint32_t type, int32_t w, int32_t h, uint8_t isMovable);
    // The menu button of row `row` in the middle column: (w / 2 - 44, 57 + 28 row).
    Button* AddPageButton(int32_t row, uint32_t id, std::string caption);
    // "ok" (34) at the bottom right.
    Button* AddOkButton();
    // A small button at the bottom left ("default", "network").
    Button* AddLeftButton(uint32_t id, std::string caption);
    // A check box whose tick is `ticked`; its click area reaches `hitWidth` pixels to the right.
    Button* AddCheckBox(int32_t bx, int32_t by, uint32_t id, uint8_t ticked, int32_t hitWidth);
    // Adds the next window, calls its OnOpen, then removes (deletes) this page: the caller must
    // not touch the page afterwards.
    void HandOver(Window* next);
    // A control of the page: it joins the window list when the page opens.
    template <class Control>
    Control* Own(Control* control) {
        controls.push_back(control);
        return control;
    }
    // Puts the controls into the window list above the page, in the order they were made.
    void OpenControls();
    // What the page paints over the dialog face.
    virtual void PaintContent() {}
    // What the page draws live each frame, between its surface and its buttons.
    virtual void DrawLive() {}

private:
    void PaintPage();
    void CloseControls();

    std::vector<Window*> controls;
    uint8_t controlsOpen = 0;
};
