#pragma once
#include "windows/toolkit/window.h"

class Input;

// A dialog with one text field. The field is a window of its own, in Core's window list while
// the dialog is open, and it goes with the dialog.
class InputDialog : public Window {
public:
    ~InputDialog() override;
    // Lists the field and gives it the keyboard.
    void OnOpen() override;
    // Removes the field, then the dialog (deleted: nothing may touch it afterwards).
    void Close() override;

    Input* input = nullptr;

protected:
    explicit InputDialog(Core* core);

private:
    uint8_t opened = 0;
};
