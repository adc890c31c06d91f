#include "windows/front/controlsfunction.h"

#include <vector>

#include "config.h"
#include "font.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr const char* FunctionLabels[] = {
    "Action: initiate safe trade",
    "Action: initiate party",
    "Action: auto stack ",
    "Action: screenshot saved to folder",
    "Action: paste text",
    "Toggle: push-to-talk mode",
    "Toggle: character window",
    "Toggle: how to guide",
    "Toggle: spellbar",
    "Toggle: friends panel",
    "Toggle: world map window",
    "Toggle: journal window",
};

std::vector<BindingField> FunctionFields() {
    std::vector<BindingField> fields;
    for (uint32_t i = 0; i < 12; ++i)
        fields.push_back({KeyTrade + i, 33, 80 + 26 * static_cast<int32_t>(i), FunctionLabels[i]});
    return fields;
}

}  // namespace

ControlsFunction::ControlsFunction(Core* core) : BindingPage(core, FunctionFields()) { Build(); }

void ControlsFunction::Build() {
    BuildBindings("Function Controls", WindowType::ControlsFunction, 303, 445);
}

void ControlsFunction::PaintContent() {
    BindingPage::PaintContent();
    if (font) font->DrawText(38, 57, "CTRL + [key].", LabelColour);
}
