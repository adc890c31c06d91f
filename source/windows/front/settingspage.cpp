#include "windows/front/settingspage.h"

#include <utility>

#include "core.h"
#include "windows/toolkit/button.h"

namespace {
constexpr int32_t PageButtonHalfWidth = 44;
constexpr int32_t FirstPageButtonY = 57;
constexpr int32_t PageButtonSpacing = 28;
}  // namespace

SettingsPage::SettingsPage(Core* core) : Window(core) {}

SettingsPage::~SettingsPage() { CloseControls(); }

// Once open, the controls are found in the window list by their owner: one taken out of the list
// already is gone. Before, they belong to the page alone.
void SettingsPage::CloseControls() {
    if (controlsOpen) {
        const std::vector<Window*> listed = core->windows;
        for (Window* window : listed)
            if (window->owner == this) core->RemoveWindow(window);
    } else {
        for (Window* control : controls) delete control;
    }
    controls.clear();
}

void SettingsPage::BuildPage(std::string title, uint32_t type, int32_t w, int32_t h,
                             uint8_t isMovable) {
    ResetLayout();
    name = std::move(title);
    typeId = type;
    width = w;
    height = h;
    movable = isMovable;
    modal = 1;
    font = core->GetFont(2);
    Place(static_cast<int32_t>(core->clientWidth), static_cast<int32_t>(core->clientHeight));
    CreateSurface();
}

Button* SettingsPage::AddPageButton(int32_t row, uint32_t id, std::string caption) {
    return AddMenuButton(width / 2 - PageButtonHalfWidth,
                         FirstPageButtonY + PageButtonSpacing * row, id, std::move(caption));
}

Button* SettingsPage::AddOkButton() {
    return AddPushButton(width - 66, height - 28, ButtonId::Ok, "ok");
}

Button* SettingsPage::AddLeftButton(uint32_t id, std::string caption) {
    return AddPushButton(12, height - 28, id, std::move(caption));
}

Button* SettingsPage::AddCheckBox(int32_t bx, int32_t by, uint32_t id, uint8_t ticked,
                                  int32_t hitWidth) {
    return AddButton(bx, by, id, 65, 236, 65, 236, 79, 236, 14, 14, {0, 0, hitWidth, 14}, "",
                     ticked, 1);
}

void SettingsPage::HandOver(Window* next) {
    core->AddWindow(next)->OnOpen();
    core->RemoveWindow(this);
}

void SettingsPage::OpenControls() {
    for (Window* control : controls) core->AddWindow(control);
    controlsOpen = 1;
}

void SettingsPage::Close() {
    CloseControls();
    core->RemoveWindow(this);
}

void SettingsPage::PaintPage() {
    PaintBoxBackground();
    PaintContent();
}

void SettingsPage::Paint() {
    PaintCached([this] { PaintPage(); });
}

void SettingsPage::Draw() {
    DrawFrame();
    DrawCached([this] { PaintPage(); });
    DrawLive();
    DrawButtons();
}

void SettingsPage::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}
