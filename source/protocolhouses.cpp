// Game-state messages of the player's house, the auctioneer's rental list and the guilds. Counts
// from the server reserve nothing: records are read one by one and the reading stops at the end
// of the message.
#include <algorithm>
#include <string>
#include <vector>

#include "core.h"
#include "platform.h"
#include "protocol.h"
#include "windows/dialogs/guild.h"
#include "windows/dialogs/guildfound.h"
#include "windows/dialogs/house.h"
#include "windows/dialogs/rental.h"
#include "windows/toolkit/windowtypes.h"

namespace {

// The guild message's sub-operations.
const uint8_t GuildList = 1, GuildFoundOpen = 2, GuildFoundClose = 3;
// The first byte of the guild list: its guilds are the player's own.
const uint8_t OwnGuilds = 1;
const uint32_t SecondsPerDay = 86400;
const uint32_t MostDaysToDue = 255;

void RefreshStatusPanel(Core* core) {
    if (core->paneltopWindow) core->paneltopWindow->Refresh();
}

}  // namespace

void Protocol::house_invitees() {
    HouseInfo house;
    house.houseId = inBuffer.GetU32();
    house.type = inBuffer.GetU16();
    house.size = inBuffer.GetU16();
    house.rent = inBuffer.GetU32();
    house.secondsToDue = inBuffer.GetU32();
    const uint32_t count = inBuffer.GetU32();
    house.town = inBuffer.GetString();
    house.nameFirst = inBuffer.GetString();
    house.nameSecond = inBuffer.GetString();
    for (uint32_t i = 0; i < count && !inBuffer.Failed(); ++i) {
        HouseGuest guest;
        guest.name = inBuffer.GetString();
        guest.role = inBuffer.GetU32();
        if (!inBuffer.Failed()) house.guests.push_back(std::move(guest));
    }
    if (inBuffer.Failed()) return;
    house.receivedAt = WallClockMs() - core->pingAverage / 2;
    house.daysToDue = uint8_t(std::min(house.secondsToDue / SecondsPerDay, MostDaysToDue));
    core->hasHouse = 1;
    core->houseInfo = std::move(house);
    ReloadHouseGuests(*core);
    RefreshStatusPanel(core);
}

void Protocol::house_lost() {
    inBuffer.GetU32();
    if (inBuffer.Failed()) return;
    core->hasHouse = 0;
    RefreshStatusPanel(core);
}

void Protocol::rental_open() {
    const std::string title = inBuffer.GetString();
    const uint32_t count = inBuffer.GetU32();
    std::vector<HouseEntry> houses;
    for (uint32_t i = 0; i < count && !inBuffer.Failed(); ++i) {
        HouseEntry house;
        house.houseId = inBuffer.GetU32();
        house.type = inBuffer.GetU16();
        house.size = inBuffer.GetU16();
        house.rent = inBuffer.GetU32();
        house.currentBid = inBuffer.GetU32();
        house.auctionSeconds = inBuffer.GetU32();
        house.town = inBuffer.GetString();
        house.nameFirst = inBuffer.GetString();
        house.nameSecond = inBuffer.GetString();
        house.description = inBuffer.GetString();
        house.bidHolder = inBuffer.GetString();
        house.owner = inBuffer.GetString();
        houses.push_back(std::move(house));
    }
    // A list cut short opens nothing.
    if (inBuffer.Failed()) return;
    auto* rental = new Rental(core, title);
    core->AddWindow(rental)->OnOpen();
    for (HouseEntry& house : houses) rental->SetHouses(std::move(house));
}

void Protocol::auction_update() {
    const uint32_t houseId = inBuffer.GetU32();
    const uint32_t kind = inBuffer.GetU32();
    const uint32_t currentBid = inBuffer.GetU32();
    const uint32_t auctionSeconds = inBuffer.GetU32();
    const std::string name = inBuffer.GetString();
    if (inBuffer.Failed()) return;
    if (auto* rental = dynamic_cast<Rental*>(core->FindWindow(WindowType::Rental)))
        rental->UpdateAuction(houseId, kind, currentBid, auctionSeconds, name);
}

void Protocol::guild() {
    switch (inBuffer.GetByte()) {
        case GuildList: guild_data(); break;
        case GuildFoundOpen:
            if (!core->FindWindow(WindowType::Guildfound))
                core->AddWindow(new Guildfound(core))->OnOpen();
            break;
        case GuildFoundClose:
            if (Window* found = core->FindWindow(WindowType::Guildfound)) found->Close();
            break;
        default: break;
    }
}

void Protocol::guild_data() {
    const uint8_t ownFlag = inBuffer.GetByte();
    std::vector<GuildInfo> guilds;
    const uint8_t count = inBuffer.GetByte();
    for (uint8_t i = 0; i < count && !inBuffer.Failed(); ++i) {
        GuildInfo guild{};
        guild.id = inBuffer.GetU16();
        guild.name = inBuffer.GetString();
        guild.value = inBuffer.GetU32();
        guild.flag = ownFlag == OwnGuilds ? 1 : 0;
        const uint16_t members = inBuffer.GetU16();
        for (uint16_t m = 0; m < members && !inBuffer.Failed(); ++m) {
            GuildMember member{};
            member.flags = inBuffer.GetByte();
            member.name = inBuffer.GetString();
            member.value = inBuffer.GetU32();
            if (!inBuffer.Failed()) guild.members.push_back(std::move(member));
        }
        if (!inBuffer.Failed()) guilds.push_back(std::move(guild));
    }
    const uint8_t invitations = inBuffer.GetByte();
    for (uint8_t i = 0; i < invitations && !inBuffer.Failed(); ++i) {
        GuildInfo guild{};
        guild.id = inBuffer.GetU16();
        guild.name = inBuffer.GetString();
        GuildMember leader{};
        leader.name = inBuffer.GetString();
        leader.value = inBuffer.GetU32();
        guild.value = inBuffer.GetU32();
        guild.invitation = 1;
        guild.members.push_back(std::move(leader));
        if (!inBuffer.Failed()) guilds.push_back(std::move(guild));
    }
    if (inBuffer.Failed()) return;

    const bool wasEmpty = core->guilds.empty();
    core->guilds = std::move(guilds);
    const bool isEmpty = core->guilds.empty();
    auto* window = dynamic_cast<Guild*>(core->FindWindow(WindowType::Guild));
    if (!wasEmpty && !isEmpty && window) window->Reload();
    if (wasEmpty == isEmpty) return;
    if (isEmpty && window) window->Close();
    RefreshStatusPanel(core);
}
