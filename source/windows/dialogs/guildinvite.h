#pragma once
#include <cstdint>
#include <vector>

#include "gamelists.h"
#include "windows/toolkit/window.h"

// The guilds that have invited the player, as Core::guilds held them when the window was built:
// one framed entry each, whose click offers to join the guild or to reject the invitation.
class Guildinvite : public Window {
public:
    explicit Guildinvite(Core* core);
    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    void Close() override;

    // The index of the first entry under a point of the client area, or -1.
    int32_t EntryAt(int32_t px, int32_t py) const;

    std::vector<GuildInfo> invitations;
    int32_t areaX = 38, areaY = 56, areaW = 0;
    // Relative to the window.
    std::vector<WindowRect> entryRects;

private:
    void PaintEntries();
};
