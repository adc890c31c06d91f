#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

class Chatbox;

// The small modal window in which the player picks a standard chat channel for a chat box to
// join: it lists those the box does not have yet, and "join" joins the selected one.
class Channellist : public Window {
public:
    static constexpr uint32_t JoinButton = 61;

    // left: opened for the main chat box (else for the second one).
    Channellist(Core* core, uint8_t left);
    ~Channellist() override;
    void Build() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void Paint() override;
    void Draw() override;
    void OnCommand(Button* button) override;
    // Fills the list with the candidates the chat box lacks.
    void OnOpen() override;

    uint8_t left;

private:
    Chatbox* Target() const;
    void PaintContent();
};
