#pragma once
#include <cstdint>
#include <string>

#include "windows/toolkit/window.h"

// What the server-crashed and server-suspended notices share: a modal box centred on the client
// area with the standard frame, drawn over the whole screen darkened behind it, from clear to
// half dark over the first 512 ms after the notice was built.
class ServerNotice : public Window {
public:
    static constexpr int32_t Width = 335;
    static constexpr int32_t Height = 120;
    static constexpr uint32_t LogoutButton = 4;

    void Paint() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;

    // The alpha of the black over the screen `elapsedMs` after the notice was built.
    static uint32_t DimmingAlpha(uint64_t elapsedMs);

    // Core's frame time when the notice was built.
    uint64_t builtAt = 0;

protected:
    explicit ServerNotice(Core* core);
    // The common settings: size, place, flags, font, surface, title, type and build time.
    void BuildNotice(std::string title, uint32_t type);
    // The darkened screen, the notice's shadow and its painted surface.
    void DrawBackground();
    // The standard frame; a notice with a fixed text paints it on top.
    virtual void PaintContent();
};
