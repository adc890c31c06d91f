// Requests of the game state between players: speech and chat channels, private messages, the
// typing mark, friends, trade, party and guild.
#include "core.h"
#include "creature.h"
#include "protocol.h"
#include "windows/game/channel.h"
#include "windows/game/console.h"

namespace {

// Every guild request shares one opcode; a sub-opcode names the request.
const uint8_t GuildRequest = 227;

}  // namespace

// --- Speech, chat channels, friends and trade ---------------------------------------------------

void Protocol::SendTalk(uint8_t channel, const std::string& text) {
    if (channel == ChannelId::Main) {
        NetworkMessage message = MakeRequest(60, text);
        RecordClientMessage(message);
        flush(message);
    } else if (channel == ChannelId::Console) {
        Send(241, text);
    } else if (channel != ChannelId::Private) {
        Send(203, channel, text);
    }
}

void Protocol::SendPrivateMessage(const std::string& recipient, const std::string& text) {
    Send(193, recipient, text);
}

void Protocol::SendTyping(bool typing) { Send(typing ? 196 : 197); }

void Protocol::SendOpenChannel(uint8_t channel) { Send(202, channel); }

void Protocol::SendCloseChannel(uint8_t channel) {
    for (uint32_t kept : {ChannelId::Main, ChannelId::Report, ChannelId::Info, ChannelId::Console,
                          ChannelId::Private})
        if (channel == kept) return;
    Send(204, channel);
}

void Protocol::SendFriendAdd(const std::string& name, uint8_t group, const std::string& note) {
    Send(64, name, group, note);
    pendingFriends.push_back(name);
    pendingFriendGroups.push_back(group);
    pendingFriendNotes.push_back(note);
}

void Protocol::SendFriendRemove(uint32_t friendId) { Send(65, friendId); }

void Protocol::SendTradeRequest(uint32_t creatureId) { Send(88, creatureId); }
void Protocol::SendTradeAccept() { Send(89); }
void Protocol::SendTradeCancel() { Send(90); }

// --- Party --------------------------------------------------------------------------------------

void Protocol::SendPartyAccept(uint32_t inviterId) { Send(169, inviterId); }
void Protocol::SendPartyInvite(uint32_t creatureId) { Send(170, creatureId); }
void Protocol::SendPartyExpel(uint32_t memberId) { Send(171, memberId); }
void Protocol::SendPartyInviteName(const std::string& name) { Send(172, name); }

// The party list itself changes only when the server's party messages say so.
void Protocol::SendPartyLeave() {
    Send(173);
    Console* console = static_cast<Console*>(core->consoleWindow);
    Channel* party = console ? console->FindChannel(ChannelId::Party) : nullptr;
    if (!party) return;
    party->AddLine(170, 224, 170, 224, "You've left the party.");
    party->SetTabMark(1);
}

void Protocol::SendPartyLeader(uint32_t memberId) { Send(174, memberId); }
void Protocol::SendPartyReject(uint32_t inviterId) { Send(175, inviterId); }

// --- Guild --------------------------------------------------------------------------------------

void Protocol::SendGuildFound(const std::string& name) { Send(GuildRequest, uint8_t(1), name); }
void Protocol::SendGuildFoundClose() { Send(GuildRequest, uint8_t(2)); }
void Protocol::SendGuildInvite(const std::string& name) { Send(GuildRequest, uint8_t(3), name); }
void Protocol::SendGuildUninvite(const std::string& name) { Send(GuildRequest, uint8_t(4), name); }
void Protocol::SendGuildJoin(uint32_t guildId) { Send(GuildRequest, uint8_t(5), guildId); }
void Protocol::SendGuildReject(uint32_t guildId) { Send(GuildRequest, uint8_t(6), guildId); }

void Protocol::SendGuildMembership(uint32_t guildId, uint8_t kind) {
    Send(GuildRequest, uint8_t(7), guildId, kind);
}

void Protocol::SendGuildKick(const std::string& name) { Send(GuildRequest, uint8_t(8), name); }
void Protocol::SendGuildLeadership(const std::string& name) {
    Send(GuildRequest, uint8_t(9), name);
}
