#include "windows/front/desktop.h"

#include <windows.h>

#include "connectkind.h"
#include "core.h"
#include "font.h"
#include "render.h"
#include "windows/front/account.h"
#include "windows/front/frontbuttons.h"
#include "windows/front/login.h"
#include "windows/front/settings.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

// The backdrop's width over its height: it is scaled to cover the screen at this shape.
constexpr float BackdropAspect = 1.7359855f;
constexpr uint16_t BackdropImage = 100;
constexpr uint16_t ShadeImage = 6;
constexpr uint16_t LogoImage = 101;
constexpr int32_t ButtonHalfWidth = 44;
constexpr int32_t ButtonSpacing = 28;

// A colour escape: byte 0, then red, green, blue and alpha.
std::string ColourEscape(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    return std::string(1, '\0') + char(red) + char(green) + char(blue) + char(alpha);
}

// A tip headed by "Did you know?" in light grey, its text in the colour of the line.
std::string HeadedTip(const std::string& text) {
    return ColourEscape(224, 224, 224, 160) + "Did you know?" + ColourEscape(0, 0, 0, 0) + text;
}

}  // namespace

Desktop::Desktop(Core* core) : Window(core) { Build(); }

void Desktop::Build() {
    ResetLayout();
    x = y = 0;
    width = static_cast<int32_t>(core->clientWidth);
    height = static_cast<int32_t>(core->clientHeight);
    name.clear();
    typeId = WindowType::Desktop;
    font = core->GetFont(1);
    // With Steam the column plays through Steam, and the account-name login moves into the
    // account panel.
    if (core->steamReady) AddMenuButton(0, 0, FrontButton::Play, "Play");
    else AddMenuButton(0, 0, FrontButton::Login, "Login");
    AddMenuButton(0, 0, FrontButton::Account, "Account");
    AddMenuButton(0, 0, FrontButton::Settings, "Settings");
    AddMenuButton(0, 0, FrontButton::Exit, "Exit");
    LayOutButtons();
    tips = {
        HeadedTip("  Holding CTRL and pressing the movement keys will turn your character "
                  "without walking."),
        HeadedTip("  You can choose to hide individual status icons from the HUD by right - "
                  "clicking them in the status bar and clicking \"hide from HUD\"."),
        HeadedTip("  Veltor\x92 first ever test server went online on MONTH DAY, 2006/7."),
        "Did you know? You can pin your inventory, the map, and other windows to the top and "
        "bottom of the UI by right-clicking them and choosing the \x93pin to\x94 option. They "
        "will then stick there until you unpin them again.",
    };
}

void Desktop::LayOutButtons() {
    int32_t row = 0;
    for (Button* button : buttons) {
        button->x = width / 2 - ButtonHalfWidth;
        button->y = height / 2 - 50 + ButtonSpacing * row++;
    }
}

void Desktop::Draw() {
    DrawBackdrop();
    render->DrawSkinScaled(0, 0, width, height, ShadeImage);
    render->DrawSkinScaled(40, 30, 250, 109, LogoImage);
    DrawButtonBox();
    DrawButtons();
    DrawScreenshotNotice();
}

// Covers the window at the backdrop's shape: cut at the sides of a narrow window, at top and
// bottom of a wide one.
void Desktop::DrawBackdrop() {
    if (width <= 0 || height <= 0) return;
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    if (BackdropAspect > w / h) {
        const int32_t scaledWidth = static_cast<int32_t>(h * BackdropAspect);
        render->DrawSkinScaled(-((scaledWidth - width) / 2), 0, scaledWidth, height, BackdropImage);
    } else {
        const int32_t scaledHeight = static_cast<int32_t>(w / BackdropAspect);
        render->DrawSkinScaled(0, -((scaledHeight - height) / 2), width, scaledHeight,
                               BackdropImage);
    }
}

// A dark box behind the buttons with a light outline and a dark one inside it.
void Desktop::DrawButtonBox() {
    const int32_t boxX = width / 2 - 64, boxY = height / 2 - 70;
    render->FillRect(boxX, boxY, 128, 140, 0x80000000);
    render->DrawRect(boxX, boxY, 128, 140, 0x2CFFFFFF);
    render->DrawRect(boxX + 1, boxY + 1, 126, 138, 0x40000000);
}

void Desktop::DrawScreenshotNotice() {
    if (!core->screenshotBusy || !font) return;
    const uint64_t phase = core->frameTimeMs % 1000;
    const size_t dots = phase < 250 ? 0 : phase < 500 ? 1 : phase < 750 ? 2 : 3;
    font->DrawText(x + 4, y + 3, "Rendering screenshot" + std::string(dots, '.'), 0xFFFFFFFF);
}

void Desktop::Place(int32_t screenWidth, int32_t screenHeight) {
    width = screenWidth;
    height = screenHeight;
    LayOutButtons();
}

void Desktop::OnCommand(Button* button) {
    switch (button->id) {
        case FrontButton::Play:
            core->connectKind = ConnectKind::SteamLogin;
            core->Connect(0);
            break;
        case FrontButton::Login: core->AddWindow(new Login(core))->OnOpen(); break;
        case FrontButton::Account: core->AddWindow(new Account(core))->OnOpen(); break;
        case FrontButton::Settings: core->AddWindow(new Settings(core)); break;
        case FrontButton::Exit: PostQuitMessage(0); break;
        default: break;
    }
}
