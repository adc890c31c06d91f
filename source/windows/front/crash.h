#pragma once
#include <cstdint>

#include "windows/front/servernotice.h"

// The notice of a crashed server: the player logs out or tells the server to go on ("proceed",
// as the close button does). It stays open until the client leaves the game.
class Crash : public ServerNotice {
public:
    static constexpr uint32_t ProceedButton = 25;

    explicit Crash(Core* core);

    void Build() override;
    void Draw() override;
    void OnCommand(Button* button) override;

private:
    void PaintContent() override;
    void Proceed();
};
