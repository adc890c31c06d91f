#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gamelists.h"
#include "windows/toolkit/window.h"

class Action;

// The guild window: the player's own guild as Core::guilds last held it, with an information
// panel and the member list, whose right-click menus carry the guild requests.
class Guild : public Window {
public:
    // Member rank bits.
    static constexpr uint8_t MemberFlag = 1, PatronFlag = 2, LeaderFlag = 4;

    explicit Guild(Core* core);
    ~Guild() override;
    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnRightClick(int32_t mx, int32_t my) override;
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    // Copies the player's own guild record (the first that is not an invitation) into the
    // window and lists its members.
    void OnOpen() override;
    void Close() override;
    // The rows again from Core::guilds; without an own guild record the window closes (it is
    // deleted) and the status panel shows the change.
    void Reload();

    // The record's leader: the last member whose flags are exactly the leader bit.
    std::string LeaderName() const;

    uint32_t guildId = 0;
    std::string guildName;
    uint32_t guildValue = 0;
    uint8_t invitation = 0, flag = 0;
    std::vector<GuildMember> members;
    WindowRect infoRect{38, 76, 250, 134};
    uint8_t isLeader = 0;

private:
    void PaintInfo();
    // The menu of a member row, or of the rows' empty space for the leader; null when none.
    Action* MemberMenu(int32_t row);
    Action* InviteMenu(uint32_t context);
};

// The first record of the player's own guild in the list, or null.
const GuildInfo* FindOwnGuild(const std::vector<GuildInfo>& guilds);
