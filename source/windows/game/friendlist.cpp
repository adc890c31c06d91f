#include "windows/game/friendlist.h"

#include "core.h"
#include "windows/toolkit/windowtypes.h"

Friendlist::Friendlist(Core* core, Window* owner) : Panellist(core, owner) {
    Build();
    typeId = WindowType::Friendlist;
    UpdateScroll();
}

void Friendlist::UpdateScroll() {
    scrollTotal = static_cast<int32_t>(core->friends.size()) * 13 + 4;
}
