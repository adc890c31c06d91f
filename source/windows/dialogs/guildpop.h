#pragma once
#include "windows/dialogs/namepopup.h"

// The popup that invites a player into the player's guild by name.
class Guildpop : public NamePopup {
public:
    explicit Guildpop(Core* core);

protected:
    void SendRequest(Protocol& connection, const std::string& name) override;
};
