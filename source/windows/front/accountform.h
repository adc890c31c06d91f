#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

class Input;

// The longest account name or password, and the longest e-mail address, that a dialog takes.
constexpr uint32_t AccountNameLength = 64;
constexpr uint32_t MailAddressLength = 224;

// What the login window and the account dialogs share: a centred modal dialog with the dialog
// face, its labels, text inputs that are windows of their own above it, an action button and the
// close button. Enter in the dialog or in one of its inputs submits. A submit that passes the
// dialog's checks stores the typed texts in Core and starts a connection of the dialog's kind;
// one that fails leaves the dialog open behind a message box.
class AccountForm : public Window {
public:
    // Takes the inputs that are still open out of the window list.
    ~AccountForm() override;

    void Paint() override;
    // The frame, the surface, the CAPS Lock warning of the dialogs that ask for a password, and
    // the buttons.
    void Draw() override;
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    // Puts the inputs into the window list above the dialog and focuses the first one.
    void OnOpen() override;
    // Takes the inputs out of the window list, then the dialog.
    void Close() override;

    // The dialog's checks, then the connection.
    virtual void Submit() = 0;

    std::vector<Input*> inputs;

protected:
    struct Label {
        int32_t x, y;
        std::string text;
    };

    explicit AccountForm(Core* core);

    // The settings that every such dialog makes first in its Build.
    void BuildFace(std::string title, uint32_t type, int32_t w, int32_t h);
    Input* AddInput(WindowRect rect, uint32_t maxLength, uint8_t masked);
    void AddActionButton(uint32_t id, std::string caption);
    // A message box over the dialog, which stays open with its texts.
    void Refuse(const std::string& title, const std::string& text);
    // Chooses the connect kind, connects and closes the dialog with its inputs.
    void Connect(uint32_t kind);
    // The account-name-and-password submit of the login window and the Steam link dialog.
    void SubmitLogin(const Input& account, const Input& password, uint32_t kind);

    std::vector<Label> labels;
    uint32_t actionId = 0;
    uint8_t capsWarning = 0;

private:
    void PaintContent();
    void RemoveInputs();

    uint8_t opened = 0;
};
