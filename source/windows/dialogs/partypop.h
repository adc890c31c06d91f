#pragma once
#include "windows/dialogs/namepopup.h"

// The popup that invites a player into the party by name.
class Partypop : public NamePopup {
public:
    explicit Partypop(Core* core);

protected:
    void SendRequest(Protocol& connection, const std::string& name) override;
};
