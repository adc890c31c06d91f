#include "windows/dialogs/friendpop.h"

#include "core.h"
#include "protocol.h"
#include "windows/toolkit/windowtypes.h"

Friendpop::Friendpop(Core* core)
    : NamePopup(core, WindowType::Friendpop, core->FriendsTitle(), "add") {}

// The friend request also carries a group and a note, which the popup leaves at 0 and empty.
void Friendpop::SendRequest(Protocol& connection, const std::string& name) {
    connection.SendFriendAdd(name, 0, "");
}
