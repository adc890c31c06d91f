#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

class Input;

// The "New Avatar" dialog above the avatar list: a name input in name mode and a gender pair
// (exactly one of male and female is on, and that one is disabled). Submitting a name asks the
// server to create the avatar; the server adds it to the list below.
class Create : public Window {
public:
    static constexpr uint32_t CreateButton = 24;
    static constexpr uint32_t MaleButton = 37;
    static constexpr uint32_t FemaleButton = 38;

    explicit Create(Core* core);
    // Deletes the name input when the dialog goes without closing itself.
    ~Create() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    // Lists the name input and gives it the focus.
    void OnOpen() override;
    // Removes the name input, then the dialog.
    void Close() override;

    void Submit();
    bool IsMale();

    Input* nameInput = nullptr;

private:
    void PaintContent();
    // The pressed button of the pair is on: the other goes off and can be chosen again.
    void ChooseGender(Button* chosen);

    uint8_t opened = 0;
};
