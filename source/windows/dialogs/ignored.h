#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

class Input;

// The muted people window: the player's list of muted names with an input to add one and a
// button to remove the selected one. The list is the client's own (Core::muted, kept in the
// settings file); nothing is sent to the server.
class Ignored : public Window {
public:
    static constexpr uint32_t AddButton = 25;
    static constexpr uint32_t RemoveButton = 26;
    static constexpr uint32_t OkButton = 34;

    explicit Ignored(Core* core);
    ~Ignored() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    // Enter closes the window; it adds no name.
    void OnSubmit() override;
    // Takes the input, the list and the window out of the window list.
    void Close() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    // Lists the list and the input, focuses the input and fills the list from Core::muted.
    void OnOpen() override;

    void AddName();
    void RemoveSelected();

    List* names = nullptr;
    Input* input = nullptr;

private:
    void PaintContent();
};
