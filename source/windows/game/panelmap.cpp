#include "windows/game/panelmap.h"

#include "windows/toolkit/panel.h"
#include "windows/toolkit/windowtypes.h"

Panelmap::Panelmap(Core* core, Panel* column) : Panellist(core, column) {
    Build();
    typeId = WindowType::Panelmap;
}

void Panelmap::CenterOnPlayer() {}
