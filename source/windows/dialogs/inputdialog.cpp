#include "windows/dialogs/inputdialog.h"

#include <algorithm>
#include <vector>

#include "core.h"
#include "windows/toolkit/input.h"

InputDialog::InputDialog(Core* core) : Window(core) {}

InputDialog::~InputDialog() {
    if (!opened) {
        delete input;
        return;
    }
    // A field removed already (by a clearing of the list that took it first) is not touched.
    const std::vector<Window*>& listed = core->windows;
    if (input && std::find(listed.begin(), listed.end(), input) != listed.end())
        core->RemoveWindow(input);
}

void InputDialog::OnOpen() {
    opened = 1;
    core->AddWindow(input);
    core->focusedInput = input;
}

void InputDialog::Close() {
    if (opened) core->RemoveWindow(input);
    else delete input;
    input = nullptr;
    core->RemoveWindow(this);
}
