#pragma once
#include "windows/toolkit/panellist.h"

// The party list panel window: a plain panel window with its type id, the least its callers need.
class Partylist : public Panellist {
public:
    explicit Partylist(Core* core, Window* owner = nullptr);
};
