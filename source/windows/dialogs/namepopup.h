#pragma once
#include <cstdint>
#include <string>

#include "windows/toolkit/window.h"

class Input;
class Protocol;

// The small popup that asks for one name and sends one request with it. The members differ in
// their window type, title, button caption and request; the checks and the layout are shared.
class NamePopup : public Window {
public:
    static constexpr uint32_t SubmitButton = 25;

    ~NamePopup() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    // Checks the name, sends the request and closes, also after a refusal.
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    // Lists the name input and gives it the focus.
    void OnOpen() override;
    // Takes the input and the popup out of the window list; both are deleted at the next tick,
    // as Enter in the input may still be on the way back through them.
    void Close() override;

    Input* input = nullptr;

protected:
    NamePopup(Core* core, uint32_t type, std::string title, std::string caption);
    virtual void SendRequest(Protocol& connection, const std::string& name) = 0;

private:
    void PaintContent();

    uint32_t type;
    std::string title;
    std::string caption;
};
