#pragma once
#include <cstdint>

#include "windows/front/settingspage.h"

class Input;
class List;

// The display page: the fullscreen resolution, the graphics driver, fullscreen on or off and the
// target frame rate, with the measured frame rate shown live. Driver and fullscreen change at
// once; the resolution and the target are stored in Core while the page is open and when it
// closes, by "ok" or by the close button alike.
class Video : public SettingsPage {
public:
    static constexpr uint32_t DirectXButton = 39;
    static constexpr uint32_t OpenGLButton = 40;
    static constexpr uint32_t FullscreenBox = 55;
    static constexpr uint32_t TargetLength = 5;
    static constexpr uint32_t LowestTarget = 10;
    // Between the width and the height of a resolution: a bullet in the client's character set.
    static constexpr char Bullet = '\x95';

    explicit Video(Core* core);

    void Build() override;
    void OnSubmit() override;
    void OnCommand(Button* button) override;
    // Puts the list and the input into the window list, fills the list and selects the stored
    // resolution.
    void OnOpen() override;
    void OnListSelect(int32_t index) override;
    // Stores the target and the resolution, then removes the controls and the page.
    void Close() override;

    List* resolutionList = nullptr;
    Input* targetInput = nullptr;

private:
    void PaintContent() override;
    void DrawLive() override;
    // The typed target frame rate, never below the lowest.
    uint32_t TypedTarget() const;
    void ChooseDriver(uint32_t code, uint32_t chosenId, uint32_t otherId, const char* refusal);
    void ToggleFullscreen(Button* box);
    bool ChosenUnsupported() const;
};
