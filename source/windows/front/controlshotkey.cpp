#include "windows/front/controlshotkey.h"

#include <vector>

#include "config.h"
#include "font.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t RowY = 80;
constexpr int32_t Spacing = 29;

std::vector<BindingField> HotkeyFields() {
    std::vector<BindingField> fields;
    for (uint32_t i = 0; i < 12; ++i)
        fields.push_back({KeyF1 + i, 33 + Spacing * static_cast<int32_t>(i), RowY});
    for (uint32_t j = 0; j < 3; ++j)
        fields.push_back({KeyAction1 + j, 391 + Spacing * static_cast<int32_t>(j), RowY});
    return fields;
}

}  // namespace

ControlsHotkey::ControlsHotkey(Core* core) : BindingPage(core, HotkeyFields()) { Build(); }

void ControlsHotkey::Build() {
    BuildBindings("Hotkey Controls", WindowType::ControlsHotkey, 503, 157);
}

void ControlsHotkey::PaintContent() {
    if (font)
        font->DrawTextCentered(width / 2, 54,
                               "These are extra hotkeys when in 'push-to-talk' mode.", LabelColour);
}
