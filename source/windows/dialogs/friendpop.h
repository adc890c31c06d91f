#pragma once
#include "windows/dialogs/namepopup.h"

// The popup that adds a person to the friends list by name; titled like the friends list.
class Friendpop : public NamePopup {
public:
    explicit Friendpop(Core* core);

protected:
    void SendRequest(Protocol& connection, const std::string& name) override;
};
