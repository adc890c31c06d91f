#include "windows/game/paneltop.h"

#include "windows/toolkit/panel.h"
#include "windows/toolkit/windowtypes.h"

Paneltop::Paneltop(Core* core, Panel* column) : Panellist(core, column) {
    Build();
    typeId = WindowType::Paneltop;
}
