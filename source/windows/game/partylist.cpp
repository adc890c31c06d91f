#include "windows/game/partylist.h"

#include "windows/toolkit/windowtypes.h"

Partylist::Partylist(Core* core, Window* owner) : Panellist(core, owner) {
    Build();
    typeId = WindowType::Partylist;
}
