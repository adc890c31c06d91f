#include "windows/dialogs/inputdialog.h"

#include <utility>

#include "core.h"
#include "windows/toolkit/input.h"

InputDialog::InputDialog(Core* core) : Window(core) {}

InputDialog::~InputDialog() { ReleaseChild(input, opened); }

void InputDialog::OnOpen() {
    opened = 1;
    core->AddWindow(input);
    core->focusedInput = input;
}

void InputDialog::Close() {
    ReleaseChild(std::exchange(input, nullptr), opened);
    core->RemoveWindow(this);
}
