#include "windows/dialogs/guildpop.h"

#include "protocol.h"
#include "windows/toolkit/windowtypes.h"

Guildpop::Guildpop(Core* core) : NamePopup(core, WindowType::Guildpop, "Guild Invite", "invite") {}

void Guildpop::SendRequest(Protocol& connection, const std::string& name) {
    connection.SendGuildInvite(name);
}
