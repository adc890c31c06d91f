#include "windows/dialogs/partypop.h"

#include "protocol.h"
#include "windows/toolkit/windowtypes.h"

Partypop::Partypop(Core* core) : NamePopup(core, WindowType::Partypop, "Party Invite", "invite") {}

void Partypop::SendRequest(Protocol& connection, const std::string& name) {
    connection.SendPartyInviteName(name);
}
