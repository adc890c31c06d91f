#include "windows/front/video.h"

#include <string>

#include "core.h"
#include "driver/gfxdriver.h"
#include "font.h"
#include "render.h"
#include "windows/front/settings.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"

namespace {
constexpr uint32_t FrameRateColour = 0x80FFFFFF;
}  // namespace

Video::Video(Core* core) : SettingsPage(core) { Build(); }

void Video::Build() {
    BuildPage("Video", WindowType::Video, 284, 276, 0);
    resolutionList = Own(new List(core, this, 33, 65, 73, 152));
    targetInput = Own(new Input(core, this, TargetLength, {191, 189, 50, 18},
                                std::to_string(core->targetFps), 0, 1));
    const bool direct = core->engine == DriverDirectX;
    Button* directX = AddPushButton(132, 71, DirectXButton, "DirectX");
    Button* openGL = AddPushButton(191, 71, OpenGLButton, "OpenGL");
    for (Button* driver : {directX, openGL}) driver->toggle = 1;
    directX->pressed = direct ? 1 : 0;
    openGL->pressed = core->engine == DriverOpenGL ? 1 : 0;
    (direct ? directX : openGL)->enabled = 0;
    AddCheckBox(132, 119, FullscreenBox, core->fullscreen, 142);
    AddOkButton();
    AddCloseButton();
}

void Video::OnOpen() {
    OpenControls();
    for (const DisplayMode& mode : core->displayModes)
        resolutionList->AddItemValue(std::to_string(mode.width) + ' ' + Bullet + ' ' +
                                         std::to_string(mode.height),
                                     mode.unavailable);
    resolutionList->MoveSelection(core->resolution);
    core->focusedInput = targetInput;
}

void Video::OnListSelect(int32_t index) {
    if (index < 0 || core->resolution == index) return;
    core->resolution = static_cast<uint8_t>(index);
    if (core->fullscreen && !ChosenUnsupported()) core->ChangeScreenModeAlt();
}

bool Video::ChosenUnsupported() const {
    const int32_t chosen = resolutionList->selected;
    return chosen < 0 || static_cast<size_t>(chosen) >= resolutionList->marks.size() ||
           resolutionList->marks[static_cast<size_t>(chosen)];
}

void Video::ChooseDriver(uint32_t code, uint32_t chosenId, uint32_t otherId, const char* refusal) {
    Button* chosen = FindButton(chosenId);
    Button* other = FindButton(otherId);
    if (core->ReinitDriver(code) != code) {
        chosen->pressed = 0;
        core->ShowMessage("Veltor", refusal, 0);
        return;
    }
    other->pressed = 0;
    other->enabled = 1;
    chosen->enabled = 0;
}

// A switch the display refuses leaves the mode in effect, and the box shows that mode.
void Video::ToggleFullscreen(Button* box) {
    if (!core->fullscreen) {
        if (ChosenUnsupported()) {
            box->pressed = 0;
            core->ShowMessage("Veltor", "Your screen does not support this resolution.", 0);
            return;
        }
        core->resolution = static_cast<uint8_t>(resolutionList->selected);
    }
    core->ChangeScreenMode();
    box->pressed = core->fullscreen;
}

void Video::OnCommand(Button* button) {
    switch (button->id) {
        case DirectXButton:
            ChooseDriver(DriverDirectX, DirectXButton, OpenGLButton,
                         "Your computer does not support 'DirectX 9'.");
            break;
        case OpenGLButton:
            ChooseDriver(DriverOpenGL, OpenGLButton, DirectXButton,
                         "Your computer does not support 'OpenGL 2.0'.");
            break;
        case FullscreenBox: ToggleFullscreen(button); break;
        case ButtonId::Ok: OnSubmit(); break;
        case ButtonId::Close: Close(); break;
        default: break;
    }
}

void Video::OnSubmit() {
    core->AddWindow(new Settings(core));
    Close();
}

uint32_t Video::TypedTarget() const {
    uint32_t value = 0;
    for (char c : targetInput->text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return value < LowestTarget ? LowestTarget : value;
}

void Video::Close() {
    core->targetFps = TypedTarget();
    core->resolution =
        static_cast<uint8_t>(resolutionList->selected < 0 ? 0 : resolutionList->selected);
    SettingsPage::Close();
}

void Video::PaintContent() {
    render->DrawBox(126, 65, 125, 28, 0);
    render->DrawBox(126, 113, 125, 26, 0);
    render->DrawBox(126, 159, 125, 58, 0);
    render->DrawFrame1(191, 169, 50, 18);
    if (!font) return;
    font->DrawText(39, 52, "Resolution", HeadingColour);
    font->DrawTextCentered(188, 52, "Driver", HeadingColour);
    font->DrawTextCentered(188, 101, "Mode", HeadingColour);
    font->DrawTextCentered(188, 147, "Framerate", HeadingColour);
    font->DrawText(151, 122, "Fullscreen", LabelColour);
    font->DrawTextRight(186, 174, "Current", LabelColour);
    font->DrawTextRight(186, 194, "Target", LabelColour);
}

// A typed target applies while the page is open.
void Video::DrawLive() {
    if (font) font->DrawTextRight(x + 237, y + 174, core->fpsText, FrameRateColour);
    core->targetFps = TypedTarget();
}
